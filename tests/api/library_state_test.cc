// What every family keeps between calls is valid while the library state
// says so: a shutdown or the deletion of a design ends it, and the next call
// that needs it finds nothing, reports and changes nothing.
#include <cstring>
#include <string>

#include "api/library_state.h"
#include "export/analysis_export.h"
#include "import/import_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/update_fixture.h"
#include "update/update_state.h"

namespace korva {
namespace test {
namespace {

// The update model, also read by the analysis import and with an analysis
// export open beside it: all three families keep something.
class LibraryStateTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    ASSERT_EQ(FindTotalAnaModels(S(model_)), -1);
    ASSERT_EQ(CheckAnaModel(0, GetAnaModelFileID(0), S(model_)), -1);
    ExportAnalysisModelOpenFile(S("open.ifc"), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("n"), -1, 15);
    Begin();
    ASSERT_NE(ImportDesign(), nullptr) << Messages();
    ASSERT_NE(update::UpdateDesign(), nullptr) << Messages();
    ASSERT_TRUE(LibraryState::get().analysisExport()) << Messages();
  }
  // The name of curve member 0 as a host reads it; "<untouched>" when the
  // getter copies nothing.
  static std::string MemberName() {
    char buffer[256] = "<untouched>";
    GetStrCurveMemberName(0, buffer);
    return buffer;
  }
};

TEST_F(LibraryStateTest, ShutDownEndsWhatEveryFamilyKeeps) {
  LibraryState& state = LibraryState::get();
  const unsigned generation = state.generation();
  ASSERT_NE(generation, 0u);
  EXPECT_TRUE(state.isLive(generation));
  EXPECT_TRUE(state.holds(state.importDesign()));
  EXPECT_TRUE(state.holds(state.updateDesign()));
  EXPECT_EQ(MemberName(), "M1");
  const int members = GetNumberStrCurveMembers();

  EXPECT_EQ(ShutDown(), -1);
  Capture();
  EXPECT_EQ(state.generation(), 0u);
  EXPECT_FALSE(state.isLive(generation));
  EXPECT_EQ(state.importDesign().design, nullptr);  // released by ShutDown itself

  // The import: numbers stay, text of the released design is not handed out.
  EXPECT_EQ(GetNumberStrCurveMembers(), members);
  EXPECT_EQ(MemberName(), "<untouched>");
  // The update: no file is open any more.
  EXPECT_EQ(UpdateOneStructuralPoint(0, Id("N1"), 1, 1, 1), -1);
  EXPECT_EQ(Occurrences("UpdateOneStructuralPoint ignored: no file is open for update"), 1) << Messages();
  EXPECT_EQ(state.updateDesign().design, nullptr);
  // The export: ended unsaved, the next call ignored.
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(Occurrences("the export of 'open' has ended unsaved"), 1) << Messages();
  EXPECT_FALSE(state.analysisExport());

  // A new generation does not revive the old one.
  TARN().initialize();
  EXPECT_NE(state.generation(), generation);
  EXPECT_FALSE(state.isLive(generation));
  EXPECT_EQ(MemberName(), "<untouched>");
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("after"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(File("after.ifc")));
}

TEST_F(LibraryStateTest, ADeletedDesignIsNoLongerHeld) {
  LibraryState& state = LibraryState::get();
  // The import and the update read the same design.
  TarnDesign* model = state.importDesign().design;
  ASSERT_EQ(model, state.updateDesign().design);
  TarnDesign* exported = state.analysisExport()->design();

  TARN().deleteDesign(model);
  EXPECT_FALSE(state.holds(state.updateDesign()));
  EXPECT_EQ(ImportDesign(), nullptr);
  EXPECT_EQ(UpdateOneStructuralPoint(0, Id("N1"), 1, 1, 1), -1);
  EXPECT_EQ(Occurrences("no file is open for update"), 1) << Messages();
  // The export's design is another and still held.
  EXPECT_TRUE(state.holds({exported, state.generation()}));
  ExportAnalysisModelBuidlingOneStory(S("Level"), 0.0);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 1) << Messages();

  TARN().deleteDesign(exported);
  EXPECT_EQ(ExportAnalysisModelAddOnePointConnection(S("N"), 1, 0, 0, 0), 0);
  EXPECT_EQ(Occurrences("the export of 'open' has ended unsaved"), 1) << Messages();
  EXPECT_FALSE(state.analysisExport());
  // A design taken in another generation is never held, whatever its address.
  EXPECT_FALSE(state.holds({TARN().designs().back(), state.generation() + 1}));
}

}  // namespace
}  // namespace test
}  // namespace korva
