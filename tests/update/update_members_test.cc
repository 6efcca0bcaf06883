// The member changes through the exported functions on the fixture's model,
// checked in the saved file as the import reports it to the host and, for
// what the import does not read, in the saved file's instances.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "ifc2x2/ifc2x2.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/update_fixture.h"

namespace korva {
namespace test {
namespace {

class MemberUpdateTest : public UpdateTest {
 protected:
  int ProfileIndex(int fileId) {
    for (int i = 0; GetStrProfilePropertiesFileID(i) != 0; ++i)
      if (GetStrProfilePropertiesFileID(i) == fileId) return i;
    ADD_FAILURE() << "no profile properties #" << fileId;
    return 0;
  }
  // Records filled in the profile properties table.
  int ProfileCount() {
    int n = 0;
    while (GetStrProfilePropertiesFileID(n) != 0) ++n;
    return n;
  }
  std::string ProfileName(int index) {
    char buffer[64] = {0};
    GetStrProfilePropertiesProfileName(index, buffer);
    return buffer;
  }
  void ExpectUnchanged(const std::string& name) {
    GraphDiff diff = DiffFromModel(name);
    // Only the owner history of the update.
    EXPECT_EQ(diff.added.size(), 5u) << diff.describe();
    EXPECT_TRUE(diff.removed.empty()) << diff.describe();
  }
  void ExpectEdge(int member, double x1, double y1, double z1, double x2, double y2, double z2) {
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeX1(member), x1);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY1(member), y1);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeZ1(member), z1);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeX2(member), x2);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY2(member), y2);
    EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeZ2(member), z2);
  }
};

// --- sections --------------------------------------------------------------

TEST_F(MemberUpdateTest, ISectionReplacesTheMembersProfileProperties) {
  Begin();
  UpdateOneCurveMemberISection(0, Id("M1"), S("IPE 200"), 0.1, 0.2, 0.0056, 0.0085, 0.012, 99.0);
  SaveAs("out");
  Import("out.ifc");
  const int m1 = MemberIndex("M1"), m2 = MemberIndex("M2");
  const int section = ProfileIndex(GetStrCurveMemberSectionID(m1));
  EXPECT_EQ(ProfileName(section), "IPE 200");
  EXPECT_NE(GetStrProfilePropertiesISection(section), 0);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesIOverallWidth(section), 0.1);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesIOverallDepth(section), 0.2);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesIWebThickness(section), 0.0056);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesIFlangeThickness(section), 0.0085);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesIFilletRadius(section), 0.012);
  // M2 keeps "P1", which stays in the file.
  EXPECT_EQ(ProfileName(ProfileIndex(GetStrCurveMemberSectionID(m2))), "P1");
  EXPECT_EQ(ProfileCount(), 2);

  TarnDesign* d = Load("out.ifc");
  auto* shape = typecast<IfcIShapeProfileDef>(FindByText(d, "IfcIShapeProfileDef", "ProfileName", "IPE 200"));
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->ProfileType(), IfcProfileTypeEnum_AREA);
  IfcAxis2Placement2D* at = shape->Position();
  ASSERT_NE(at, nullptr);
  EXPECT_EQ(at->Location()->Coordinates()->size(), 2u);
  EXPECT_DOUBLE_EQ(at->RefDirection()->DirectionRatios()->get(0), 1.0);
  EXPECT_DOUBLE_EQ(at->RefDirection()->DirectionRatios()->get(1), 0.0);
  // The association got a new GlobalId and the update's history.
  auto* rel = typecast<IfcRelAssociatesProfileProperties>(
      FindByText(d, "IfcRelAssociatesProfileProperties", "Name", "M1"));
  ASSERT_NE(rel, nullptr);
  ASSERT_NE(rel->OwnerHistory(), nullptr);
  EXPECT_EQ(rel->OwnerHistory()->ChangeAction(), IfcChangeActionEnum_MODIFIED);
}

