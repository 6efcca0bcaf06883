#include "objdb/text.h"

namespace korva {

bool EqualNoCase(const char* a, const char* b) {
  if (a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (FoldCase(*a) != FoldCase(*b)) return false;
  return *a == *b;
}

uint32_t HashKey(const char* key) {
  uint32_t hash = 0;
  for (const char* p = key; *p != '\0'; ++p)
    hash = static_cast<uint32_t>(static_cast<unsigned char>(FoldCase(*p))) * 12345u + hash + 1u;
  return hash == 0 ? 1 : hash;
}

}  // namespace korva
