// korva-ifc's help and its errors: each failure has its exit code and a
// message on standard error, and nothing on standard output.
#include <gtest/gtest.h>

#include <string>

#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

const char* const kCommands[] = {"sample", "check", "copy", "import", "export-building", "export-analysis", "update-section",
                                 "schema", "guid"};

void ExpectFailure(const Outcome& r, int status, const std::string& message) {
  EXPECT_EQ(r.status, status) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(message), std::string::npos) << "expected '" << message << "' in: " << r.err;
}

TEST(Help, EveryCommandDescribesItself) {
  for (const char* command : kCommands) {
    Outcome r = KorvaIfc(std::string(command) + " --help");
    EXPECT_EQ(r.status, 0) << command;
    EXPECT_EQ(r.out.rfind(std::string("usage: korva-ifc ") + command + " ", 0), 0u) << r.out;
    EXPECT_GT(r.out.size(), 80u) << command;
    EXPECT_EQ(KorvaIfc(std::string(command) + " -h").out, r.out);
  }
  Outcome all = KorvaIfc("--help");
  EXPECT_EQ(all.status, 0);
  for (const char* command : kCommands)
    EXPECT_NE(all.out.find(std::string("korva-ifc ") + command + " "), std::string::npos) << command;
}

TEST(BadArguments, ExitWithTwo) {
  ExpectFailure(KorvaIfc(""), 2, "usage:");
  ExpectFailure(KorvaIfc("frobnicate x"), 2, "unknown command 'frobnicate'");
  ExpectFailure(KorvaIfc("check"), 2, "usage: korva-ifc check");
  ExpectFailure(KorvaIfc("check a.ifc b.ifc"), 2, "one input file expected");
  ExpectFailure(KorvaIfc("copy a.ifc"), 2, "usage: korva-ifc copy");
  ExpectFailure(KorvaIfc("import --sumary a.ifc"), 2, "unknown option '--sumary'");
  ExpectFailure(KorvaIfc("import a.ifc --schemas"), 2, "option --schemas needs a value");
  ExpectFailure(KorvaIfc("export-building model.json"), 2, "a model file and an output file expected");
  ExpectFailure(KorvaIfc("export-building model.json out"), 2, "needs an extension");
}

TEST(MissingInput, ExitsWithThree) {
  TempDir dir;
  const std::string missing = Quoted(dir.file("missing.ifc"));
  for (const std::string& args :
       {"check " + missing, "import " + missing, "copy " + missing + " " + Quoted(dir.file("o.ifc")),
        "export-building " + Quoted(dir.file("missing.json")) + " " + Quoted(dir.file("o.ifc")),
        "export-analysis " + Quoted(dir.file("missing.json")) + " " + Quoted(dir.file("o.ifc"))})
    ExpectFailure(KorvaIfc(args), 3, "no such file");
  ExpectFailure(KorvaIfc("check " + Quoted(dir.path())), 3, "is a folder");
  EXPECT_FALSE(FileExists(dir.file("o.ifc")));
}

TEST(BadModel, ExitsWithFourAndSaysWhere) {
  TempDir dir;
  struct Case {
    const char* command;
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {"export-building", "{\"storeys\": [", "not valid JSON"},
      {"export-building", "[1, 2]", "expected a JSON object at the top"},
      {"export-building", R"({"storeys": [{"elevation": 0}], "colums": []})", "colums: unknown key"},
      {"export-building", R"({"storeys": [{"elevation": 0}], "beams": [{"storey": 2, "points": [[0,0],[1,0],[1,1]], "depth": 1}]})",
       "beams[0].storey: expected a storey number from 1 to 1"},
      {"export-building", R"({"storeys": [{"elevation": 0}], "slabs": [{"storey": 1, "points": [[0,0],[1,0]], "depth": 1}]})",
       "slabs[0].points: expected a list of at least 3 points"},
      {"export-building", R"({"storeys": [{"elevation": 0}], "walls": [{"storey": 1, "points": [[0,0],[1,0],[1,"a"]], "depth": 1}]})",
       "walls[0].points[2][1]: expected a number"},
      {"export-building", R"({"units": {"length": "FURLONG"}})", "units.length: no IfcSIUnitName 'FURLONG'"},
      {"export-building", R"({"units": {"prefix": 16}})", "units.prefix: no IfcSIPrefix '16'"},
      {"export-analysis", R"({"storeys": [{"elevation": 0}], "nodes": [{"id": "A", "storey": 1, "at": [0,0,0]}],
                             "curveMembers": [{"start": "A", "end": "B"}]})",
       "curveMembers[0].end: no node 'B'"},
      {"export-analysis", R"({"storeys": [{"elevation": 0}], "nodes": [{"id": "A", "storey": 1, "at": [0,0,0]},
                             {"id": "A", "storey": 1, "at": [1,0,0]}]})",
       "nodes[1].id: node 'A' defined twice"},
      {"export-analysis", R"({"storeys": [{"name": "G"}]})", "storeys[0]: elevation missing"},
  };
  for (const Case& c : cases) {
    dir.write("model.json", c.json);
    Outcome r = KorvaIfc(std::string(c.command) + " " + Quoted(dir.file("model.json")) + " " +
                         Quoted(dir.file("out.ifc")));
    SCOPED_TRACE(c.json);
    ExpectFailure(r, 4, c.message);
    EXPECT_NE(r.err.find("model.json: "), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir.file("out.ifc")));
  }
}

TEST(UnwritableOutput, ExitsWithFive) {
  TempDir dir;
  dir.write("in.ifc", ReadFile(KORVA_EXAMPLES_DIR "/models/building.json"));  // any readable file
  const std::string nowhere = Quoted(dir.file("no/such/folder/out.ifc"));
  const std::string model = Quoted(KORVA_EXAMPLES_DIR "/models/building.json");
  for (const std::string& args :
       {"sample " + nowhere, "copy " + Quoted(dir.file("in.ifc")) + " " + nowhere,
        "export-building " + model + " " + nowhere,
        "export-analysis " + Quoted(KORVA_EXAMPLES_DIR "/models/analysis.json") + " " + nowhere})
    ExpectFailure(KorvaIfc(args), 5, "does not exist");
  // A folder where the file should go.
  ExpectFailure(KorvaIfc("sample " + Quoted(dir.path())), 5, "is a folder");
}

TEST(MissingSchema, ExitsWithSix) {
  TempDir empty;
  TempDir dir;
  ExpectFailure(KorvaIfc("sample --schemas " + Quoted(empty.path()) + " " + Quoted(dir.file("s.ifc"))), 6,
                "schema ifc2x2_final not found");
  EXPECT_FALSE(FileExists(dir.file("s.ifc")));
}

}  // namespace
}  // namespace test
}  // namespace korva