TEST_F(MemberUpdateTest, ISectionOnAMemberWithoutProfileAssociationChangesNothing) {
  Begin();
  UpdateOneCurveMemberISection(0, Id("M4"), S("IPE 200"), 1, 2, 3, 4, 5, 6);
  UpdateOneCurveMemberGeneralSection(0, Id("M4"), S("G"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
  SaveAs("out");
  ExpectUnchanged("out.ifc");
}

TEST_F(MemberUpdateTest, GeneralSectionTakesTheFourteenValuesInArgumentOrder) {
  Begin();
  UpdateOneCurveMemberGeneralSection(0, Id("M2"), S("General"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
  SaveAs("out");
  Import("out.ifc");
  const int s = ProfileIndex(GetStrCurveMemberSectionID(MemberIndex("M2")));
  EXPECT_EQ(ProfileName(s), "General");
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesTorsionalConstantX(s), 1);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMomentOfInertiaYZ(s), 2);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMomentOfInertiaY(s), 3);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMomentOfInertiaZ(s), 4);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesWarpingConstant(s), 5);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesShearCentreZ(s), 6);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesShearCentreY(s), 7);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesShearDeformationAreaY(s), 8);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesShearDeformationAreaZ(s), 9);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMaximumSectionModulusY(s), 10);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMinimumSectionModulusY(s), 11);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMaximumSectionModulusZ(s), 12);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesMinimumSectionModulusZ(s), 13);
  EXPECT_DOUBLE_EQ(GetStrProfilePropertiesTorsionalSectionModulus(s), 14);
  // No profile definition: nothing of an I-section.
  EXPECT_EQ(GetStrProfilePropertiesISection(s), 0);
}

TEST_F(MemberUpdateTest, SectionNameRenamesTheNumberedProfileProperties) {
  Begin();
  UpdateOneCurveMemberSectionName(0, profileFileId_, S("HEA 300"));
  UpdateOneCurveMemberSectionName(0, 999999, S("nothing"));
  SaveAs("out");
  Import("out.ifc");
  EXPECT_EQ(ProfileCount(), 1);
  EXPECT_EQ(ProfileName(0), "HEA 300");
  // The profile properties change, and with them the forms of the two
  // associations that refer to them.
  const std::vector<std::string> changed = {"IFCRELASSOCIATESPROFILEPROPERTIES", "IFCRELASSOCIATESPROFILEPROPERTIES",
                                            "IFCSTRUCTURALPROFILEPROPERTIES"};
  GraphDiff diff = DiffFromModel("out.ifc");
  EXPECT_EQ(diff.removedTypes(), changed) << diff.describe();
  EXPECT_EQ(diff.added.size(), changed.size() + 5) << diff.describe();
}

TEST_F(MemberUpdateTest, SectionNameInAFileOfItsOwnNeedsNoOpenUpdate) {
  const std::string original = ReadFile(model_);
  UpdateOneSectionName(0, profileFileId_, S(model_), S("HEB 100"), S("renamed"), S(dir_.path()));
  EXPECT_EQ(ReadFile(model_), original);
  Import("renamed.ifc");
  EXPECT_EQ(ProfileName(0), "HEB 100");
  GraphDiff diff = DiffFromModel("renamed.ifc");
  EXPECT_EQ(diff.addedTypes(), diff.removedTypes()) << diff.describe();
  EXPECT_EQ(diff.removed.size(), 3u) << diff.describe();  // the section and its two associations

  // An open update of the same file ends with it.
  Begin();
  UpdateOneSectionName(0, profileFileId_, S(model_), S("HEB 120"), S("renamed2"), S(dir_.path()));
  Capture();
  EXPECT_EQ(UpdateOneStructuralPoint(0, Id("N1"), 1, 2, 3), -1);
  SaveAs("never");
  EXPECT_FALSE(FileExists(File("never.ifc")));
}

// --- reactions, camber and studs -------------------------------------------

// The group assignments of the load group `id`.
std::vector<IfcRelAssignsToGroup*> LoadGroupAssignments(TarnDesign* d, const std::string& id) {
  std::vector<IfcRelAssignsToGroup*> out;
  for (IfcRelAssignsToGroup* rel : All<IfcRelAssignsToGroup>(d))
    if (rel->RelatingGroup() != nullptr && id == rel->RelatingGroup()->GlobalId()) out.push_back(rel);
  return out;
}

