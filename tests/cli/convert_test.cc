// korva-ifc convert and the configured output schema: the example models
// written as IFC2X3 (by convert and by the exports under
// TARN_OUTPUT_SCHEMA), read back by our reader without a word, converted
// back to the same import; check and copy on the files other tools wrote.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli/run_cli.h"
#include "support/step_text.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

bool Has(const std::string& text, const std::string& pattern) { return std::regex_search(text, std::regex(pattern)); }

// GlobalIds and time stamps, which differ from run to run, masked.
std::string Masked(const std::string& text) {
  std::string s = std::regex_replace(text, std::regex("'[0-9A-Za-z_$]{22}'"), "'<GUID>'");
  s = std::regex_replace(s, std::regex("'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[-+0-9:]*'"), "'<TIME>'");
  return std::regex_replace(s, std::regex("(IFCOWNERHISTORY\\(.*,)[0-9]+\\);"), "$1<DATE>);");
}

std::string Corpus(const char* file) { return std::string(KORVA_CORPUS_DIR) + "/" + file; }

// The check command's counts, from the first type to the total (before
// them come the messages and the file's name, after them the number of
// warnings: a copy writes as reals the integers the Tekla file gives for
// reals, which the reader tells about).
std::string Counts(const std::string& file) {
  Outcome r = KorvaIfc("check " + Quoted(file));
  EXPECT_NE(r.status, 2) << r.err;
  const size_t first = r.out.find("\n  Ifc");
  const size_t total = r.out.find("\n  total");
  EXPECT_NE(total, std::string::npos) << r.out;
  return first == std::string::npos || total == std::string::npos ? r.out : r.out.substr(first, r.out.find('\n', total + 1) - first);
}

// Import JSON without the line that names the file.
std::string Tables(const std::string& json) { return std::regex_replace(json, std::regex("\n *\"file\": [^\n]*"), ""); }

// The example models exported once, as IFC2x2 and under each setting.
class ConvertTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    for (const char* kind : {"building", "analysis"}) {
      const std::string model = Quoted(ExampleModel((std::string(kind) + ".json").c_str()));
      const std::string command = std::string("export-") + kind + " " + model + " ";
      exports_[kind] = KorvaIfc(command + Quoted(dir_->file(std::string(kind) + ".ifc")));
      KorvaIfc(command + Quoted(dir_->file(std::string(kind) + "-2x3.ifc")), "TARN_OUTPUT_SCHEMA=IFC2X3");
      KorvaIfc(command + Quoted(dir_->file(std::string(kind) + "-2x2.ifc")), "TARN_OUTPUT_SCHEMA=IFC2X2_FINAL");
      other_[kind] = KorvaIfc(command + Quoted(dir_->file(std::string(kind) + "-ifc4.ifc")), "TARN_OUTPUT_SCHEMA=IFC4");
    }
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::string File(const std::string& name) { return dir_->file(name); }

  static TempDir* dir_;
  static std::map<std::string, Outcome> exports_, other_;
};
TempDir* ConvertTest::dir_ = nullptr;
std::map<std::string, Outcome> ConvertTest::exports_, ConvertTest::other_;

TEST_F(ConvertTest, ConvertWritesIfc2x3ThatReadsBackAndReturnsToTheSameImport) {
  for (const char* kind : {"building", "analysis"}) {
    ASSERT_EQ(exports_[kind].status, 0) << exports_[kind].err;
    const std::string original = File(std::string(kind) + ".ifc");
    const std::string converted = File(std::string(kind) + "-converted.ifc");
    Outcome c = KorvaIfc("convert " + Quoted(original) + " " + Quoted(converted));
    ASSERT_EQ(c.status, 0) << c.out << c.err;
    EXPECT_TRUE(Has(c.out, "^IFC2X2_FINAL -> IFC2X3: [0-9]+ instances of [0-9]+ types mapped, nothing lost\n$"))
        << c.out;
    const std::string text = ReadFile(converted);
    EXPECT_EQ(FileSchemas(text), std::vector<std::string>{"IFC2X3"});
    EXPECT_EQ(DataInstances(text).size(), DataInstances(ReadFile(original)).size());
    // Our reader reads it back without a message.
    Outcome check = KorvaIfc("check " + Quoted(converted));
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_TRUE(Has(check.out, "\n0 warnings, 0 errors\n$")) << check.out;
    EXPECT_EQ(Counts(converted), Counts(original));

    const std::string back = File(std::string(kind) + "-back.ifc");
    Outcome b = KorvaIfc("convert --schema IFC2X2_FINAL " + Quoted(converted) + " " + Quoted(back));
    ASSERT_EQ(b.status, 0) << b.out << b.err;
    EXPECT_TRUE(Has(b.out, "^IFC2X3 -> IFC2X2_FINAL: ")) << b.out;
    Outcome before = KorvaIfc("import " + Quoted(original));
    Outcome after = KorvaIfc("import " + Quoted(back));
    ASSERT_EQ(before.status, 0) << before.err;
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_GT(before.out.size(), 100u);
    EXPECT_TRUE(Tables(after.out) == Tables(before.out)) << kind;
  }
}

