// TarnObject: the root of every value the object store keeps (entity
// instances, select values, aggregates, designs and the dictionary itself).
//
// An instance is persistent when it is linked into an extent of a design
// section; otherwise it is free-standing.  Attribute values are reached
// either through the typed fields of generated classes or late-bound, by
// attribute object or attribute name, with conversions between primitive
// kinds.  Reads and writes that fail report through the error reporter and
// return a neutral value; nothing throws.
#ifndef KORVA_OBJDB_TARN_OBJECT_H
#define KORVA_OBJDB_TARN_OBJECT_H

#include <cstdio>

#include "objdb/tarn_type.h"
#include "objdb/values.h"

namespace korva {

class ListOfTarnAttribute;
class ListOfTarnObject;
class TarnExtent;

// Declares the class type record of a class and the virtual typePtr().
#define TARN_CLASS(Name)                                       \
 public:                                                       \
  static TarnType classType;                                   \
  static TarnTypePtr typeHolder;                               \
  const TarnType* typePtr() const override { return &classType; }

// Small records attached to an instance, identified by kind.
struct TarnManagerRecord {
  enum Kind { kForward = 3, kExternal = 4 };
  int kind;
  TarnManagerRecord* next;
  virtual ~TarnManagerRecord() = default;
};

class TarnObject {
 public:
  TarnObject();
  TarnObject(const TarnObject&) = delete;
  TarnObject& operator=(const TarnObject&) = delete;

  // Virtual operations, in this order in every subclass.
  virtual void* baseObject();                                    // start of the full object
  virtual const TarnType* typePtr() const { return &classType; }
  virtual ~TarnObject();
  virtual TarnAttribute* getAttribute(const char* name);         // null/empty: first attribute
  virtual TarnAttribute* getAttribute(const void* slotAddress);
  virtual bool size(uint32_t newSize, int position);
  virtual uint32_t size();
  virtual uint32_t capacity();
  virtual bool capacity(uint32_t n);
  virtual uint32_t recordSize();
  virtual uint32_t valueRecordCount();                           // 1 for non-aggregates
  virtual void display(std::FILE* out);
  virtual bool isSame(const TarnObject* other) const { return other == this; }
  virtual void findObjects(ListOfTarnObject* result, TarnDomain* domain, bool subtypes);
  virtual void activate() {}  // see TarnType::activates
  virtual void* data();
  virtual void* slotAddress(TarnAttribute* attribute, int index);
  virtual const TarnType* slotType(TarnAttribute* attribute);
  virtual bool getValue(TarnAttribute* attribute, int index, void** out, const TarnType* as);
  virtual bool putValue(TarnAttribute* attribute, int index, const void* in, const TarnType* as);

  static TarnType classType;
  static TarnTypePtr typeHolder;

  // Identity and placement.
  TarnDomain* domain();
  const char* domainName();
  TarnDesign* design() const;
  TarnSection* section() const;
  TarnExtent* extent() const { return extent_; }
  bool isPersistent() const { return extent_ != nullptr; }
  // Moves a persistent instance to the end of its domain's extent in another
  // section of its design (a section of another design is refused with
  // 1052: the instance's storage belongs to its design).  Cursors standing
  // on it move on first.
  bool moveTo(TarnSection* section);
  TarnObject* nextInExtent() const { return next_; }
  TarnObject* previousInExtent() const { return prev_; }
  // The complete attribute list of the instance's domain (null without one).
  ListOfTarnAttribute* attributes();
  bool isa(TarnDomain* domain);
  void modified();

  TarnOID oid() const { return oid_; }
  void setOid(TarnOID oid);
  uint32_t instanceNumber() const { return number_; }
  void setInstanceNumber(uint32_t n) { number_ = n; }
  uint32_t traversalMark() const { return mark_; }
  void setTraversalMark(uint32_t m) { mark_ = m; }
  // The instance's place in its design's back-pointer index, given when
  // the index is computed (back_pointers.h); kNoIndexSlot before that.
  static constexpr uint32_t kNoIndexSlot = 0x7FFFFFFFu;
  uint32_t indexSlot() const { return slot_; }
  void setIndexSlot(uint32_t slot) { slot_ = slot & kNoIndexSlot; }
  void* overflow() const { return overflow_; }

  // Manager records.
  TarnManagerRecord* findManager(int kind) const;
  void attachManager(TarnManagerRecord* record);
  void detachManager(TarnManagerRecord* record);

