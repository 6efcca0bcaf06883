// The frame functions when memory runs out: they still return -1 and throw
// nothing at the host.  A program of its own, under the failing allocator
// (support/failing_allocator.h).
#include <gtest/gtest.h>

#include <string>

#include "api/korvaifc.h"
#include "objdb/interface.h"
#include "support/failing_allocator.h"
#include "support/test_util.h"

namespace {

using korva::test::WithoutMemory;

TEST(FrameWithoutMemory, CallsReturnMinusOneThrowNothingAndSaySo) {
  // Nothing made yet: OpenLogFile would have to make the reporter, so the
  // failure cannot even be told.
  korva::test::TempDir dir;
  std::string log = dir.file("memory.log");
  int result = 0;
  EXPECT_NO_THROW(result = WithoutMemory([&] { return OpenLogFile(&log[0]); }));
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(korva::test::FileExists(log));

  // With memory the same call does its work.
  EXPECT_EQ(OpenLogFile(&log[0]), -1);
  EXPECT_TRUE(korva::TARN().reporter()->isLogging());

  // Once the reporter exists a failure is reported, and the call is undone:
  // a schema folder too long to be stored without allocating.
  std::string folder = dir.path() + "/a-schema-folder-with-a-long-name";
  auto schemaPath = [] {
    const char* path = korva::TARN().schemaPath();
    return std::string(path != nullptr ? path : "<none>");
  };
  const std::string before = schemaPath();
  EXPECT_NO_THROW(result = WithoutMemory([&] { return SetSchemaPath(&folder[0]); }));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(schemaPath(), before);
  EXPECT_EQ(SetSchemaPath(&folder[0]), -1);
  EXPECT_EQ(std::string(korva::TARN().schemaPath()), folder);

  // Closing the log needs no memory: it closes, and says nothing.
  EXPECT_EQ(WithoutMemory([] { return CloseLogFile(0); }), -1);
  EXPECT_FALSE(korva::TARN().reporter()->isLogging());
  const std::string text = korva::test::ReadFile(log);
  EXPECT_EQ(text.rfind("TARN: LOGGING BEGINS ", 0), 0u) << text;
  EXPECT_NE(text.find("\nTARN: warning: SetSchemaPath failed: out of memory\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("out of memory"), text.rfind("out of memory")) << text;  // once
  EXPECT_NE(text.find("TARN: LOGGING ENDS "), std::string::npos) << text;
  EXPECT_EQ(ShutDown(), -1);
}

}  // namespace
