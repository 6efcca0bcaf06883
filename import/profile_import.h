// Reader of IfcStructuralProfileProperties into a ProfilePropertiesRecord:
// FileID, ProfileName, the five general and fourteen structural section
// values, and the profile definition.  A definition of one of the nine
// parameterised shapes the record knows (I, L, U, C, Z, T, trapezium,
// rectangle, circle, subtypes included) fills that shape's block and sets
// its flag to -1.  The ISection flag is set to -1 for every profile
// definition, whatever its shape; an I-shaped one also fills the I block.
// The definition's Position adds its Location to Start and gives Ref1 and
// Ref2 (a 2D placement) or Axis and Ref (a 3D one).
//
// Not written by the reader: SectionName (the entity has no such
// attribute), ProfileType, IPhysicalWeight and the trapezium's TrapAxis and
// TrapRef directions.
#ifndef KORVA_IMPORT_PROFILE_IMPORT_H
#define KORVA_IMPORT_PROFILE_IMPORT_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

void ReadProfileProperties(TarnObject* properties, ProfilePropertiesRecord* record);

}  // namespace korva

#endif  // KORVA_IMPORT_PROFILE_IMPORT_H
