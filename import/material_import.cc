#include "import/material_import.h"

#include "ifc2x2/ifc2x2.h"
#include "import/analysis_reading.h"

namespace korva {
namespace {

template <class R>
struct NumberField {
  const char* attribute;
  double R::*field;
};

const NumberField<GeneralMaterialRecord> kGeneralFields[] = {
    {"MolecularWeight", &GeneralMaterialRecord::MolecularWeight},
    {"Porosity", &GeneralMaterialRecord::Porosity},
    {"MassDensity", &GeneralMaterialRecord::MassDensity},
};

const NumberField<SteelMaterialRecord> kSteelFields[] = {
    {"DynamicViscosity", &SteelMaterialRecord::DynamicViscosity},
    {"YoungModulus", &SteelMaterialRecord::YoungModulus},
    {"ShearModulus", &SteelMaterialRecord::ShearModulus},
    {"PoissonRatio", &SteelMaterialRecord::PoissonRatio},
    {"ThermalExpansionCoefficient", &SteelMaterialRecord::ThermalExpansion},
    {"YieldStress", &SteelMaterialRecord::YieldStress},
    {"UltimateStress", &SteelMaterialRecord::UltimateStress},
    {"UltimateStrain", &SteelMaterialRecord::UltimateStrain},
    {"HardeningModule", &SteelMaterialRecord::HardeningModule},
    {"ProportionalStress", &SteelMaterialRecord::ProportionalStress},
    {"PlasticStrain", &SteelMaterialRecord::PlasticStrain},
};

template <class R, size_t N>
void ReadMaterial(TarnObject* properties, const NumberField<R> (&fields)[N], R* record) {
  for (TarnAttribute* a : AttributesOf(properties)) {
    if (Named(a, "Material")) {
      if (IfcMaterial* material = AsA<IfcMaterial>(ReadObject(properties, a)))
        record->Name = ReadString(material, "Name");
      continue;
    }
    for (const NumberField<R>& f : fields) {
      if (Named(a, f.attribute)) {
        ReadDouble(properties, a, &(record->*f.field));
        break;
      }
    }
  }
}

}  // namespace

void ReadGeneralMaterial(TarnObject* properties, GeneralMaterialRecord* record) {
  ReadMaterial(properties, kGeneralFields, record);
}

void ReadSteelMaterial(TarnObject* properties, SteelMaterialRecord* record) {
  ReadMaterial(properties, kSteelFields, record);
}

}  // namespace korva
