// Readers of the material property sets of the import: general material
// properties and mechanical steel properties.  Name is the Name of the
// IfcMaterial the properties describe; the numbers come from the
// attributes of the same names (ThermalExpansionCoefficient into
// ThermalExpansion) and keep their defaults when unset.  Relaxations are
// not read.  Concrete properties are counted by the census but not read.
#ifndef KORVA_IMPORT_MATERIAL_IMPORT_H
#define KORVA_IMPORT_MATERIAL_IMPORT_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

void ReadGeneralMaterial(TarnObject* properties, GeneralMaterialRecord* record);
void ReadSteelMaterial(TarnObject* properties, SteelMaterialRecord* record);

}  // namespace korva

#endif  // KORVA_IMPORT_MATERIAL_IMPORT_H
