// Allocation that fails when a test asks.  A program that links
// failing_allocation.cc replaces the global operator new and delete for
// everything it runs; it is a program of its own for that reason.
#ifndef KORVA_TESTS_SUPPORT_FAILING_ALLOCATION_H
#define KORVA_TESTS_SUPPORT_FAILING_ALLOCATION_H

namespace korva {
namespace test {

// While set, every allocation fails: operator new throws std::bad_alloc,
// the nothrow forms return null.
void FailAllocations(bool fail);

// Runs `call` with every allocation failing; allocation works again
// afterwards, also when the call throws.
template <typename Call>
auto WithoutMemory(Call call) {
  struct Restore {
    ~Restore() { FailAllocations(false); }
  } restore;
  FailAllocations(true);
  return call();
}

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_FAILING_ALLOCATION_H
