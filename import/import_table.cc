#include "import/import_table.h"

#include <cstring>

#include "objdb/interface.h"

namespace korva {

unsigned LiveGeneration() {
  const TarnInterface& tarn = TARN();
  return tarn.state() == TarnInterface::kInitialized ? tarn.generation() : 0;
}

void CopyText(const char* text, unsigned generation, char* buffer) {
  if (text == nullptr || buffer == nullptr) return;
  // Text of a design that a shutdown has destroyed is not touched.
  if (text != kBlankField && (generation == 0 || generation != LiveGeneration())) return;
  std::memcpy(buffer, text, std::strlen(text) + 1);
}

}  // namespace korva
