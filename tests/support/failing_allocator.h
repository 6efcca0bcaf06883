// Allocation failure on demand.  Linked into a test program, failing_
// allocator.cc replaces the program's global allocation functions; while a
// FailingAllocations object lives, every allocation of at least its
// minimum size throws std::bad_alloc (the nothrow forms return null).  Only
// programs of their own link it, so that no other test runs under it.
#ifndef KORVA_TESTS_SUPPORT_FAILING_ALLOCATOR_H
#define KORVA_TESTS_SUPPORT_FAILING_ALLOCATOR_H

#include <cstddef>

namespace korva {
namespace test {

class FailingAllocations {
 public:
  // 0: every allocation fails.
  explicit FailingAllocations(std::size_t minimum = 0);
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;

 private:
  bool previous_;
  std::size_t previousMinimum_;
};

// Runs `call` with every allocation failing; allocation works again
// afterwards, also when the call throws.
template <typename Call>
auto WithoutMemory(Call call) {
  FailingAllocations failing;
  return call();
}

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_FAILING_ALLOCATOR_H
