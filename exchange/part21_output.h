// The output layer of the ISO 10303-21 writer: a buffered text sink that
// knows the column of the current line and writes every value kind in its
// exchange-file form.
//
// Everything goes through one large buffer that is handed to the stream with
// fwrite when it fills up and on flush().  The column counts the characters
// written since the last newline; it decides where lines wrap:
//
//   - the wrapping comma adds a newline after itself when the column had
//     already reached 71 before it;
//   - a string starts on a fresh line when it is longer than 70 characters
//     or would reach column 71, and breaks inside its quotes whenever the
//     column passes 70.
//
// The caller drives structure: an instance body is openTyped(name), the
// attributes separated with a Part21Separator, closeTyped(); an aggregate is
// openAggregate(), elements separated the same way, closeAggregate().  A
// typed select value is openTyped(typeName), the value, closeTyped(), once
// per defined-type name written.
//
// Null values are written as `$`: the integer and double null markers of the
// object store, a NaN double, null strings, binaries and enumerations and an
// empty enumeration name.
#ifndef KORVA_EXCHANGE_PART21_OUTPUT_H
#define KORVA_EXCHANGE_PART21_OUTPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

namespace korva {

// Room needed by FormatReal and FormatSingleReal, terminating NUL included.
constexpr std::size_t kRealTextSize = 32;

// The exchange-file text of a double attribute value, written into `buf` (at
// least kRealTextSize bytes, NUL-terminated) and returned:
//   - the double null marker and NaN: "$";
//   - plus or minus infinity: "$ /* Inf or NaN */";
//   - anything else: the "%.15G" digits, "-0" turned into "0.", and a "."
//     added to a mantissa without one ("1.", "1.E+20", "1.5E-10").
std::string_view FormatReal(double value, char* buf);

// The same for a single-precision value with "%.7G" digits.  Single
// precision has no null marker, so NaN takes the non-finite form
// "$ /* Inf or NaN */" like the infinities.
std::string_view FormatSingleReal(float value, char* buf);

class Part21Output {
 public:
  static constexpr std::size_t kDefaultBufferSize = 256 * 1024;
  // Smaller buffer sizes are raised to this.
  static constexpr std::size_t kMinimumBufferSize = 64;
  // Column at which the wrapping comma ends the line.
  static constexpr unsigned kWrapColumn = 71;
  // A string breaks its line inside the quotes once the column passes this.
  static constexpr unsigned kStringColumns = 70;

  // `file` is open for writing and stays owned by the caller.
  explicit Part21Output(std::FILE* file, std::size_t bufferSize = kDefaultBufferSize);
  // Flushes what is still buffered; does not close the stream.
  ~Part21Output();
  Part21Output(const Part21Output&) = delete;
  Part21Output& operator=(const Part21Output&) = delete;

  std::FILE* file() const { return file_; }
  // Characters written since the last newline.
  unsigned column() const { return column_; }

  // Hands the buffer to the stream and flushes the stream.  Returns false
  // when the stream has failed.
  bool flush();
  // Flushes, then reports whether the stream's error indicator is set or a
  // write came up short.
  bool error();
  // The same without flushing: cheap enough to ask after every instance,
  // but blind to bytes still waiting in the buffer.
  bool failed() const;

  // --- Primitives -------------------------------------------------------
  void writeChar(char c);
  void writeNewline();
  // Verbatim text; newlines inside it reset the column.
  void writeKeyword(std::string_view text);
  // Verbatim text that holds no newline.
  void writeText(std::string_view text) { putRun(text.data(), text.size()); }
  // ASCII letters a-z written as A-Z, everything else as it is.
  void writeIdentifier(std::string_view name);
  // "," and, when the column was 71 or more before it, a newline.
  void writeComma();
  // ";" and a newline.
  void writeEndRecord();
  void writeNull() { writeChar('$'); }
  // "*", the value of an attribute redeclared as derived.
  void writeDerived() { writeChar('*'); }
  // "/* text */"; the text may span lines.
  void writeComment(std::string_view text);
  // The annotated attribute form of the header records: a newline, then
  // "/* name */ " before the value.
  void writeAttributeLabel(std::string_view name);

  // --- Values -----------------------------------------------------------
  // "%d"; the integer null marker (-2147483648) as "$".
  void writeInteger(int32_t value);
  // See FormatReal and FormatSingleReal.
  void writeReal(double value);
  void writeSingleReal(float value);
  // Stored boolean or logical: 0 ".F.", 1 ".T.", 2 ".U.", anything else "$".
  void writeLogical(int stored);
  // Quoted and escaped: `'` doubled, `\` doubled, bytes outside 32..126 as
  // \X\hh, except that a kept escape of the reader (\X2\...\X0\ or
  // \X4\...\X0\, part21_wide_text.h) is written as it is.  A null string
  // is "$".  The length form writes exactly `length` bytes, NULs included.
  void writeString(const char* text);
  void writeString(const char* text, std::size_t length);
  // The text form of a binary value between double quotes; null is "$".
  void writeBinary(const char* text);
  // ".NAME." upper-cased; a null or empty name is "$".
  void writeEnumeration(const char* name);
  // "#number".
  void writeReference(uint32_t number);

  // --- Framing ----------------------------------------------------------
  void openAggregate() { writeChar('('); }
  void closeAggregate() { writeChar(')'); }
  // "NAME(" upper-cased: an entity instance body or one defined-type name of
  // a select value.
  void openTyped(std::string_view typeName);
  void closeTyped() { writeChar(')'); }

 private:
  // Makes room for `n` contiguous bytes (n <= kMinimumBufferSize).
  char* reserve(std::size_t n) {
    if (capacity_ - used_ < n) drain();
    return buffer_.get() + used_;
  }
  void put(char c) {
    if (used_ == capacity_) drain();
    buffer_[used_++] = c;
  }
  // Appends bytes without newlines.
  void putRun(const char* text, std::size_t n);
  void writeKeptEscape(const char* text, std::size_t length);
  // Hands the buffered bytes to the stream (no fflush).
  void drain();

  std::FILE* file_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  unsigned column_ = 0;
  bool shortWrite_ = false;
};

// Writes the wrapping comma before every element but the first, for the
// attributes of an instance as for the elements of an aggregate:
//
//   Part21Separator next;
//   out.openAggregate();
//   for (int v : values) { next(out); out.writeInteger(v); }
//   out.closeAggregate();
class Part21Separator {
 public:
  void operator()(Part21Output& out) {
    if (started_) out.writeComma();
    started_ = true;
  }

 private:
  bool started_ = false;
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_PART21_OUTPUT_H
