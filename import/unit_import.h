// Reader of a project's unit assignment into the unit tables of the import:
// for every unit of UnitsInContext a record with its IfcUnitEnum type (named
// units), SI prefix and name (SI units), name and, for length units,
// dimensional exponents (conversion-based units), and the number of
// elements of a derived unit, whose elements (their unit's type and
// exponent) follow those of the derived units before it in a table of
// their own.
#ifndef KORVA_IMPORT_UNIT_IMPORT_H
#define KORVA_IMPORT_UNIT_IMPORT_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

// IfcUnitEnum index of LENGTHUNIT.
constexpr int kLengthUnitIndex = 15;

// Replaces `units` by the units of `project`'s UnitsInContext; a project
// without a unit assignment leaves `units` as they are.
// Replaces the units by those of the project's assignment; a project
// without one leaves them as they are.
void ReadProjectUnits(TarnObject* project, AnalysisImportState* state);

// n units with their defaults and no derived-unit elements; the unit
// table's counter becomes n.
void AllocateUnits(int n, AnalysisImportState* state);

}  // namespace korva

#endif  // KORVA_IMPORT_UNIT_IMPORT_H
