#include "objdb/interface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "support/test_util.h"

namespace korva {
namespace {

class EnvOnlySource : public ConfigSource {
 public:
  std::map<std::string, std::string> envs;
  const char* env(const char* name) const override {
    auto it = envs.find(name);
    return it == envs.end() ? nullptr : it->second.c_str();
  }
  bool registry(platform::Hive, const char*, const char*, std::string*) const override {
    return false;
  }
};

// Gives the process interface object a configuration of the test's own and
// captures what it reports.
class InterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TARN().shutdown();
    TARN().configuration() = TarnConfiguration(&source_);
    capture();
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().configuration() = TarnConfiguration();
    TARN().reporter()->setStreams(stdout, stderr);
  }
  void capture() { TARN().reporter()->setStreams(out_.get(), err_.get()); }

  EnvOnlySource source_;
  test::CapturedStream out_, err_;
};

const char kBanner[] =
    "KS-BUILDER\nSystem Release v10\n\n\n-----------------------------------------\n";

TEST_F(InterfaceTest, InitialisesOnceWithBannerAndReportsMissingSchemaPath) {
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  TARN().initialize();
  TARN().initialize();
  EXPECT_EQ(TARN().state(), TarnInterface::kInitialized);
  EXPECT_EQ(out_.text(), std::string(kBanner) +
                             "TARN: warning: No system schema path. Set $TARN_RUNTIME or "
                             "$TARN_SCHEMA.\n");
  EXPECT_EQ(TARN().searchPath(), TARN().dbPath() + ";");
}

TEST_F(InterfaceTest, ShutdownEndsLoggingAndNextUseInitialisesAgain) {
  test::TempDir dir;
  source_.envs["TARN_SCHEMAS"] = dir.path();
  dir.write(kHeaderSchemaFile, "");
  TarnErrorReporter* reporter = TARN().reporter();
  reporter->logfile(dir.file("log").c_str());
  reporter->logging(true);
  TARN().initialize();
  TARN().shutdown();
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  const std::string log = test::ReadFile(dir.file("log"));
  EXPECT_NE(log.find(std::string("TARN: LOGGING BEGINS")), std::string::npos);
  EXPECT_NE(log.find(kBanner), std::string::npos);
  EXPECT_NE(log.find("TARN: LOGGING ENDS"), std::string::npos);

  // A new reporter: logging is off until switched on again.
  EXPECT_FALSE(TARN().reporter()->isLogging());
  test::CapturedStream again;
  TARN().reporter()->setStreams(again.get(), err_.get());
  TARN().initialize();
  EXPECT_EQ(again.text(), kBanner);  // header schema present: no warning
  EXPECT_EQ(TARN().extensions().size(), 8u);
}

TEST_F(InterfaceTest, SchemaFolderWithoutHeaderSchemaIsReported) {
  test::TempDir dir;
  TARN().setSchemaPath(dir.path().c_str());
  TARN().initialize();
  EXPECT_NE(out_.text().find("TARN: warning: KS-Runtime does not appear to be installed. Set "
                             "$TARN_RUNTIME or $TARN_SCHEMAS.\n"),
            std::string::npos);
  EXPECT_EQ(TARN().searchPath(), TARN().dbPath() + ";" + dir.path());
}

TEST_F(InterfaceTest, SchemaPathSetBeforeFirstUseBuildsTheSearchPath) {
  source_.envs["TARN_DB"] = "db1;db2";
  source_.envs["TARN_SCHEMAS"] = "ignored";
  TARN().setSchemaPath("given");
  TARN().initialize();
  EXPECT_EQ(TARN().searchPath(), "db1;db2;given");
  EXPECT_EQ(TARN().searchFolders(), (std::vector<std::string>{"db1", "db2", "given"}));
}

TEST_F(InterfaceTest, DesignFilesAreFoundAlongTheSearchPath) {
  test::TempDir first, second;
  first.write("model.ifc", "x");
  second.write("model.stp", "x");
  second.write("other.STEP", "x");
  second.write("notes.txt", "x");
  source_.envs["TARN_DB"] = first.path() + ";" + second.path();
  TARN().setSchemaPath(second.path().c_str());

  DesignFileLocation where;
  ASSERT_TRUE(TARN().locateDesignFile("model", &where));
  // "stp" is registered before "ifc", but the first folder wins.
  EXPECT_EQ(where.path, platform::JoinPath(first.path(), "model.ifc"));
  EXPECT_EQ(where.extension, "ifc");
  ASSERT_TRUE(TARN().locateDesignFile("model.stp", &where));
  EXPECT_EQ(where.folder, second.path());
  EXPECT_TRUE(TARN().isInPath("model"));
  EXPECT_FALSE(TARN().isInPath("notes"));
  EXPECT_FALSE(TARN().isInPath("absent"));
  ASSERT_TRUE(TARN().locateDesignFile(first.file("model.ifc"), &where));  // rooted name
  EXPECT_EQ(where.name, "model");

  std::vector<std::string> names = TARN().pathDesignNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"model", "other"}));
}

TEST_F(InterfaceTest, UnlistableFolderIsReported) {
  source_.envs["TARN_DB"] = "/nonexistent-korva-folder";
  TARN().setSchemaPath("/nonexistent-korva-folder");
  TARN().initialize();
  out_.text();
  EXPECT_TRUE(TARN().pathDesignNames().empty());
  const std::string text = out_.text();
  EXPECT_NE(text.find("TARN: Could not open directory /nonexistent-korva-folder\n"),
            std::string::npos)
      << text;
}

TEST(DesignPath, SplitsFolderNameAndExtension) {
  struct Case { const char* path; const char* folder; const char* name; const char* ext; } cases[] = {
      {"C:\\data\\model.ifc", "C:\\data\\", "model", "ifc"},
      {"/tmp/a/b.tar.gz", "/tmp/a/", "b", "tar.gz"},
      {"plain", "", "plain", ""},
      {"dir/", "dir/", "", ""},
      {"mixed\\dir/file.stp", "mixed\\dir/", "file", "stp"},
  };
  for (const Case& c : cases) {
    DesignPath p = SplitDesignPath(c.path);
    EXPECT_EQ(p.folder, c.folder) << c.path;
    EXPECT_EQ(p.name, c.name) << c.path;
    EXPECT_EQ(p.extension, c.ext) << c.path;
  }
}

}  // namespace
}  // namespace korva
