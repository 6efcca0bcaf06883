// korva-ifc update-section: a member of the exported analysis example gets
// a new I-section through the update functions; the import finds it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

using Json = nlohmann::json;

Json Import(const std::string& file) {
  Outcome r = KorvaIfc("import " + Quoted(file));
  EXPECT_EQ(r.status, 0) << r.err;
  return Json::parse(r.out);
}

const Json* Member(const Json& imported, const std::string& name) {
  for (const Json& m : imported["analysisModels"][0]["curveMembers"])
    if (m["Name"] == name) return &m;
  return nullptr;
}

const Json* Profile(const Json& imported, int fileId) {
  for (const Json& p : imported["profiles"])
    if (p["FileID"] == fileId) return &p;
  return nullptr;
}

// Gives the members with these instance numbers a section "Old" (the
// export writes none; the update replaces an existing one).
void AddSections(TempDir& dir, const std::string& name, const std::vector<int>& members) {
  std::string text = ReadFile(dir.file(name));
  std::string added;
  int n = 900000;
  for (int member : members) {
    const std::string properties = "#" + std::to_string(++n);
    added += properties + "=IFCSTRUCTURALPROFILEPROPERTIES('Old'";
    for (int k = 1; k < 21; ++k) added += ",$";  // the other twenty attributes
    added += ");\n#" + std::to_string(++n) + "=IFCRELASSOCIATESPROFILEPROPERTIES('0000000000000000000000" +
             "',$,$,$,(#" + std::to_string(member) + ")," + properties + ",$);\n";
    added.replace(added.rfind("0000'") - 2, 2, std::to_string(n % 90 + 10));  // distinct GlobalIds
  }
  text.insert(text.rfind("ENDSEC;"), added);
  dir.write(name, text);
}

TEST(UpdateSectionCommand, MemberByNameOrGlobalIdGetsTheNewSection) {
  TempDir dir;
  const std::string original = dir.file("frame.ifc");
  ASSERT_EQ(KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " + Quoted(original)).status, 0);
  Json before = Import(original);
  ASSERT_NE(Member(before, "B1"), nullptr);
  EXPECT_EQ((*Member(before, "B1"))["SectionID"], 0);
  Outcome none = KorvaIfc("update-section " + Quoted(original) + " B1 IPE 1 2 3 4 5");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("member 'B1' has no section to replace"), std::string::npos) << none.err;

  AddSections(dir, "frame.ifc", {(*Member(before, "B1"))["FileID"], (*Member(before, "C1"))["FileID"]});
  before = Import(original);
  ASSERT_EQ(before["profiles"].size(), 2u);
  const int oldSection = (*Member(before, "B1"))["SectionID"];
  EXPECT_GT(oldSection, 0);

  // By name, into a new file: the original stays as it was.
  const std::string changed = dir.file("changed.ifc");
  Outcome r = KorvaIfc("update-section --output " + Quoted(changed) + " " + Quoted(original) +
                       " B1 'IPE 300' 150 300 7.1 10.7 15");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("has the section IPE 300"), std::string::npos) << r.out;
  EXPECT_EQ(Import(original), before);

  const Json after = Import(changed);
  const Json* b1 = Member(after, "B1");
  ASSERT_NE(b1, nullptr);
  const int section = (*b1)["SectionID"];
  EXPECT_GT(section, 0);
  EXPECT_NE(section, oldSection);
  const Json* profile = Profile(after, section);
  ASSERT_NE(profile, nullptr) << after["profiles"].dump();
  EXPECT_EQ((*profile)["ISection"], -1);
  EXPECT_DOUBLE_EQ((*profile)["IOverallWidth"].get<double>(), 150.0);
  EXPECT_DOUBLE_EQ((*profile)["IOverallDepth"].get<double>(), 300.0);
  EXPECT_DOUBLE_EQ((*profile)["IWebThickness"].get<double>(), 7.1);
  EXPECT_DOUBLE_EQ((*profile)["IFlangeThickness"].get<double>(), 10.7);
  EXPECT_DOUBLE_EQ((*profile)["IFilletRadius"].get<double>(), 15.0);
  EXPECT_EQ((*profile)["ProfileName"], "IPE 300");
  // The other members keep theirs.
  EXPECT_EQ((*Member(after, "B2"))["SectionID"], 0);
  EXPECT_EQ((*Profile(after, (*Member(after, "C1"))["SectionID"]))["ProfileName"], "Old");

  // By GlobalId, in place.
  const std::string c1 = (*Member(before, "C1"))["GUID"];
  ASSERT_EQ(KorvaIfc("update-section " + Quoted(original) + " '" + c1 + "' HEA200 200 190 6.5 10 18").status, 0);
  const Json inPlace = Import(original);
  const Json* column = Member(inPlace, "C1");
  ASSERT_NE(column, nullptr);
  ASSERT_NE(Profile(inPlace, (*column)["SectionID"]), nullptr);
  EXPECT_DOUBLE_EQ((*Profile(inPlace, (*column)["SectionID"]))["IOverallDepth"].get<double>(), 190.0);
}

