// The arena's blocks: small first, doubling to their full size, large
// requests in blocks of their own, everything aligned.
#include "objdb/arena.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace korva {
namespace {

TEST(Arena, BlocksGrowFromSmall) {
  Arena arena;
  EXPECT_EQ(arena.memoryUsage(), 0u);
  char* first = static_cast<char*>(arena.allocate(10, 1));
  EXPECT_EQ(arena.memoryUsage(), 16u * 1024);
  // The rest of the first block, then the next, twice as large.
  for (int i = 0; i < 1600; ++i) {
    void* p = arena.allocate(10, 16);
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u);
  }
  EXPECT_EQ(arena.memoryUsage(), (16u + 32u) * 1024);
  // A large request takes a block of its own and leaves the sequence alone.
  arena.allocate(100 * 1024);
  EXPECT_EQ(arena.memoryUsage(), (16u + 32u + 100u) * 1024);
  for (int i = 0; i < 7; ++i) arena.allocate(60 * 1024);  // 1 + 2 + 4 per block
  EXPECT_EQ(arena.memoryUsage(), (16u + 32u + 100u + 64u + 128u + 256u) * 1024);
  first[9] = 'x';  // still writable: nothing moved
  arena.clear();
  EXPECT_EQ(arena.memoryUsage(), 0u);
  arena.allocate(10);
  EXPECT_EQ(arena.memoryUsage(), 16u * 1024);
}

}  // namespace
}  // namespace korva