TEST_F(MemberUpdateTest, ReactionAtBothEndsAssignedToTheLoadGroup) {
  Begin();
  UpdateOneCurveMemberReaction(0, Id("M1"), Id("N1"), Id("N2"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  SaveAs("out");
  TarnDesign* d = Load("out.ifc");
  std::vector<IfcStructuralPointReaction*> reactions = All<IfcStructuralPointReaction>(d);
  ASSERT_EQ(reactions.size(), 2u);
  EXPECT_STREQ(reactions[0]->Name(), "Member Reaction Node I");
  EXPECT_STREQ(reactions[1]->Name(), "Member Reaction Node J");
  for (int k = 0; k < 2; ++k) {
    IfcStructuralPointReaction* r = reactions[static_cast<size_t>(k)];
    EXPECT_EQ(r->GlobalOrLocal(), IfcGlobalOrLocalEnum_LOCAL_COORDS);
    ASSERT_NE(r->OwnerHistory(), nullptr);
    EXPECT_EQ(r->OwnerHistory()->ChangeAction(), IfcChangeActionEnum_MODIFIED);
    auto* load = typecast<IfcStructuralLoadSingleForce>(r->AppliedLoad());
    ASSERT_NE(load, nullptr);
    EXPECT_STREQ(load->Name(), k == 0 ? "Reaction Node I" : "Reaction Node J");
    const double base = k * 6;
    EXPECT_DOUBLE_EQ(load->ForceX(), base + 1);
    EXPECT_DOUBLE_EQ(load->ForceY(), base + 2);
    EXPECT_DOUBLE_EQ(load->ForceZ(), base + 3);
    EXPECT_DOUBLE_EQ(load->MomentX(), base + 4);
    EXPECT_DOUBLE_EQ(load->MomentY(), base + 5);
    EXPECT_DOUBLE_EQ(load->MomentZ(), base + 6);
  }
  // Both act on the member.
  const std::vector<IfcRelConnectsStructuralActivity*> connections = All<IfcRelConnectsStructuralActivity>(d);
  ASSERT_EQ(connections.size(), 2u);
  for (size_t k = 0; k < 2; ++k) {
    IfcStructuralItem* item = connections[k]->RelatingElement()->_IfcStructuralItem();
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->GlobalId(), ids_["M1"].c_str());
    EXPECT_EQ(connections[k]->RelatedStructuralActivity(), reactions[k]);
    EXPECT_STREQ(connections[k]->Description(), k == 0 ? "Node I" : "Node J");
  }
  // One group assignment with the two reactions, in order.
  const std::vector<IfcRelAssignsToGroup*> groups = LoadGroupAssignments(d, ids_["LG"]);
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0]->RelatedObjects()->size(), 2u);
  EXPECT_EQ(groups[0]->RelatedObjects()->get(0), reactions[0]);
  EXPECT_EQ(groups[0]->RelatedObjects()->get(1), reactions[1]);
}

