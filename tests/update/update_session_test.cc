// Opening a file for update, recording the owner history, and saving: what
// the saved file holds, which history later changes carry, what a save
// under another name leaves alone, that both open functions behave alike,
// that calls out of order change nothing, and that a failed save keeps
// the earlier file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "ifc2x2/ifc2x2.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "platform/platform.h"
#include "update/update_fixture.h"

namespace korva {
namespace test {
namespace {

std::vector<IfcOwnerHistory*> ModifiedHistories(TarnDesign* d) {
  std::vector<IfcOwnerHistory*> out;
  for (IfcOwnerHistory* h : All<IfcOwnerHistory>(d))
    if (h->ChangeAction() == IfcChangeActionEnum_MODIFIED) out.push_back(h);
  return out;
}

// No temporary file of a save is left in the test folder.
void ExpectNoPartFile(const std::string& folder) {
  std::vector<std::string> names;
  ASSERT_TRUE(platform::ListDirectory(folder, &names));
  for (const std::string& n : names) EXPECT_EQ(n.find(".part"), std::string::npos) << n;
}

// The person of the owner history of the property set related to `member`.
std::string PropertySetAuthor(TarnDesign* d, const std::string& memberId) {
  for (IfcRelDefinesByProperties* rel : All<IfcRelDefinesByProperties>(d)) {
    IfcRoot* member = typecast<IfcRoot>(rel->RelatedObjects()->get(0));
    if (member == nullptr || memberId != member->GlobalId()) continue;
    IfcRoot* set = typecast<IfcRoot>(rel->RelatingPropertyDefinition());
    return set->OwnerHistory()->OwningUser()->ThePerson()->FamilyName();
  }
  return "";
}

TEST_F(UpdateTest, HistoryAddsPersonOrganizationApplicationAndModifiedHistory) {
  Begin("Ann Smith");
  SaveAs("out");
  ASSERT_TRUE(FileExists(File("out.ifc")));  // the format and extension of the file read

  GraphDiff diff = DiffFromModel("out.ifc");
  EXPECT_TRUE(diff.removed.empty()) << diff.describe();
  EXPECT_EQ(diff.addedTypes(), (std::vector<std::string>{"IFCAPPLICATION", "IFCORGANIZATION", "IFCOWNERHISTORY",
                                                         "IFCPERSON", "IFCPERSONANDORGANIZATION"}))
      << diff.describe();

  TarnDesign* d = Load("out.ifc");
  std::vector<IfcOwnerHistory*> histories = ModifiedHistories(d);
  ASSERT_EQ(histories.size(), 1u);
  IfcOwnerHistory* h = histories[0];
  EXPECT_EQ(h->CreationDate(), 1700000000);
  EXPECT_TRUE(h->isUnset("State"));
  // Left alone, as the exports leave it: the integer 0.
  EXPECT_FALSE(h->isUnset("LastModifiedDate"));
  EXPECT_EQ(h->LastModifiedDate(), 0);
  EXPECT_TRUE(h->isUnset("LastModifyingUser"));
  EXPECT_TRUE(h->isUnset("LastModifyingApplication"));
  IfcPersonAndOrganization* user = h->OwningUser();
  ASSERT_NE(user, nullptr);
  EXPECT_STREQ(user->ThePerson()->FamilyName(), "Ann Smith");
  EXPECT_STREQ(user->ThePerson()->GivenName(), "Ann Smith");
  EXPECT_STREQ(user->TheOrganization()->Name(), "Acme");
  IfcApplication* app = h->OwningApplication();
  ASSERT_NE(app, nullptr);
  EXPECT_STREQ(app->ApplicationFullName(), "KORVA Update");
  EXPECT_STREQ(app->Version(), "9.1");
  EXPECT_STREQ(app->ApplicationIdentifier(), "KV");
  EXPECT_EQ(app->ApplicationDeveloper(), user->TheOrganization());
}

TEST_F(UpdateTest, LaterChangesCarryTheLaterHistory) {
  Begin("First Person");
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 4, 0.01);
  UpdateHistory(0, nullptr, S("Second Person"), S("Acme"), nullptr, S("KORVA Update"), S("9.1"), S("KV"), 1);
  UpdateOneCurveMemberCamberAndStuds(0, Id("M2"), 6, 0.02);
  SaveAs("out");
  TarnDesign* d = Load("out.ifc");
  EXPECT_EQ(ModifiedHistories(d).size(), 2u);
  EXPECT_EQ(PropertySetAuthor(d, ids_["M1"]), "First Person");
  EXPECT_EQ(PropertySetAuthor(d, ids_["M2"]), "Second Person");
}

TEST_F(UpdateTest, SavingUnderAnotherNameLeavesTheFileReadUnchanged) {
  const std::string original = ReadFile(model_);
  Begin();
  UpdateOneStructuralPoint(0, Id("N2"), 6.0, 1.0, 0.0);
  SaveAs("moved.ifc");
  EXPECT_EQ(ReadFile(model_), original);
  ASSERT_TRUE(FileExists(File("moved.ifc")));
  EXPECT_NE(ReadFile(File("moved.ifc")), original);
}

TEST_F(UpdateTest, SavingOverTheFileReadReplacesItAndLeavesNoTemporaryFile) {
  Begin();
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 4, 0.01);
  SaveAs("model");
  ExpectNoPartFile(dir_.path());
  // The owner history (5 instances) and the property set (4).
  EXPECT_EQ(DiffFromModel("model.ifc").added.size(), 9u);
}

TEST_F(UpdateTest, BothOpenFunctionsBehaveAlike) {
  OpenFileForUpdate(0, S(model_));
  UpdateHistory(0, nullptr, S("Ann"), S("Acme"), nullptr, S("App"), S("1"), S("A"), 5);
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 3, 0.5);
  SaveAs("first");
  OpenFileForUpdate2(0, S(model_));
  UpdateHistory(0, nullptr, S("Ann"), S("Acme"), nullptr, S("App"), S("1"), S("A"), 5);
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 3, 0.5);
  SaveAs("second");
  const std::string first = Masked("first.ifc"), second = Masked("second.ifc");
  EXPECT_EQ(first.substr(first.find("DATA;")), second.substr(second.find("DATA;")));
  EXPECT_EQ(DiffFromModel("first.ifc").added.size(), 9u);
}

