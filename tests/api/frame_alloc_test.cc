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

TEST(FrameWithoutMemory, CallsReturnMinusOneAndThrowNothing) {
  // Nothing made yet: OpenLogFile would have to make the reporter.
  korva::test::TempDir dir;
  std::string log = dir.file("memory.log");
  int result = 0;
  EXPECT_NO_THROW(result = WithoutMemory([&] { return OpenLogFile(&log[0]); }));
  EXPECT_EQ(result, -1);

  // A schema folder too long to be stored without allocating.
  std::string folder = dir.path() + "/a-schema-folder-with-a-long-name";
  EXPECT_NO_THROW(result = WithoutMemory([&] { return SetSchemaPath(&folder[0]); }));
  EXPECT_EQ(result, -1);

  // With memory the same calls do their work.
  EXPECT_EQ(OpenLogFile(&log[0]), -1);
  EXPECT_TRUE(korva::TARN().reporter()->isLogging());
  EXPECT_EQ(SetSchemaPath(&folder[0]), -1);
  EXPECT_EQ(std::string(korva::TARN().schemaPath()), folder);
  EXPECT_EQ(WithoutMemory([] { return CloseLogFile(0); }), -1);
  EXPECT_FALSE(korva::TARN().reporter()->isLogging());
  EXPECT_EQ(korva::test::ReadFile(log).rfind("TARN: LOGGING BEGINS ", 0), 0u);
  EXPECT_EQ(ShutDown(), -1);
}

}  // namespace
