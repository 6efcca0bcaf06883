#include "import/plane_angle_unit.h"

#include "import/analysis_reading.h"
#include "objdb/design.h"
#include "objdb/extent_walk.h"
#include "objdb/text.h"
#include "objdb/union.h"

namespace korva {
namespace {

// The first IfcProject of the design's data sections, or null.
TarnObject* Project(TarnDesign* design) {
  TarnDomain* project = design->findDomain("IfcProject");
  if (project == nullptr) return nullptr;
  TarnExtent* e = FindDataExtent(design, [&](TarnExtent* x) {
    return x->domain() != nullptr && x->domain()->typeIsA(project) && x->first() != nullptr;
  });
  return e != nullptr ? e->first() : nullptr;
}

// Whether the unit's UnitType is PLANEANGLEUNIT, by the enumerator's name.
bool IsPlaneAngle(TarnObject* unit) {
  TarnAttribute* type = unit->domain() != nullptr ? unit->domain()->findAttribute("UnitType") : nullptr;
  int value = -1;
  if (!ReadEnum(unit, type, &value) || value < 0) return false;
  TarnDomain* enumeration = type->domain();
  if (enumeration == nullptr) return false;
  const std::vector<const char*>& names = enumeration->enumerators();
  return static_cast<size_t>(value) < names.size() && EqualNoCase(names[static_cast<size_t>(value)], "PLANEANGLEUNIT");
}

// The number a select holds (a measure value, also inside a select of
// selects), or 0.0.
double SelectedNumber(TarnObject* object, const char* name) {
  TarnAttribute* attribute = object != nullptr && object->domain() != nullptr ? object->domain()->findAttribute(name) : nullptr;
  if (attribute == nullptr || !IsObjectNode(object->slotType(attribute)->nodeType())) return 0.0;
  TarnUnion* select = dynamic_cast<TarnUnion*>(object->getObject(attribute));
  // The bound only stops a select that (through others) holds itself.
  for (int depth = 0; select != nullptr && depth < 8; ++depth) {
    TarnAttribute* member = select->attribute();
    if (member == nullptr) return 0.0;
    if (!IsObjectNode(select->slotType(member)->nodeType())) {
      double value = 0.0;
      ReadDouble(select, member, &value);
      return value;
    }
    select = dynamic_cast<TarnUnion*>(select->getObject(member));
  }
  return 0.0;
}

}  // namespace

double RadiansPerPlaneAngleUnit(TarnDesign* design) {
  TarnObject* project = design != nullptr ? Project(design) : nullptr;
  TarnAggregate* units = ReadAggregate(ReadObject(project, "UnitsInContext"), "Units");
  for (uint32_t i = 0; units != nullptr && i < units->count(); ++i) {
    TarnObject* unit = ElementObject(units, i);
    if (unit == nullptr || !IsPlaneAngle(unit)) continue;
    // A conversion-based unit: the value of its factor, taken as radians
    // (the unit it converts is taken to be the radian, as in the degree
    // that exporters write).
    TarnObject* factor = ReadObject(unit, "ConversionFactor");
    if (factor == nullptr) return 1.0;
    const double value = SelectedNumber(factor, "ValueComponent");
    return value > 0.0 ? value : 1.0;
  }
  return 1.0;
}

}  // namespace korva
