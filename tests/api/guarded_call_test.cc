// The exported export and update functions when memory runs out in the
// middle of their work: a call is run again and again with one allocation
// failing, the first, the second, ... until a run completes.  Every failed
// run returns the call's neutral result, throws nothing, reports
// "<family>: <call> failed: out of memory" as a warning and leaves no
// design of its own in memory (a program of its own,
// support/failing_allocation.h).
#include <gtest/gtest.h>

#include <cstring>
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

int DesignsNamed(const char* name) {
  int n = 0;
  for (TarnDesign* d : TARN().designs())
    if (d->name() != nullptr && std::strcmp(d->name(), name) == 0) ++n;
  return n;
}

class OutOfMemoryTest : public IfcFileTest {
 protected:
  // Runs `call` with its n-th allocation failing for n = 1, 2, ... until a
  // run completes, and checks each failed run; returns how many failed.
  // Every run starts from an initialised interface object with the IFC2x2
  // dictionary loaded: how the object store starts up without memory is not
  // the calls' concern.
  template <typename Call>
  int FailEachAllocation(const char* family, const char* function, const char* design, int neutral, Call call) {
    const std::string warning = std::string("warning: ") + family + ": " + function + " failed: out of memory";
    int failed = 0;
    for (long n = 1;; ++n) {
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
      if (!hit) break;
      ++failed;
      EXPECT_EQ(result, neutral) << "allocation " << n;
      // A failure while the call shut the interface object down took the
      // captured reporter with it; otherwise the report is here.
      if (TARN().state() == TarnInterface::kInitialized) {
        EXPECT_EQ(Occurrences(warning), said + 1) << "allocation " << n;
      }
      EXPECT_EQ(DesignsNamed(design), 0) << "allocation " << n;
    }
    return failed;
  }
};

TEST_F(OutOfMemoryTest, BuildingExportReportsAndDeletesItsDesign) {
  double elevations[] = {0, 0.0}, x[] = {0, 0, 1, 1, 0}, y[] = {0, 0, 0, 1, 1};
  double one[] = {0, 1.0}, zero[] = {0, 0.0};
  int start[] = {0, 1}, points[] = {0, 4}, storey[] = {0, 1};
  const int failed = FailEachAllocation("Building export", "ExportOpenFileWithStoryesAndSlabsWalls", "alloc", -1, [&] {
    return ExportOpenFileWithStoryesAndSlabsWalls(
        S("alloc.ifc"), S(dir_.path()), S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10, 15, 1, 0, 1, 0, 0,
        elevations, x, y, start, points, storey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, one, zero, zero, zero, zero, zero, one, one, zero, zero);
  });
  EXPECT_GT(failed, 100);
  EXPECT_TRUE(FileExists(File("alloc.ifc")));  // the run that completed
}

TEST_F(OutOfMemoryTest, AnalysisExportOpenReportsAndDeletesItsDesign) {
  const int failed = FailEachAllocation("Analysis-model export", "ExportAnalysisModelOpenFile", "alloc", -1, [&] {
    return ExportAnalysisModelOpenFile(S("alloc.ifc"), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10,
                                       15);
  });
  EXPECT_GT(failed, 100);
  // The run that completed opened the export.
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("alloc.ifc"), S(dir_.path())), -1);
  EXPECT_TRUE(FileExists(File("alloc.ifc")));
}

TEST_F(OutOfMemoryTest, OpenForUpdateReportsAndDeletesTheDesignItWasReading) {
  ExportAnalysisModelOpenFile(S("model.ifc"), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10, 15);
  ExportAnalysisModelBuidlingOneStory(S("Ground"), 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0);
  ExportAnalysisModelCloseFile(S("model.ifc"), S(dir_.path()));
  const std::string model = File("model.ifc");
  const int failed = FailEachAllocation("Update", "OpenFileForUpdate", "model", -1,
                                        [&] { return OpenFileForUpdate(0, S(model)); });
  EXPECT_GT(failed, 100);
  // The run that completed opened the file for update.
  EXPECT_EQ(DesignsNamed("model"), 1);
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("saved"), S(dir_.path())), -1);
  EXPECT_TRUE(FileExists(File("saved.ifc")));
}

}  // namespace
}  // namespace test
}  // namespace korva