// Unset, the exports write what they always wrote; IFC2X3 gives what
// convert gives; a value this build does not write is said and ignored.
TEST_F(ConvertTest, TheOutputSchemaSettingChoosesWhatTheExportsWrite) {
  for (const char* kind : {"building", "analysis"}) {
    const std::string plain = ReadFile(File(std::string(kind) + ".ifc"));
    ASSERT_FALSE(plain.empty());
    // (Whole files compared for equality, not diffed.)
    EXPECT_TRUE(Masked(plain) == ReadFile(std::string(KORVA_BASELINE_FILES) + "/examples/" + kind + ".ifc")) << kind;
    const std::string ifc2x2 = ReadFile(File(std::string(kind) + "-2x2.ifc"));
    EXPECT_EQ(FileSchemas(ifc2x2), std::vector<std::string>{"IFC2X2_FINAL"});
    EXPECT_TRUE(DataInstances(Masked(ifc2x2)) == DataInstances(Masked(plain))) << kind;

    const std::string ifc2x3 = ReadFile(File(std::string(kind) + "-2x3.ifc"));
    EXPECT_EQ(FileSchemas(ifc2x3), std::vector<std::string>{"IFC2X3"});
    const std::string converted = File(std::string(kind) + "-converted-here.ifc");
    ASSERT_EQ(KorvaIfc("convert " + Quoted(File(std::string(kind) + ".ifc")) + " " + Quoted(converted)).status, 0);
    EXPECT_TRUE(DataInstances(Masked(ifc2x3)) == DataInstances(Masked(ReadFile(converted)))) << kind;

    EXPECT_TRUE(Has(other_[kind].out + other_[kind].err,
                    "Output schema 'IFC4' is not one this build writes; the file is written as IFC2X2_FINAL\\."))
        << other_[kind].out << other_[kind].err;
    const std::string ifc4 = ReadFile(File(std::string(kind) + "-ifc4.ifc"));
    EXPECT_EQ(FileSchemas(ifc4), std::vector<std::string>{"IFC2X2_FINAL"});
    EXPECT_TRUE(DataInstances(Masked(ifc4)) == DataInstances(Masked(plain))) << kind;
  }
}

TEST_F(ConvertTest, ArgumentsAndFilesOfTheWrongKind) {
  Outcome bad = KorvaIfc("convert --schema IFC4 " + Quoted(File("building.ifc")) + " " + Quoted(File("x.ifc")));
  EXPECT_EQ(bad.status, 2);
  EXPECT_TRUE(Has(bad.err, "--schema IFC4: IFC2X3 or IFC2X2_FINAL expected")) << bad.err;
  EXPECT_EQ(KorvaIfc("convert " + Quoted(File("building.ifc"))).status, 2);
  EXPECT_EQ(KorvaIfc("convert " + Quoted(File("missing.ifc")) + " " + Quoted(File("x.ifc"))).status, 3);
  // Already in the schema asked for: written as read.
  Outcome same = KorvaIfc("convert " + Quoted(Corpus("revit2013_tst.ifc")) + " " + Quoted(File("same.ifc")));
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_TRUE(Has(same.out, "is already IFC2X3: written as read\n$")) << same.out;
  EXPECT_EQ(Counts(File("same.ifc")), Counts(Corpus("revit2013_tst.ifc")));
}

// What IFC2x2 has no place for is listed and makes the status 1; the file
// holds the rest.
TEST_F(ConvertTest, WhatCannotBeCarriedIsListedAndFailsTheCommand) {
  Outcome r = KorvaIfc("convert --schema IFC2X2_FINAL " + Quoted(Corpus("etabs_building01_2x3.ifc")) + " " +
                       Quoted(File("etabs-2x2.ifc")));
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "^IFC2X3 -> IFC2X2_FINAL: [0-9]+ instances of [0-9]+ types mapped, .*[1-9][0-9]* kinds of "
                         "loss in [0-9]+ instances\n$"))
      << r.out;
  EXPECT_TRUE(Has(r.err, "not carried over to IFC2X2_FINAL:\n(  Ifc[A-Za-z]+: .* \\(#[0-9]+.*\\)\n)+$")) << r.err;
  EXPECT_EQ(FileSchemas(ReadFile(File("etabs-2x2.ifc"))), std::vector<std::string>{"IFC2X2_FINAL"});
}

// Files other tools wrote: check reads them without best-fit chatter, copy
// keeps their schema and every instance.
TEST(CorpusFiles, CheckAndCopyKeepTheSchemaAndEveryInstance) {
  TempDir dir;
  for (const char* file : {"axis_roof_truss.ifc", "etabs_building01_2x3.ifc", "revit2013_tst.ifc",
                           "tekla_slabs_394.ifc", "vogel_ifc2x_final.ifc"}) {
    const std::string in = Corpus(file);
    Outcome check = KorvaIfc("check " + Quoted(in));
    EXPECT_EQ(check.status, 0) << file << check.out;
    EXPECT_FALSE(Has(check.out, "[Bb]est-fit")) << file << check.out;
    const std::string out = dir.file(file);
    Outcome copy = KorvaIfc("copy " + Quoted(in) + " " + Quoted(out));
    ASSERT_EQ(copy.status, 0) << file << copy.err;
    const std::string schema = std::string(file) == "vogel_ifc2x_final.ifc" ? "IFC2X2_FINAL" : "IFC2X3";
    EXPECT_EQ(FileSchemas(ReadFile(out)), std::vector<std::string>{schema}) << file;
    EXPECT_EQ(Counts(out), Counts(in)) << file;
    EXPECT_EQ(DataInstances(ReadFile(out)).size(), DataInstances(ReadFile(in)).size()) << file;
  }
}

}  // namespace
}  // namespace test
}  // namespace korva
