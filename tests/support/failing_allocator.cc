#include "support/failing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

bool g_failing = false;
std::size_t g_minimum = 0;

bool Fails(std::size_t size) { return g_failing && size >= g_minimum; }

void* Allocate(std::size_t size) {
  if (Fails(size)) throw std::bad_alloc();
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

namespace korva {
namespace test {

FailingAllocations::FailingAllocations(std::size_t minimum) : previous_(g_failing), previousMinimum_(g_minimum) {
  g_failing = true;
  g_minimum = minimum;
}

FailingAllocations::~FailingAllocations() {
  g_failing = previous_;
  g_minimum = previousMinimum_;
}

}  // namespace test
}  // namespace korva

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (Fails(size)) return nullptr;
  return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