TEST_F(MemberUpdateTest, ReactionWithAnUnknownLoadGroupOrNodeCreatesNothing) {
  Begin();
  UpdateOneCurveMemberReaction(0, Id("M1"), Id("N1"), Id("N2"), S("0000000000000000000000"), 1, 2, 3, 4, 5, 6, 7,
                               8, 9, 10, 11, 12);
  UpdateOneCurveMemberReaction(0, Id("M1"), Id("N1"), S("unknown"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11,
                               12);
  UpdateOneCurveMemberReaction(0, Id("N1"), Id("N1"), Id("N2"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  SaveAs("out");
  ExpectUnchanged("out.ifc");
}

TEST_F(MemberUpdateTest, TwoReactionsForOneMemberMakeTwoPairsAndTwoAssignments) {
  Begin();
  UpdateOneCurveMemberReaction(0, Id("M2"), Id("N2"), Id("N3"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  UpdateOneCurveMemberReaction(0, Id("M2"), Id("N2"), Id("N3"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  SaveAs("out");
  TarnDesign* d = Load("out.ifc");
  std::vector<IfcStructuralPointReaction*> reactions = All<IfcStructuralPointReaction>(d);
  ASSERT_EQ(reactions.size(), 4u);
  std::set<TarnObject*> assigned;
  const std::vector<IfcRelAssignsToGroup*> groups = LoadGroupAssignments(d, ids_["LG"]);
  EXPECT_EQ(groups.size(), 2u);
  for (IfcRelAssignsToGroup* rel : groups) {
    ASSERT_EQ(rel->RelatedObjects()->size(), 2u);
    assigned.insert(rel->RelatedObjects()->get(0));
    assigned.insert(rel->RelatedObjects()->get(1));
  }
  EXPECT_EQ(assigned.size(), 4u);
}

TEST_F(MemberUpdateTest, CamberAndStudsAreAnIntegerAndAReal) {
  Begin();
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 12, 0.025);
  SaveAs("out");
  // The values are typed in the file: an IfcInteger and an IfcReal.
  const std::string text = ReadFile(File("out.ifc"));
  EXPECT_NE(text.find("'Number Stud',$,IFCINTEGER(12),$"), std::string::npos);
  EXPECT_NE(text.find("'Camber',$,IFCREAL(0.025),$"), std::string::npos);

  TarnDesign* d = Load("out.ifc");
  auto* studs = typecast<IfcPropertySingleValue>(FindByText(d, "IfcPropertySingleValue", "Name", "Number Stud"));
  auto* camber = typecast<IfcPropertySingleValue>(FindByText(d, "IfcPropertySingleValue", "Name", "Camber"));
  ASSERT_NE(studs, nullptr);
  ASSERT_NE(camber, nullptr);
  const std::vector<IfcPropertySet*> sets = All<IfcPropertySet>(d);
  ASSERT_EQ(sets.size(), 1u);
  IfcPropertySet* set = sets[0];
  ASSERT_EQ(set->HasProperties()->size(), 2u);
  EXPECT_EQ(set->HasProperties()->get(0), studs);
  EXPECT_EQ(set->HasProperties()->get(1), camber);
  EXPECT_TRUE(set->isUnset("Name"));
  EXPECT_EQ(strlen(set->GlobalId()), 22u);
}

// --- connectivity and geometry ---------------------------------------------

TEST_F(MemberUpdateTest, ConnectivityReconnectsBothEndsAndRebuildsTheEdge) {
  Begin();
  UpdateOneCurveMemberConnectivity(0, Id("M1"), Id("N3"), Id("N4"));
  SaveAs("out");
  Import("out.ifc");
  const int m1 = MemberIndex("M1");
  ASSERT_EQ(GetStrCurveMemberNumberStructuralConnection(m1), 1);  // the index of the last entry
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(m1, 0), GetStrPointConnectionFileID(NodeIndex("N3")));
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(m1, 1), GetStrPointConnectionFileID(NodeIndex("N4")));
  ExpectEdge(m1, 5, 5, 0, 0, 5, 3);
  // The other members are as they were.
  ExpectEdge(MemberIndex("M2"), 5, 0, 0, 5, 5, 0);
}

TEST_F(MemberUpdateTest, ConnectivityOfAMemberTiedTwiceToOneNodeChangesNothing) {
  Begin();
  UpdateOneCurveMemberConnectivity(0, Id("M3"), Id("N2"), Id("N3"));
  UpdateOneCurveMemberConnectivity(0, Id("M1"), Id("N2"), S("no such node"));
  SaveAs("out");
  ExpectUnchanged("out.ifc");
}

TEST_F(MemberUpdateTest, StructuralPointMovesTheNode) {
  Begin();
  UpdateOneStructuralPoint(0, Id("N2"), 6.0, 1.0, 2.0);
  SaveAs("out");
  Import("out.ifc");
  const int n2 = NodeIndex("N2");
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexX1(n2), 6.0);
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexY1(n2), 1.0);
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexZ1(n2), 2.0);
}

TEST_F(MemberUpdateTest, UnknownOrCaseDifferentGlobalIdsMatchNothing) {
  std::string upper = ids_["N2"], lower = ids_["N2"];
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_TRUE(upper != ids_["N2"] || lower != ids_["N2"]);
  Begin();
  UpdateOneStructuralPoint(0, S("not a global id"), 1, 1, 1);
  if (upper != ids_["N2"]) UpdateOneStructuralPoint(0, S(upper), 1, 1, 1);
  if (lower != ids_["N2"]) UpdateOneStructuralPoint(0, S(lower), 1, 1, 1);
  UpdateOneCurveMemberCamberAndStuds(0, S(ids_["M1"].substr(0, 21)), 1, 1.0);
  SaveAs("out");
  ExpectUnchanged("out.ifc");
}

TEST_F(MemberUpdateTest, RepresentationRebuildFollowsMovedNodes) {
  Begin();
  UpdateOneStructuralPoint(0, Id("N2"), 6.0, 1.0, 2.0);
  UpdateStructuralMembersRepresentation(0);
  SaveAs("out");
  Import("out.ifc");
  ExpectEdge(MemberIndex("M1"), 0, 0, 0, 6, 1, 2);
  ExpectEdge(MemberIndex("M2"), 6, 1, 2, 5, 5, 0);
  ExpectEdge(MemberIndex("M4"), 5, 5, 0, 0, 5, 3);
  // M3 has a single node: its edge is kept.
  ExpectEdge(MemberIndex("M3"), 0, 0, 0, 0, 0, 0);
}

TEST_F(MemberUpdateTest, SearchesTraceEveryInstanceVisited) {
  Begin();
  testing::internal::CaptureStdout();
  UpdateOneCurveMemberCamberAndStuds(0, Id("M2"), 1, 1.0);  // walks every member
  std::string fourMembers;
  for (int i = 0; i < 4; ++i) fourMembers += "Name: IfcStructuralCurveMember\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), fourMembers);
  testing::internal::CaptureStdout();
  UpdateOneStructuralPoint(0, Id("N2"), 1, 1, 1);  // stops at the second node
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Name: IfcStructuralPointConnection\nName: IfcStructuralPointConnection\n");
}

}  // namespace
}  // namespace test
}  // namespace korva