// A GlobalId of 300 characters is more than a host's buffer takes: the
// member it names cannot be updated, the others can.
TEST(UpdateSectionCommand, AMemberWithAnOverlongGlobalIdIsToldApart) {
  TempDir dir;
  const std::string file = dir.file("frame.ifc");
  ASSERT_EQ(KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " + Quoted(file)).status, 0);
  const Json before = Import(file);
  AddSections(dir, "frame.ifc", {(*Member(before, "B1"))["FileID"], (*Member(before, "B2"))["FileID"]});
  std::string text = ReadFile(file);
  const std::string b1 = (*Member(before, "B1"))["GUID"];
  text.replace(text.find("'" + b1 + "'"), b1.size() + 2, "'" + std::string(300, 'L') + "'");
  dir.write("frame.ifc", text);

  Outcome b2 = KorvaIfc("update-section " + Quoted(file) + " B2 IPE 1 2 3 4 5");
  EXPECT_EQ(b2.status, 0) << b2.err;
  Outcome long1 = KorvaIfc("update-section " + Quoted(file) + " B1 IPE 1 2 3 4 5");
  EXPECT_EQ(long1.status, 1);
  EXPECT_NE(long1.err.find("member 'B1' has no GlobalId the update can find it by"), std::string::npos) << long1.err;
  EXPECT_EQ((*Member(Import(file), "B1"))["GUID"], "");
}

// Updates the first member of `file` that has a section and a GlobalId
// into `out`; the file written keeps the IFC2X3 schema and the import
// reads the new section back.
void UpdateAnIfc2x3Member(const std::string& file, const std::string& out) {
  const Json before = Import(file);
  const Json* member = nullptr;
  for (const Json& m : before["analysisModels"][0]["curveMembers"])
    if (m["SectionID"] != 0 && m["GUID"] != "") {
      member = &m;
      break;
    }
  ASSERT_NE(member, nullptr) << file;
  const std::string id = (*member)["GUID"];
  Outcome r = KorvaIfc("update-section --output " + Quoted(out) + " " + Quoted(file) + " '" + id +
                       "' 'IPE 220' 110 220 5.9 9.2 12");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("has the section IPE 220"), std::string::npos) << r.out;
  EXPECT_NE(ReadFile(out).find("FILE_SCHEMA (('IFC2X3'))"), std::string::npos);
  const Json after = Import(out);
  const Json* changed = nullptr;
  for (const Json& m : after["analysisModels"][0]["curveMembers"])
    if (m["GUID"] == id) changed = &m;
  ASSERT_NE(changed, nullptr);
  const Json* profile = Profile(after, (*changed)["SectionID"]);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ((*profile)["ProfileName"], "IPE 220");
  EXPECT_DOUBLE_EQ((*profile)["IOverallDepth"].get<double>(), 220.0);
  EXPECT_EQ(after["analysisModels"][0]["curveMembers"].size(), before["analysisModels"][0]["curveMembers"].size());
  EXPECT_EQ(after["profiles"].size(), before["profiles"].size() + 1);
}

TEST(UpdateSectionCommand, AnIfc2x3FileStaysIfc2x3) {
  TempDir dir;
  const std::string exported = dir.file("frame.ifc");
  ASSERT_EQ(KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " + Quoted(exported)).status, 0);
  const Json before = Import(exported);
  AddSections(dir, "frame.ifc", {(*Member(before, "B1"))["FileID"]});
  const std::string file = dir.file("frame2x3.ifc");
  ASSERT_EQ(KorvaIfc("convert --schema IFC2X3 " + Quoted(exported) + " " + Quoted(file)).status, 0);
  UpdateAnIfc2x3Member(file, dir.file("changed.ifc"));
}

TEST(UpdateSectionCommand, Ifc2x3FilesOfOtherTools) {
  const std::string corpus = KORVA_CORPUS_DIR;
  if (corpus.empty()) GTEST_SKIP() << "no corpus folder beside the sources";
  TempDir dir;
  for (const char* name : {"axis_roof_truss.ifc", "etabs_building01_2x3.ifc"}) {
    SCOPED_TRACE(name);
    UpdateAnIfc2x3Member(corpus + "/" + name, dir.file(std::string("changed_") + name));
  }
}

// With two profile associations, the update replaces the first one's
// properties and the host reads the last one's: the member, as the host
// sees it, is not changed, and the command says so.
TEST(UpdateSectionCommand, AMemberWhoseSectionReadsTheSameAfterwardsIsReportedUnchanged) {
  TempDir dir;
  const std::string file = dir.file("frame.ifc");
  ASSERT_EQ(KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " + Quoted(file)).status, 0);
  const Json before = Import(file);
  const int b1 = (*Member(before, "B1"))["FileID"];
  AddSections(dir, "frame.ifc", {b1, b1});
  Outcome r = KorvaIfc("update-section --output " + Quoted(dir.file("out.ifc")) + " " + Quoted(file) +
                       " B1 IPE 1 2 3 4 5");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.find("has the section"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("was not changed: its section is 'Old', not IPE"), std::string::npos) << r.err;
}

TEST(UpdateSectionCommand, ErrorsHaveTheirExitCodes) {
  TempDir dir;
  const std::string file = dir.file("frame.ifc");
  ASSERT_EQ(KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " + Quoted(file)).status, 0);
  Outcome unknown = KorvaIfc("update-section " + Quoted(file) + " NOPE IPE 1 2 3 4 5");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("no curve member named 'NOPE'"), std::string::npos) << unknown.err;
  EXPECT_EQ(KorvaIfc("update-section " + Quoted(file) + " B1 IPE 1 2 three 4 5").status, 2);
  EXPECT_EQ(KorvaIfc("update-section " + Quoted(file) + " B1 IPE 1 2 3 4").status, 2);
  EXPECT_EQ(KorvaIfc("update-section " + Quoted(dir.file("none.ifc")) + " B1 IPE 1 2 3 4 5").status, 3);
  EXPECT_EQ(KorvaIfc("update-section --output " + Quoted(dir.file("no/dir/x.ifc")) + " " + Quoted(file) +
                     " B1 IPE 1 2 3 4 5")
                .status,
            5);
}

}  // namespace
}  // namespace test
}  // namespace korva
