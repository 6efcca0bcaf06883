#include "ifc2x2/units.h"

#include "ifc2x2/new_entity.h"

namespace korva {

bool IsSIPrefix(int index) { return index >= IfcSIPrefix_EXA && index <= IfcSIPrefix_ATTO; }

bool IsSIUnitName(int index) { return index >= 0 && index <= IfcSIUnitName_WEBER; }

IfcUnitAssignment* NewLengthAndAreaUnits(TarnDesign* design, int prefix, int unitName, UnitNameFallback fallback) {
  IfcSIUnit* length = NewEntity<IfcSIUnit>(design);
  IfcSIUnit* area = NewEntity<IfcSIUnit>(design);
  if (!IsSIUnitName(unitName)) unitName = fallback == UnitNameFallback::kMetre ? IfcSIUnitName_METRE : -1;
  if (length != nullptr) {
    length->UnitType(IfcUnitEnum_LENGTHUNIT);
    if (IsSIPrefix(prefix)) length->Prefix(prefix);
    if (unitName >= 0) length->Name(unitName);
  }
  if (area != nullptr) {
    area->UnitType(IfcUnitEnum_AREAUNIT);
    if (IsSIPrefix(prefix)) area->Prefix(prefix);
    area->Name(IfcSIUnitName_SQUARE_METRE);
  }
  IfcUnitAssignment* assignment = NewEntity<IfcUnitAssignment>(design);
  for (IfcSIUnit* unit : {length, area}) {
    IfcUnit* select = NewEntity<IfcUnit>(design);
    if (select == nullptr || unit == nullptr || assignment == nullptr) continue;
    select->_IfcNamedUnit(unit);
    assignment->Units()->append(select);
  }
  return assignment;
}

}  // namespace korva
