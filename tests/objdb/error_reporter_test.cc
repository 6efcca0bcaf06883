#include "objdb/error_reporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "objdb/error_category.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

// Routes the process reporter's output into captured streams and restores
// its levels afterwards.
class ReporterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reporter_ = TARN().reporter();
    reporter_->setStreams(out_.get(), err_.get());
  }
  void TearDown() override {
    reporter_->logging(false);
    reporter_->setStreams(stdout, stderr);
    reporter_->setPrintLevel(1);
    reporter_->setExitLevel(3);
    reporter_->setDebug(false);
  }
  TarnErrorReporter* reporter_ = nullptr;
  test::CapturedStream out_, err_;
};

TEST_F(ReporterTest, CodedWarningCarriesContextAndSeverityPrefix) {
  DatabaseMessages().report(1005, "IfcFoo");
  EXPECT_EQ(out_.text(), "TARN: warning: Domain IfcFoo not found.\n");
  EXPECT_EQ(err_.text(), "");
}

TEST_F(ReporterTest, ContextsStackAndUnwind) {
  TarnFileContext file("model.ifc", 12);
  TarnNamedContext named("reader");
  TarnNamedContext unnamed(nullptr);
  {
    TarnContextGuard g1(reporter_, &file);
    DatabaseMessages().warning("first %d", 1);
    file.setLine(0);
    DatabaseMessages().warning("no line");
    {
      TarnContextGuard g2(reporter_, &named);
      DatabaseMessages().message("named");
      TarnContextGuard g3(reporter_, &unnamed);
      DatabaseMessages().message("unnamed");
    }
    TarnFileContext lineOnly(nullptr, 7);
    TarnContextGuard g4(reporter_, &lineOnly);
    ExchangeMessages().report(2018, 5);
  }
  DatabaseMessages().message("back to default");
  EXPECT_EQ(out_.text(),
            "model.ifc(12): warning: first 1\n"
            "model.ifc: warning: no line\n"
            "reader: named\n"
            "TARN: unnamed\n"
            "line 7: warning: Duplicate entity #5 found, ignored.\n"
            "TARN: back to default\n");
}

TEST_F(ReporterTest, PrintLevelsOfCategoryAndReporterAndDebugFlag) {
  static const TarnErrorEntry table[] = {{7001, 1, "quiet %s"}, {7002, 2, "loud %s"}};
  const TarnErrorCategory strict("test", table, 2, 2, 0);
  strict.report(7001, "a");            // below the category's print level
  strict.report(7002, "b");
  reporter_->setDebug(true);
  strict.report(7001, "c");            // debug prints everything
  reporter_->setDebug(false);
  reporter_->setPrintLevel(3);
  DatabaseMessages().report(1049, "d");  // warning below the reporter's level
  ExchangeMessages().report(2006, "E");  // the exchange category prints from 1
  EXPECT_EQ(out_.text(),
            "TARN: warning: loud b\n"
            "TARN: quiet c\n"
            "TARN: warning: Unknown type 'E', entity ignored.\n");
}

TEST_F(ReporterTest, UnknownCodeGoesToErrorStreamOnly) {
  DatabaseMessages().report(1022);
  ExchangeMessages().report(2003);
  EXPECT_EQ(out_.text(), "");
  EXPECT_EQ(err_.text(),
            "TarnErrorReporter::Unknown error code 1022\n"
            "TarnErrorReporter::Unknown error code 2003\n");
}

TEST_F(ReporterTest, ErrorsBelowExitLevelBecomeTheLastError) {
  reporter_->setExitLevel(5);
  DatabaseMessages().report(1049, "w");  // warnings are not remembered
  DatabaseMessages().report(1021);
  EXPECT_EQ(reporter_->lastErrorCode(), 1021);
  EXPECT_EQ(reporter_->lastErrorCategory(), &DatabaseMessages());
  ExchangeMessages().report(2007);  // an exchange error never ends the process
  EXPECT_EQ(reporter_->lastErrorCode(), 2007);
  EXPECT_EQ(reporter_->lastErrorCategory(), &ExchangeMessages());
  DatabaseMessages().error("free %s", "text");
  EXPECT_EQ(reporter_->lastErrorCode(), -1);
  EXPECT_NE(out_.text().find("TARN: error: free text\n"), std::string::npos);
}

TEST_F(ReporterTest, LogFileGetsBeginLineMessagesAndEndLine) {
  test::TempDir dir;
  const std::string log = dir.file("run.log");
  reporter_->logfile(log.c_str());
  reporter_->logging(true);
  reporter_->logging(true);  // already on: nothing more happens
  ASSERT_TRUE(reporter_->isLogging());
  DatabaseMessages().report(1050, "x.ifc");
  reporter_->logging(false);
  reporter_->logging(false);  // already off: nothing written
  DatabaseMessages().report(1050, "y.ifc");
  EXPECT_EQ(reporter_->logfileName(), log);

  const std::string text = test::ReadFile(log);
  EXPECT_TRUE(::testing::internal::RE::PartialMatch(
      text, ::testing::internal::RE("^TARN: LOGGING BEGINS [0-9]{4}-[0-9]{2}-[0-9]{2}T"
                                    "[0-9]{2}:[0-9]{2}:[0-9]{2}[-+][0-9]{2}:00\n"
                                    "TARN: warning: Unable to open file: x.ifc\n"
                                    "TARN: LOGGING ENDS [-0-9T:+]+\n$")))
      << text;
  EXPECT_EQ(err_.text(), "TARN: Logging messages to '" + log + "'\n");
}

