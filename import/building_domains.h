// The dictionary of one import design as the building import reads it: the
// domains of the entities it looks for, resolved once per design by name in
// the design's own schema (IFC2x2 or IFC2X3), and attributes looked up by
// name once per domain met.  Instances are then told apart by comparing
// domain pointers: an exact domain for the kind of an element, the
// dictionary's "is a" for everything read below it.
#ifndef KORVA_IMPORT_BUILDING_DOMAINS_H
#define KORVA_IMPORT_BUILDING_DOMAINS_H

#include <cstdint>

#include "objdb/aggregate.h"
#include "objdb/domain.h"
#include "objdb/downcast.h"

namespace korva {

class TarnDesign;

// The building element kinds, each fed by one exact entity type.
enum class ElementKind { kNone, kBeam, kColumn, kWall, kSlab, kProxy };

// The entity domains the building import reads in one design (null where
// the design's schema has no such entity).
struct BuildingDomains {
  explicit BuildingDomains(TarnDesign* design);

  // The kind an extent of domain `domain` feeds (exact domain, subtypes are
  // other domains).
  ElementKind kindOf(const TarnDomain* domain) const;

  // The kinds.
  TarnDomain* beam = nullptr;
  TarnDomain* column = nullptr;
  TarnDomain* wall = nullptr;
  TarnDomain* slab = nullptr;
  TarnDomain* proxy = nullptr;

  // Placements and representations.
  TarnDomain* product = nullptr;
  TarnDomain* localPlacement = nullptr;
  TarnDomain* axis2Placement3D = nullptr;
  TarnDomain* axis2Placement2D = nullptr;
  TarnDomain* productDefinitionShape = nullptr;
  TarnDomain* shapeRepresentation = nullptr;
  TarnDomain* boundingBox = nullptr;
  TarnDomain* cartesianPoint = nullptr;

  // Solids and the items that lead to them.
  TarnDomain* extrudedAreaSolid = nullptr;
  TarnDomain* mappedItem = nullptr;
  TarnDomain* booleanResult = nullptr;
  TarnDomain* facetedBrep = nullptr;
  TarnDomain* face = nullptr;
  TarnDomain* faceBound = nullptr;
  TarnDomain* polyLoop = nullptr;

  // Profiles and their curves.
  TarnDomain* arbitraryClosedProfileDef = nullptr;
  TarnDomain* rectangleProfileDef = nullptr;
  TarnDomain* circleProfileDef = nullptr;
  TarnDomain* polyline = nullptr;
  TarnDomain* compositeCurve = nullptr;
  TarnDomain* trimmedCurve = nullptr;
  TarnDomain* bSplineCurve = nullptr;
  TarnDomain* line = nullptr;
  TarnDomain* conic = nullptr;
  TarnDomain* circle = nullptr;
  TarnDomain* ellipse = nullptr;
  TarnDomain* vector = nullptr;

  // The index of AREA in IfcProfileTypeEnum (-2: the schema has none, so
  // no stored value equals it).
  int areaProfileType = -2;
};

// Whether `object` is an instance of `domain` or of one of its subtypes; a
// null object or domain is not.
bool IsA(TarnObject* object, const TarnDomain* domain);

// An attribute looked up by name in the domain of each instance it is asked
// for; the lookup is repeated only when the domain changes, which a walk
// over one type after another rarely does.  Lives no longer than a pass
// over one design.
class NamedAttribute {
 public:
  explicit NamedAttribute(const char* name) : name_(name) {}
  // The attribute of the instance's domain, or null.
  TarnAttribute* of(TarnObject* object);
  // The same and the type of its slot (as the instance's slotType gives
  // it, the same for every instance of one domain).
  TarnAttribute* of(TarnObject* object, const TarnType** slotType);
  // The aggregate class of the attribute's values, remembered.
  TarnDowncast<TarnAggregate> asList;
  // The element attribute and element type of `list`, a value of this
  // attribute: looked up for the first list of each domain met.
  void elementOf(TarnAggregate* list, TarnAttribute** element, const TarnType** type);

 private:
  const char* name_;
  TarnDomain* domain_ = nullptr;
  TarnAttribute* attribute_ = nullptr;
  const TarnType* slotType_ = nullptr;
  bool elementKnown_ = false;
  TarnAttribute* element_ = nullptr;
  const TarnType* elementType_ = nullptr;
};

// A list read by a NamedAttribute, with its element attribute and type.
// Empty (no list) when the value is unset or no list.
struct ListValue {
  TarnAggregate* list = nullptr;
  TarnAttribute* element = nullptr;
  const TarnType* type = nullptr;

  explicit operator bool() const { return list != nullptr; }
  uint32_t count() const { return list != nullptr ? list->count() : 0; }
  // Element `index` of a list of objects, selects followed; null past its
  // end or for a list of values.
  TarnObject* object(uint32_t index) const;
  // Element `index` of a list of numbers; 0.0 past its end.
  double real(uint32_t index) const;
  // Elements 0 .. n-1 of a list of numbers into `out`; 0.0 past its end.
  void reals(double* out, uint32_t n) const;
};

// Late-bound reads by a NamedAttribute; each gives null (or false, leaving
// `*out` alone) for a null object, a missing attribute or an unset value.
// Selects are followed to the object they hold.
const char* ReadText(TarnObject* object, NamedAttribute& attribute);
TarnObject* ReadRef(TarnObject* object, NamedAttribute& attribute);
ListValue ReadList(TarnObject* object, NamedAttribute& attribute);
bool ReadReal(TarnObject* object, NamedAttribute& attribute, double* out);
bool ReadEnumeration(TarnObject* object, NamedAttribute& attribute, int* out);

}  // namespace korva

#endif  // KORVA_IMPORT_BUILDING_DOMAINS_H
