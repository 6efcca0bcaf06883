#include "import/analysis_tables.h"

#include <cstring>

#include "objdb/interface.h"

namespace korva {

AnalysisImportState& AnalysisImport() {
  static AnalysisImportState state;
  return state;
}

unsigned LiveGeneration() {
  const TarnInterface& tarn = TARN();
  return tarn.state() == TarnInterface::kInitialized ? tarn.generation() : 0;
}

void CopyField(const char* text, unsigned generation, char* buffer) {
  if (text == nullptr || buffer == nullptr) return;
  // Text of a design that a shutdown has destroyed is not touched.
  if (text != kBlankField && (generation == 0 || generation != LiveGeneration())) return;
  std::memcpy(buffer, text, std::strlen(text) + 1);
}

void ProjectUnitArrays::allocate(int n) {
  const size_t size = n > 0 ? static_cast<size_t>(n) : 0;
  count = n > 0 ? n : 0;
  Type.assign(size, 0);
  SIUnitPrefix.assign(size, -1);
  SIUnitName.assign(size, -1);
  ConversionBasedName.assign(size, kBlankField);
  ConversionBasedExponent.assign(size, UnitExponents{});
  TotDerivedUnit.assign(size, 0);
  DerivedUnitIndex.clear();
  DerivedUnitExp.clear();
  generation = LiveGeneration();
}

}  // namespace korva
