// The exported census and fill when memory runs out: each call still
// returns -1 and throws nothing at the host, reports "out of memory"
// through the error reporter, and leaves every import table empty with
// counters a host can loop to.  A program of its own, under the failing
// allocator (support/failing_allocator.h).
#include <string>

#include "import/import_fixture.h"
#include "support/failing_allocator.h"

namespace {

using korva::test::FailingAllocations;

// Tables of these sizes are allocated in blocks of more than kLarge bytes:
// the proxies' point pool and the analysis-model table.
constexpr int kProxies = 8;
constexpr int kModels = 300;
constexpr std::size_t kLarge = 16 * 1024;

std::string File() {
  std::string text =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
      "FILE_NAME('many','2020-01-01T00:00:00',(''),(''),'','','');\n"
      "FILE_SCHEMA(('IFC2X2_FINAL'));\nENDSEC;\nDATA;\n";
  int n = 10;
  for (int i = 0; i < kProxies; ++i)
    text += "#" + std::to_string(n++) + "=IFCBUILDINGELEMENTPROXY('0Proxyxxxxxxxxxxxxxxxx',$,'P',$,$,$,$,$,$);\n";
  for (int i = 0; i < kModels; ++i)
    text += "#" + std::to_string(n++) + "=IFCSTRUCTURALANALYSISMODEL('0Modelxxxxxxxxxxxxxxxx',$,'M',$,$,.LOADING_3D.,$,$,$);\n";
  return text + "ENDSEC;\nEND-ISO-10303-21;\n";
}

class ImportWithoutMemory : public korva::test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    dir_.write("many.ifc", File());
    path_ = dir_.file("many.ifc");
  }
  char* path() { return &path_[0]; }

  // Every counter of both families after a failed call: nothing to read.
  static void ExpectEmpty(int counter) {
    const int counters[] = {GetTotalBeams(),           GetTotalColumns(),        GetTotalWalls(),
                            GetTotalSlabs(),           GetTotalGenerals(),       GetTotalWallPoints(),
                            GetTotalSlabPoints(),      GetTotalAnaModels(),      GetNumberStrCurveMembers(),
                            GetNumberStrSurfaceMembers(), GetNumberStrPointConnections(), GetNumberStrLoadGroups(),
                            GetNumberStrPointActions(), GetNumberStrLinearActions(), GetNumberGeneralMaterials(),
                            GetNumberMechSteelMats(),  GetNumberMechConcMats(),  GetNumberStrProfileProperties()};
    for (int c : counters) EXPECT_EQ(c, counter);
    EXPECT_EQ(GetAnaModelAvailable(), 0);
    EXPECT_EQ(GetNumberProjectUnits(), 0);
    EXPECT_EQ(GetGeneralTotal(0), 0);
    EXPECT_EQ(Text(GetAnaModelName, 0), " ");  // outside the analysis tables: the default record
  }

  std::string path_;
};

TEST_F(ImportWithoutMemory, FillReportsAndLeavesEveryTableEmpty) {
  ASSERT_EQ(FindTotalObjects(path()), -1);
  ASSERT_EQ(GetTotalGenerals(), kProxies) << out_.text();
  ASSERT_EQ(GetTotalAnaModels(), kModels);
  int result = 0;
  Traced([&] {
    FailingAllocations large(kLarge);
    EXPECT_NO_THROW(result = CheckNumber(0, path()));
  });
  EXPECT_EQ(result, -1);
  EXPECT_NE(out_.text().find("TARN: warning: Import: CheckNumber failed: out of memory\n"), std::string::npos)
      << out_.text();
  ExpectEmpty(-1);

  // With memory the same calls fill the tables again.
  FindTotalObjects(path());
  Traced([&] { CheckNumber(0, path()); });
  EXPECT_EQ(GetTotalGenerals(), kProxies - 1);
  EXPECT_EQ(GetTotalAnaModels(), kModels - 1);
}

TEST_F(ImportWithoutMemory, AnalysisCensusReportsAndLeavesEveryTableEmpty) {
  ASSERT_EQ(FindTotalObjects(path()), -1);  // reads the file with memory
  int result = 0;
  {
    FailingAllocations large(kLarge);
    EXPECT_NO_THROW(result = FindTotalAnaModels(path()));
  }
  EXPECT_EQ(result, -1);
  EXPECT_NE(out_.text().find("Import: FindTotalAnaModels failed: out of memory"), std::string::npos)
      << out_.text();
  ExpectEmpty(-1);
  // A census that cannot even count leaves zero counts, not last indices.
  {
    FailingAllocations all;
    EXPECT_NO_THROW(result = FindTotalObjects(path()));
  }
  EXPECT_EQ(result, -1);
  EXPECT_EQ(GetTotalGenerals(), 0);
  EXPECT_EQ(GetTotalAnaModels(), 0);
}

}  // namespace
