// Late-bound reading of IFC instances for the analysis, material, profile
// and unit import: walking a design, testing types, reading attribute
// values by name with unset values told apart, following selects, and
// composing placements.  Nothing here writes to a design.
#ifndef KORVA_IMPORT_ANALYSIS_READING_H
#define KORVA_IMPORT_ANALYSIS_READING_H

#include <cstring>
#include <functional>
#include <unordered_map>

#include "objdb/aggregate.h"
#include "objdb/back_pointers.h"
#include "objdb/domain.h"
#include "objdb/extent_walk.h"

namespace korva {

// Calls `visit` for every extent of entity instances in the data sections
// of `design` (none for a null design), in cursor order: sections, then
// their extents.  The instances of an extent, in creation order, share its
// domain.
template <class Visit>
void ForEachEntityExtent(TarnDesign* design, Visit visit) {
  if (design == nullptr) return;
  ForEachDataExtent(design, [&](TarnExtent* e) {
    // Select values and aggregates have extents too; only entities count.
    if (e->first() != nullptr && e->domain() != nullptr && e->domain()->isEntity()) visit(e);
  });
}

// Writes the trace line "Name: <type name>" of a fill pass to standard
// output `count` times, once for each of `count` instances of the type of
// `instance`.
void TraceInstance(TarnObject* instance, uint32_t count = 1);

// Whether the instance's entity is `entityName` or one of its subtypes, by
// the dictionary of the instance's own schema: an instance of any schema
// the reader reads (IFC2x2 or IFC2X3) answers alike.  Names are compared
// as the dictionaries spell them ("IfcEdgeLoop").
bool IsA(TarnObject* object, const char* entityName);

// The instance number (FileID) of an instance; 0 for null.
int FileIdOf(TarnObject* object);

// A select value's object member (through nested selects), or the object
// itself when it is no select; null for a select holding a non-object.
TarnObject* Selected(TarnObject* value);

// The attributes of the instance's domain in declaration order, inherited
// ones first (empty without a domain).
const std::vector<TarnAttribute*>& AttributesOf(TarnObject* instance);

// The attribute's name equals `name` exactly.
inline bool Named(TarnAttribute* attribute, const char* name) {
  return attribute->name() != nullptr && std::strcmp(attribute->name(), name) == 0;
}

// Readers by attribute that leave `*out` as it is and return false when
// the value is unset (or cannot be read).
bool ReadDouble(TarnObject* object, TarnAttribute* attribute, double* out);
bool ReadInteger(TarnObject* object, TarnAttribute* attribute, int* out);
bool ReadEnum(TarnObject* object, TarnAttribute* attribute, int* out);
// The same by attribute name; false also when the instance has no such
// attribute.
bool ReadDouble(TarnObject* object, const char* name, double* out);
bool ReadInteger(TarnObject* object, const char* name, int* out);
bool ReadEnum(TarnObject* object, const char* name, int* out);

// A BOOLEAN (or LOGICAL other than UNKNOWN) attribute by name; false
// when unset, unknown or no such attribute.
bool ReadBoolean(TarnObject* object, const char* name, bool* out);

// The text of a string attribute, null when unset.
const char* ReadString(TarnObject* object, TarnAttribute* attribute);
const char* ReadString(TarnObject* object, const char* name);

// The object an attribute refers to, selects followed; null when unset or
// when the instance has no such attribute.
TarnObject* ReadObject(TarnObject* object, TarnAttribute* attribute);
TarnObject* ReadObject(TarnObject* object, const char* name);

// The number a select attribute holds, through nested selects (an
// IfcValue holding an IfcPressureMeasure); a plain number attribute reads
// as ReadDouble reads it.  False when unset or no number.
bool ReadSelectedDouble(TarnObject* object, const char* name, double* out);

// The aggregate an attribute holds, or null.
TarnAggregate* ReadAggregate(TarnObject* object, const char* name);
// Element `index` of a list of numbers; 0.0 past its end or without list.
double ElementDouble(TarnAggregate* list, uint32_t index);
// Element `index` of a list of objects, selects followed; null past its end.
TarnObject* ElementObject(TarnAggregate* list, uint32_t index);

// Coordinates 0, 1, 2 of an IfcCartesianPoint, DirectionRatios 0, 1, 2 of
// an IfcDirection (0.0 for missing elements).
void ReadPoint(TarnObject* point, double xyz[3]);
void ReadDirection(TarnObject* direction, double xyz[3]);

// The placement of a product as the import reports it: Start is the sum of
// the Locations of every IfcAxis2Placement3D met in the IfcLocalPlacement
// chain (translations only), Axis and Ref the directions of the placement
// applied last: the ancestors are applied nearest first, the product's own
// relative placement after them.  An absent Axis reads as (0, 0, 1) and an
// absent RefDirection as (1, 0, 0); 2D relative placements are passed over.
struct ComposedPlacement {
  double start[3] = {0, 0, 0};
  double axis[3] = {0, 0, 0};
  double ref[3] = {0, 0, 0};
};
ComposedPlacement ComposeMemberPlacement(TarnObject* objectPlacement);

// While an object of this class lives, ComposeMemberPlacement composes each
// chain of ancestor placements once and takes it again for every placement
// below it: the members of a storey share the placements of the storey and
// above.  The design must not change meanwhile (a fill pass only reads).
class SharedPlacementChains {
 public:
  SharedPlacementChains();
  ~SharedPlacementChains();
  SharedPlacementChains(const SharedPlacementChains&) = delete;
  SharedPlacementChains& operator=(const SharedPlacementChains&) = delete;

  // The composition of the chain that starts at `first`, or null.
  const ComposedPlacement* find(TarnObject* first) const;
  void add(TarnObject* first, const ComposedPlacement& chain) { chains_[first] = chain; }

 private:
  SharedPlacementChains* outer_;
  std::unordered_map<TarnObject*, ComposedPlacement> chains_;
};

// Calls `visit(type, item)` for every representation of a product
// representation, in order, with its RepresentationType (null when unset)
// and its first item (null when it has none).  Shape and topology
// representations alike: the analysis export writes its vertices, edges
// and faces as IfcTopologyRepresentation.
void ForEachShapeRepresentation(TarnObject* productRepresentation,
                                const std::function<void(const char*, TarnObject*)>& visit);

// Calls `visit(item)` for every item of every representation of a product
// representation, representations and their items in order, until it
// returns true.
void ForEachRepresentationItem(TarnObject* productRepresentation, const std::function<bool(TarnObject*)>& visit);

// The instances that refer to `object`, in discovery order, when the
// back-pointers of its design have been computed; empty otherwise.
TarnReferrers Referrers(TarnObject* object);

}  // namespace korva

#endif  // KORVA_IMPORT_ANALYSIS_READING_H
