#include "exchange/part21_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "exchange/part21_wide_text.h"
#include "objdb/values.h"

namespace korva {
namespace {

const char kNonFinite[] = "$ /* Inf or NaN */";
const char kHexDigits[] = "0123456789ABCDEF";

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Turns the "%.<precision>g" text of to_chars at `text` (length n) into its
// exchange-file form in place and returns the new length.  The caller leaves
// one spare byte after the text for the added decimal point.
std::size_t FixUpReal(char* text, std::size_t n) {
  if (n == 2 && text[0] == '-' && text[1] == '0') {
    text[0] = '0';
    text[1] = '.';
    return 2;
  }
  // One pass over the few characters: the end of the mantissa and whether
  // it has a point.
  std::size_t mantissa = 0;
  bool point = false;
  for (; mantissa < n && text[mantissa] != 'e'; ++mantissa) point = point || text[mantissa] == '.';
  if (mantissa < n) text[mantissa] = 'E';
  if (point) return n;
  std::memmove(text + mantissa + 1, text + mantissa, n - mantissa);
  text[mantissa] = '.';
  return n + 1;
}

// True when every byte stands for itself inside a quoted string.
bool IsPlainText(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c > 126 || c == '\'' || c == '\\') return false;
  }
  return true;
}

std::size_t CopyNonFinite(char* out) {
  std::memcpy(out, kNonFinite, sizeof kNonFinite - 1);
  return sizeof kNonFinite - 1;
}

// The text of a double attribute value at `out` (kRealTextSize bytes of
// room), without a terminating NUL.
//
// to_chars with a precision produces exactly the digits of printf's "%.<p>g"
// (both exponent forms have at least two digits), several times faster and
// independently of the C runtime, some of which write three exponent digits.
//
// NaN is one of the double null markers, and the null test comes before the
// non-finite one, so a NaN double is written "$"; only the infinities get the
// "Inf or NaN" comment.
std::size_t FormatRealInto(double value, char* out) {
  if (value == kUnsetReal || std::isnan(value)) {
    out[0] = '$';
    return 1;
  }
  if (std::isinf(value)) return CopyNonFinite(out);
  // %.15G needs at most 22 characters ("-1.23456789012345e-308"); two bytes
  // stay free for the added point and a NUL.
  std::to_chars_result r =
      std::to_chars(out, out + kRealTextSize - 2, value, std::chars_format::general, 15);
  return FixUpReal(out, static_cast<std::size_t>(r.ptr - out));
}

std::size_t FormatSingleRealInto(float value, char* out) {
  if (!std::isfinite(value)) return CopyNonFinite(out);
  std::to_chars_result r =
      std::to_chars(out, out + kRealTextSize - 2, value, std::chars_format::general, 7);
  return FixUpReal(out, static_cast<std::size_t>(r.ptr - out));
}

}  // namespace

std::string_view FormatReal(double value, char* buf) {
  std::size_t n = FormatRealInto(value, buf);
  buf[n] = '\0';
  return std::string_view(buf, n);
}

std::string_view FormatSingleReal(float value, char* buf) {
  std::size_t n = FormatSingleRealInto(value, buf);
  buf[n] = '\0';
  return std::string_view(buf, n);
}

Part21Output::Part21Output(std::FILE* file, std::size_t bufferSize)
    : file_(file),
      buffer_(new char[std::max(bufferSize, kMinimumBufferSize)]),
      capacity_(std::max(bufferSize, kMinimumBufferSize)) {}

Part21Output::~Part21Output() { flush(); }

void Part21Output::drain() {
  if (used_ == 0) return;
  if (std::fwrite(buffer_.get(), 1, used_, file_) != used_) shortWrite_ = true;
  used_ = 0;
}

bool Part21Output::flush() {
  drain();
  std::fflush(file_);
  return !failed();
}

bool Part21Output::error() { return !flush(); }

bool Part21Output::failed() const { return shortWrite_ || std::ferror(file_) != 0; }

void Part21Output::putRun(const char* text, std::size_t n) {
  column_ += static_cast<unsigned>(n);
  while (n > 0) {
    if (used_ == capacity_) drain();
    std::size_t k = std::min(n, capacity_ - used_);
    std::memcpy(buffer_.get() + used_, text, k);
    used_ += k;
    text += k;
    n -= k;
  }
}

void Part21Output::writeChar(char c) {
  if (c == '\n') {
    writeNewline();
    return;
  }
  put(c);
  ++column_;
}

void Part21Output::writeNewline() {
  put('\n');
  column_ = 0;
}

void Part21Output::writeKeyword(std::string_view text) {
  for (;;) {
    std::size_t nl = text.find('\n');
    if (nl == std::string_view::npos) {
      putRun(text.data(), text.size());
      return;
    }
    putRun(text.data(), nl);
    writeNewline();
    text.remove_prefix(nl + 1);
  }
}

