// The building import of the sample files other tools wrote: the census
// finds the elements their README counts, the fill hands out the names the
// files give and, where the bodies are swept profiles, outline points.
#include <ostream>
#include <string>
#include <vector>

#include "import/building_text_fixture.h"
#include "import/import_state.h"

namespace korva {
namespace {

struct CorpusBuilding {
  const char* name;
  // After the census: beams, columns, walls, slabs, proxies.
  std::vector<int> counts;
  bool named;              // every element has a Name in the file
  bool outlined;           // every wall and slab body is a swept profile
};

const CorpusBuilding kFiles[] = {
    {"axis_roof_truss.ifc", {9, 1, 0, 0, 0}, false, false},
    {"revit2013_tst.ifc", {0, 0, 4, 2, 0}, true, true},
    {"tekla_slabs_394.ifc", {0, 0, 0, 65, 0}, true, true},
    {"vogel_ifc2x_final.ifc", {0, 4, 56, 7, 24}, false, false},
};

void PrintTo(const CorpusBuilding& file, std::ostream* out) { *out << file.name; }

class BuildingCorpusTest : public test::BuildingTextTest, public ::testing::WithParamInterface<CorpusBuilding> {
 protected:
  void SetUp() override {
    BuildingTextTest::SetUp();
    if (std::string(KORVA_CORPUS_DIR).empty()) GTEST_SKIP() << "no corpus folder beside the sources";
  }
};

TEST_P(BuildingCorpusTest, CountsNamesAndOutlines) {
  const CorpusBuilding& file = GetParam();
  std::string path = std::string(KORVA_CORPUS_DIR) + "/" + file.name;
  FindTotalObjects(&path[0]);
  ASSERT_NE(ImportDesign(), nullptr) << path << "\n" << out_.text();
  EXPECT_EQ((std::vector<int>{GetTotalBeams(), GetTotalColumns(), GetTotalWalls(), GetTotalSlabs(), GetTotalGenerals()}),
            file.counts);
  const int censusWallPoints = GetTotalWallPoints(), censusSlabPoints = GetTotalSlabPoints();
  CheckNumber(0, &path[0]);

  // A name is never the blank default: the file's text, or (where the file
  // leaves it unset) nothing at all.
  struct Names {
    void (*name)(int, char*);
    void (*guid)(int, char*);
    int count;
  };
  for (const Names& kind : {Names{GetBeamName, GetBeamGUID, GetTotalBeams() + 1},
                            Names{GetColumnName, GetColumnGUID, GetTotalColumns() + 1},
                            Names{GetWallName, GetWallGUID, GetTotalWalls() + 1},
                            Names{GetSlabName, GetSlabGUID, GetTotalSlabs() + 1}}) {
    for (int i = 0; i < kind.count; ++i) {
      const std::string name = Text(kind.name, i);
      EXPECT_NE(name, " ") << file.name << " element " << i;
      if (file.named) {
        EXPECT_NE(name, kUntouched) << file.name << " element " << i;
      }
      EXPECT_EQ(Text(kind.guid, i).size(), 22u) << file.name << " element " << i;
    }
  }

  // Every point the census counted is filled.
  EXPECT_EQ(GetTotalWallPoints() + 1, censusWallPoints);
  EXPECT_EQ(GetTotalSlabPoints() + 1, censusSlabPoints);
  if (file.outlined) {
    for (int i = 0; i <= GetTotalWalls(); ++i) EXPECT_GE(GetWallTotal(i), 4) << file.name << " wall " << i;
    for (int i = 0; i <= GetTotalSlabs(); ++i) EXPECT_GE(GetSlabTotal(i), 4) << file.name << " slab " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BuildingCorpusTest, ::testing::ValuesIn(kFiles));

}  // namespace
}  // namespace korva
