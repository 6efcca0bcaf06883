// Update in place on an IFC2X3 file: the fixture's model converted to
// IFC2X3, with an eccentric connection of M1 to N1 added (an entity IFC2x2
// lacks).  The changes are checked in the saved file as the import reports
// them and, for what the import does not read, in its instances, read late
// bound as IFC2X3 instances.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "exchange/schema_conversion.h"
#include "ifc2x2/schema.h"
#include "import/analysis_reading.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/update_fixture.h"

namespace korva {
namespace test {
namespace {

class Ifc2x3UpdateTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    ASSERT_NE(LoadIfcSchema(), nullptr);
    TarnDesign* source = TARN().findDesign(model_.c_str());
    ASSERT_NE(source, nullptr);
    ConversionReport report;
    TarnDesign* d = ConvertDesign(source, ConversionTarget("IFC2X3"), &report);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(report.complete()) << report.summary();
    TarnObject* m1 = ByGlobalId(d, "IfcStructuralCurveMember", ids_.at("M1"));
    TarnObject* n1 = ByGlobalId(d, "IfcStructuralPointConnection", ids_.at("N1"));
    ASSERT_NE(m1, nullptr);
    ASSERT_NE(n1, nullptr);
    TarnObject* offset = d->newInstance("IfcConnectionPointEccentricity");
    TarnObject* joint = d->newInstance("IfcRelConnectsWithEccentricity");
    ASSERT_NE(offset, nullptr);
    ASSERT_NE(joint, nullptr);
    offset->putDouble(0.25, "EccentricityInX");
    joint->putString("2Ecc0000000000000000$1", "GlobalId");
    joint->putString("Offset joint", "Name");
    joint->putObject(m1, "RelatingStructuralMember");
    joint->putObject(n1, "RelatedStructuralConnection");
    joint->putObject(offset, "ConnectionConstraint");
    ASSERT_TRUE(SaveIfcDesignAs(d, "model2x3.ifc", S(dir_.path()), true, SaveSchema::kOwn));
    ShutDown();
    Capture();
    model_ = File("model2x3.ifc");
    ASSERT_NE(Text(model_).find("FILE_SCHEMA (('IFC2X3'))"), std::string::npos);
    // The section's FileID in the IFC2X3 file.
    FindTotalAnaModels(S(model_));
    profileFileId_ = GetStrProfilePropertiesFileID(0);
    ASSERT_GT(profileFileId_, 0);
    ShutDown();
    Capture();
    problemsBefore_ = Problems();
  }

  static std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static TarnObject* ByGlobalId(TarnDesign* d, const char* type, const std::string& id) {
    TarnCursor c(d);
    c.domain(type);
    while (TarnObject* o = c.next()) {
      const char* v = ReadString(o, "GlobalId");
      if (v != nullptr && id == v) return o;
    }
    return nullptr;
  }

  static std::vector<TarnObject*> Instances(TarnDesign* d, const char* type) {
    std::vector<TarnObject*> out;
    TarnCursor c(d);
    c.domain(type);
    while (TarnObject* o = c.next()) out.push_back(o);
    return out;
  }

  std::string SectionOf(int member) {
    const int section = GetStrCurveMemberSectionID(member);
    for (int i = 0; GetStrProfilePropertiesFileID(i) != 0; ++i) {
      if (GetStrProfilePropertiesFileID(i) != section) continue;
      char buffer[64] = {0};
      GetStrProfilePropertiesProfileName(i, buffer);
      return buffer;
    }
    return std::string();
  }

  // Warnings and errors reported so far.
  int Problems() const { return Occurrences("warning") + Occurrences("error"); }

  // Designs in memory that the update's changes were built in.
  static int ScratchDesigns() {
    int n = 0;
    for (TarnDesign* d : TARN().designs())
      if (d->name() != nullptr && std::strstr(d->name(), "_change") != nullptr) ++n;
    return n;
  }

