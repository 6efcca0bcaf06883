#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {
namespace fuzz {

void SetUpOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  // Messages are the library's business, not the fuzzer's; they are still
  // formatted, only not shown.
  static std::FILE* const sink = std::fopen("/dev/null", "w");
  TARN().reporter()->setStreams(sink, sink);
}

void Discard(TarnDesign* design) {
  if (design == nullptr) return;
  // The trash keeps schemas; a design read as one is an input like any other.
  design->setSchemaDesign(false);
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

namespace {

struct Scratch {
  Scratch() : path(std::filesystem::temp_directory_path() / ("korva_fuzz_" + std::to_string(getpid()))) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

}  // namespace

const std::string& ScratchFolder() {
  static const Scratch scratch;
  static const std::string folder = scratch.path.string();
  return folder;
}

std::string WriteScratch(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFolder() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return std::string();
  const bool written = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !written) return std::string();
  return path;
}

}  // namespace fuzz
}  // namespace korva
