#include "import/material_import.h"

#include <cstring>

#include "import/analysis_domains.h"
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

const NumberField<ConcreteMaterialRecord> kConcreteFields[] = {
    {"DynamicViscosity", &ConcreteMaterialRecord::DynamicViscosity},
    {"YoungModulus", &ConcreteMaterialRecord::YoungModulus},
    {"ShearModulus", &ConcreteMaterialRecord::ShearModulus},
    {"PoissonRatio", &ConcreteMaterialRecord::PoissonRatio},
    {"ThermalExpansionCoefficient", &ConcreteMaterialRecord::ThermalExpansion},
    {"CompressiveStrength", &ConcreteMaterialRecord::CompressiveStrength},
    {"MaxAggregateSize", &ConcreteMaterialRecord::MaxAggregateSize},
    {"ProtectivePoreRatio", &ConcreteMaterialRecord::ProtectivePoreRatio},
};

// The names only one of the tables has: they tell steel from concrete.
const char* const kSteelOnly[] = {"YieldStress",     "UltimateStress",     "UltimateStrain",
                                  "HardeningModule", "ProportionalStress", "PlasticStrain"};
const char* const kConcreteOnly[] = {"CompressiveStrength", "MaxAggregateSize", "ProtectivePoreRatio"};

template <size_t N>
bool Listed(const char* name, const char* const (&names)[N]) {
  for (const char* n : names)
    if (std::strcmp(n, name) == 0) return true;
  return false;
}

// Calls visit(name, property) for each single-value property of extended
// material properties, in list order.
template <class Visit>
void ForEachExtendedProperty(const AnalysisDomains& domains, TarnObject* properties, Visit visit) {
  TarnAggregate* list = ReadAggregate(properties, "ExtendedProperties");
  for (uint32_t i = 0; list != nullptr && i < list->count(); ++i) {
    TarnObject* property = ElementObject(list, i);
    if (!domains.isA(property, Entity::kPropertySingleValue)) continue;
    if (const char* name = ReadString(property, "Name")) visit(name, property);
  }
}

template <class R>
void ReadMaterialName(const AnalysisDomains& domains, TarnObject* properties, R* record) {
  TarnObject* material = ReadObject(properties, "Material");
  if (domains.isA(material, Entity::kMaterial)) record->Name = ReadString(material, "Name");
}

template <class R, size_t N>
void ReadMaterial(TarnObject* properties, const NumberField<R> (&fields)[N], R* record) {
  const AnalysisDomains& domains = AnalysisDomains::Of(properties);
  if (domains.isA(properties, Entity::kExtendedMaterialProperties)) {
    ReadMaterialName(domains, properties, record);
    ForEachExtendedProperty(domains, properties, [&](const char* name, TarnObject* property) {
      for (const NumberField<R>& f : fields) {
        if (std::strcmp(name, f.attribute) == 0) {
          ReadSelectedDouble(property, "NominalValue", &(record->*f.field));
          break;
        }
      }
    });
    return;
  }
  for (TarnAttribute* a : AttributesOf(properties)) {
    if (Named(a, "Material")) {
      ReadMaterialName(domains, properties, record);
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

MaterialTable ExtendedMaterialTable(TarnObject* properties) {
  const AnalysisDomains& domains = AnalysisDomains::Of(properties);
  if (!domains.isA(properties, Entity::kExtendedMaterialProperties)) return MaterialTable::kNone;
  bool steel = false, concrete = false;
  ForEachExtendedProperty(domains, properties, [&](const char* name, TarnObject*) {
    steel = steel || Listed(name, kSteelOnly);
    concrete = concrete || Listed(name, kConcreteOnly);
  });
  return steel ? MaterialTable::kSteel : concrete ? MaterialTable::kConcrete : MaterialTable::kGeneral;
}

void ReadGeneralMaterial(TarnObject* properties, GeneralMaterialRecord* record) {
  ReadMaterial(properties, kGeneralFields, record);
}

void ReadSteelMaterial(TarnObject* properties, SteelMaterialRecord* record) {
  ReadMaterial(properties, kSteelFields, record);
}

void ReadConcreteMaterial(TarnObject* properties, ConcreteMaterialRecord* record) {
  if (AnalysisDomains::Of(properties).isA(properties, Entity::kExtendedMaterialProperties))
    ReadMaterial(properties, kConcreteFields, record);
}

}  // namespace korva