void Part21Output::writeIdentifier(std::string_view name) {
  for (char c : name) put(UpperAscii(c));
  column_ += static_cast<unsigned>(name.size());
}

void Part21Output::writeComma() {
  bool wrap = column_ >= kWrapColumn;
  put(',');
  ++column_;
  if (wrap) writeNewline();
}

void Part21Output::writeEndRecord() {
  put(';');
  writeNewline();
}

void Part21Output::writeComment(std::string_view text) {
  putRun("/* ", 3);
  writeKeyword(text);
  putRun(" */", 3);
}

void Part21Output::writeAttributeLabel(std::string_view name) {
  writeNewline();
  putRun("/* ", 3);
  writeKeyword(name);
  putRun(" */ ", 4);
}

void Part21Output::writeInteger(int32_t value) {
  if (value == kUnsetInteger) {
    writeNull();
    return;
  }
  char* p = reserve(12);
  std::size_t n = static_cast<std::size_t>(std::to_chars(p, p + 12, value).ptr - p);
  used_ += n;
  column_ += static_cast<unsigned>(n);
}

void Part21Output::writeReal(double value) {
  std::size_t n = FormatRealInto(value, reserve(kRealTextSize));
  used_ += n;
  column_ += static_cast<unsigned>(n);
}

void Part21Output::writeSingleReal(float value) {
  std::size_t n = FormatSingleRealInto(value, reserve(kRealTextSize));
  used_ += n;
  column_ += static_cast<unsigned>(n);
}

void Part21Output::writeLogical(int stored) {
  switch (stored) {
    case 0: putRun(".F.", 3); break;
    case 1: putRun(".T.", 3); break;
    case 2: putRun(".U.", 3); break;
    default: writeNull(); break;
  }
}

void Part21Output::writeString(const char* text) {
  if (text == nullptr) {
    writeNull();
    return;
  }
  writeString(text, std::strlen(text));
}

void Part21Output::writeString(const char* text, std::size_t length) {
  if (text == nullptr) {
    writeNull();
    return;
  }
  if (length > kStringColumns || column_ + length >= kWrapColumn) writeNewline();
  writeChar('\'');
  // Most strings (GlobalIds, names) need neither escapes nor a line break:
  // they are copied as they are.
  if (column_ + length <= kStringColumns && IsPlainText(text, length)) {
    putRun(text, length);
    writeChar('\'');
    return;
  }
  // The line check follows the whole form of each byte, so that a doubled
  // quote or an \X\hh escape never straddles a line end.
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\\') {
      if (const std::size_t kept = KeptEscapeLength(text + i, length - i)) {
        writeKeptEscape(text + i, kept);
        i += kept - 1;
        continue;
      }
    }
    if (c >= 32 && c <= 126) {
      if (c == '\'' || c == '\\') {
        put(static_cast<char>(c));
        ++column_;
      }
      put(static_cast<char>(c));
      ++column_;
    } else {
      char* p = reserve(5);
      p[0] = '\\';
      p[1] = 'X';
      p[2] = '\\';
      p[3] = kHexDigits[c >> 4];
      p[4] = kHexDigits[c & 15];
      used_ += 5;
      column_ += 5;
    }
    if (column_ > kStringColumns) writeNewline();
  }
  writeChar('\'');
}

// A kept escape as it is: its opening, each character's digits and its
// closing, the line broken between them (never inside one) once the column
// passes the limit.  The reader drops line ends inside a run.
void Part21Output::writeKeptEscape(const char* text, std::size_t length) {
  const std::size_t group = KeptEscapeGroup(text);
  auto unit = [this](const char* from, std::size_t n) {
    putRun(from, n);
    if (column_ > kStringColumns) writeNewline();
  };
  unit(text, 4);
  for (std::size_t at = 4; at + 4 < length; at += group) unit(text + at, group);
  unit(text + length - 4, 4);
}

void Part21Output::writeBinary(const char* text) {
  if (text == nullptr) {
    writeNull();
    return;
  }
  writeChar('"');
  putRun(text, std::strlen(text));
  writeChar('"');
}

void Part21Output::writeEnumeration(const char* name) {
  if (name == nullptr || name[0] == '\0') {
    writeNull();
    return;
  }
  writeChar('.');
  writeIdentifier(name);
  writeChar('.');
}

void Part21Output::writeReference(uint32_t number) {
  char* p = reserve(11);
  p[0] = '#';
  std::size_t n = static_cast<std::size_t>(std::to_chars(p + 1, p + 11, number).ptr - p);
  used_ += n;
  column_ += static_cast<unsigned>(n);
}

void Part21Output::openTyped(std::string_view typeName) {
  writeIdentifier(typeName);
  writeChar('(');
}

}  // namespace korva
