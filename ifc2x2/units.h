// The project units the exports write: a length unit and an area unit.
#ifndef KORVA_IFC2X2_UNITS_H
#define KORVA_IFC2X2_UNITS_H

#include "ifc2x2/ifc2x2.h"

namespace korva {

// What a length unit name outside IfcSIUnitName becomes.
enum class UnitNameFallback { kMetre, kUnset };

bool IsSIPrefix(int index);    // EXA..ATTO
bool IsSIUnitName(int index);  // an IfcSIUnitName index

// Creates the length unit (IfcSIUnit LENGTHUNIT with `prefix` and
// `unitName`), the area unit (AREAUNIT, the same prefix, SQUARE_METRE), an
// IfcUnitAssignment and the IfcUnit select values that put the two into
// its Units, length first.  A prefix outside EXA..ATTO leaves both units
// without prefix; a unit name outside the enumeration is METRE or unset by
// `fallback`.  Returns the unit assignment.
IfcUnitAssignment* NewLengthAndAreaUnits(TarnDesign* design, int prefix, int unitName, UnitNameFallback fallback);

}  // namespace korva

#endif  // KORVA_IFC2X2_UNITS_H
