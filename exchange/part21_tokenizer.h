// The scanner of the ISO 10303-21 reader: turns the text of one exchange
// file into tokens.
//
// Input.  The tokenizer reads either an open stream, through a 64 KB block
// buffer filled with fread, or a whole buffer in memory.  It behaves as a
// scanner that reads one character at a time and keeps one character of
// pushback between tokens: every token starts where the previous one
// stopped.  One place gives back more: after an entity number the scanner
// looks for '=' past blanks, line ends, comments and \N\ or \F\; a '/' or
// '\' met there that starts none of these is given back whole, so that
// "#3/" reads as a reference and a '/'.
//
// Tokens.  next() scans the next token and returns its code (Part21Token).
// The current token's text, values, line and the parenthesis depth stay
// available until the following next().  Token text goes into one buffer
// that starts at 2048 bytes and doubles whenever fewer than 8 bytes remain;
// it is NUL-terminated.  What the text holds, by token:
//
//   keyword, reserved keyword   the name upper-cased ("IFCWALL", "HEADER")
//   user-defined keyword        the name with its '!' ("!MYTYPE")
//   &SCOPE                      "&SCOPE"
//   string                      the decoded bytes, without the quotes;
//                               characters of \X2\ and \X4\ runs as
//                               part21_wide_text.h says
//   binary                      the hexadecimal digits, without the quotes
//   enumeration                 the name without the dots, case kept
//   integer, real               the digits as read ("-12", "1.5E-3")
//   entity reference/declaration  '#' and the digits ("#15")
//   one-character tokens        the character
//   unreadable token            whatever had been gathered
//   end of file                 ""
//
// Characters between tokens: blanks and newlines are skipped, newlines
// counted as lines (lines are counted wherever they occur: in strings,
// comments, numbers, binaries and enumerations too).  Tabs, other control
// characters and bytes above 126 are ignored and counted (carriage return,
// vertical tab and form feed are ignored without counting).  Comments
// /* ... */ and the directives \N\ and \F\ are skipped.
//
// Malformed tokens are reported and scanning goes on:
//   - a keyword ends at any character that cannot be part of it, blanks and
//     line ends included; other control characters and bytes above 126
//     inside it are reported and dropped;
//   - a character that breaks a control directive (between tokens, in a
//     string, or ending an \X2\ or \X4\ run) is read again as what it is,
//     so that a quote still ends its string; in a binary it is dropped
//     unless it is the closing quote or a line end;
//   - a binary holding a printable character other than a hexadecimal
//     digit is one unreadable token up to its closing quote, with one
//     warning;
//   - end of the input inside a string, comment, enumeration or binary is
//     reported and gives the end-of-file token.
//
// Messages.  While it exists (until endReading()), the tokenizer keeps a
// file-position context pushed on the process error reporter
// (TARN().reporter()), so that every message reads
// "file(line): warning: ...": the scanner's own messages and those that the
// reader issues between two tokens.  The context's line is the line of the
// current token (or, inside a token, the line reached).  Contexts are a
// stack: anything the reader pushes on top must be popped before the
// tokenizer ends reading.  The scanner's messages are free-text warnings of
// the exchange-file category (ExchangeMessages()); expect() reports the
// numbered message 2043 of that category.
//
// Replay.  For complex instances "#n=(A(...)B(...))" the reader makes two
// passes over the same tokens: startRecording() keeps a copy of every token
// that next() delivers (code, values, instance number, line, depth, text);
// replay() hands them out again, in order, before scanning goes on.
#ifndef KORVA_EXCHANGE_PART21_TOKENIZER_H
#define KORVA_EXCHANGE_PART21_TOKENIZER_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "objdb/error_reporter.h"

namespace korva {

// Token codes.  7 is not used.
enum Part21Token : int {
  kP21Unreadable = 1,
  kP21EndOfFile = 2,
  kP21Binary = 3,
  kP21Dollar = 4,               // $
  kP21Comma = 5,                // ,
  kP21Data = 6,                 // DATA
  kP21EndScope = 8,             // ENDSCOPE
  kP21EndSec = 9,               // ENDSEC
  kP21EndIso = 10,              // END-ISO-10303-21
  kP21EntityDeclaration = 11,   // #n followed by =
  kP21EntityReference = 12,     // #n
  kP21Enumeration = 13,         // .NAME.
  kP21Equals = 14,              // =
  kP21Header = 15,              // HEADER
  kP21Integer = 16,
  kP21Keyword = 17,
  kP21OpenParen = 18,           // (
  kP21Star = 19,                // *
  kP21Real = 20,
  kP21CloseParen = 21,          // )
  kP21Scope = 22,               // &SCOPE
  kP21Semicolon = 23,           // ;
  kP21Slash = 24,               // /
  kP21Iso = 25,                 // ISO-10303-21
  kP21String = 26,
  kP21UserKeyword = 27,         // !NAME
};

#if defined(__GNUC__)
#define KORVA_P21_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define KORVA_P21_PRINTF(f, a)
#endif

class Part21Tokenizer {
 public:
  // The name of a token code in messages: "unreadable token", "end of
  // file", "binary", "'$'", ..., "user-defined keyword"; "other token" for
  // any code outside the table.
  static const char* TokenName(int code);

