#include <cstdio>

#include "exchange/part21_reader.h"
#include "exchange/part21_writer.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {
namespace {

void SetUpOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  // Messages are the reader's business, not the fuzzer's: they go nowhere.
  static std::FILE* const sink = std::fopen("/dev/null", "w");
  TARN().reporter()->setStreams(sink, sink);
}

}  // namespace

void ReadExchangeFile(const std::uint8_t* data, std::size_t size) {
  SetUpOnce();
  TarnDesign* design =
      Part21Reader::ReadText(reinterpret_cast<const char*>(data), size, "fuzz_input", "fuzz_input.ifc");
  if (design == nullptr) return;
  // Whatever was read must write again: every value the reader stored is
  // visited by the writer.
  if (std::FILE* sink = std::fopen("/dev/null", "wb")) {
    Part21Writer::Write(design, sink);
    std::fclose(sink);
  }
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

}  // namespace fuzz
}  // namespace korva
