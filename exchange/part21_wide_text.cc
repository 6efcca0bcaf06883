#include "exchange/part21_wide_text.h"

#include <cstring>

namespace korva {
namespace {

// The value of an upper-case hexadecimal digit, or -1.
int UpperHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::size_t KeptEscapeLength(const char* text, std::size_t length) {
  // The shortest: "\X2\" + 4 digits + "\X0\".
  if (length < 12 || text[0] != '\\' || text[1] != 'X' || (text[2] != '2' && text[2] != '4') || text[3] != '\\')
    return 0;
  const std::size_t group = KeptEscapeGroup(text);
  std::size_t at = 4;
  for (;;) {
    if (length - at >= 4 && std::memcmp(text + at, "\\X0\\", 4) == 0) return at > 4 ? at + 4 : 0;
    if (length - at < group) return 0;
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < group; ++i) {
      const int digit = UpperHexValue(text[at + i]);
      if (digit < 0) return 0;
      code = code * 16 + static_cast<std::uint32_t>(digit);
    }
    if (!KeptAsEscape(code)) return 0;
    at += group;
  }
}

}  // namespace korva