  int problemsBefore_ = 0;
};

TEST_F(Ifc2x3UpdateTest, ChangesAreSavedAsIfc2x3AndKeepTheFilesOwnContent) {
  Begin();
  UpdateOneCurveMemberISection(0, Id("M1"), S("IPE 200"), 0.1, 0.2, 0.0056, 0.0085, 0.012, 99.0);
  UpdateOneStructuralPoint(0, Id("N4"), 1.0, 6.0, 4.0);
  UpdateOneCurveMemberConnectivity(0, Id("M2"), Id("N3"), Id("N4"));
  UpdateOneCurveMemberReaction(0, Id("M2"), Id("N3"), Id("N4"), Id("LG"), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
  UpdateOneCurveMemberCamberAndStuds(0, Id("M4"), 12, 0.015);
  // Every change of the session is built in one scratch design, which the
  // end of the update removes.
  EXPECT_EQ(ScratchDesigns(), 1);
  SaveAs("out.ifc");
  TARN().emptyTrash();
  EXPECT_EQ(ScratchDesigns(), 0);
  EXPECT_NE(Text(File("out.ifc")).find("FILE_SCHEMA (('IFC2X3'))"), std::string::npos);

  Import("out.ifc");
  const int m1 = MemberIndex("M1"), m2 = MemberIndex("M2");
  const int n3 = NodeIndex("N3"), n4 = NodeIndex("N4");
  EXPECT_EQ(SectionOf(m1), "IPE 200");
  EXPECT_EQ(SectionOf(m2), "P1");
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexX1(n4), 1.0);
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexY1(n4), 6.0);
  EXPECT_DOUBLE_EQ(GetStrPointConnectionVertexZ1(n4), 4.0);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(m2, 0), GetStrPointConnectionFileID(n3));
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(m2, 1), GetStrPointConnectionFileID(n4));
  // The rebuilt edge runs to N4 where it was moved before.
  EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeX2(m2), 1.0);
  EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeY2(m2), 6.0);
  EXPECT_DOUBLE_EQ(GetStrCurveMemberEdgeZ2(m2), 4.0);

  TarnDesign* d = Load("out.ifc");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(IfcSchemaOf(d), ConversionTarget("IFC2X3"));
  // The eccentric connection as it was.
  const std::vector<TarnObject*> joints = Instances(d, "IfcRelConnectsWithEccentricity");
  ASSERT_EQ(joints.size(), 1u);
  EXPECT_STREQ(ReadString(joints[0], "Name"), "Offset joint");
  EXPECT_EQ(ReadString(ReadObject(joints[0], "RelatingStructuralMember"), "GlobalId"), ids_.at("M1"));
  double eccentricity = 0;
  EXPECT_TRUE(ReadDouble(ReadObject(joints[0], "ConnectionConstraint"), "EccentricityInX", &eccentricity));
  EXPECT_DOUBLE_EQ(eccentricity, 0.25);
  // The reactions, with their loads and the update's owner history.
  const std::vector<TarnObject*> reactions = Instances(d, "IfcStructuralPointReaction");
  ASSERT_EQ(reactions.size(), 2u);
  EXPECT_STREQ(ReadString(reactions[0], "Name"), "Member Reaction Node I");
  double forceX = 0, momentZ = 0;
  EXPECT_TRUE(ReadDouble(ReadObject(reactions[1], "AppliedLoad"), "ForceX", &forceX));
  EXPECT_TRUE(ReadDouble(ReadObject(reactions[1], "AppliedLoad"), "MomentZ", &momentZ));
  EXPECT_DOUBLE_EQ(forceX, 7.0);
  EXPECT_DOUBLE_EQ(momentZ, 12.0);
  TarnObject* history = ReadObject(reactions[0], "OwnerHistory");
  ASSERT_TRUE(IsA(history, "IfcOwnerHistory"));
  TarnObject* application = ReadObject(history, "OwningApplication");
  EXPECT_STREQ(ReadString(application, "ApplicationFullName"), "KORVA Update");
  // The camber's property set on M4.
  TarnObject* camber = nullptr;
  for (TarnObject* p : Instances(d, "IfcPropertySingleValue"))
    if (std::strcmp(ReadString(p, "Name"), "Camber") == 0) camber = p;
  double camberValue = 0;
  EXPECT_TRUE(ReadSelectedDouble(camber, "NominalValue", &camberValue));
  EXPECT_DOUBLE_EQ(camberValue, 0.015);
  EXPECT_EQ(Problems(), problemsBefore_) << Messages();
}

TEST_F(Ifc2x3UpdateTest, SectionNameAndGeneralSectionOnIfc2x3Instances) {
  Begin();
  double values[14];
  for (int i = 0; i < 14; ++i) values[i] = i + 1.5;
  UpdateOneCurveMemberGeneralSection(0, Id("M2"), S("GEN"), values[0], values[1], values[2], values[3], values[4],
                                     values[5], values[6], values[7], values[8], values[9], values[10], values[11],
                                     values[12], values[13]);
  UpdateOneCurveMemberSectionName(0, profileFileId_, S("P1 renamed"));
  SaveAs("out.ifc");
  Import("out.ifc");
  EXPECT_EQ(SectionOf(MemberIndex("M1")), "P1 renamed");
  EXPECT_EQ(SectionOf(MemberIndex("M2")), "GEN");
  TarnDesign* d = Load("out.ifc");
  ASSERT_NE(d, nullptr);
  TarnObject* general = FindByText(d, "IfcStructuralProfileProperties", "ProfileName", "GEN");
  double warping = 0;
  EXPECT_TRUE(ReadDouble(general, "WarpingConstant", &warping));
  EXPECT_DOUBLE_EQ(warping, values[4]);
  EXPECT_EQ(Problems(), problemsBefore_) << Messages();
}

}  // namespace
}  // namespace test
}  // namespace korva
