// Reader of a project's unit assignment into the ProjectUnitArrays of the
// import: for every unit of UnitsInContext, its IfcUnitEnum type (named
// units), SI prefix and name (SI units), name and, for length units,
// dimensional exponents (conversion-based units), and the number of
// elements of a derived unit, whose elements (their unit's type and
// exponent) follow those of the derived units before it in two flat arrays.
#ifndef KORVA_IMPORT_UNIT_IMPORT_H
#define KORVA_IMPORT_UNIT_IMPORT_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

// IfcUnitEnum index of LENGTHUNIT.
constexpr int kLengthUnitIndex = 15;

// Replaces `units` by the units of `project`'s UnitsInContext; a project
// without a unit assignment leaves `units` as they are.
void ReadProjectUnits(TarnObject* project, ProjectUnitArrays* units);

}  // namespace korva

#endif  // KORVA_IMPORT_UNIT_IMPORT_H
