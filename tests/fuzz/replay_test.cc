// Replays every kept fuzz input (tests/fuzz/regressions/<target>/) and every
// seed (tests/fuzz/seeds/) through the entry point it was found with, so
// that the normal and sanitizer builds guard what fuzzing found.  An input
// passes when it neither crashes nor ends the process, and leaves no
// design behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "import/import_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const std::string& folder) {
  std::vector<fs::path> out;
  const fs::path dir = fs::path(KORVA_FUZZ_DIR) / folder;
  if (!fs::is_directory(dir)) return out;
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().filename().string()[0] != '.') out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::uint8_t* Data(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

// Designs in memory made from a fuzz input.
int InputDesigns() {
  int n = 0;
  for (TarnDesign* d : TARN().designs())
    if (d != nullptr && d->name() != nullptr && std::string(d->name()) == "fuzz_input") ++n;
  return n;
}

TEST(FuzzRegressions, ReaderInputsReadAndWriteWithoutFailing) {
  std::vector<fs::path> inputs = Inputs("regressions/part21_reader");
  const std::vector<fs::path> seeds = Inputs("seeds");
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  ASSERT_FALSE(inputs.empty());
  for (const fs::path& p : inputs) {
    SCOPED_TRACE(p.string());
    const std::string bytes = Bytes(p);
    ReadExchangeFile(Data(bytes), bytes.size());
    EXPECT_EQ(InputDesigns(), 0);
  }
}

TEST(FuzzRegressions, ImportInputsRunEveryPass) {
  std::vector<fs::path> inputs = Inputs("regressions/import");
  const std::vector<fs::path> seeds = Inputs("seeds");
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  ASSERT_FALSE(inputs.empty());
  for (const fs::path& p : inputs) {
    SCOPED_TRACE(p.string());
    const std::string bytes = Bytes(p);
    testing::internal::CaptureStdout();
    ImportFile(Data(bytes), bytes.size());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ImportDesign(), nullptr);
  }
}

}  // namespace
}  // namespace fuzz
}  // namespace korva