TEST_F(ReporterTest, UnwritableLogLeavesLoggingOff) {
  reporter_->logfile("/nonexistent-folder/sub/log.txt");
  reporter_->logging(true);
  EXPECT_FALSE(reporter_->isLogging());
  EXPECT_EQ(err_.text(), "TARN: Could not open logfile /nonexistent-folder/sub/log.txt\n");
}

TEST(ReporterEnvironment, TarnLogStartsLoggingAndTarnDebugPrintsAll) {
  test::TempDir dir;
  const std::string log = dir.file("env.log");
  test::ScopedEnv logEnv("TARN_LOG", log.c_str());
  test::ScopedEnv debugEnv("TARN_DEBUG", "1");
  test::CapturedStream err;
  {
    TarnErrorReporter reporter;
    EXPECT_TRUE(reporter.isLogging());
    EXPECT_TRUE(reporter.debug());
    EXPECT_EQ(reporter.logfileName(), log);
  }
  const std::string text = test::ReadFile(log);
  EXPECT_EQ(text.rfind("TARN: LOGGING BEGINS ", 0), 0u) << text;
  EXPECT_NE(text.find("TARN: LOGGING ENDS "), std::string::npos);
}

TEST(MessageTables, DatabaseTableInItsSearchOrder) {
  const TarnErrorCategory& db = DatabaseMessages();
  ASSERT_EQ(db.count(), 57);
  std::vector<int> codes;
  for (int i = 0; i < db.count(); ++i) codes.push_back(db.entry(i).code);
  EXPECT_EQ(codes.front(), 1001);
  EXPECT_EQ(codes.back(), 1058);
  auto pos = [&](int code) { return std::find(codes.begin(), codes.end(), code) - codes.begin(); };
  EXPECT_EQ(pos(1041) + 1, pos(1040));
  EXPECT_EQ(pos(1046) + 1, pos(1059));
  EXPECT_EQ(pos(1059) + 1, pos(1048));
  EXPECT_EQ(pos(1022), 57);
  EXPECT_EQ(pos(1047), 57);
  EXPECT_EQ(std::set<int>(codes.begin(), codes.end()).size(), 57u);
  EXPECT_EQ(db.find(1028)->severity, kFatal);
  EXPECT_EQ(db.find(1044)->severity, kMessage);
  EXPECT_STREQ(db.find(1043)->format, "Design %s has itself as it's own schema.");
  EXPECT_EQ(db.printLevel(), 0);
  EXPECT_EQ(db.exitLevel(), 0);
}

TEST(MessageTables, ExchangeTable) {
  const TarnErrorCategory& ex = ExchangeMessages();
  ASSERT_EQ(ex.count(), 43);
  for (int unassigned : {2003, 2004, 2020, 2024, 2031, 2037}) EXPECT_EQ(ex.find(unassigned), nullptr);
  int errors = 0;
  for (int i = 0; i < ex.count(); ++i) errors += ex.entry(i).severity == kError;
  EXPECT_EQ(errors, 19);
  EXPECT_STREQ(ex.find(2046)->format, "Expecting %d attribute%s, found %d instead.");
  EXPECT_EQ(ex.printLevel(), 1);
  EXPECT_EQ(ex.exitLevel(), 4);
}

// Messages at the exit level end the process with status 1 after printing
// and logging their line.
class ReporterDeathTest : public ::testing::Test {
 protected:
  static void ReportInChild(const std::string& log, void (*report)()) {
    TarnErrorReporter* r = TARN().reporter();
    r->setStreams(stderr, stderr);
    r->logfile(log.c_str());
    r->logging(true);
    report();
    std::fprintf(stderr, "still running\n");
    std::exit(0);
  }
};

TEST_F(ReporterDeathTest, DatabaseErrorEndsTheProcess) {
  test::TempDir dir;
  const std::string log = dir.file("death.log");
  EXPECT_EXIT(ReportInChild(log, [] { DatabaseMessages().report(1006); }),
              ::testing::ExitedWithCode(1), "TARN: error: Could not find hash insertion point.");
  const std::string text = test::ReadFile(log);
  EXPECT_NE(text.find("TARN: error: Could not find hash insertion point.\n"), std::string::npos);
  EXPECT_NE(text.find("TARN: LOGGING ENDS"), std::string::npos) << "log closed on exit";
}

TEST_F(ReporterDeathTest, FreeTextFatalEndsTheProcess) {
  test::TempDir dir;
  EXPECT_EXIT(ReportInChild(dir.file("l"), [] { DatabaseMessages().fatal("gone %d", 3); }),
              ::testing::ExitedWithCode(1), "TARN: fatal: gone 3");
}

TEST_F(ReporterDeathTest, ExchangeErrorContinuesButFatalEnds) {
  test::TempDir dir;
  EXPECT_EXIT(ReportInChild(dir.file("l"), [] { ExchangeMessages().report(2043, "';'", "')'"); }),
              ::testing::ExitedWithCode(0), "still running");
  EXPECT_EXIT(ReportInChild(dir.file("l"), [] { ExchangeMessages().fatal("broken"); }),
              ::testing::ExitedWithCode(1), "TARN: fatal: broken");
}

}  // namespace
}  // namespace korva
