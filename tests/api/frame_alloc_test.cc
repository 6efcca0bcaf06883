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
