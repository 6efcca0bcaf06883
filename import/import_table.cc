#include "import/import_table.h"

#include <cstring>

#include "api/library_state.h"

namespace korva {

namespace {
unsigned g_allocations = 0;

size_t Limit(TextKind kind) { return kind == TextKind::kGlobalId ? kGlobalIdLength : kLongestText; }

// The length of `text`, counted up to limit + 1 at the most.
size_t BoundedLength(const char* text, size_t limit) {
  size_t n = 0;
  while (n <= limit && text[n] != '\0') ++n;
  return n;
}
}  // namespace

unsigned LiveGeneration() { return LibraryState::get().generation(); }

bool FitsHost(const char* text, TextKind kind) { return BoundedLength(text, Limit(kind)) <= Limit(kind); }

void CopyText(const char* text, unsigned generation, char* buffer, TextKind kind) {
  if (text == nullptr || buffer == nullptr) return;
  // Text of a design that a shutdown has destroyed is not touched.
  if (text != kBlankField && !LibraryState::get().isLive(generation)) return;
  size_t length = BoundedLength(text, Limit(kind));
  if (length > Limit(kind)) length = kind == TextKind::kGlobalId ? 0 : kLongestText;
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

unsigned TableAllocations() { return g_allocations; }

unsigned NextTableAllocation() { return ++g_allocations; }

}  // namespace korva
