#include <gtest/gtest.h>

#include "api/korvaifc.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShutDown();
    TARN().reporter()->setStreams(out_.get(), err_.get());
  }
  void TearDown() override {
    CloseLogFile(0);
    ShutDown();
    TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
  }
  static char* S(const std::string& s) { return const_cast<char*>(s.c_str()); }
  test::TempDir dir_;
  test::CapturedStream out_, err_;
};

TEST_F(FrameTest, OpenLogFileTwiceKeepsTheFirstFile) {
  const std::string first = dir_.file("first.log"), second = dir_.file("second.log");
  EXPECT_EQ(OpenLogFile(S(first)), -1);
  EXPECT_EQ(OpenLogFile(S(second)), -1);
  TARN().message("hello");
  EXPECT_EQ(CloseLogFile(12345), -1);
  EXPECT_FALSE(test::FileExists(second));
  const std::string text = test::ReadFile(first);
  EXPECT_NE(text.find("TARN: hello\n"), std::string::npos);
  EXPECT_EQ(text.find("LOGGING BEGINS"), text.rfind("LOGGING BEGINS"));  // opened once

  // The second name takes effect at the next opening.
  EXPECT_EQ(OpenLogFile(S(second)), -1);
  TARN().message("again");
  CloseLogFile(0);
  EXPECT_NE(test::ReadFile(second).find("TARN: again\n"), std::string::npos);
}

TEST_F(FrameTest, CloseLogFileWhenOffWritesNothing) {
  EXPECT_EQ(CloseLogFile(0), -1);
  EXPECT_EQ(out_.text(), "");
  EXPECT_EQ(err_.text(), "");
}

TEST_F(FrameTest, BadLogPathThenGoodPath) {
  const std::string bad = dir_.file("no/such/folder/log");
  EXPECT_EQ(OpenLogFile(S(bad)), -1);
  EXPECT_EQ(err_.text(), "TARN: Could not open logfile " + bad + "\n");
  EXPECT_FALSE(TARN().reporter()->isLogging());
  const std::string good = dir_.file("good.log");
  EXPECT_EQ(OpenLogFile(S(good)), -1);
  EXPECT_TRUE(TARN().reporter()->isLogging());
  EXPECT_EQ(test::ReadFile(good).rfind("TARN: LOGGING BEGINS ", 0), 0u);
}

TEST_F(FrameTest, ShutDownFirstThingTouchesNothing) {
  EXPECT_EQ(ShutDown(), -1);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
  EXPECT_EQ(out_.text(), "");
}

TEST_F(FrameTest, ShutDownEndsLoggingOfAnInitialisedLibrary) {
  const std::string log = dir_.file("s.log");
  OpenLogFile(S(log));
  TARN().initialize();
  EXPECT_EQ(ShutDown(), -1);
  EXPECT_NE(test::ReadFile(log).find("TARN: LOGGING ENDS "), std::string::npos);
  EXPECT_EQ(TARN().state(), TarnInterface::kUninitialized);
}

TEST_F(FrameTest, SetSchemaPathAndNullFallsBackToTheEnvironment) {
  test::ScopedEnv env("TARN_SCHEMAS", "from-env");
  EXPECT_EQ(SetSchemaPath(S(dir_.path())), -1);
  EXPECT_EQ(std::string(TARN().schemaPath()), dir_.path());
  EXPECT_EQ(SetSchemaPath(nullptr), -1);
  EXPECT_STREQ(TARN().schemaPath(), "from-env");
}

}  // namespace
}  // namespace korva