TEST_F(UpdateTest, CallsWithoutAnOpenUpdateChangeNothing) {
  // Nothing opened yet.
  EXPECT_EQ(UpdateHistory(0, nullptr, S("A"), S("B"), nullptr, S("C"), S("D"), S("E"), 0), -1);
  EXPECT_EQ(UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 1, 1.0), -1);
  EXPECT_EQ(UpdateStructuralMembersRepresentation(0), -1);
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("never"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(File("never.ifc")));
  EXPECT_EQ(Occurrences("UpdateHistory ignored: no file is open for update"), 1) << Messages();
  EXPECT_EQ(Occurrences("SaveAndCloseFileAfterUpdate ignored"), 1) << Messages();

  // A file that does not exist opens nothing.
  OpenFileForUpdate(0, S(File("missing.ifc")));
  EXPECT_EQ(UpdateOneStructuralPoint(0, Id("N1"), 1, 1, 1), -1);
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("never"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(File("never.ifc")));
}

TEST_F(UpdateTest, MemberChangesBeforeUpdateHistoryChangeNothing) {
  OpenFileForUpdate(0, S(model_));
  UpdateOneCurveMemberCamberAndStuds(0, Id("M1"), 12, 0.025);
  UpdateOneStructuralPoint(0, Id("N1"), 9, 9, 9);
  UpdateOneCurveMemberSectionName(0, profileFileId_, S("renamed"));
  EXPECT_EQ(Occurrences("UpdateOneStructuralPoint ignored: no owner history"), 1) << Messages();
  SaveAs("same");
  GraphDiff diff = DiffFromModel("same.ifc");
  EXPECT_TRUE(diff.added.empty() && diff.removed.empty()) << diff.describe();
}

TEST_F(UpdateTest, AnExportInBetweenEndsTheUpdate) {
  Begin();
  ExportAnalysisModelOpenFile(S("other.ifc"), nullptr, S("d"), S("s"), S("a"), S("o"), S("z"), S("n"), -1, 15);
  ExportAnalysisModelCloseFile(S("other.ifc"), S(dir_.path()));
  Capture();
  EXPECT_EQ(UpdateOneStructuralPoint(0, Id("N1"), 1, 1, 1), -1);
  EXPECT_EQ(SaveAndCloseFileAfterUpdate(0, S("after"), S(dir_.path())), -1);
  EXPECT_FALSE(FileExists(File("after.ifc")));
  EXPECT_GE(Occurrences("no file is open for update"), 1) << Messages();
}

// A format writer that writes part of a file and fails.
bool FailingWrite(TarnDesign*, std::FILE* out, const char*) {
  std::fputs("ISO-10303-21;\nHEADER;\n", out);
  return false;
}

TEST_F(UpdateTest, AFailedSaveKeepsTheEarlierFile) {
  const std::string original = ReadFile(model_);
  Begin();
  UpdateOneStructuralPoint(0, Id("N2"), 6.0, 1.0, 0.0);
  const TarnInterface::FormatServices real = TARN().formatServices();
  TarnInterface::FormatServices failing = real;
  failing.write = &FailingWrite;
  TARN().setFormatServices(failing);
  SaveAs("model");
  TARN().setFormatServices(real);
  EXPECT_EQ(ReadFile(model_), original);
  ExpectNoPartFile(dir_.path());
}

}  // namespace
}  // namespace test
}  // namespace korva
