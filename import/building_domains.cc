#include "import/building_domains.h"

#include "import/analysis_reading.h"
#include "objdb/design.h"
#include "objdb/text.h"
#include "objdb/union.h"
#include "objdb/values.h"

namespace korva {
namespace {

// The domain of entity `name` in the design's schema, active; null when the
// schema has no such entity.
TarnDomain* Entity(TarnDesign* design, const char* name) {
  TarnDomain* domain = design != nullptr ? design->findDomain(name) : nullptr;
  if (domain == nullptr) return nullptr;
  if (!domain->isActiveQuiet()) domain->activateDomain();
  return domain->isActiveQuiet() && domain->isEntity() ? domain : nullptr;
}

// The index of enumerator `value` of enumeration `name`, or -2.
int Enumerator(TarnDesign* design, const char* name, const char* value) {
  TarnDomain* domain = design != nullptr ? design->findDomain(name) : nullptr;
  if (domain == nullptr) return -2;
  if (!domain->isActiveQuiet()) domain->activateDomain();
  const std::vector<const char*>& values = domain->enumerators();
  for (size_t i = 0; i < values.size(); ++i)
    if (EqualNoCase(values[i], value)) return static_cast<int>(i);
  return -2;
}

}  // namespace

BuildingDomains::BuildingDomains(TarnDesign* design) {
  beam = Entity(design, "IfcBeam");
  column = Entity(design, "IfcColumn");
  wall = Entity(design, "IfcWallStandardCase");
  slab = Entity(design, "IfcSlab");
  proxy = Entity(design, "IfcBuildingElementProxy");

  product = Entity(design, "IfcProduct");
  localPlacement = Entity(design, "IfcLocalPlacement");
  axis2Placement3D = Entity(design, "IfcAxis2Placement3D");
  axis2Placement2D = Entity(design, "IfcAxis2Placement2D");
  productDefinitionShape = Entity(design, "IfcProductDefinitionShape");
  shapeRepresentation = Entity(design, "IfcShapeRepresentation");
  boundingBox = Entity(design, "IfcBoundingBox");
  cartesianPoint = Entity(design, "IfcCartesianPoint");

  extrudedAreaSolid = Entity(design, "IfcExtrudedAreaSolid");
  mappedItem = Entity(design, "IfcMappedItem");
  booleanResult = Entity(design, "IfcBooleanResult");
  facetedBrep = Entity(design, "IfcFacetedBrep");
  face = Entity(design, "IfcFace");
  faceBound = Entity(design, "IfcFaceBound");
  polyLoop = Entity(design, "IfcPolyLoop");

  arbitraryClosedProfileDef = Entity(design, "IfcArbitraryClosedProfileDef");
  rectangleProfileDef = Entity(design, "IfcRectangleProfileDef");
  circleProfileDef = Entity(design, "IfcCircleProfileDef");
  polyline = Entity(design, "IfcPolyline");
  compositeCurve = Entity(design, "IfcCompositeCurve");
  trimmedCurve = Entity(design, "IfcTrimmedCurve");
  bSplineCurve = Entity(design, "IfcBSplineCurve");
  line = Entity(design, "IfcLine");
  conic = Entity(design, "IfcConic");
  circle = Entity(design, "IfcCircle");
  ellipse = Entity(design, "IfcEllipse");
  vector = Entity(design, "IfcVector");

  areaProfileType = Enumerator(design, "IfcProfileTypeEnum", "AREA");
}

ElementKind BuildingDomains::kindOf(const TarnDomain* domain) const {
  if (domain == nullptr) return ElementKind::kNone;
  if (domain == beam) return ElementKind::kBeam;
  if (domain == column) return ElementKind::kColumn;
  if (domain == wall) return ElementKind::kWall;
  if (domain == slab) return ElementKind::kSlab;
  if (domain == proxy) return ElementKind::kProxy;
  return ElementKind::kNone;
}

bool IsA(TarnObject* object, const TarnDomain* domain) {
  if (object == nullptr || domain == nullptr) return false;
  TarnDomain* own = object->domain();
  return own != nullptr && own->isActiveQuiet() && own->typeIsA(domain);
}

TarnAttribute* NamedAttribute::of(TarnObject* object) {
  TarnDomain* domain = object->domain();
  if (domain != domain_) {
    domain_ = domain;
    attribute_ = domain != nullptr ? domain->findAttribute(name_) : nullptr;
    slotType_ = attribute_ != nullptr ? object->slotType(attribute_) : nullptr;
    elementKnown_ = false;
  }
  return attribute_;
}

TarnAttribute* NamedAttribute::of(TarnObject* object, const TarnType** slotType) {
  TarnAttribute* a = of(object);
  *slotType = slotType_;
  return a;
}

void NamedAttribute::elementOf(TarnAggregate* list, TarnAttribute** element, const TarnType** type) {
  if (!elementKnown_) {
    element_ = list->elementAttribute();
    elementType_ = element_ != nullptr ? list->slotType(element_) : nullptr;
    elementKnown_ = true;
  }
  *element = element_;
  *type = elementType_;
}

namespace {

// A referenced object, selects followed (through nested selects); the
// select is asked for only of values that are selects, and its class is
// remembered: a dynamic cast per value would cost more than the rest of
// the read.
TarnObject* Followed(TarnObject* value) {
  static TarnDowncast<TarnUnion> asSelect;
  // The bound only stops a select that (through others) holds itself.
  for (int depth = 0; value != nullptr && value->typePtr()->nodeType() == kNodeUnion; ++depth) {
    TarnUnion* select = asSelect(value);
    if (select == nullptr || depth == 8) return select == nullptr ? value : nullptr;
    TarnAttribute* member = select->attribute();
    const TarnType* type = member != nullptr ? select->slotType(member) : nullptr;
    if (type == nullptr || !IsObjectNode(type->nodeType())) return nullptr;
    void* held = *static_cast<void**>(select->slotAddress(member, 0));
    value = IsUnresolved(held) ? select->getObject(member)
                               : type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
  }
  return value;
}

// The readers below take values straight from the slot of an attribute of
// the instance's own domain (no mapping needed), as the object store's own
// getters do but without the conversions a getter offers for values asked
// as another type: the walk reads each value as what it is stored as.

// The object held in `slot` of type `type` (a reference), selects
// followed; null when unset.
TarnObject* HeldObject(TarnObject* object, TarnAttribute* a, int index, void* slot, const TarnType* type) {
  void* held = *static_cast<void**>(slot);
  // A reference not yet resolved goes the long way, which resolves it.
  if (IsUnresolved(held)) return Followed(object->getObject(a, index));
  TarnObject* value = type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
  // A slot of an entity or aggregate class holds no select.
  const int declared = type->nodeType();
  return declared == kNodeStructure || declared == kNodeAggregate ? value : Followed(value);
}

}  // namespace

const char* ReadText(TarnObject* object, NamedAttribute& attribute) {
  if (object == nullptr) return nullptr;
  const TarnType* type = nullptr;
  TarnAttribute* a = attribute.of(object, &type);
  void* slot = a != nullptr && type != nullptr ? object->slotAddress(a, 0) : nullptr;
  return slot != nullptr && type->nodeType() == kNodeString ? *static_cast<const char**>(slot) : nullptr;
}

TarnObject* ReadRef(TarnObject* object, NamedAttribute& attribute) {
  if (object == nullptr) return nullptr;
  const TarnType* type = nullptr;
  TarnAttribute* a = attribute.of(object, &type);
  if (a == nullptr || type == nullptr || !IsObjectNode(type->nodeType())) return nullptr;
  void* slot = object->slotAddress(a, 0);
  return slot != nullptr ? HeldObject(object, a, 0, slot, type) : nullptr;
}

ListValue ReadList(TarnObject* object, NamedAttribute& attribute) {
  ListValue v;
  TarnObject* value = ReadRef(object, attribute);
  if (value == nullptr || value->typePtr()->nodeType() != kNodeAggregate) return v;
  v.list = attribute.asList(value);
  if (v.list != nullptr) attribute.elementOf(v.list, &v.element, &v.type);
  return v;
}

TarnObject* ListValue::object(uint32_t index) const {
  if (index >= count() || element == nullptr || type == nullptr || !IsObjectNode(type->nodeType())) return nullptr;
  const int i = static_cast<int>(index);
  return HeldObject(list, element, i, list->slotAddress(element, i), type);
}

double ListValue::real(uint32_t index) const {
  if (index >= count()) return 0.0;
  const int i = static_cast<int>(index);
  if (type != nullptr && type->nodeType() == kNodeDouble) return *static_cast<double*>(list->slotAddress(element, i));
  return list->getDouble(i);
}

void ListValue::reals(double* out, uint32_t n) const {
  for (uint32_t i = 0; i < n; ++i) out[i] = real(i);
}

bool ReadReal(TarnObject* object, NamedAttribute& attribute, double* out) {
  if (object == nullptr) return false;
  const TarnType* type = nullptr;
  TarnAttribute* a = attribute.of(object, &type);
  void* slot = a != nullptr && type != nullptr ? object->slotAddress(a, 0) : nullptr;
  if (slot == nullptr) return false;
  if (type->nodeType() != kNodeDouble) return ReadDouble(object, a, out);
  const double value = *static_cast<double*>(slot);
  if (value == kUnsetReal) return false;
  *out = value;
  return true;
}

bool ReadEnumeration(TarnObject* object, NamedAttribute& attribute, int* out) {
  if (object == nullptr) return false;
  const TarnType* type = nullptr;
  TarnAttribute* a = attribute.of(object, &type);
  void* slot = a != nullptr && type != nullptr && type->nodeType() == kNodeEnum ? object->slotAddress(a, 0) : nullptr;
  if (slot == nullptr) return false;
  const int32_t value = *static_cast<int32_t*>(slot);
  if (value == kUnsetEnum) return false;
  *out = value;
  return true;
}

}  // namespace korva
