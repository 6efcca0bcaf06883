// Readers of the material property sets of the import: general material
// properties (and mechanical material properties, which go to the same
// table), mechanical steel properties, and extended material properties.
// Name is the Name of the IfcMaterial the properties describe; the numbers
// come from the attributes of the same names (ThermalExpansionCoefficient
// into ThermalExpansion) and keep their defaults when unset.  Relaxations
// are not read.  Mechanical concrete properties are counted by the census
// but not read.
//
// Extended material properties hold their values as properties
// (IfcPropertySingleValue) named as the attributes above; the value of
// each is read as stored, and the properties present tell the table:
// steel when one of the steel-only names (YieldStress, UltimateStress, ...)
// is there, else concrete when one of the concrete-only names
// (CompressiveStrength, ...) is, else general.
#ifndef KORVA_IMPORT_MATERIAL_IMPORT_H
#define KORVA_IMPORT_MATERIAL_IMPORT_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

enum class MaterialTable { kNone, kGeneral, kSteel, kConcrete };

// The table the values of IfcExtendedMaterialProperties go to; kNone for
// an instance of another entity.
MaterialTable ExtendedMaterialTable(TarnObject* properties);

void ReadGeneralMaterial(TarnObject* properties, GeneralMaterialRecord* record);
void ReadSteelMaterial(TarnObject* properties, SteelMaterialRecord* record);
// Extended material properties only; a record of other properties keeps
// its defaults.
void ReadConcreteMaterial(TarnObject* properties, ConcreteMaterialRecord* record);

}  // namespace korva

#endif  // KORVA_IMPORT_MATERIAL_IMPORT_H
