// Exported export and update calls that run out of memory midway: each
// failed run returns -1, throws nothing, reports "<family>: <call> failed:
// out of memory" and leaves no design of its own in memory (a program of
// its own, support/failing_allocation.h).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/korvaifc.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/failing_allocation.h"
#include "support/ifc_file_test.h"

namespace korva {
namespace test {
namespace {

class OutOfMemoryTest : public IfcFileTest {
 protected:
  // Runs `call` with its n-th allocation failing for n = 1, 2, ... until a
  // run completes; returns how many failed.  Every run starts initialised,
  // with the IFC2x2 dictionary loaded (starting up is not the calls' part).
  int FailEachAllocation(const std::string& failure, const char* design, const std::function<int()>& call) {
    const std::string warning = "warning: " + failure + " failed: out of memory";
    int failed = 0;
    for (long n = 1;; ++n, ++failed) {
      if (TARN().state() != TarnInterface::kInitialized) {
        LoadIfcSchema();
        Capture();
      }
      const int said = Occurrences(warning);
      FailAllocationNumber(n);
      int result = 0;
      EXPECT_NO_THROW(result = call());
      const bool hit = AllocationFailed();
      FailAllocationNumber(0);
      if (!hit) return failed;
      EXPECT_EQ(result, -1) << "allocation " << n;
      // A failure while the call shut the interface object down took the
      // captured reporter with it; otherwise the report is here.
      if (TARN().state() == TarnInterface::kInitialized) {
        EXPECT_EQ(Occurrences(warning), said + 1) << "allocation " << n;
      }
      EXPECT_EQ(TARN().designInMemory(design), nullptr) << "allocation " << n;
    }
  }
  int OpenAnalysis(const char* name) {
    return ExportAnalysisModelOpenFile(S(name), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10, 15);
  }
};

TEST_F(OutOfMemoryTest, ExportsReportAndDeleteTheirDesign) {
  double elevations[] = {0, 0.0}, x[] = {0, 0, 1, 1, 0}, y[] = {0, 0, 0, 1, 1}, one[] = {0, 1.0}, zero[] = {0, 0.0};
  int start[] = {0, 1}, points[] = {0, 4}, storey[] = {0, 1};
  EXPECT_GT(FailEachAllocation("Building export: ExportOpenFileWithStoryesAndSlabsWalls", "alloc",
                               [&] {
                                 return ExportOpenFileWithStoryesAndSlabsWalls(
                                     S("alloc.ifc"), S(dir_.path()), S("d"), S("s"), S("a"), S("o"), S("z"),
                                     S("p"), 10, 15, 1, 0, 1, 0, 0, elevations, x, y, start, points, storey,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, one, zero, zero, zero, zero, zero, one, one, zero, zero);
                               }),
            100);
  EXPECT_TRUE(FileExists(File("alloc.ifc")));  // by the run that completed

  EXPECT_GT(FailEachAllocation("Analysis-model export: ExportAnalysisModelOpenFile", "open",
                               [&] { return OpenAnalysis("open.ifc"); }),
            100);
  EXPECT_NE(TARN().designInMemory("open"), nullptr);  // opened by the run that completed
}

TEST_F(OutOfMemoryTest, OpenForUpdateReportsAndDeletesTheDesignItWasReading) {
  OpenAnalysis("model.ifc");
  ExportAnalysisModelBuidlingOneStory(S("Ground"), 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0);
  ExportAnalysisModelCloseFile(S("model.ifc"), S(dir_.path()));
  const std::string model = File("model.ifc");
  EXPECT_GT(FailEachAllocation("Update: OpenFileForUpdate", "model", [&] { return OpenFileForUpdate(0, S(model)); }),
            100);
  // The run that completed opened the file for update.
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("saved"), S(dir_.path())), -1);
  EXPECT_TRUE(FileExists(File("saved.ifc")));
}

}  // namespace
}  // namespace test
}  // namespace korva
