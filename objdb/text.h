// Small text helpers shared by the object store: comparison without regard
// to ASCII case and the string hash of the dictionaries.
#ifndef KORVA_OBJDB_TEXT_H
#define KORVA_OBJDB_TEXT_H

#include <cstdint>

namespace korva {

inline char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Equal when the texts differ at most in ASCII letter case.
bool EqualNoCase(const char* a, const char* b);

// Hash of a dictionary key: upper case folded to lower, then for every
// character hash = code * 12345 + hash + 1; 0 becomes 1.
uint32_t HashKey(const char* key);

}  // namespace korva

#endif  // KORVA_OBJDB_TEXT_H
