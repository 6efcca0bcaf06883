// TarnCursor: a forward and backward walk over the instances of a design or
// of one of its sections.
//
//   TarnCursor c;
//   c.traverse(design);
//   c.domain(design->findDomain("IfcBeam"));   // with subtypes
//   while (TarnObject* o = c.next()) ...
//
// Order: sections in the design's section list order, within a section its
// extents in list order, within an extent the instances in creation order.
// Only extents whose domain matches (the domain or a subtype, or exactly
// the domain) and sections that pass the filters (section kind, section
// predicate) are visited.
//
// A cursor holds a handful of pointers and allocates nothing; it follows
// the extent lists as they are when it moves, so instances and extents made
// during a walk are met when the walk reaches them.  Every live cursor is
// entered at the front of a process-wide list; an instance that leaves its
// extent (moved to the trash) is announced with leaving(), which steps the
// cursors standing on it aside, so that a walk may trash what it visits.
#ifndef KORVA_OBJDB_CURSOR_H
#define KORVA_OBJDB_CURSOR_H

#include <cstdint>

namespace korva {

class TarnDesign;
class TarnDomain;
class TarnExtent;
class TarnObject;
class TarnSection;

class TarnCursor {
 public:
  // Decides whether the instances of a section are visited.
  typedef bool (*SectionFilter)(TarnSection* section, void* context);

  TarnCursor();
  // A cursor over `design`, restricted to `domain` and its subtypes when
  // one is given.
  explicit TarnCursor(TarnDesign* design, TarnDomain* domain = nullptr);
  ~TarnCursor();
  TarnCursor(const TarnCursor&) = delete;
  TarnCursor& operator=(const TarnCursor&) = delete;

  // What to walk: every section of a design, or one section.  Each setter
  // below also rewinds the cursor.
  void traverse(TarnDesign* design);
  void traverse(TarnSection* section);
  // Instances of `domain` and its subtypes; null: every instance.
  void domain(TarnDomain* domain);
  // Instances of exactly `domain`.
  void exactDomain(TarnDomain* domain);
  // The same by name, looked up among the traversed design's schemas and
  // then the system design; false, and no instance visited, when the name
  // is unknown.
  bool domain(const char* name);
  bool exactDomain(const char* name);
  // Only sections of this kind (TarnSection::kData, ...); 0: any kind.
  void sectionKind(int kind);
  // Only sections for which `filter(section, context)` holds; null: all.
  void sectionFilter(SectionFilter filter, void* context = nullptr);

  // The instance after the current one, or null at the end (the cursor
  // then stands after the last instance).
  TarnObject* next();
  // The instance before the current one, or null at the start; after the
  // end, the last instance.
  TarnObject* previous();
  // Back to before the first instance.
  void rewind();
  // The instance last returned, or null.
  TarnObject* current() const;
  // Number of instances in the matching extents.
  uint32_t size();

  // The process-wide list of live cursors, newest first.
  static TarnCursor* firstLive();
  TarnCursor* nextLive() const { return nextLive_; }
  // Called before `object` leaves its extent: cursors standing on it step
  // back to the gap it leaves, so that next() and previous() return its
  // former neighbours.
  static void leaving(TarnObject* object);

 private:
  enum Where { kBefore, kOn, kAfter };

  bool sectionPasses(TarnSection* section) const;
  bool extentMatches(const TarnExtent* extent) const;
  int sectionCount() const;
  TarnSection* sectionAt(int index) const;
  // Moves to the first instance of the first matching extent after `after`
  // (null: from the first extent) in section `index` or later sections, or
  // past the end.
  TarnObject* seekForward(int index, TarnExtent* after);
  // Moves to the last instance of the last matching extent before `before`
  // (null: up to the end) in section `index` or earlier sections.
  TarnObject* seekBackward(int index, TarnExtent* before);

  TarnDesign* design_ = nullptr;
  TarnSection* section_ = nullptr;  // a one-section walk
  TarnDomain* domain_ = nullptr;
  bool exact_ = false;
  bool unknownDomain_ = false;
  int kind_ = 0;
  SectionFilter filter_ = nullptr;
  void* context_ = nullptr;

  Where where_ = kBefore;
  int index_ = 0;                   // section position of extent_
  TarnExtent* extent_ = nullptr;
  TarnObject* object_ = nullptr;    // kOn: the instance last returned
  // kOn after the instance last returned left its extent: the cursor stands
  // in its place, just after object_ (at the start of extent_ when null).
  bool gap_ = false;

  TarnCursor* prevLive_ = nullptr;
  TarnCursor* nextLive_ = nullptr;
};

}  // namespace korva

#endif  // KORVA_OBJDB_CURSOR_H
