#include "objdb/arena.h"

#include <cstdlib>
#include <cstring>

#include "objdb/interface.h"
#include "platform/platform.h"

namespace korva {

Arena::~Arena() { clear(); }

void Arena::clear() {
  for (char* b : blocks_) std::free(b);
  blocks_.clear();
  ptr_ = nullptr;
  remaining_ = 0;
  usage_ = 0;
  nextBlock_ = kFirstBlockSize;
}

void* Arena::allocateFallback(size_t bytes) {
  // Large requests get a block of their own so the current block keeps its
  // free space.
  if (bytes > kBlockSize / 4) {
    char* block = static_cast<char*>(std::malloc(bytes));
    if (block == nullptr) TARN().report(1028);
    blocks_.push_back(block);
    usage_ += bytes;
    return block;
  }
  size_t size = kLargeBlockSize;
  if (usage_ < kLargeFrom) {
    size = nextBlock_ >= bytes ? nextBlock_ : kBlockSize;
    if (nextBlock_ < kBlockSize) nextBlock_ *= 2;
  }
  char* block = static_cast<char*>(std::malloc(size));
  if (block == nullptr) TARN().report(1028);
  if (size == kLargeBlockSize) platform::AdviseLargePages(block, size);
  blocks_.push_back(block);
  usage_ += size;
  ptr_ = block + bytes;
  remaining_ = size - bytes;
  return block;
}

char* Arena::copy(const char* text) {
  size_t n = std::strlen(text) + 1;
  char* out = static_cast<char*>(allocate(n, 1));
  std::memcpy(out, text, n);
  return out;
}

}  // namespace korva
