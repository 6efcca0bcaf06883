// korva-ifc export-building, export-analysis and import: the bundled example
// models written through the export functions and read back through the
// import functions, compared with the model files.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

using Json = nlohmann::json;

Json Import(const std::string& file, const char* options = "") {
  Outcome r = KorvaIfc(std::string("import ") + options + " " + Quoted(file));
  EXPECT_EQ(r.status, 0) << r.err;
  Json j = Json::parse(r.out, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << r.out;
  return j;
}

Json Model(const char* name) { return Json::parse(ReadFile(ExampleModel(name))); }

// The example models are exported once for all tests of this file.
class RoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    building_ = KorvaIfc("export-building " + Quoted(ExampleModel("building.json")) + " " +
                         Quoted(dir_->file("building.ifc")));
    analysis_ = KorvaIfc("export-analysis " + Quoted(ExampleModel("analysis.json")) + " " +
                         Quoted(dir_->file("analysis.ifc")));
  }
  static void TearDownTestSuite() { delete dir_; }

  static TempDir* dir_;
  static Outcome building_, analysis_;
};
TempDir* RoundTrip::dir_ = nullptr;
Outcome RoundTrip::building_;
Outcome RoundTrip::analysis_;

TEST_F(RoundTrip, BuildingElementsComeBackWithTheirPlacementsAndOutlines) {
  ASSERT_EQ(building_.status, 0) << building_.err;
  EXPECT_EQ(building_.out, "");
  const Json model = Model("building.json");
  const Json imported = Import(dir_->file("building.ifc"));
  const Json& b = imported["building"];
  ASSERT_EQ(b["columns"].size(), model["columns"].size());
  ASSERT_EQ(b["beams"].size(), model["beams"].size());
  ASSERT_EQ(b["slabs"].size(), model["slabs"].size());
  ASSERT_EQ(b["walls"].size(), model["walls"].size());
  EXPECT_EQ(b["generals"].size(), 0u);

  // Columns and beams: the placement of the model file, the depth, a
  // GlobalId of 22 characters and an instance number.
  for (const char* kind : {"columns", "beams"}) {
    for (size_t i = 0; i < model[kind].size(); ++i) {
      const Json& want = model[kind][i];
      const Json& got = b[kind][i];
      SCOPED_TRACE(std::string(kind) + " " + std::to_string(i));
      EXPECT_DOUBLE_EQ(got["Startx"].get<double>(), want["location"][0].get<double>());
      EXPECT_DOUBLE_EQ(got["Starty"].get<double>(), want["location"][1].get<double>());
      EXPECT_DOUBLE_EQ(got["Startz"].get<double>(), want["location"][2].get<double>());
      EXPECT_DOUBLE_EQ(got["ExtrudedDepth"].get<double>(), want["depth"].get<double>());
      EXPECT_EQ(got["GUID"].get<std::string>().size(), 22u);
      EXPECT_GT(got["FileID"].get<int>(), 9);
    }
  }
  // The beams' own axes (the model gives them; columns take the default).
  EXPECT_DOUBLE_EQ(b["beams"][0]["Axis1"].get<double>(), 1.0);
  EXPECT_DOUBLE_EQ(b["beams"][0]["Ref2"].get<double>(), 1.0);
  EXPECT_DOUBLE_EQ(b["columns"][0]["Axis3"].get<double>(), 1.0);

  // Walls and slabs: the outline of the model file, closed by the library.
  for (const char* kind : {"walls", "slabs"}) {
    for (size_t i = 0; i < model[kind].size(); ++i) {
      const Json& want = model[kind][i]["points"];
      const Json& got = b[kind][i]["points"];
      SCOPED_TRACE(std::string(kind) + " " + std::to_string(i));
      ASSERT_EQ(got.size(), want.size() + 1);
      for (size_t k = 0; k <= want.size(); ++k) {
        EXPECT_DOUBLE_EQ(got[k][0].get<double>(), want[k % want.size()][0].get<double>());
        EXPECT_DOUBLE_EQ(got[k][1].get<double>(), want[k % want.size()][1].get<double>());
      }
      EXPECT_DOUBLE_EQ(b[kind][i]["ExtrudedDepth"].get<double>(), model[kind][i]["depth"].get<double>());
    }
  }

  // Metre and square metre, without prefix.
  ASSERT_EQ(imported["units"].size(), 2u);
  EXPECT_EQ(imported["units"][0]["Type"], 15);
  EXPECT_EQ(imported["units"][0]["SIUnitName"], 15);
  EXPECT_EQ(imported["units"][0]["SIUnitPrefix"], -1);
  EXPECT_EQ(imported["units"][1]["SIUnitName"], 24);
  EXPECT_EQ(imported["analysisModels"].size(), 0u);
}

