#include "import/unit_import.h"

#include "ifc2x2/ifc2x2.h"
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

void ReadNamedUnit(TarnObject* unit, size_t i, ProjectUnitArrays* units) {
  ReadEnum(unit, "UnitType", &units->Type[i]);
  if (AsA<IfcConversionBasedUnit>(unit) != nullptr) {
    units->ConversionBasedName[i] = ReadString(unit, "Name");
    if (units->Type[i] == kLengthUnitIndex) {
      TarnObject* dimensions = ReadObject(unit, "Dimensions");
      for (int e = 0; e < 7; ++e) ReadInteger(dimensions, kExponents[e], &units->ConversionBasedExponent[i][e]);
    }
  } else if (AsA<IfcSIUnit>(unit) != nullptr) {
    ReadEnum(unit, "Prefix", &units->SIUnitPrefix[i]);
    ReadEnum(unit, "Name", &units->SIUnitName[i]);
    units->TotDerivedUnit[i] = 0;
  }
}

}  // namespace

void ReadProjectUnits(TarnObject* project, ProjectUnitArrays* units) {
  for (TarnAttribute* a : AttributesOf(project)) {
    if (!Named(a, "UnitsInContext")) continue;
    TarnAggregate* list = ReadAggregate(ReadObject(project, a), "Units");
    if (list == nullptr) continue;
    const uint32_t n = list->count();
    units->allocate(static_cast<int>(n));
    size_t elements = 0;
    for (uint32_t i = 0; i < n; ++i) {
      TarnObject* unit = ElementObject(list, i);
      if (AsA<IfcNamedUnit>(unit) != nullptr) ReadNamedUnit(unit, i, units);
      if (AsA<IfcDerivedUnit>(unit) != nullptr) {
        TarnAggregate* parts = ReadAggregate(unit, "Elements");
        const uint32_t m = parts != nullptr ? parts->count() : 0;
        units->TotDerivedUnit[i] = static_cast<int>(m);
        elements += m;
      }
    }
    units->DerivedUnitIndex.assign(elements, 0);
    units->DerivedUnitExp.assign(elements, 0);
    size_t next = 0;
    for (uint32_t i = 0; i < n; ++i) {
      TarnAggregate* parts = ReadAggregate(AsA<IfcDerivedUnit>(ElementObject(list, i)), "Elements");
      for (uint32_t j = 0; parts != nullptr && j < parts->count() && next < elements; ++j, ++next) {
        TarnObject* element = ElementObject(parts, j);
        ReadEnum(ReadObject(element, "Unit"), "UnitType", &units->DerivedUnitIndex[next]);
        ReadInteger(element, "Exponent", &units->DerivedUnitExp[next]);
      }
    }
  }
}

}  // namespace korva
