// The frame functions when memory runs out: they still return -1 and throw
// nothing at the host.  This program replaces the global allocation
// functions so that a test can make every allocation fail for one call; it
// is a program of its own so that no other test runs under them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "api/korvaifc.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace {

bool g_failAllocations = false;

void* Allocate(std::size_t size) {
  if (g_failAllocations) throw std::bad_alloc();
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

// Runs `call` with every allocation failing; allocation works again
// afterwards, also when the call throws.
template <typename Call>
int WithoutMemory(Call call) {
  struct Restore {
    ~Restore() { g_failAllocations = false; }
  } restore;
  g_failAllocations = true;
  return call();
}

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

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_failAllocations) return nullptr;
  return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
