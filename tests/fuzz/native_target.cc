#include <string>

#include "exchange/native_text.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {

void ReadNativeText(const std::uint8_t* data, std::size_t size) {
  SetUpOnce();
  const std::string text(reinterpret_cast<const char*>(data), size);
  TarnDesign* design = IOTarn::ReadText(text, "fuzz_native");
  if (design == nullptr) return;
  // What was read must write again.
  std::string written;
  IOTarn::WriteText(design, &written);
  Discard(design);
}

}  // namespace fuzz
}  // namespace korva
