// The expressc command line: exit status and output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// CTest runs the tests of this file in parallel processes, so every file name
// carries the test's name and the process id.
std::string scratch(const std::string& suffix) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "expressc_" + info->name() + "_" +
         std::to_string(static_cast<long>(getpid())) + suffix;
}

CommandResult runExpressc(const std::string& args) {
  const std::string base = scratch("_run");
  const std::string command =
      std::string(KORVA_EXPRESSC) + " " + args + " >" + base + ".out 2>" + base + ".err";
  CommandResult r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(base + ".out");
  r.err = slurp(base + ".err");
  return r;
}

TEST(Expressc, SummarisesSchema) {
  const CommandResult r = runExpressc(std::string("'") + KORVA_IFC_SCHEMA + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("schema IFC2X2_FINAL\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("entities: 629\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("selects: 42\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("enumerations: 161\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("aggregate classes: 142 (36 lists, 105 sets, 0 bags, 1 arrays)"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(Expressc, ReportsErrorsWithStatusOne) {
  const std::string path = scratch("_bad.exp");
  std::ofstream(path) << "SCHEMA s;\nENTITY A;\n  x INTEGER;\nEND_ENTITY;\nEND_SCHEMA;\n";
  const CommandResult bad = runExpressc(path);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, path + ":3: error: expected ':' near 'INTEGER'\n");
  EXPECT_EQ(bad.out, "");

  const CommandResult missing = runExpressc(scratch("_missing.exp"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open file"), std::string::npos);

  EXPECT_EQ(runExpressc("").status, 2);
}

}  // namespace
