#include "import/building_domains.h"

#include "import/analysis_reading.h"
#include "objdb/design.h"
#include "objdb/text.h"

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
  }
  return attribute_;
}

const char* ReadText(TarnObject* object, NamedAttribute& attribute) {
  return object != nullptr ? ReadString(object, attribute.of(object)) : nullptr;
}

TarnObject* ReadRef(TarnObject* object, NamedAttribute& attribute) {
  return object != nullptr ? ReadObject(object, attribute.of(object)) : nullptr;
}

TarnAggregate* ReadList(TarnObject* object, NamedAttribute& attribute) {
  return dynamic_cast<TarnAggregate*>(ReadRef(object, attribute));
}

bool ReadReal(TarnObject* object, NamedAttribute& attribute, double* out) {
  return object != nullptr && ReadDouble(object, attribute.of(object), out);
}

bool ReadEnumeration(TarnObject* object, NamedAttribute& attribute, int* out) {
  return object != nullptr && ReadEnum(object, attribute.of(object), out);
}

}  // namespace korva
