// Tokeniser for EXPRESS (ISO 10303-11) source text.
//
// Produces the whole token sequence of a file up front, ending with one
// EndOfFile token.  Comments "(* ... *)" (nesting allowed) and "-- ..." line
// comments are dropped.  Keywords are not distinguished from identifiers here:
// EXPRESS keywords are reserved words spelt like identifiers, and the parser
// compares them without regard to case (Token::is).  Each token keeps its
// line and its byte range in the source so that the parser can keep
// expressions as raw text.
//
// Malformed input (unterminated comment or string, a character that cannot
// start a token) raises ExpressError naming the line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korva::express {

enum class TokenKind {
  Identifier,  // names and keywords
  Integer,     // 42
  Real,        // 1.5, 2.E-3
  String,      // 'text' (quotes kept in text) or "hex-encoded"
  Binary,      // %0101
  Symbol,      // punctuation and operators: ; : , ( ) [ ] := <= <* :=: ...
  EndOfFile,
};

struct Token {
  TokenKind kind = TokenKind::EndOfFile;
  std::string text;  // exact source spelling
  int line = 0;
  std::size_t begin = 0;  // byte offsets into the source, [begin, end)
  std::size_t end = 0;

  // True for an identifier spelt like `word`, ignoring ASCII case.
  bool is(std::string_view word) const;
  // True for the symbol `symbol` (exact).
  bool isSymbol(std::string_view symbol) const;
  // Text for error messages: the spelling, or "end of file".
  std::string display() const;
};

// Splits `source` into tokens.  `fileName` is used only in error messages.
std::vector<Token> scan(std::string_view source, const std::string& fileName);

// ASCII case-insensitive comparison and folding, shared by the parser and the
// model (EXPRESS names are case-insensitive).
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view text);

}  // namespace korva::express