  // Typed late-bound readers (0, 0.0 or null on failure) and writers.
  TarnObject* getObject(TarnAttribute* att, int index = 0);
  const char* getString(TarnAttribute* att, int index = 0);
  double getDouble(TarnAttribute* att, int index = 0);
  int getInteger(TarnAttribute* att, int index = 0);
  long getLong(TarnAttribute* att, int index = 0);
  float getFloat(TarnAttribute* att, int index = 0);
  TarnBoolean getBoolean(TarnAttribute* att, int index = 0);
  int32_t getEnum(TarnAttribute* att, int index = 0);
  bool putObject(TarnObject* value, TarnAttribute* att, int index = 0);
  bool putString(const char* value, TarnAttribute* att, int index = 0);
  bool putDouble(double value, TarnAttribute* att, int index = 0);
  bool putInteger(int value, TarnAttribute* att, int index = 0);
  bool putLong(long value, TarnAttribute* att, int index = 0);
  bool putFloat(float value, TarnAttribute* att, int index = 0);
  bool putBoolean(TarnBoolean value, TarnAttribute* att, int index = 0);
  bool putEnum(int32_t value, TarnAttribute* att, int index = 0);

  // By-name variants (1001 when the name is unknown).
  TarnObject* getObject(const char* name, int index = 0);
  const char* getString(const char* name, int index = 0);
  double getDouble(const char* name, int index = 0);
  int getInteger(const char* name, int index = 0);
  bool putObject(TarnObject* value, const char* name, int index = 0);
  bool putString(const char* value, const char* name, int index = 0);
  bool putDouble(double value, const char* name, int index = 0);
  bool putInteger(int value, const char* name, int index = 0);

  bool isUnset(TarnAttribute* att);
  bool isUnset(const char* name);
  void unset(TarnAttribute* att);
  void unset(const char* name);

  // Resolves the field of the attribute named `attribute` when it holds the
  // unresolved marker; false when it cannot be resolved.
  bool resolveField(const char* attribute, void* slot);

  // Instances of this design that refer to this instance (see usedin.cc).
  ListOfTarnObject* usedin(TarnDomain* domain, TarnAttribute* att, ListOfTarnObject* result);

  // Storage owned with the instance: the design's pool for persistent
  // instances, the free-standing pool otherwise.
  char* copyString(const char* text);
  void* allocate(size_t size);

  // Allocation.  A plain `new` makes a free-standing instance on the heap;
  // the placement form allocates in the design of `section` and links the
  // new instance into the extent of its domain when its constructor runs.
  // Deleting an instance of a design runs its destructor only: the memory
  // goes with the design's arena.
  static void* operator new(size_t size);
  static void* operator new(size_t size, TarnSection* section, TarnDomain* domain,
                            const TarnType* type);
  static void operator delete(void* p);
  static void operator delete(void* p, TarnSection*, TarnDomain*, const TarnType*) { operator delete(p); }
  static void* allocateInstance(size_t size, TarnSection* section, TarnDomain* domain,
                                const TarnType* type);
  bool inArena() const { return inArena_ != 0; }

 protected:
  // The attribute of this instance's domain that `att` stands for (1056
  // when there is none); null attribute reports 1023.
  TarnAttribute* mapAttribute(TarnAttribute* att);
  // Slot of an attribute of a structured object (fields and overflow).
  void* fieldSlot(TarnAttribute* att);
  // Resolves the reference held in `slot` (unresolved marker) in place.
  bool resolveSlot(TarnAttribute* att, int index, void* slot);
  void reportInvalid(const char* method);

 private:
  friend class TarnExtent;
  friend class TarnDesign;
  friend class TarnSection;
  TarnAttribute* lookupByName(const char* name);

  TarnManagerRecord* managers_ = nullptr;
  TarnExtent* extent_ = nullptr;
  TarnObject* prev_ = nullptr;
  TarnObject* next_ = nullptr;
  TarnOID oid_ = 0;
  uint32_t number_ = 0;
  uint32_t mark_ = 0;
  // The slot shares a word with the arena flag, so that instances stay as
  // small as they were.
  uint32_t slot_ : 31;
  uint32_t inArena_ : 1;
  void* overflow_ = nullptr;
};

// The object as class `to` (its part of that class), or null with a
// warning when it is not one; null stays null.  Aggregates of the same
// kind are copied into a new aggregate of the target class.
void* TypecastRaw(TarnObject* object, const TarnType* to);
template <typename T>
T* typecast(TarnObject* object) {
  return static_cast<T*>(TypecastRaw(object, &T::classType));
}

// Pending constructions: placement allocation pushes (memory, extent), the
// TarnObject constructor takes its entry.  At most 256 may be pending.
constexpr int kMaxPendingConstructions = 256;

}  // namespace korva

#endif  // KORVA_OBJDB_TARN_OBJECT_H
