#include "exchange/part21_tokenizer.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "exchange/part21_wide_text.h"
#include "objdb/error_category.h"
#include "objdb/interface.h"

namespace korva {
namespace {

constexpr int kEof = -1;

const char* const kTokenNames[] = {
    nullptr,                   // 0
    "unreadable token",        // 1
    "end of file",             // 2
    "binary",                  // 3
    "'$'",                     // 4
    "','",                     // 5
    "'DATA'",                  // 6
    nullptr,                   // 7
    "'ENDSCOPE'",              // 8
    "'ENDSEC'",                // 9
    "'END-ISO-10303-21'",      // 10
    "entity declaration",      // 11
    "entity reference",        // 12
    "enumeration",             // 13
    "'='",                     // 14
    "'HEADER'",                // 15
    "integer",                 // 16
    "keyword",                 // 17
    "'('",                     // 18
    "'*'",                     // 19
    "real",                    // 20
    "')'",                     // 21
    "'&SCOPE'",                // 22
    "';'",                     // 23
    "'/'",                     // 24
    "'ISO-10303-21'",          // 25
    "string",                  // 26
    "user-defined keyword",    // 27
};

// What a character starts between tokens.
enum StartClass : unsigned char {
  kIgnorable,   // blank, newline, tab, control, non-ASCII
  kWord,        // A-Z, a-z, _, ! and &
  kEntity,      // #
  kString,      // '
  kBinaryStart, // "
  kEnum,        // .
  kNumber,      // + - 0-9
  kSingle,      // $ , = ; * ( )
  kSlash,       // /
  kBackslash,   // \ (a control directive)
  kUnexpected,  // every other printable character
};

struct StartTable {
  unsigned char cls[256];
  constexpr void set(const char* chars, unsigned char value) {
    for (; *chars != '\0'; ++chars) cls[static_cast<unsigned char>(*chars)] = value;
  }
  constexpr StartTable() : cls() {
    for (int c = 0; c < 256; ++c) cls[c] = kIgnorable;
    for (int c = 33; c < 127; ++c) cls[c] = kUnexpected;
    for (int c = 'A'; c <= 'Z'; ++c) cls[c] = kWord;
    for (int c = 'a'; c <= 'z'; ++c) cls[c] = kWord;
    set("_!&", kWord);
    set("#", kEntity);
    set("'", kString);
    set("\"", kBinaryStart);
    set(".", kEnum);
    set("0123456789+-", kNumber);
    set("$,=;*()", kSingle);
    set("/", kSlash);
    set("\\", kBackslash);
  }
};
constexpr StartTable kStart;

// Keyword characters upper-cased; 0 for any other byte.
struct KeywordTable {
  char map[256];
  constexpr KeywordTable() : map() {
    for (int c = 'A'; c <= 'Z'; ++c) map[c] = static_cast<char>(c);
    for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<char>(c - ('a' - 'A'));
    for (int c = '0'; c <= '9'; ++c) map[c] = static_cast<char>(c);
    map[static_cast<unsigned char>('_')] = '_';
    map[static_cast<unsigned char>('-')] = '-';
  }
};
constexpr KeywordTable kKeywordChars;

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsUpper(int c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(int c) { return c >= 'a' && c <= 'z'; }
bool IsPrintable(int c) { return c >= 32 && c <= 126; }
bool IsHex(int c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int HexValue(int c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}
// Characters that end a keyword without being part of it or being reported.
bool IsSpace(int c) {
  return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Short decimals are converted directly: a mantissa of at most 2^53 and a
// power of ten of at most 22 are exact doubles, so one multiplication or
// division rounds the value correctly, as from_chars does.  False for the
// others (longer mantissas, larger exponents), left to from_chars.
// `begin` holds an optional '-', digits, a point, digits and an optional
// exponent with a sign and digits.
bool ShortDecimal(const char* begin, const char* end, double* out) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = begin;
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction = 0;
  bool point = false;
  for (; p != end && *p != 'E' && *p != 'e'; ++p) {
    if (*p == '.') {
      point = true;
      continue;
    }
    if (!IsDigit(*p) || ++digits > 19) return false;
    mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    if (point) ++fraction;
  }
  int exponent = 0;
  if (p != end) {  // the exponent
    ++p;
    bool minus = false;
    if (p != end && (*p == '-' || *p == '+')) minus = *p++ == '-';
    if (p == end || end - p > 3) return false;
    for (; p != end; ++p) {
      if (!IsDigit(*p)) return false;
      exponent = exponent * 10 + (*p - '0');
    }
    if (minus) exponent = -exponent;
  }
  const int power = exponent - fraction;
  if (mantissa > (std::uint64_t{1} << 53) || power < -22 || power > 22) return false;
  double value = static_cast<double>(mantissa);
  value = power < 0 ? value / kPowers[-power] : value * kPowers[power];
  *out = negative ? -value : value;
  return true;
}

}  // namespace

const char* Part21Tokenizer::TokenName(int code) {
  if (code < 1 || code > kP21UserKeyword || kTokenNames[code] == nullptr) return "other token";
  return kTokenNames[code];
}

const char* Part21Tokenizer::FoundText(int code, const char* text) {
  if ((code == kP21Keyword || code == kP21UserKeyword) && text != nullptr) return text;
  return TokenName(code);
}

int Part21Tokenizer::KeywordCode(const char* text, std::size_t length) {
  // The reserved words differ in length except the three of six letters,
  // which differ in their first letter.
  switch (length) {
    case 4:
      if (std::memcmp(text, "DATA", 4) == 0) return kP21Data;
      break;
    case 6:
      switch (text[0]) {
        case 'H':
          if (std::memcmp(text, "HEADER", 6) == 0) return kP21Header;
          break;
        case 'E':
          if (std::memcmp(text, "ENDSEC", 6) == 0) return kP21EndSec;
          break;
        case '&':
          if (std::memcmp(text, "&SCOPE", 6) == 0) return kP21Scope;
          break;
      }
      break;
    case 8:
      if (std::memcmp(text, "ENDSCOPE", 8) == 0) return kP21EndScope;
      break;
    case 12:
      if (std::memcmp(text, "ISO-10303-21", 12) == 0) return kP21Iso;
      break;
    case 16:
      if (std::memcmp(text, "END-ISO-10303-21", 16) == 0) return kP21EndIso;
      break;
  }
  return kP21Keyword;
}

// ---------------------------------------------------------------------------
// Life cycle

Part21Tokenizer::Part21Tokenizer(std::FILE* stream, const char* fileName)
    : fileName_(fileName != nullptr ? fileName : ""),
      context_(fileName != nullptr ? fileName_.c_str() : nullptr, 1),
      stream_(stream),
      block_(kBlockSize) {
  begin_ = cur_ = end_ = block_.data();
  init();
}

Part21Tokenizer::Part21Tokenizer(const char* data, std::size_t size, const char* fileName)
    : fileName_(fileName != nullptr ? fileName : ""),
      context_(fileName != nullptr ? fileName_.c_str() : nullptr, 1) {
  begin_ = cur_ = data;
  end_ = data + size;
  init();
}

void Part21Tokenizer::init() {
  buffer_ = static_cast<char*>(std::malloc(kInitialTokenSize));
  if (buffer_ != nullptr) {
    capacity_ = kInitialTokenSize;
    buffer_[0] = '\0';
  }
  reporter_ = TARN().reporter();
  reporter_->pushContext(&context_);
}

Part21Tokenizer::~Part21Tokenizer() {
  endReading();
  std::free(buffer_);
}

void Part21Tokenizer::endReading() {
  if (reporter_ == nullptr) return;
  reporter_->popContext();
  reporter_ = nullptr;
}

void Part21Tokenizer::warn(const char* format, ...) {
  context_.setLine(line_);
  va_list args;
  va_start(args, format);
  ExchangeMessages().vtext(kWarning, format, args);
  va_end(args);
}

// ---------------------------------------------------------------------------
// Input and token buffer

int Part21Tokenizer::refill() {
  if (stream_ == nullptr || inputEnded_) return kEof;
  std::size_t n = std::fread(block_.data(), 1, block_.size(), stream_);
  if (n == 0) {
    inputEnded_ = true;
    return kEof;
  }
  begin_ = cur_ = block_.data();
  end_ = cur_ + n;
  return static_cast<unsigned char>(*cur_++);
}

bool Part21Tokenizer::grow() {
  std::size_t want = capacity_ != 0 ? capacity_ * 2 : kInitialTokenSize;
  if (want <= capacity_ || want > maxTokenSize_) return false;
  char* bigger = static_cast<char*>(std::realloc(buffer_, want));
  if (bigger == nullptr) return false;
  buffer_ = bigger;
  capacity_ = want;
  return true;
}

int Part21Tokenizer::tooLong() {
  warn("Excessively long token, could not allocate memory.");
  exhausted_ = true;
  return endOfInput();
}

int Part21Tokenizer::endOfInput() {
  length_ = 0;
  return kP21EndOfFile;
}

// ---------------------------------------------------------------------------
// Tokens

int Part21Tokenizer::next() {
  // The usual case: nothing given back, replayed or recorded.
  if (!(pushedBack_ || recording_ || !replay_.empty())) {
    // Commas and parentheses, half of all tokens, straight from the block.
    if (pushbackCount_ == 0 && cur_ != end_ && !exhausted_ && capacity_ >= 8) {
      const char c = *cur_;
      int code = 0;
      if (c == ',') {
        code = kP21Comma;
      } else if (c == '(') {
        code = kP21OpenParen;
        ++depth_;
      } else if (c == ')') {
        code = kP21CloseParen;
        if (depth_ > 0) --depth_;
      }
      if (code != 0) {
        ++cur_;
        buffer_[0] = c;
        buffer_[1] = '\0';
        length_ = 1;
        integer_ = 0;
        real_ = 0.0;
        instance_ = 0;
        token_ = code;
        text_ = buffer_;
        textLength_ = 1;
        textInReplay_ = false;
        tokenLine_ = line_;
        tokenDepth_ = depth_;
        context_.setLine(line_);
        currentRecorded_ = false;
        return code;
      }
    }
    scanToken();
    currentRecorded_ = false;
    return token_;
  }
  if (pushedBack_) {
    pushedBack_ = false;
    if (recording_ && !currentRecorded_) record();
    return token_;
  }
  if (replayPos_ < replay_.size()) {
    const Recorded& r = replay_[replayPos_++];
    token_ = r.code;
    integer_ = r.integer;
    real_ = r.real;
    instance_ = r.instance;
    tokenLine_ = r.line;
    tokenDepth_ = r.depth;
    text_ = replayText_.data() + r.textOffset;
    textLength_ = r.textLength;
    textInReplay_ = true;
    context_.setLine(r.line);
  } else {
    if (!replay_.empty()) {
      replay_.clear();
      replayText_.clear();
      replayPos_ = 0;
    }
    scanToken();
  }
  currentRecorded_ = false;
  if (recording_) record();
  return token_;
}

void Part21Tokenizer::scanToken() {
  token_ = scan();
  if (buffer_ != nullptr) {
    buffer_[length_] = '\0';
    text_ = buffer_;
  } else {
    text_ = "";
  }
  textLength_ = length_;
  textInReplay_ = false;
  // The look for '=' may have passed line ends.
  tokenLine_ = (token_ == kP21EntityReference || token_ == kP21EntityDeclaration) ? entityLine_ : line_;
  tokenDepth_ = depth_;
  context_.setLine(tokenLine_);
}

bool Part21Tokenizer::expect(int code) {
  if (token_ == code) {
    next();
    return true;
  }
  ExchangeMessages().report(2043, TokenName(code), foundText());
  return false;
}

int Part21Tokenizer::scan() {
  length_ = 0;
  integer_ = 0;
  real_ = 0.0;
  instance_ = 0;
  if (exhausted_) return kP21EndOfFile;
  if (!room()) return tooLong();
  for (;;) {
    int c = get();
    if (c == kEof) return kP21EndOfFile;
    switch (kStart.cls[c]) {
      case kIgnorable:
        skipIgnorable(c);
        continue;
      case kWord:
        return scanKeyword(c);
      case kEntity:
        return scanEntity();
      case kString:
        return scanString();
      case kBinaryStart:
        return scanBinary();
      case kEnum:
        return scanEnumeration();
      case kNumber:
        return scanNumber(c);
      case kSingle:
        put(c);
        if (c == ',') return kP21Comma;
        if (c == '(') {
          ++depth_;
          return kP21OpenParen;
        }
        if (c == ')') {
          if (depth_ > 0) --depth_;
          return kP21CloseParen;
        }
        switch (c) {
          case '$': return kP21Dollar;
          case '=': return kP21Equals;
          case ';': return kP21Semicolon;
          default: return kP21Star;
        }
      case kSlash: {
        int d = get();
        if (d == '*') {
          skipComment();
          continue;
        }
        unget(d);
        put('/');
        return kP21Slash;
      }
      case kBackslash: {
        // A broken directive: its last character starts the next token.
        int broke = 0;
        if (!readDirective(&broke)) unget(broke);
        continue;
      }
      default:
        warn("Unexpected character '%c'.", c);
        continue;
    }
  }
}

// Skips a character that separates tokens, counting lines and irregular
// characters; false for any other character.
bool Part21Tokenizer::skipIgnorable(int c) {
  switch (c) {
    case ' ':
    case '\r':
    case '\v':
    case '\f':
      return true;
    case '\n':
      ++line_;
      return true;
    case '\t':
      ++tabs_;
      return true;
    default:
      if (c >= 0 && c < 32) {
        ++controls_;
        return true;
      }
      if (c > 126) {
        ++nonAscii_;
        return true;
      }
      return false;
  }
}

// After "/*": up to and including "*/".
void Part21Tokenizer::skipComment() {
  int previous = 0;
  for (;;) {
    int c = get();
    if (c == kEof) {
      warn("End of file in comment.");
      return;
    }
    if (c == '\n') {
      ++line_;
    } else if (c == '/' && previous == '*') {
      return;
    }
    previous = c;
  }
}

// After a backslash: reads the rest of \N\ or \F\ and returns true.
// Anything else is reported; the character that broke the directive is
// left in *broke.
bool Part21Tokenizer::readDirective(int* broke) {
  int c = get();
  if (c == 'N' || c == 'F') {
    int d = get();
    if (d == '\\') return true;
    c = d;
  }
  warn("Illegal control directive.");
  *broke = c;
  return false;
}

// Keywords, user-defined keywords (first == '!') and &SCOPE (first == '&').
int Part21Tokenizer::scanKeyword(int first) {
  bool lower = false;
  if (IsLower(first)) {
    lower = true;
    first -= 'a' - 'A';
  }
  put(first);
  bool hyphen = false;
  for (;;) {
    // Runs of keyword characters straight from the block buffer.
    // (Members are copied to locals: stores into the buffer could alias them.)
    if (pushbackCount_ == 0) {
      const char* p = cur_;
      const char* const end = end_;
      char* buffer = buffer_;
      std::size_t length = length_;
      std::size_t capacity = capacity_;
      while (p != end) {
        unsigned char u = static_cast<unsigned char>(*p);
        char k = kKeywordChars.map[u];
        if (k == 0) break;
        if (capacity - length < 8) {
          length_ = length;
          if (!grow()) {
            cur_ = p;
            return tooLong();
          }
          buffer = buffer_;
          capacity = capacity_;
        }
        lower |= k != static_cast<char>(u);
        hyphen |= k == '-';
        buffer[length++] = k;
        ++p;
      }
      length_ = length;
      cur_ = p;
    }
    int c = get();
    if (c != kEof && kKeywordChars.map[c] != 0) {  // after a pushback
      if (!room()) return tooLong();
      lower |= IsLower(c);
      hyphen |= c == '-';
      put(kKeywordChars.map[c]);
    } else if (c == kEof || IsPrintable(c) || IsSpace(c)) {
      unget(c);
      break;
    } else {
      warn("Illegal character %#.2x in keyword, ignored.", c);
    }
  }
  buffer_[length_] = '\0';
  if (lower) ++lowerKeywords_;

  if (first == '!') {
    if (length_ == 1) {
      warn("Empty user-defined keyword.");
      return kP21Unreadable;
    }
    if (hyphen) {
      warn("Illegal hyphens in keyword %s.", buffer_);
      return kP21Unreadable;
    }
    return kP21UserKeyword;
  }
  int code = KeywordCode(buffer_, length_);
  if (first == '&') {
    if (code == kP21Scope) return code;
    warn("Expecting &SCOPE, found %s.", buffer_);
    return kP21Unreadable;
  }
  if (code == kP21Keyword && hyphen) {
    warn("Illegal hyphens in keyword %s.", buffer_);
    return kP21Unreadable;
  }
  return code;
}

// After the opening quote.
int Part21Tokenizer::scanString() {
  const int startLine = line_;
  for (;;) {
    // Runs of plain characters are copied straight from the block buffer.
    if (pushbackCount_ == 0) {
      const char* p = cur_;
      while (p != end_) {
        unsigned char u = static_cast<unsigned char>(*p);
        if (u < 32 || u > 126 || u == '\'' || u == '\\') break;
        ++p;
      }
      // As many bytes as single puts would store before the buffer must grow.
      std::size_t n = static_cast<std::size_t>(p - cur_);
      while (n != 0) {
        if (!room()) return tooLong();
        std::size_t take = std::min(n, capacity_ - length_ - 7);
        std::memcpy(buffer_ + length_, cur_, take);
        length_ += take;
        cur_ += take;
        n -= take;
      }
    }
    int c = get();
    if (IsPrintable(c) && c != '\'' && c != '\\') {
      if (!room()) return tooLong();
      put(c);
    } else if (c == '\'') {
      int d = get();
      if (d != '\'') {
        unget(d);
        return kP21String;
      }
      if (!room()) return tooLong();
      put('\'');
    } else if (c == '\\') {
      if (!stringDirective()) return tooLong();
    } else if (c == '\n') {
      ++line_;
    } else if (c == '\r') {
      // dropped
    } else if (c == kEof) {
      warn("End of file in string on line %d", startLine);
      return endOfInput();
    } else {
      warn("Illegal character %#.2x in string, ignored.", c);
    }
  }
}

// True when `c` is the backslash that closes a directive.  Otherwise `c` is
// read again by the caller's loop, with a warning unless it is the end of
// the input (which the string reports itself).
bool Part21Tokenizer::closingBackslash(int c) {
  if (c == '\\') return true;
  if (c != kEof) warn("Unterminated control directive.");
  unget(c);
  return false;
}

// After a backslash inside a string.  False when the token buffer cannot
// grow.
bool Part21Tokenizer::stringDirective() {
  int c = get();
  switch (c) {
    case '\\':
      if (!room()) return false;
      put('\\');
      return true;
    case 'S': {
      if (!closingBackslash(get())) return true;
      int d = get();
      // A line break between the directive and its character is the
      // writer's, not part of the text.
      while (d == '\n' || d == '\r') {
        if (d == '\n') ++line_;
        d = get();
      }
      if (IsPrintable(d)) {
        if (!room()) return false;
        put(d + 128);
      } else {
        unget(d);
      }
      return true;
    }
    case 'P': {
      int d = get();
      if (IsUpper(d) || IsLower(d)) {
        if (d < 'A' || d > 'I') warn("Bad ISO 8859 alphabet, ignored.");
        closingBackslash(get());
      } else {
        closingBackslash(d);
      }
      return true;
    }
    case 'X': {
      int d = get();
      if (d == '\\') {
        int h = get();
        if (!IsHex(h)) {
          if (h != kEof) warn("Bad hex encoding.");
          unget(h);
          return true;
        }
        int l = get();
        if (!IsHex(l)) {
          if (l != kEof) warn("Bad hex encoding.");
          unget(l);
          return true;
        }
        int value = HexValue(h) * 16 + HexValue(l);
        if (value == 0) {
          warn("Null character '\\X\\00' not allowed in string.");
          return true;
        }
        if (!room()) return false;
        put(value);
        return true;
      }
      if (d == '2' || d == '4') {
        if (closingBackslash(get())) return hexRun(d == '2' ? 4 : 8);
        return true;
      }
      if (d == '0') {
        if (closingBackslash(get())) warn("End hex '\\X0\\' without start specifier.");
        return true;
      }
      if (d != kEof) warn("Illegal control directive in string.");
      unget(d);
      return true;
    }
    case 'N':
    case 'F':
      closingBackslash(get());
      return true;
    case kEof:
      unget(c);
      return true;
    default:
      warn("Illegal control directive in string.");
      unget(c);
      return true;
  }
}

// After "\X2\" (group 4) or "\X4\" (group 8): the run up to its "\X0\".
// A quote ends the run unterminated and is read again by the string;
// another directive ends it and is read again as well.  A run closed by
// "\X0\" that holds only hexadecimal digits, a non-zero multiple of the
// group, is decoded (keepWide); lower-case digits are reported and read as
// upper-case ones.  Any other run is reported and dropped.  False when the
// token buffer cannot grow.
bool Part21Tokenizer::hexRun(std::size_t group) {
  hexDigits_.clear();
  bool invalid = false;
  bool lower = false;
  bool closed = false;
  for (;;) {
    int c = get();
    if (IsDigit(c) || (c >= 'A' && c <= 'F')) {
      hexDigits_.push_back(static_cast<char>(c));
    } else if (c >= 'a' && c <= 'f') {
      hexDigits_.push_back(static_cast<char>(c - ('a' - 'A')));
      lower = true;
    } else if (c == '\n') {
      ++line_;
    } else if (c == '\r') {
      // dropped
    } else if (c == '\\') {
      int x = get();
      if (x == 'X') {
        int zero = get();
        if (zero == '0') {
          int close = get();
          if (close == '\\') {
            closed = true;
            break;
          }
          unget(close);
        }
        unget(zero);
      }
      unget(x);
      unget('\\');
      warn("Illegal control directive.");
      break;
    } else if (c == '\'' || c == kEof) {
      if (c == '\'') warn("Unterminated control directive.");
      unget(c);
      break;
    } else {
      invalid = true;
    }
  }
  const std::size_t digits = hexDigits_.size();
  if (invalid) warn("Invalid hex constant.");
  if (digits == 0 || digits % group != 0) warn("Short hex constant.");
  if (lower) warn("Lower case in hex constant.");
  if (!closed || invalid || digits == 0 || digits % group != 0) return true;
  return keepWide(group);
}

// The characters of a well-formed run (its upper-case digits in
// hexDigits_) into the token: a character from U+0020 to U+00FF as its
// byte, a run of other characters as one kept escape (part21_wide_text.h).
bool Part21Tokenizer::keepWide(std::size_t group) {
  const char* const opening = group == 4 ? "\\X2\\" : "\\X4\\";
  auto append = [this](const char* text, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!room()) return false;
      put(static_cast<unsigned char>(text[i]));
    }
    return true;
  };
  bool open = false;
  for (std::size_t at = 0; at < hexDigits_.size(); at += group) {
    const char* digits = hexDigits_.data() + at;
    std::uint32_t code = 0;
    for (std::size_t i = 0; i < group; ++i) code = code * 16 + static_cast<std::uint32_t>(HexValue(digits[i]));
    if (KeptAsEscape(code)) {
      if (!open && !append(opening, 4)) return false;
      open = true;
      if (!append(digits, group)) return false;
    } else {
      if (open && !append("\\X0\\", 4)) return false;
      open = false;
      if (!room()) return false;
      put(static_cast<int>(code));
    }
  }
  return !open || append("\\X0\\", 4);
}

// Integers and reals, starting with `first` (a sign or a digit).
int Part21Tokenizer::scanNumber(int first) {
  bool point = false;
  bool exponent = false;
  bool bad = false;
  int previous = 0;
  // What a sign, point or exponent letter does to the number so far.
  auto mark = [&](int c) {
    if (c == '+' || c == '-') {
      if (!(length_ == 0 || previous == 'E' || previous == 'e')) bad = true;
    } else if (c == '.') {
      if (point || exponent || !IsDigit(previous)) bad = true;
      point = true;
    } else if (c == 'E' || c == 'e') {
      if (!point || exponent) {
        bad = true;
      } else if (c == 'e') {
        ++lowerExponents_;
      }
      exponent = true;
    }
  };
  // Straight from the block when the whole number (digits, signs, points,
  // 'E') and a printable character after it are there and the token buffer
  // has room for it: the loop below would read the same characters.
  if (pushbackCount_ == 0 && capacity_ >= 64) {
    const char* q = cur_;
    const char* const limit = end_ - cur_ > 48 ? cur_ + 48 : end_;
    while (q != limit && (IsDigit(*q) || *q == '.' || *q == 'E' || *q == '-' || *q == '+')) ++q;
    if (q != limit && *q >= 32 && *q <= 126 && *q != 'e') {
      mark(first);
      buffer_[length_++] = static_cast<char>(first);
      previous = first;
      for (const char* r = cur_; r != q; ++r) {
        mark(*r);
        buffer_[length_++] = *r;
        previous = *r;
      }
      cur_ = q;
      return numberToken(point, exponent, bad, previous);
    }
  }
  for (int c = first;; c = get()) {
    if (IsDigit(c)) {
      // always allowed
    } else if (c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e') {
      mark(c);
    } else if (c == '\n') {
      ++line_;
      continue;
    } else if (c >= 0 && c < 32) {
      continue;
    } else {
      unget(c);
      break;
    }
    if (!room()) return tooLong();
    put(c);
    previous = c;
    if (copyDigitRun() > 0) previous = buffer_[length_ - 1];
  }
  return numberToken(point, exponent, bad, previous);
}

// The run of digits that follows, copied straight from the block buffer
// into the token buffer while there is room; none while characters are
// pushed back.  Returns how many were copied.
std::size_t Part21Tokenizer::copyDigitRun() {
  if (pushbackCount_ != 0) return 0;
  const char* p = cur_;
  const char* const end = end_;
  char* const buffer = buffer_;
  std::size_t length = length_;
  const std::size_t capacity = capacity_;
  while (p != end && IsDigit(*p) && capacity - length >= 8) buffer[length++] = *p++;
  const std::size_t copied = length - length_;
  length_ = length;
  cur_ = p;
  return copied;
}

// The number gathered in the token buffer, its form told by the flags.
int Part21Tokenizer::numberToken(bool point, bool exponent, bool bad, int previous) {
  buffer_[length_] = '\0';
  const char* begin = buffer_;
  const char* end = buffer_ + length_;
  if (*begin == '+') ++begin;  // from_chars takes no plus sign

  if (!bad && !point && IsDigit(previous)) {
    long long value = 0;
    if (end - begin <= 18) {  // fits: no overflow
      const char* p = begin + (*begin == '-' ? 1 : 0);
      for (; p != end; ++p) value = value * 10 + (*p - '0');
      if (*begin == '-') value = -value;
    } else if (std::from_chars(begin, end, value).ec != std::errc()) {
      value = *begin == '-' ? LLONG_MIN : LLONG_MAX;
    }
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    integer_ = static_cast<std::int32_t>(value);
    real_ = static_cast<double>(integer_);
    return kP21Integer;
  }
  if (!bad && point) {
    if (exponent && !IsDigit(previous)) {
      warn("Number has no digits in exponent.");
      return kP21Unreadable;
    }
    double value = 0.0;
    if (!ShortDecimal(begin, end, &value) && std::from_chars(begin, end, value).ec != std::errc()) {
      // Out of range: infinite for a large exponent, zero for a small one.
      const char* e = static_cast<const char*>(std::memchr(begin, 'E', length_));
      if (e == nullptr) e = static_cast<const char*>(std::memchr(begin, 'e', length_));
      bool tiny = e != nullptr && e[1] == '-';
      value = tiny ? 0.0 : HUGE_VAL;
      if (*begin == '-') value = -value;
    }
    real_ = value;
    return kP21Real;
  }
  warn("Invalid number.");
  return kP21Unreadable;
}

// After '#': the instance number, then '=' (declaration) or not (reference)
// after blanks, line ends, comments and \N\ or \F\.
int Part21Tokenizer::scanEntity() {
  put('#');
  // The usual forms straight from the block: up to nine digits (not all
  // zero), then '=' or a printable character that starts the next token
  // (anything else is left to the loops below).
  if (pushbackCount_ == 0 && capacity_ >= 32) {
    const char* q = cur_;
    const char* const limit = end_ - cur_ > 9 ? cur_ + 9 : end_;
    std::uint32_t value = 0;
    while (q != limit && IsDigit(*q)) value = value * 10 + static_cast<unsigned>(*q++ - '0');
    if (q != cur_ && q != end_ && value != 0) {
      const unsigned char d = static_cast<unsigned char>(*q);
      if (d == '=' || (d > 32 && d <= 126 && d != '/' && d != '\\' && !IsDigit(d))) {
        const std::size_t digits = static_cast<std::size_t>(q - cur_);
        std::memcpy(buffer_ + length_, cur_, digits);
        length_ += digits;
        buffer_[length_] = '\0';
        instance_ = value;
        entityLine_ = line_;
        cur_ = d == '=' ? q + 1 : q;
        return d == '=' ? kP21EntityDeclaration : kP21EntityReference;
      }
    }
  }
  std::uint64_t number = 0;
  for (;;) {
    const std::size_t from = length_;
    const std::size_t to = from + copyDigitRun();
    for (std::size_t i = from; i < to; ++i) {
      number = number * 10 + static_cast<unsigned>(buffer_[i] - '0');
      if (number > UINT32_MAX) number = UINT32_MAX + std::uint64_t{1};  // stays out of range
    }
    int c = get();
    if (!IsDigit(c)) {
      unget(c);
      break;
    }
    if (!room()) return tooLong();
    put(c);
    number = number * 10 + static_cast<unsigned>(c - '0');
    if (number > UINT32_MAX) number = UINT32_MAX + std::uint64_t{1};  // stays out of range
  }
  buffer_[length_] = '\0';
  if (length_ == 1) {
    warn("Entity reference needs at least one digit.");
    return kP21Unreadable;
  }
  if (number == 0) warn("Entity reference '#0' not allowed.");
  instance_ = number > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(number);
  entityLine_ = line_;

  for (;;) {
    int c = get();
    if (c == '=') return kP21EntityDeclaration;
    if (skipIgnorable(c)) continue;
    if (c == '/') {
      int d = get();
      if (d == '*') {
        skipComment();
        continue;
      }
      unget(d);
    } else if (c == '\\') {
      int d = get();
      if (d == 'N' || d == 'F') {
        int e = get();
        if (e == '\\') continue;
        unget(e);
      }
      unget(d);
    }
    unget(c);
    return kP21EntityReference;
  }
}

// After the opening dot.
int Part21Tokenizer::scanEnumeration() {
  for (;;) {
    int c = get();
    if (IsUpper(c) || IsLower(c) || IsDigit(c) || c == '_') {
      if (!room()) return tooLong();
      put(c);
    } else if (c == '.') {
      return kP21Enumeration;
    } else if (c == '\n') {
      ++line_;
    } else if (c == '\r') {
      // dropped
    } else if (c == kEof) {
      warn("End of file in enumeration.");
      return endOfInput();
    } else if (IsPrintable(c)) {
      warn("Illegal character '%c' in enum.", c);
      unget(c);
      return kP21Unreadable;
    } else {
      warn("Illegal character %#.2x in enum.", c);
    }
  }
}

// After the opening double quote.  A printable character other than a
// hexadecimal digit makes the token unreadable; the rest of the binary up
// to its closing quote is still read so that scanning resumes after it.
int Part21Tokenizer::scanBinary() {
  bool bad = false;
  for (;;) {
    int c = get();
    if (IsHex(c)) {
      if (!room()) return tooLong();
      put(c);
    } else if (c == '"') {
      return bad ? kP21Unreadable : kP21Binary;
    } else if (c == '\n') {
      ++line_;
    } else if (c == kEof) {
      warn("End of file in binary.");
      return endOfInput();
    } else if (c == '\\') {
      // \N\ and \F\ are skipped; the character that breaks any other
      // directive is dropped, unless it is the closing quote or a line end.
      int broke = 0;
      if (!readDirective(&broke) && (broke == '"' || broke == '\n' || broke == kEof)) unget(broke);
    } else if (IsPrintable(c)) {
      if (!bad) warn("Illegal character in binary, ignored.");
      bad = true;
    }
    // Control and non-ASCII characters are dropped.
  }
}


// ---------------------------------------------------------------------------
// Recording and replay

void Part21Tokenizer::record() {
  record_.push_back(Recorded{token_, integer_, real_, instance_, tokenLine_, tokenDepth_,
                             recordText_.size(), textLength_});
  recordText_.append(text_, textLength_);
  recordText_.push_back('\0');
  currentRecorded_ = true;
}

void Part21Tokenizer::startRecording() {
  record_.clear();
  recordText_.clear();
  recording_ = true;
  currentRecorded_ = false;
}

void Part21Tokenizer::replay() {
  recording_ = false;
  pushedBack_ = false;
  // The current token's text must outlive the replay storage it may be in.
  if (textInReplay_) {
    while (buffer_ == nullptr || capacity_ <= textLength_) {
      if (!grow()) break;
    }
    if (buffer_ != nullptr && capacity_ > textLength_) {
      std::memcpy(buffer_, text_, textLength_);
      buffer_[textLength_] = '\0';
      text_ = buffer_;
    } else {
      text_ = "";
      textLength_ = 0;
    }
    textInReplay_ = false;
  }
  // What is left of a running replay follows the new one.
  for (std::size_t i = replayPos_; i < replay_.size(); ++i) {
    Recorded r = replay_[i];
    std::size_t offset = recordText_.size();
    recordText_.append(replayText_, r.textOffset, r.textLength);
    recordText_.push_back('\0');
    r.textOffset = offset;
    record_.push_back(r);
  }
  replay_.swap(record_);
  replayText_.swap(recordText_);
  record_.clear();
  recordText_.clear();
  replayPos_ = 0;
}

// ---------------------------------------------------------------------------
// Counters

void Part21Tokenizer::reportCounters() {
  if (lowerExponents_ != 0)
    warn("Lowercase 'e' used for exponent. (%d occurrences)", lowerExponents_);
  if (lowerKeywords_ != 0)
    warn("Lowercase letters used in keywords. (%d occurrences)", lowerKeywords_);
  if (tabs_ != 0) warn("Tabs used in file, ignored. (%d occurrences)", tabs_);
  if (controls_ != 0) warn("Control characters in file, ignored. (%d occurrences)", controls_);
  if (nonAscii_ != 0) warn("Non-ASCII characters in file, ignored. (%d occurrences)", nonAscii_);
}

}  // namespace korva