TEST_F(RoundTrip, AnalysisMembersAreConnectedToTheirNodes) {
  ASSERT_EQ(analysis_.status, 0) << analysis_.err;
  const Json model = Model("analysis.json");
  const Json imported = Import(dir_->file("analysis.ifc"));
  ASSERT_EQ(imported["analysisModels"].size(), 1u);
  const Json& m = imported["analysisModels"][0];
  EXPECT_EQ(m["Name"], model["model"]["name"]);
  EXPECT_EQ(m["GUID"].get<std::string>().size(), 22u);

  // Nodes: names and coordinates; the instance number is their key.
  std::map<std::string, Json> nodes;
  for (const Json& n : model["nodes"]) nodes[n["id"]] = n["at"];
  std::map<int, std::string> byFileId;
  ASSERT_EQ(m["pointConnections"].size(), nodes.size());
  for (const Json& p : m["pointConnections"]) {
    const std::string name = p["Name"];
    ASSERT_EQ(nodes.count(name), 1u) << name;
    EXPECT_DOUBLE_EQ(p["VertexX1"].get<double>(), nodes[name][0].get<double>());
    EXPECT_DOUBLE_EQ(p["VertexY1"].get<double>(), nodes[name][1].get<double>());
    EXPECT_DOUBLE_EQ(p["VertexZ1"].get<double>(), nodes[name][2].get<double>());
    byFileId[p["FileID"]] = name;
  }

  // Curve members run from their start node to their end node and are
  // connected to both.
  ASSERT_EQ(m["curveMembers"].size(), model["curveMembers"].size());
  for (size_t i = 0; i < model["curveMembers"].size(); ++i) {
    const Json& want = model["curveMembers"][i];
    const Json& got = m["curveMembers"][i];
    SCOPED_TRACE(want["name"].get<std::string>());
    EXPECT_EQ(got["Name"], want["name"]);
    const Json& start = nodes[want["start"]];
    const Json& end = nodes[want["end"]];
    EXPECT_DOUBLE_EQ(got["EdgeX1"].get<double>(), start[0].get<double>());
    EXPECT_DOUBLE_EQ(got["EdgeZ1"].get<double>(), start[2].get<double>());
    EXPECT_DOUBLE_EQ(got["EdgeX2"].get<double>(), end[0].get<double>());
    EXPECT_DOUBLE_EQ(got["EdgeY2"].get<double>(), end[1].get<double>());
    EXPECT_DOUBLE_EQ(got["EdgeZ2"].get<double>(), end[2].get<double>());
    ASSERT_EQ(got["connections"].size(), 2u);
    EXPECT_EQ(byFileId[got["connections"][0]["id"]], want["start"]);
    EXPECT_EQ(byFileId[got["connections"][1]["id"]], want["end"]);
  }

  // The surface member: its corners and a connection per corner node.
  ASSERT_EQ(m["surfaceMembers"].size(), 1u);
  const Json& s = m["surfaceMembers"][0];
  const Json& corners = model["surfaceMembers"][0]["nodes"];
  ASSERT_EQ(s["points"].size(), corners.size());
  ASSERT_EQ(s["connections"].size(), corners.size());
  for (size_t k = 0; k < corners.size(); ++k) {
    EXPECT_EQ(s["points"][k], nodes[corners[k]]) << k;
    EXPECT_EQ(byFileId[s["connections"][k]["id"]], corners[k]) << k;
  }
  for (const char* table : {"beams", "columns", "slabs", "walls", "generals"})
    EXPECT_EQ(imported["building"][table].size(), 0u) << table;
}

