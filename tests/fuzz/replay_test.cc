// Replays every kept fuzz input (tests/fuzz/regressions/<target>/) and every
// seed (seed_inputs.h) through the entry point it belongs to, so that the
// normal and sanitizer builds guard what fuzzing found.  An input passes
// when it neither crashes nor ends the process, and leaves no design of its
// own behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "import/import_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/fuzz/seed_inputs.h"
#include "update/update_state.h"

namespace korva {
namespace fuzz {
namespace {

const std::string kFuzzDir = KORVA_FUZZ_DIR;

// The kept inputs of a target (any name), then the seeds of its kind.
std::vector<SeedInput> Inputs(const std::string& target, bool native) {
  std::vector<SeedInput> inputs = FilesIn(kFuzzDir + "/regressions/" + target, "");
  for (const SeedInput& s : FilesIn(kFuzzDir + "/regressions/" + target, ".ifc")) inputs.push_back(s);
  for (const SeedInput& s : FilesIn(kFuzzDir + "/regressions/" + target, ".tarn")) inputs.push_back(s);
  std::vector<SeedInput> seeds = native ? NativeSeeds(kFuzzDir + "/seeds/tarn", KORVA_SCHEMA_DIR)
                                        : ExchangeSeeds(kFuzzDir + "/seeds", KORVA_CORPUS_DIR);
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  return inputs;
}

// Designs in memory other than the schemas, the system design and those
// deleted (in the trash until it is next emptied).
int DataDesigns() {
  int n = 0;
  for (TarnDesign* d : TARN().designs())
    if (d != nullptr && d != TARN().systemDesign() && !d->isSchemaDesign() && !d->markedForDeletion()) ++n;
  return n;
}

using Entry = void (*)(const std::uint8_t*, std::size_t);

void Replay(const std::vector<SeedInput>& inputs, Entry entry) {
  ASSERT_FALSE(inputs.empty());
  SetUpOnce();
  TARN().initialize();
  const int before = DataDesigns();
  for (const SeedInput& input : inputs) {
    SCOPED_TRACE(input.name);
    testing::internal::CaptureStdout();
    entry(reinterpret_cast<const std::uint8_t*>(input.bytes.data()), input.bytes.size());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(DataDesigns(), before);
  }
}

TEST(FuzzRegressions, ReaderInputs) { Replay(Inputs("part21_reader", false), &ReadExchangeFile); }

TEST(FuzzRegressions, ImportInputs) {
  Replay(Inputs("import", false), &ImportFile);
  EXPECT_EQ(ImportDesign(), nullptr);
}

TEST(FuzzRegressions, NativeInputs) { Replay(Inputs("native_text", true), &ReadNativeText); }

TEST(FuzzRegressions, UpdateInputs) {
  Replay(Inputs("update", false), &UpdateFile);
  EXPECT_EQ(update::UpdateDesign(), nullptr);
}

// The update target reaches the member changes: on our analysis model (no
// profile properties, so no section changes) the saved file holds the studs
// and camber and the new owner history.
TEST(FuzzTargets, UpdateChangesTheMembersOfTheSeed) {
  std::vector<SeedInput> seeds = FilesIn(kFuzzDir + "/seeds", ".ifc");
  auto analysis = std::find_if(seeds.begin(), seeds.end(), [](const SeedInput& s) { return s.name == "analysis_seed.ifc"; });
  ASSERT_NE(analysis, seeds.end());
  testing::internal::CaptureStdout();
  UpdateFile(reinterpret_cast<const std::uint8_t*>(analysis->bytes.data()), analysis->bytes.size());
  const std::string trace = testing::internal::GetCapturedStdout();
  std::ifstream in(ScratchFolder() + "/fuzz_update_out.ifc", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* expected : {"'Number Stud'", "'Camber'", "'Fuzz'", ".MODIFIED."})
    EXPECT_NE(saved.find(expected), std::string::npos) << expected << "\n" << trace;
}

// The seeds hold what the targets are meant to reach: the corpus cuts read
// (IFC2x3 files too), and the native cuts are whole files.
TEST(FuzzSeeds, CutsAreSmallAndComplete) {
  const std::vector<SeedInput> exchange = ExchangeSeeds(kFuzzDir + "/seeds", KORVA_CORPUS_DIR);
  const std::vector<SeedInput> native = NativeSeeds(kFuzzDir + "/seeds/tarn", KORVA_SCHEMA_DIR);
  ASSERT_GE(exchange.size(), 2u);
  ASSERT_GE(native.size(), 3u);
  for (const std::vector<SeedInput>* kind : {&exchange, &native})
    for (const SeedInput& s : *kind) {
      EXPECT_LE(s.bytes.size(), kMaxSeedSize) << s.name;
      EXPECT_GT(s.bytes.size(), 200u) << s.name;
    }
  for (const SeedInput& s : exchange) {
    EXPECT_EQ(s.bytes.substr(s.bytes.size() - 26), "ENDSEC;\nEND-ISO-10303-21;\n") << s.name;
    EXPECT_EQ(s.bytes.find("'IFC2X_FINAL'"), std::string::npos) << s.name;
  }
  const std::string cut = CutExchangeFile(
      "ISO-10303-21;\nHEADER;\nFILE_SCHEMA(('IFC2X_FINAL'));\nENDSEC;\nDATA;\n#1=A(1);\n#2=B(\n2);\n#3=C(3);\n"
      "ENDSEC;\nEND-ISO-10303-21;\n",
      90);
  EXPECT_EQ(cut, "ISO-10303-21;\nHEADER;\nFILE_SCHEMA(('IFC2X2_FINAL'));\nENDSEC;\nDATA;\n#1=A(1);\n#2=B(\n2);\n"
                 "ENDSEC;\nEND-ISO-10303-21;\n");
  EXPECT_EQ(CutNativeFile("X\nSTEP_OBJECTS (\n\t(<0-1> A\n\t\tb: 1\n\t)\n\t(<0-2> B\n\t)\n)\n", 30),
            "X\nSTEP_OBJECTS (\n\t(<0-1> A\n\t\tb: 1\n\t)\n)\n");
}

// The import target calls every text getter of the exported interface.
TEST(FuzzTargets, ImportCallsEveryTextGetter) {
  std::ifstream contract(std::string(KORVA_ABI_DIR) + "/exports.tsv");
  ASSERT_TRUE(contract.good());
  std::set<std::string> getters;
  std::string line;
  while (std::getline(contract, line)) {
    std::istringstream row(line);
    std::string name, result, arguments;
    std::getline(row, name, '\t');
    std::getline(row, result, '\t');
    std::getline(row, arguments, '\t');
    if (result == "void" && arguments == "int,char*") getters.insert(name);
  }
  const std::vector<std::string> called = ImportTextGetters();
  EXPECT_EQ(std::set<std::string>(called.begin(), called.end()), getters);
  EXPECT_EQ(called.size(), getters.size());
}

}  // namespace
}  // namespace fuzz
}  // namespace korva
