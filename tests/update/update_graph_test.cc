// An update changes only what it must: the instance graph of the saved
// file, compared instance by instance with the file read (references
// followed, numbering ignored), differs from it by exactly the intended
// change, for a save without changes and after each update function.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "update/update_fixture.h"

namespace korva {
namespace test {
namespace {

using Types = std::vector<std::string>;

class GraphTest : public UpdateTest {
 protected:
  // The saved file differs from the model by instances of `added` types
  // (besides the five of the owner history) and `removed` types.
  void ExpectChange(const std::string& file, Types added, Types removed) {
    for (const char* t : {"IFCAPPLICATION", "IFCORGANIZATION", "IFCOWNERHISTORY", "IFCPERSON",
                          "IFCPERSONANDORGANIZATION"})
      added.push_back(t);
    std::sort(added.begin(), added.end());
    std::sort(removed.begin(), removed.end());
    GraphDiff diff = DiffFromModel(file);
    EXPECT_EQ(diff.addedTypes(), added) << diff.describe();
    EXPECT_EQ(diff.removedTypes(), removed) << diff.describe();
  }
};

TEST_F(GraphTest, ASaveWithoutChangesGivesBackTheSameInstancesNumberedFromTen) {
  OpenFileForUpdate(0, S(model_));
  SaveAs("same");
  GraphDiff diff = DiffFromModel("same.ifc");
  EXPECT_TRUE(diff.added.empty() && diff.removed.empty()) << diff.describe();
  InstanceGraph same = ReadInstanceGraph(File("same.ifc"));
  EXPECT_EQ(same.instances, modelGraph_.instances);
  EXPECT_GT(same.instances, 100);

  // Numbered 10, 11, ... without gaps.
  const std::map<int, std::string> records = DataRecords(ReadFile(File("same.ifc")));
  ASSERT_EQ(static_cast<int>(records.size()), same.instances);
  EXPECT_EQ(records.begin()->first, 10);
  EXPECT_EQ(records.rbegin()->first, 9 + same.instances);
}

TEST_F(GraphTest, ISectionChangesOnlyTheAssociation) {
  Begin();
  UpdateOneCurveMemberISection(0, Id("M1"), S("IPE 200"), 0.1, 0.2, 0.0056, 0.0085, 0.012, 0);
  SaveAs("out");
  ExpectChange("out.ifc",
               {"IFCISHAPEPROFILEDEF", "IFCAXIS2PLACEMENT2D", "IFCCARTESIANPOINT", "IFCDIRECTION",
                "IFCSTRUCTURALPROFILEPROPERTIES", "IFCRELASSOCIATESPROFILEPROPERTIES"},
               {"IFCRELASSOCIATESPROFILEPROPERTIES"});
}

TEST_F(GraphTest, GeneralSectionChangesOnlyTheAssociation) {
  Begin();
  UpdateOneCurveMemberGeneralSection(0, Id("M2"), S("G"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
  SaveAs("out");
  ExpectChange("out.ifc", {"IFCSTRUCTURALPROFILEPROPERTIES", "IFCRELASSOCIATESPROFILEPROPERTIES"},
               {"IFCRELASSOCIATESPROFILEPROPERTIES"});
}

TEST_F(GraphTest, ReactionOnlyAddsItsInstances) {
  Begin();
  UpdateOneCurveMemberReaction(0, Id("M1"), Id("N1"), Id("N2"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  SaveAs("out");
  ExpectChange("out.ifc",
               {"IFCSTRUCTURALPOINTREACTION", "IFCSTRUCTURALPOINTREACTION", "IFCSTRUCTURALLOADSINGLEFORCE",
                "IFCSTRUCTURALLOADSINGLEFORCE", "IFCRELCONNECTSSTRUCTURALACTIVITY",
                "IFCRELCONNECTSSTRUCTURALACTIVITY", "IFCRELASSIGNSTOGROUP"},
               {});
}

TEST_F(GraphTest, CamberAndStudsOnlyAddTheirInstances) {
  Begin();
  UpdateOneCurveMemberCamberAndStuds(0, Id("M4"), 12, 0.025);
  SaveAs("out");
  ExpectChange("out.ifc",
               {"IFCPROPERTYSINGLEVALUE", "IFCPROPERTYSINGLEVALUE", "IFCRELDEFINESBYPROPERTIES", "IFCPROPERTYSET"}, {});
}

TEST_F(GraphTest, ConnectivityChangesTheMemberItsTwoRelationshipsAndItsRepresentation) {
  Begin();
  UpdateOneCurveMemberConnectivity(0, Id("M1"), Id("N3"), Id("N4"));
  SaveAs("out");
  // The former product representation is deleted; what it held stays.
  ExpectChange("out.ifc",
               {"IFCSTRUCTURALCURVEMEMBER", "IFCRELCONNECTSSTRUCTURALMEMBER", "IFCRELCONNECTSSTRUCTURALMEMBER",
                "IFCCARTESIANPOINT", "IFCCARTESIANPOINT", "IFCVERTEXPOINT", "IFCVERTEXPOINT", "IFCEDGE",
                "IFCTOPOLOGYREPRESENTATION", "IFCPRODUCTREPRESENTATION"},
               {"IFCSTRUCTURALCURVEMEMBER", "IFCRELCONNECTSSTRUCTURALMEMBER", "IFCRELCONNECTSSTRUCTURALMEMBER",
                "IFCPRODUCTREPRESENTATION"});
}

TEST_F(GraphTest, StructuralPointChangesOnlyTheNodeAndAddsItsVertex) {
  Begin();
  UpdateOneStructuralPoint(0, Id("N2"), 6.0, 1.0, 2.0);
  SaveAs("out");
  ExpectChange("out.ifc",
               {"IFCSTRUCTURALPOINTCONNECTION", "IFCCARTESIANPOINT", "IFCVERTEXPOINT", "IFCTOPOLOGYREPRESENTATION",
                "IFCPRODUCTREPRESENTATION"},
               {"IFCSTRUCTURALPOINTCONNECTION"});
}

TEST_F(GraphTest, RebuildingUnmovedMembersGivesThemEqualRepresentations) {
  Begin();
  UpdateStructuralMembersRepresentation(0);
  SaveAs("out");
  // M1, M2 and M4 get new edges equal to the old ones (their product
  // representations read the same); the former items stay, unreferenced.
  // M3, tied twice to one node, is left alone.
  Types added;
  for (int member = 0; member < 3; ++member)
    for (const char* t : {"IFCCARTESIANPOINT", "IFCCARTESIANPOINT", "IFCVERTEXPOINT", "IFCVERTEXPOINT", "IFCEDGE",
                          "IFCTOPOLOGYREPRESENTATION"})
      added.push_back(t);
  ExpectChange("out.ifc", added, {});
}

}  // namespace
}  // namespace test
}  // namespace korva
