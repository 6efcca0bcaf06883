// Exported export and update calls that run out of memory: they return -1,
// throw nothing, report "<family>: <call> failed: out of memory" and leave
// no design of their own in memory.  A failed allocation is made to happen
// either everywhere (support/failing_allocator.h, a program of its own) or
// at a known point: the object store's format check, right after a call has
// made its design, or the body of a guarded call itself.
#include "api/guarded_call.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "api/korvaifc.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/failing_allocator.h"
#include "support/ifc_file_test.h"

namespace korva {
namespace test {
namespace {

class OutOfMemoryTest : public IfcFileTest {
 protected:
  void SetUp() override {
    IfcFileTest::SetUp();
    schema_ = LoadIfcSchema();
    ASSERT_NE(schema_, nullptr);
  }
  int OpenAnalysis(const char* name) {
    return ExportAnalysisModelOpenFile(S(name), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10, 15);
  }
  int ExportFaceted(const char* name) {
    return ExportOpenFile(S(name), S(dir_.path()), S("d"), S("s"), S("a"), S("o"), S("z"), S("p"), 10, 15, 0, 0,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  TarnDesign* schema_ = nullptr;
};

bool KnownWithoutMemory(const char*) { throw std::bad_alloc(); }

TEST_F(OutOfMemoryTest, ExportsReportAndDeleteTheDesignTheyMade) {
  const TarnInterface::FormatServices real = TARN().formatServices();
  TarnInterface::FormatServices failing = real;
  failing.known = &KnownWithoutMemory;
  TARN().setFormatServices(failing);
  const int faceted = ExportFaceted("faceted.ifc"), analysis = OpenAnalysis("open.ifc");
  TARN().setFormatServices(real);
  EXPECT_EQ(faceted, -1);
  EXPECT_EQ(analysis, -1);
  EXPECT_EQ(Occurrences("warning: Building export: ExportOpenFile failed: out of memory"), 1) << Messages();
  EXPECT_EQ(Occurrences("warning: Analysis-model export: ExportAnalysisModelOpenFile failed: out of memory"), 1);
  EXPECT_EQ(TARN().designInMemory("faceted"), nullptr);
  EXPECT_EQ(TARN().designInMemory("open"), nullptr);
  EXPECT_EQ(ExportAnalysisModelCloseFile(S("open.ifc"), S(dir_.path())), -1);  // nothing was opened
  EXPECT_EQ(Occurrences("ExportAnalysisModelCloseFile ignored: no export is open"), 1);
  EXPECT_FALSE(FileExists(File("faceted.ifc")) || FileExists(File("open.ifc")));
}

TEST_F(OutOfMemoryTest, GuardDeletesOnlyTheDesignsItsCallMade) {
  TarnDesign* older = NewIfcDesign("older.ifc", nullptr);
  const int result = GuardedCall("Update", "OpenFileForUpdate", -1, [] {
    NewIfcDesign("made.ifc", nullptr);
    TARN().newDesign("reading")->setState(TarnDesign::kBeingRead);  // cut off while read
    throw std::bad_alloc();
    return 0;
  });
  EXPECT_EQ(result, -1);
  EXPECT_EQ(Occurrences("warning: Update: OpenFileForUpdate failed: out of memory"), 1) << Messages();
  EXPECT_EQ(TARN().designInMemory("made"), nullptr);
  EXPECT_EQ(TARN().designInMemory("reading"), nullptr);
  EXPECT_EQ(TARN().designInMemory("older"), older);
  EXPECT_EQ(LoadIfcSchema(), schema_);

  // A call that starts the interface object keeps what starting it made.
  ShutDown();
  Capture();
  EXPECT_EQ(GuardedCall("Update", "UpdateOneSectionName", -1, [] {
              NewIfcDesign("fresh.ifc", nullptr);
              throw std::bad_alloc();
              return 0;
            }),
            -1);
  EXPECT_EQ(TARN().state(), TarnInterface::kInitialized);
  EXPECT_EQ(TARN().designInMemory("fresh"), nullptr);
  EXPECT_NE(TARN().designInMemory("unnamed"), nullptr);
  EXPECT_NE(TARN().systemDesign(), nullptr);
}

TEST_F(OutOfMemoryTest, CallsWithoutAnyMemoryReturnAndThrowNothing) {
  const std::string model = File("missing.ifc");
  int results[4] = {0, 0, 0, 0};
  EXPECT_NO_THROW(results[0] = WithoutMemory([&] { return ExportFaceted("none.ifc"); }));
  EXPECT_NO_THROW(results[1] = WithoutMemory([&] { return OpenAnalysis("none.ifc"); }));
  EXPECT_NO_THROW(results[2] = WithoutMemory([&] { return ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0); }));
  EXPECT_NO_THROW(results[3] = WithoutMemory([&] { return OpenFileForUpdate(0, S(model)); }));
  EXPECT_EQ(results[0], -1);
  EXPECT_EQ(results[1], -1);
  EXPECT_EQ(results[2], 0);  // the neutral position
  EXPECT_EQ(results[3], -1);
  EXPECT_EQ(TARN().designInMemory("none"), nullptr);
}

}  // namespace
}  // namespace test
}  // namespace korva