  // The "found %s" text of a token: its own text for a keyword or a
  // user-defined keyword, its name for any other code.
  static const char* FoundText(int code, const char* text);

  // The code of a reserved keyword given upper-cased ("ISO-10303-21",
  // "END-ISO-10303-21", "HEADER", "DATA", "ENDSEC", "&SCOPE", "ENDSCOPE"),
  // or kP21Keyword for any other word.  FILE_DESCRIPTION, FILE_NAME,
  // FILE_SCHEMA, STEP and ENDSTEP are ordinary keywords.
  static int KeywordCode(const char* text, std::size_t length);

  static constexpr std::size_t kBlockSize = 64 * 1024;
  static constexpr std::size_t kInitialTokenSize = 2048;

  // Reads `stream` (left open; the caller closes it) from its current
  // position.  `fileName` names the file in message prefixes and may be null
  // (then the prefix is "line N: ").  Pushes the file-position context.
  Part21Tokenizer(std::FILE* stream, const char* fileName);
  // Scans `size` bytes at `data`, which must stay valid and unchanged while
  // the tokenizer reads them.  Otherwise as above.
  Part21Tokenizer(const char* data, std::size_t size, const char* fileName);
  // Ends reading (pops the context if endReading() has not).
  ~Part21Tokenizer();
  Part21Tokenizer(const Part21Tokenizer&) = delete;
  Part21Tokenizer& operator=(const Part21Tokenizer&) = delete;

  // Pops the file-position context from the reporter; later messages carry
  // whatever context is then on top.  Called once; further calls do nothing.
  // The tokenizer can still be asked for its token and counters afterwards.
  void endReading();

  // Makes the next token current and returns its code: the current token
  // again after pushBack(), else the next recorded token while a replay is
  // running, else the next token scanned from the input.  At the end of the
  // input, and after a token too long to hold, it keeps returning
  // kP21EndOfFile.
  int next();

  // Makes the next call of next() return the current token again.
  void pushBack() { pushedBack_ = true; }

  // When the current token has `code`, advances to the next token and
  // returns true.  Otherwise reports exchange message 2043 "Expecting %s,
  // found %s instead." with the expected token's name and the found text of
  // the current token, stays on the current token and returns false.
  bool expect(int code);

  // The current token.
  int token() const { return token_; }
  const char* text() const { return text_; }
  std::size_t textLength() const { return textLength_; }
  // Value of an integer token (also set, as a double, in realValue()); 32
  // bits, with values outside that range clamped to its ends.
  std::int32_t integerValue() const { return integer_; }
  // Value of a real token (and of an integer token).  Values too large for a
  // double become infinite, values too small zero.
  double realValue() const { return real_; }
  // Instance number of an entity reference or declaration token; numbers
  // beyond 32 bits are clamped to 4294967295.  Only a number that fits
  // (instanceNumberFits()) names an instance.
  std::uint32_t instanceNumber() const { return instance_; }
  // Instance numbers run up to kMaxInstanceNumber, the largest that the
  // 32-bit FileIDs of the import and the "#%d" of messages show as written.
  static constexpr std::uint32_t kMaxInstanceNumber = 2147483647;
  // Whether the number of the current entity reference or declaration is
  // at most kMaxInstanceNumber (its text keeps all the digits written).
  bool instanceNumberFits() const { return instance_ <= kMaxInstanceNumber; }
  // Line on which the current token's text ended (1 for the first line).
  // For an entity reference or declaration that is the line of its digits,
  // even when the '=' or the next token lies further on.
  int line() const { return tokenLine_; }
  // Parenthesis depth after the current token: '(' raises it, ')' lowers it
  // but never below 0.
  int depth() const { return tokenDepth_; }
  // The "found %s" text of the current token (see FoundText).
  const char* foundText() const { return FoundText(token_, text_); }

  // Recording.  After startRecording() every token that next() delivers is
  // recorded once: tokens re-delivered after pushBack() are not recorded a
  // second time, except the token current when recording started, which is
  // recorded when next() delivers it again after a pushBack().  Starting
  // discards anything recorded earlier.  stopRecording() ends recording and
  // keeps what was recorded.
  void startRecording();
  void stopRecording() { recording_ = false; }
  bool recording() const { return recording_; }
  std::size_t recordedCount() const { return record_.size(); }

  // Stops recording and makes the following next() calls deliver the
  // recorded tokens in order (code, values, instance number, line, depth and
  // text as they were), then go on where they left off: with the rest of a
  // replay that was running when recording started, else with scanning.
  // Tokens delivered after stopRecording() and before replay() are not part
  // of the replay.  Clears the push-back flag; the recording is emptied.
  void replay();
  bool replaying() const { return replayPos_ < replay_.size(); }

