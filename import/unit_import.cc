#include "import/unit_import.h"

#include "import/analysis_domains.h"
#include "import/analysis_reading.h"

namespace korva {
namespace {

const char* const kExponents[7] = {"LengthExponent",
                                   "MassExponent",
                                   "TimeExponent",
                                   "ElectricCurrentExponent",
                                   "ThermodynamicTemperatureExponent",
                                   "AmountOfSubstanceExponent",
                                   "LuminousIntensityExponent"};

void ReadNamedUnit(TarnObject* unit, UnitRecord* record) {
  ReadEnum(unit, "UnitType", &record->Type);
  const AnalysisDomains& domains = AnalysisDomains::Of(unit);
  if (domains.isA(unit, Entity::kConversionBasedUnit)) {
    record->ConversionBasedName = ReadString(unit, "Name");
    if (record->Type == kLengthUnitIndex) {
      TarnObject* dimensions = ReadObject(unit, "Dimensions");
      for (int e = 0; e < 7; ++e) ReadInteger(dimensions, kExponents[e], &record->ConversionBasedExponent[e]);
    }
  } else if (domains.isA(unit, Entity::kSIUnit)) {
    ReadEnum(unit, "Prefix", &record->SIUnitPrefix);
    ReadEnum(unit, "Name", &record->SIUnitName);
    record->TotDerivedUnit = 0;
  }
}

}  // namespace

void AllocateUnits(int n, AnalysisImportState* state) {
  state->units.allocate(n);
  state->units.setCounter(n > 0 ? n : 0);
  state->derivedUnitElements.release(0);
}

void ReadProjectUnits(TarnObject* project, AnalysisImportState* state) {
  for (TarnAttribute* a : AttributesOf(project)) {
    if (!Named(a, "UnitsInContext")) continue;
    TarnAggregate* list = ReadAggregate(ReadObject(project, a), "Units");
    if (list == nullptr) continue;
    const uint32_t n = list->count();
    AllocateUnits(static_cast<int>(n), state);
    long long elements = 0;
    for (uint32_t i = 0; i < n; ++i) {
      TarnObject* unit = ElementObject(list, i);
      UnitRecord* record = state->units.at(static_cast<int>(i));
      const AnalysisDomains& domains = AnalysisDomains::Of(unit);
      if (domains.isA(unit, Entity::kNamedUnit)) ReadNamedUnit(unit, record);
      if (domains.isA(unit, Entity::kDerivedUnit)) {
        TarnAggregate* parts = ReadAggregate(unit, "Elements");
        const uint32_t m = parts != nullptr ? parts->count() : 0;
        record->TotDerivedUnit = static_cast<int>(m);
        elements += m;
      }
    }
    state->derivedUnitElements.allocate(elements);
    for (uint32_t i = 0; i < n; ++i) {
      TarnObject* unit = ElementObject(list, i);
      TarnAggregate* parts =
          AnalysisDomains::Of(unit).isA(unit, Entity::kDerivedUnit) ? ReadAggregate(unit, "Elements") : nullptr;
      for (uint32_t j = 0; parts != nullptr && j < parts->count(); ++j) {
        DerivedUnitElementRecord* next = state->derivedUnitElements.next();
        TarnObject* element = ElementObject(parts, j);
        ReadEnum(ReadObject(element, "Unit"), "UnitType", &next->DerivedUnitIndex);
        ReadInteger(element, "Exponent", &next->DerivedUnitExp);
      }
    }
  }
}

}  // namespace korva
