// A bump allocator over large blocks: instances, aggregate blocks and
// strings of one design live in its arena and are freed together when the
// design goes.  Individual allocations are never freed.
#ifndef KORVA_OBJDB_ARENA_H
#define KORVA_OBJDB_ARENA_H

#include <cstddef>
#include <vector>

namespace korva {

class Arena {
 public:
  Arena() = default;
  ~Arena();
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  // `bytes` of storage aligned to `align` (a power of two, at most 16);
  // never null (an exhausted heap reports 1028, which ends the process).
  void* allocate(size_t bytes, size_t align = 16);
  // A copy of the text in the arena.
  char* copy(const char* text);
  // Frees every block.
  void clear();
  // Bytes reserved from the heap.
  size_t memoryUsage() const { return usage_; }

 private:
  void* allocateFallback(size_t bytes);

  // Blocks start at 16 KB and double up to 256 KB (a small design, such as
  // the header of a file, takes little), until the arena holds kLargeFrom
  // bytes; then they are 8 MB, advised to large pages (a big design is
  // walked more cheaply).
  static constexpr size_t kFirstBlockSize = 16 * 1024;
  static constexpr size_t kBlockSize = 256 * 1024;
  static constexpr size_t kLargeBlockSize = 8 * 1024 * 1024;
  static constexpr size_t kLargeFrom = 16 * 1024 * 1024;
  char* ptr_ = nullptr;
  size_t remaining_ = 0;
  size_t usage_ = 0;
  size_t nextBlock_ = kFirstBlockSize;
  std::vector<char*> blocks_;
};

inline void* Arena::allocate(size_t bytes, size_t align) {
  size_t pad = (align - (reinterpret_cast<size_t>(ptr_) & (align - 1))) & (align - 1);
  if (bytes + pad <= remaining_) {
    char* result = ptr_ + pad;
    ptr_ = result + bytes;
    remaining_ -= bytes + pad;
    return result;
  }
  return allocateFallback(bytes);
}

}  // namespace korva

#endif  // KORVA_OBJDB_ARENA_H
