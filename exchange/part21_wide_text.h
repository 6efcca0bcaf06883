// Characters of \X2\ and \X4\ runs in stored strings.
//
// A string in an exchange file may hold characters beyond the 8-bit range
// as runs of hexadecimal digits: "\X2\" then 4 digits per character, or
// "\X4\" then 8 digits per character, closed by "\X0\".  The reader decodes
// a well-formed run character by character:
//
//   - a character from U+0020 to U+00FF becomes its byte (ISO 8859-1, what
//     an 8-bit host shows), as "\X\hh" and "\S\c" give;
//   - any other character (a control character below U+0020, or anything
//     above U+00FF) stays in the stored text as escape text: "\X2\" or
//     "\X4\" (the kind of the run it came from), its digits upper-cased,
//     "\X0\", with single backslashes.  Characters kept in a row share one
//     such escape.
//
// So 'Tr\X2\00FC\X0\ger' is stored "Tr" 0xFC "ger", '\X2\5E8A\X0\' is stored
// as the twelve characters \X2\5E8A\X0\, and '\X2\00FC5E8A\X0\' as the byte
// 0xFC followed by \X2\5E8A\X0\.
//
// The writer writes a kept escape found in a stored string as it is (its
// backslashes are not doubled), so that copying or updating a file keeps
// these characters.  A kept escape is exactly what the reader stores:
// KeptEscapeLength() recognises "\X2\" or "\X4\", one or more groups of 4
// or 8 upper-case hexadecimal digits, none of which is a character from
// U+0020 to U+00FF, and "\X0\".  Every other backslash of a stored string is
// a real one and is written "\\".
//
// The one text that changes meaning: a string whose own characters spell a
// kept escape (written '\\X2\\5E8A\\X0\\' in a file) is read as those
// characters and written back as the escape, which reads as the same stored
// text here but as the character U+5E8A elsewhere.  Text spelling a run of
// 8-bit characters ('\\X2\\00FC\\X0\\') is no kept escape and stays as it is.
#ifndef KORVA_EXCHANGE_PART21_WIDE_TEXT_H
#define KORVA_EXCHANGE_PART21_WIDE_TEXT_H

#include <cstddef>
#include <cstdint>

namespace korva {

// Whether the reader keeps character `code` of a \X2\ or \X4\ run as escape
// text rather than storing its byte.
inline bool KeptAsEscape(std::uint32_t code) { return code < 0x20 || code > 0xFF; }

// The length of the kept escape that starts at `text` (the first of
// `length` bytes), or 0 when none starts there.
std::size_t KeptEscapeLength(const char* text, std::size_t length);

// Digits per character of the kept escape that starts at `text` (whose
// KeptEscapeLength is not 0): 4 for "\X2\", 8 for "\X4\".
inline std::size_t KeptEscapeGroup(const char* text) { return text[2] == '2' ? 4 : 8; }

}  // namespace korva

#endif  // KORVA_EXCHANGE_PART21_WIDE_TEXT_H