// --summary is the full document with the number of records in place of
// each table (an analysis model keeps its Name and FileID), byte for byte.
TEST_F(RoundTrip, SummaryCountsTheSameRecords) {
  using Ordered = nlohmann::ordered_json;
  for (const char* name : {"building.ifc", "analysis.ifc"}) {
    SCOPED_TRACE(name);
    const Ordered full = Ordered::parse(KorvaIfc("import " + Quoted(dir_->file(name))).out);
    Ordered expected = {{"file", full["file"]}, {"building", Ordered::object()}, {"analysisModels", Ordered::array()}};
    for (auto& [key, table] : full["building"].items()) expected["building"][key] = table.size();
    for (const Ordered& m : full["analysisModels"])
      expected["analysisModels"].push_back({{"Name", m["Name"]},
                                            {"FileID", m["FileID"]},
                                            {"curveMembers", m["curveMembers"].size()},
                                            {"surfaceMembers", m["surfaceMembers"].size()},
                                            {"pointConnections", m["pointConnections"].size()}});
    for (const char* group : {"loads", "materials"})
      for (auto& [key, table] : full[group].items()) expected[group][key] = table.size();
    expected["profiles"] = full["profiles"].size();
    expected["units"] = full["units"].size();
    Outcome summary = KorvaIfc("import --summary " + Quoted(dir_->file(name)));
    EXPECT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out, expected.dump(2) + "\n");
  }
  const Json summary = Import(dir_->file("analysis.ifc"), "--summary");
  EXPECT_EQ(summary["analysisModels"][0]["Name"], "Demo frame");
  EXPECT_EQ(summary["analysisModels"][0]["curveMembers"], 6);
  EXPECT_EQ(summary["analysisModels"][0]["surfaceMembers"], 1);
  EXPECT_EQ(summary["analysisModels"][0]["pointConnections"], 8);
  EXPECT_EQ(summary["units"], 2);
  const Json building = Import(dir_->file("building.ifc"), "--summary");
  EXPECT_EQ(building["building"], Json::parse(R"({"beams":2,"columns":4,"slabs":1,"walls":2,"generals":0})"));
}

TEST_F(RoundTrip, ExportedFilesReadWithoutErrors) {
  for (const char* file : {"building.ifc", "analysis.ifc"}) {
    Outcome r = KorvaIfc("check " + Quoted(dir_->file(file)));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("0 warnings, 0 errors"), std::string::npos) << r.out;
  }
  Outcome r = KorvaIfc("check " + Quoted(dir_->file("analysis.ifc")));
  EXPECT_NE(r.out.find("  IfcStructuralCurveMember"), std::string::npos);
  EXPECT_NE(r.out.find("  IfcRelConnectsStructuralMember                     16"), std::string::npos) << r.out;
}

TEST(ImportCommand, SampleFileHasNoTablesToFill) {
  TempDir dir;
  ASSERT_EQ(KorvaIfc("sample " + Quoted(dir.file("s.ifc"))).status, 0);
  const Json j = Import(dir.file("s.ifc"));
  EXPECT_EQ(j["file"], dir.file("s.ifc"));
  EXPECT_EQ(j["building"]["beams"].size(), 0u);
  EXPECT_EQ(j["analysisModels"].size(), 0u);
  // Units are read from the project, which the sample does not have.
  EXPECT_EQ(j["units"].size(), 0u);
}

TEST(ExportCommand, UnitsByNameOrIndex) {
  TempDir dir;
  dir.write("mm.json", R"({"units": {"prefix": "milli", "length": 15},
                          "storeys": [{"elevation": 0}],
                          "columns": [{"storey": 1, "points": [[0,0],[1,0],[1,1]], "depth": 3000}]})");
  ASSERT_EQ(KorvaIfc("export-building " + Quoted(dir.file("mm.json")) + " " + Quoted(dir.file("mm.ifc"))).status, 0);
  const std::string text = ReadFile(dir.file("mm.ifc"));
  EXPECT_NE(text.find("IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.)"), std::string::npos) << text;
  EXPECT_NE(text.find("IFCSIUNIT(*,.AREAUNIT.,.MILLI.,.SQUARE_METRE.)"), std::string::npos) << text;
}

}  // namespace
}  // namespace test
}  // namespace korva
