// A schema folder without the compiled IFC2x2 schema.  Every family that
// needs the schema says so with two errors, "Couldn't open schema" and
// "Could not acquire domain"; under the default exit level the first ends
// the process with status 1, with the exit level raised the call goes on,
// returns -1 and makes nothing.  The files the calls are given were written
// beforehand with the schemas at hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>

#include "objdb/interface.h"
#include "support/host_calls.h"
#include "support/host_session.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

const char kCouldNotOpen[] = "TARN: error: Couldn't open schema 'ifc2x2_final'\n";

class MissingSchemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShutDown();
    SetSchemaPath(const_cast<char*>(KORVA_SCHEMA_DIR));
    session_.writeBuilding("building.ifc");
    session_.writeAnalysisModel("analysis.ifc");
    ASSERT_TRUE(FileExists(session_.path("building.ifc")));
    ASSERT_TRUE(FileExists(session_.path("analysis.ifc")));
    // The search path is built when the library initialises again.  The
    // database path (".", "./schemas") is taken from an empty folder too.
    ShutDown();
    SetSchemaPath(const_cast<char*>(noSchemas_.path().c_str()));
    workingDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(noSchemas_.path());
  }
  void TearDown() override {
    ShutDown();
    TARN().setSchemaPath(nullptr);
    if (!workingDirectory_.empty()) std::filesystem::current_path(workingDirectory_);
  }

  // The reporter's output captured, errors no longer ending the process.
  void KeepGoing() {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().reporter()->setExitLevel(4);
  }

  // The two errors of the missing schema, in order, once for each of
  // `calls` calls that needed the schema.
  static void ExpectSchemaErrors(const std::string& text, int calls = 1) {
    static const std::regex kBoth(
        "TARN: error: Couldn't open schema 'ifc2x2_final'\n\n"
        "TARN: error: Could not acquire domain [A-Za-z0-9]+\\[ifc2x2_final\\]\n\n");
    const auto pairs = std::distance(std::sregex_iterator(text.begin(), text.end(), kBoth), std::sregex_iterator());
    EXPECT_EQ(pairs, calls) << text;
    EXPECT_EQ(Count(text, "Couldn't open schema"), calls) << text;
    EXPECT_EQ(Count(text, "Could not acquire domain"), calls) << text;
  }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  TempDir dir_, noSchemas_;
  std::filesystem::path workingDirectory_;
  HostSession session_{LinkedCalls(), dir_.path()};
  CapturedStream out_, err_;
};

TEST_F(MissingSchemaTest, BuildingExportWritesNothing) {
  KeepGoing();
  session_.writeBuilding("second.ifc");
  ExpectSchemaErrors(out_.text());
  EXPECT_FALSE(FileExists(session_.path("second.ifc")));
}

TEST_F(MissingSchemaTest, AnalysisExportWritesNothing) {
  KeepGoing();
  session_.writeAnalysisModel("second.ifc");
  ExpectSchemaErrors(out_.text());
  EXPECT_FALSE(FileExists(session_.path("second.ifc")));
}

TEST_F(MissingSchemaTest, BuildingImportLeavesTheTablesEmpty) {
  KeepGoing();
  const BuildingRead building = session_.readBuilding("building.ifc");
  ExpectSchemaErrors(out_.text(), 2);  // census and fill
  EXPECT_EQ(building.censusColumns, 0);
  EXPECT_EQ(building.lastColumn, -1);
  EXPECT_EQ(building.lastBeam, -1);
  EXPECT_EQ(building.beamGuid, "");  // nothing copied
}

TEST_F(MissingSchemaTest, AnalysisImportLeavesTheTablesEmpty) {
  KeepGoing();
  const AnalysisRead analysis = session_.readAnalysisModel("analysis.ifc");
  ExpectSchemaErrors(out_.text(), 2);
  EXPECT_EQ(analysis.lastModel, -1);  // no model
  EXPECT_EQ(analysis.lastMember, -1);
  EXPECT_EQ(analysis.lastNode, -1);
  EXPECT_EQ(analysis.memberName, " ");  // an unfilled record
}

TEST_F(MissingSchemaTest, UpdateSavesNothing) {
  KeepGoing();
  AnalysisRead ids;
  ids.memberGuid = "0123456789abcdefABCDEF";
  ids.secondNodeGuid = "0123456789abcdefABCDEG";
  session_.updateAnalysisModel("analysis.ifc", ids, 7.5, "updated.ifc");
  ExpectSchemaErrors(out_.text());
  EXPECT_FALSE(FileExists(session_.path("updated.ifc")));
}

// Under the default levels the first error ends the process, before the
// second is reported; the log, closed on the way out, shows the same.
class MissingSchemaDeathTest : public MissingSchemaTest {
 protected:
  void InChild(const std::string& log, const std::function<void()>& call) {
    TARN().reporter()->setStreams(stderr, stderr);
    OpenLogFile(const_cast<char*>(log.c_str()));
    call();
    std::fprintf(stderr, "still running\n");
    std::exit(0);
  }
  void ExpectLoggedFirstErrorOnly(const std::string& log) {
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find(kCouldNotOpen), std::string::npos) << text;
    EXPECT_EQ(text.find("Could not acquire domain"), std::string::npos) << text;
    EXPECT_NE(text.find("TARN: LOGGING ENDS "), std::string::npos) << text;
  }
};

TEST_F(MissingSchemaDeathTest, EveryFamilyEndsTheProcess) {
  const std::string log = dir_.file("death.log");
  const std::function<void()> families[] = {
      [&] { session_.writeBuilding("second.ifc"); },
      [&] { session_.writeAnalysisModel("second.ifc"); },
      [&] { session_.readBuilding("building.ifc"); },
      [&] { session_.readAnalysisModel("analysis.ifc"); },
      [&] { session_.updateAnalysisModel("analysis.ifc", AnalysisRead(), 7.5, "updated.ifc"); },
  };
  for (const auto& family : families) {
    EXPECT_EXIT(InChild(log, family), ::testing::ExitedWithCode(1),
                "TARN: error: Couldn't open schema 'ifc2x2_final'");
    ExpectLoggedFirstErrorOnly(log);
    std::remove(log.c_str());
  }
  EXPECT_FALSE(FileExists(session_.path("second.ifc")));
  EXPECT_FALSE(FileExists(session_.path("updated.ifc")));
}

}  // namespace
}  // namespace test
}  // namespace korva
