#include <cstdio>

#include "exchange/part21_reader.h"
#include "exchange/part21_writer.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {

void ReadExchangeFile(const std::uint8_t* data, std::size_t size) {
  SetUpOnce();
  TarnDesign* design =
      Part21Reader::ReadText(reinterpret_cast<const char*>(data), size, "fuzz_input", "fuzz_input.ifc");
  if (design == nullptr) return;
  // Whatever was read must write again: every value the reader stored is
  // visited by the writer.
  static std::FILE* const sink = std::fopen("/dev/null", "wb");
  if (sink != nullptr) Part21Writer::Write(design, sink);
  Discard(design);
}

}  // namespace fuzz
}  // namespace korva
