// The analysis import as a host runs it when it reads one model after
// another: every CheckAnaModel recomputes the back-pointers that the
// relationship readers use, and a second fill of the same model gives the
// same records from the same back-pointers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "import/import_state.h"
#include "support/referrers.h"
#include "update/update_fixture.h"

namespace korva {
namespace test {
namespace {

// Every value of the tables that the relationship readers fill, in record
// order: members' connections, sections and materials, the boundary
// conditions of the point connections, load group members, what the
// actions act on and the group they belong to.
std::vector<double> RelationshipValues() {
  std::vector<double> v;
  for (int i = 0; i <= GetNumberStrCurveMembers(); ++i) {
    v.insert(v.end(), {1.0 * GetStrCurveMemberFileID(i), 1.0 * GetStrCurveMemberSectionID(i),
                       1.0 * GetStrCurveMemberMaterialID(i), 1.0 * GetStrCurveMemberNumberStructuralConnection(i)});
    for (int j = 0; j <= GetStrCurveMemberNumberStructuralConnection(i); ++j)
      v.insert(v.end(), {1.0 * GetStrCurveMemberStructuralConnection(i, j), GetStrCurveMemberStructuralConnectionDx(i, j),
                         GetStrCurveMemberStructuralConnectionRz(i, j)});
  }
  for (int i = 0; i <= GetNumberStrSurfaceMembers(); ++i) {
    v.insert(v.end(), {1.0 * GetStrSurfaceMemberFileID(i), 1.0 * GetStrSurfaceMemberSectionID(i),
                       1.0 * GetStrSurfaceMemberMaterialID(i), 1.0 * GetStrSurfaceMemberNumberStructuralConnection(i)});
    for (int j = 0; j <= GetStrSurfaceMemberNumberStructuralConnection(i); ++j)
      v.push_back(GetStrSurfaceMemberStructuralConnection(i, j));
  }
  for (int i = 0; i <= GetNumberStrPointConnections(); ++i)
    v.insert(v.end(), {1.0 * GetStrPointConnectionFileID(i), GetStrPointConnectionUX(i), GetStrPointConnectionRZ(i)});
  for (int i = 0; i <= GetNumberStrLoadGroups(); ++i) {
    v.push_back(GetStrLoadGroupTotalMember(i));
    for (int j = 0; j < GetStrLoadGroupTotalMember(i); ++j) v.push_back(GetStrLoadGroupMember(i, j));
  }
  for (int i = 0; i <= GetNumberStrPointActions(); ++i)
    v.insert(v.end(), {1.0 * GetStrPointActionActedOn(i), 1.0 * GetStrPointActionLoadGroupID(i)});
  for (int i = 0; i <= GetNumberStrLinearActions(); ++i)
    v.insert(v.end(), {1.0 * GetStrLinearActionActedOn(i), 1.0 * GetStrLinearActionLoadGroupID(i)});
  return v;
}

// The fixture's model: members with connections and a profile
// association, nodes, a load group (written by the analysis export and
// completed in the object store).
class AnalysisRefillTest : public UpdateTest {
 protected:
  // The census and the fill of the first model of `path`, the trace lines
  // captured and dropped; the values the relationship readers filled and the
  // import design's back-pointers.
  std::vector<double> fill(std::string path, Listing* listing) {
    testing::internal::CaptureStdout();
    FindTotalAnaModels(&path[0]);
    EXPECT_NE(GetAnaModelFileID(0), 0) << path;
    CheckAnaModel(0, GetAnaModelFileID(0), &path[0]);
    EXPECT_NE(ImportDesign(), nullptr);
    testing::internal::GetCapturedStdout();
    if (ImportDesign() != nullptr) *listing = ListingOf(ImportDesign());
    return RelationshipValues();
  }
  // Three fills of the same model give the same records and back-pointers.
  void expectRefillsAlike(const std::string& path) {
    Listing first, again;
    const std::vector<double> values = fill(path, &first);
    EXPECT_GT(first.entries, 0u);
    for (int round = 0; round < 2; ++round) {
      EXPECT_EQ(fill(path, &again), values) << path;
      EXPECT_TRUE(again == first) << path;
    }
  }
};

TEST_F(AnalysisRefillTest, ASecondFillOfTheModelReadsTheSameRelationships) {
  expectRefillsAlike(model_);
  ASSERT_EQ(GetNumberStrCurveMembers(), 3);
  // M1 is connected to N1 and N2, and associated with the section.
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(0), 1);
  EXPECT_NE(GetStrCurveMemberStructuralConnection(0, 1), 0);
  EXPECT_EQ(GetStrCurveMemberSectionID(0), profileFileId_);
  EXPECT_EQ(GetNumberStrLoadGroups(), 0);
}

TEST_F(AnalysisRefillTest, LoadGroupsOfAnotherToolRefillAlike) {
  const std::string corpus = KORVA_CORPUS_DIR;
  if (corpus.empty()) GTEST_SKIP() << "no corpus folder beside the sources";
  expectRefillsAlike(corpus + "/etabs_building01_2x3.ifc");
  ASSERT_EQ(GetNumberStrLoadGroups(), 7);
  EXPECT_GT(GetStrLoadGroupTotalMember(0), 0);
}

}  // namespace
}  // namespace test
}  // namespace korva
