// The libFuzzer entry of one fuzz target, chosen at build time with
// KORVA_FUZZ_ENTRY (a function of fuzz_targets.h).
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korva::fuzz::KORVA_FUZZ_ENTRY(data, size);
  return 0;
}