  // Counters: keywords holding lower-case letters, lower-case exponent
  // letters, and the tabs, other control characters and bytes above 126
  // skipped between tokens.
  int lowerCaseKeywords() const { return lowerKeywords_; }
  int lowerCaseExponents() const { return lowerExponents_; }
  int tabs() const { return tabs_; }
  int controlCharacters() const { return controls_; }
  int nonAsciiCharacters() const { return nonAscii_; }
  // Warns once for each non-zero counter, in this order:
  //   "Lowercase 'e' used for exponent. (%d occurrences)"
  //   "Lowercase letters used in keywords. (%d occurrences)"
  //   "Tabs used in file, ignored. (%d occurrences)"
  //   "Control characters in file, ignored. (%d occurrences)"
  //   "Non-ASCII characters in file, ignored. (%d occurrences)"
  void reportCounters();

  // Makes growth of the token buffer beyond `bytes` fail as a failed
  // allocation would: the warning "Excessively long token, could not
  // allocate memory." and the end of the input.  Unlimited by default.
  void setMaxTokenSize(std::size_t bytes) { maxTokenSize_ = bytes; }

 private:
  struct Recorded {
    int code;
    std::int32_t integer;
    double real;
    std::uint32_t instance;
    int line;
    int depth;
    std::size_t textOffset;
    std::size_t textLength;
  };

  void init();
  // Character source: the pushback stack first, then the block buffer.
  int get() {
    if (pushbackCount_ != 0) return pushback_[--pushbackCount_];
    if (cur_ != end_) return static_cast<unsigned char>(*cur_++);
    return refill();
  }
  // Giving back the character just before the read position (the one just
  // read, or the same character) is a step back in the block.
  void unget(int c) {
    if (pushbackCount_ == 0 && cur_ != begin_ && c >= 0 && static_cast<unsigned char>(cur_[-1]) == c) {
      --cur_;
      return;
    }
    pushback_[pushbackCount_++] = c;
  }
  int refill();

  // Token buffer: room() keeps at least 8 bytes free before each put().
  bool room() { return capacity_ - length_ >= 8 || grow(); }
  bool grow();
  void put(int c) { buffer_[length_++] = static_cast<char>(c); }
  int tooLong();
  int endOfInput();

  int scan();
  // Scans the next token from the input and makes it the current one.
  void scanToken();
  bool skipIgnorable(int c);
  void skipComment();
  bool readDirective(int* broke);
  bool closingBackslash(int c);
  int scanKeyword(int first);
  int scanString();
  bool stringDirective();
  bool hexRun(std::size_t group);
  bool keepWide(std::size_t group);
  int scanNumber(int first);
  std::size_t copyDigitRun();
  int numberToken(bool point, bool exponent, bool bad, int previous);
  int scanEntity();
  int scanEnumeration();
  int scanBinary();

  void warn(const char* format, ...) KORVA_P21_PRINTF(2, 3);
  void record();
#undef KORVA_P21_PRINTF

  std::string fileName_;
  TarnFileContext context_;
  TarnErrorReporter* reporter_ = nullptr;  // null once the context is popped

  std::FILE* stream_ = nullptr;
  std::vector<char> block_;
  const char* begin_ = nullptr;  // start of the block (or of the text) being read
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  bool inputEnded_ = false;
  // Characters are pushed back only right after being read, at most four at
  // a time, so the stack never holds more than four.
  int pushback_[4] = {0, 0, 0, 0};
  int pushbackCount_ = 0;

  std::string hexDigits_;  // digits of the \X2\ or \X4\ run being read

  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t length_ = 0;
  std::size_t maxTokenSize_ = static_cast<std::size_t>(-1);
  bool exhausted_ = false;  // a token could not be held: end of file for good

  int line_ = 1;
  int depth_ = 0;
  int entityLine_ = 1;  // line of the digits of an entity number

  // The current token.
  int token_ = 0;
  const char* text_ = "";
  std::size_t textLength_ = 0;
  std::int32_t integer_ = 0;
  double real_ = 0.0;
  std::uint32_t instance_ = 0;
  int tokenLine_ = 1;
  int tokenDepth_ = 0;
  bool textInReplay_ = false;  // text_ points into replayText_

  bool pushedBack_ = false;
  bool recording_ = false;
  bool currentRecorded_ = false;
  std::vector<Recorded> record_;
  std::string recordText_;  // texts, each followed by a NUL
  std::vector<Recorded> replay_;
  std::string replayText_;
  std::size_t replayPos_ = 0;

  int lowerKeywords_ = 0;
  int lowerExponents_ = 0;
  int tabs_ = 0;
  int controls_ = 0;
  int nonAscii_ = 0;
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_PART21_TOKENIZER_H
