#include "cli/ifc_text.h"

#include <cstring>

namespace korva {
namespace cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t c, std::string* out) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of the `digits` hex digits at `p`, or -1 when they are not all
// hex digits (the text's end included).
long long HexGroup(const char* p, int digits) {
  long long value = 0;
  for (int i = 0; i < digits; ++i) {
    const int d = HexDigit(p[i]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

bool StartsWith(const char* p, const char* prefix) { return std::strncmp(p, prefix, std::strlen(prefix)) == 0; }

// Decodes the run after "\X2\" (digits 4) or "\X4\" (digits 8) up to its
// "\X0\" or the text's end; returns the position after it.
const char* DecodeRun(const char* p, int digits, std::string* out) {
  while (*p != '\0') {
    if (StartsWith(p, "\\X0\\")) return p + 4;
    const long long unit = HexGroup(p, digits);
    if (unit < 0) {  // a byte that breaks the run
      AppendUtf8(kReplacement, out);
      ++p;
      continue;
    }
    p += digits;
    char32_t c = static_cast<char32_t>(unit);
    if (digits == 4 && c >= 0xD800 && c <= 0xDBFF) {  // a UTF-16 high surrogate
      const long long low = HexGroup(p, 4);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + static_cast<char32_t>(low - 0xDC00);
        p += 4;
      }
    }
    AppendUtf8(c, out);
  }
  return p;
}

}  // namespace

std::string TextToUtf8(const char* text) {
  std::string out;
  const char* p = text;
  while (*p != '\0') {
    if (StartsWith(p, "\\X2\\") || StartsWith(p, "\\X4\\")) {
      p = DecodeRun(p + 4, p[2] == '2' ? 4 : 8, &out);
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(*p++);
    AppendUtf8(b >= 0x80 && b < 0xA0 ? kReplacement : b, &out);
  }
  return out;
}

}  // namespace cli
}  // namespace korva
