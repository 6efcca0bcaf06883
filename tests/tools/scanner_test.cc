#include <gtest/gtest.h>

#include "express/error.h"
#include "express/scanner.h"

namespace korva::express {
namespace {

std::vector<std::string> texts(const std::vector<Token>& tokens) {
  std::vector<std::string> out;
  for (const Token& t : tokens)
    if (t.kind != TokenKind::EndOfFile) out.push_back(t.text);
  return out;
}

TEST(Scanner, SplitsOperatorsLongestFirst) {
  const auto tokens = scan("a:=:b :<>: c := d <= e <> f <* g ** h || i.j\\k ?", "s.exp");
  EXPECT_EQ(texts(tokens),
            (std::vector<std::string>{"a", ":=:", "b", ":<>:", "c", ":=", "d", "<=", "e", "<>",
                                      "f", "<*", "g", "**", "h", "||", "i", ".", "j", "\\",
                                      "k", "?"}));
  EXPECT_EQ(tokens.back().kind, TokenKind::EndOfFile);
}

TEST(Scanner, NumbersStringsAndBinaries) {
  const auto tokens = scan("42 1.5 2.E-3 1.0e+10 7.x 'it''s' \"0041\" %0101", "s.exp");
  ASSERT_EQ(tokens.size(), 11u);
  EXPECT_EQ(tokens[0].kind, TokenKind::Integer);
  EXPECT_EQ(tokens[1].kind, TokenKind::Real);
  EXPECT_EQ(tokens[2].kind, TokenKind::Real);
  EXPECT_EQ(tokens[2].text, "2.E-3");
  EXPECT_EQ(tokens[3].text, "1.0e+10");
  // "7.x" is an integer followed by a member-access dot.
  EXPECT_EQ(tokens[4].kind, TokenKind::Integer);
  EXPECT_TRUE(tokens[5].isSymbol("."));
  EXPECT_EQ(tokens[7].kind, TokenKind::String);
  EXPECT_EQ(tokens[7].text, "'it''s'");
  EXPECT_EQ(tokens[8].kind, TokenKind::String);
  EXPECT_EQ(tokens[9].kind, TokenKind::Binary);
}

TEST(Scanner, DropsCommentsAndCountsLines) {
  const std::string src =
      "a (* one\n (* nested *) still comment *) b -- to end of line ; c\n"
      "'multi\nline' d\n";
  const auto tokens = scan(src, "s.exp");
  EXPECT_EQ(texts(tokens), (std::vector<std::string>{"a", "b", "'multi\nline'", "d"}));
  EXPECT_EQ(tokens[0].line, 1);
  EXPECT_EQ(tokens[1].line, 2);
  EXPECT_EQ(tokens[2].line, 3);
  EXPECT_EQ(tokens[3].line, 4);
  // Byte ranges let the parser recover source text.
  EXPECT_EQ(src.substr(tokens[1].begin, tokens[1].end - tokens[1].begin), "b");
}

struct BadInput {
  std::string source;
  int line;
  std::string message;
  std::string near;
};

TEST(Scanner, MalformedInputNamesLineAndToken) {
  const BadInput cases[] = {
      {"a\n(* never closed\n\n", 2, "unterminated comment", "(*"},
      {"a\nb 'open string\n", 2, "unterminated string", "'"},
      {"a\n\nb $ c", 3, "unexpected character", "$"},
      {"x \x01", 1, "unexpected character", "\\x01"},
      {"\"12G4\"", 1, "invalid character in encoded string", "G"},
      {"1.5e+", 1, "malformed real literal", "e"},
  };
  for (const BadInput& c : cases) {
    try {
      scan(c.source, "bad.exp");
      ADD_FAILURE() << "no error for: " << c.source;
    } catch (const ExpressError& e) {
      EXPECT_EQ(e.first().line, c.line) << c.source;
      EXPECT_EQ(e.first().message, c.message) << c.source;
      EXPECT_EQ(e.first().near, c.near) << c.source;
      EXPECT_EQ(e.first().file, "bad.exp");
    }
  }
}

}  // namespace
}  // namespace korva::express
