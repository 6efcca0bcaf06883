#include "exchange/part21_tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "objdb/error_category.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

struct Tok {
  int code;
  std::string text;
  int line;
  int depth;
  bool operator==(const Tok& o) const {
    return code == o.code && text == o.text && line == o.line && depth == o.depth;
  }
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
  return os << "{" << t.code << ", \"" << t.text << "\", line " << t.line << ", depth " << t.depth
            << "}";
}

Tok Current(const Part21Tokenizer& t) {
  return Tok{t.token(), std::string(t.text(), t.textLength()), t.line(), t.depth()};
}

// Every token up to (not including) the end of file.  A scanner that
// consumes nothing would exceed the bound: each token takes at least one
// byte of input.
std::vector<Tok> Drain(Part21Tokenizer& t, std::size_t inputSize) {
  std::vector<Tok> out;
  for (std::size_t i = 0; i <= inputSize + 1; ++i) {
    if (t.next() == kP21EndOfFile) return out;
    out.push_back(Current(t));
  }
  ADD_FAILURE() << "no end of file after " << inputSize + 2 << " tokens";
  return out;
}

// Captures what the reporter prints and restores its streams afterwards.
class Part21TokenizerTest : public ::testing::Test {
 protected:
  void SetUp() override { TARN().reporter()->setStreams(out_.get(), err_.get()); }
  void TearDown() override { TARN().reporter()->setStreams(stdout, stderr); }

  std::vector<Tok> Scan(const std::string& input) {
    Part21Tokenizer t(input.data(), input.size(), "t.stp");
    return Drain(t, input.size());
  }
  std::string Messages() const { return out_.text(); }

  // The first token of `input` and what was reported up to the second, with
  // a token buffer that cannot grow past `maxTokenSize`.
  struct Outcome {
    int code;
    std::string text;
    std::string messages;
  };
  Outcome First(const std::string& input, std::size_t maxTokenSize = 4096) {
    test::CapturedStream out;
    TARN().reporter()->setStreams(out.get(), err_.get());
    Part21Tokenizer t(input.data(), input.size(), "t.stp");
    t.setMaxTokenSize(maxTokenSize);
    Outcome o{t.next(), std::string(t.text(), t.textLength()), ""};
    t.next();
    o.messages = out.text();
    TARN().reporter()->setStreams(out_.get(), err_.get());
    return o;
  }

  test::CapturedStream out_, err_;
};

// Each line of `lines` as a warning on line 1 of t.stp.
std::string Warnings(const char* lines) {
  std::string out;
  for (const char* m = lines; *m != '\0';) {
    const char* end = std::strchr(m, '\n');
    out += "t.stp(1): warning: " + std::string(m, end + 1);
    m = end + 1;
  }
  return out;
}

TEST(Part21TokenizerNames, TokenNamesFoundTextsAndReservedWords) {
  for (int code : {0, -1, 7, 28}) EXPECT_STREQ(Part21Tokenizer::TokenName(code), "other token");
  EXPECT_STREQ(Part21Tokenizer::TokenName(kP21EndIso), "'END-ISO-10303-21'");
  EXPECT_STREQ(Part21Tokenizer::TokenName(kP21UserKeyword), "user-defined keyword");
  EXPECT_STREQ(Part21Tokenizer::FoundText(kP21Keyword, "IFCWALL"), "IFCWALL");
  EXPECT_STREQ(Part21Tokenizer::FoundText(kP21UserKeyword, "!X"), "!X");
  EXPECT_STREQ(Part21Tokenizer::FoundText(kP21Header, "HEADER"), "'HEADER'");

  const struct { const char* word; int code; } words[] = {
      {"ISO-10303-21", kP21Iso}, {"END-ISO-10303-21", kP21EndIso}, {"HEADER", kP21Header},
      {"DATA", kP21Data}, {"ENDSEC", kP21EndSec}, {"&SCOPE", kP21Scope},
      {"ENDSCOPE", kP21EndScope}, {"FILE_DESCRIPTION", kP21Keyword},
      {"FILE_NAME", kP21Keyword}, {"FILE_SCHEMA", kP21Keyword}, {"STEP", kP21Keyword},
      {"ENDSTEP", kP21Keyword}, {"DATE", kP21Keyword}, {"HEADEX", kP21Keyword},
      {"ENDSED", kP21Keyword}, {"&SCOPX", kP21Keyword}, {"ISO-10303-22", kP21Keyword},
      {"END-ISO-10303-2X", kP21Keyword}, {"", kP21Keyword}};
  for (const auto& w : words)
    EXPECT_EQ(Part21Tokenizer::KeywordCode(w.word, std::strlen(w.word)), w.code) << w.word;
}

// Token sequences of small inputs: codes, texts, lines and depths.
TEST_F(Part21TokenizerTest, TokenSequences) {
  const struct {
    const char* input;
    std::vector<Tok> tokens;
  } cases[] = {
      {"ISO-10303-21;\nHEADER;",
       {{25, "ISO-10303-21", 1, 0}, {23, ";", 1, 0}, {15, "HEADER", 2, 0}, {23, ";", 2, 0}}},
      {"data;EndSec;end-iso-10303-21;",
       {{6, "DATA", 1, 0}, {23, ";", 1, 0}, {9, "ENDSEC", 1, 0}, {23, ";", 1, 0},
        {10, "END-ISO-10303-21", 1, 0}, {23, ";", 1, 0}}},
      {"#12=IFCWALL('a',$,*,.T.,(1,2.5),\"0FF\");",
       {{11, "#12", 1, 0}, {17, "IFCWALL", 1, 0}, {18, "(", 1, 1}, {26, "a", 1, 1},
        {5, ",", 1, 1}, {4, "$", 1, 1}, {5, ",", 1, 1}, {19, "*", 1, 1}, {5, ",", 1, 1},
        {13, "T", 1, 1}, {5, ",", 1, 1}, {18, "(", 1, 2}, {16, "1", 1, 2}, {5, ",", 1, 2},
        {20, "2.5", 1, 2}, {21, ")", 1, 1}, {5, ",", 1, 1}, {3, "0FF", 1, 1},
        {21, ")", 1, 0}, {23, ";", 1, 0}}},
      {"!my_Type(1)",
       {{27, "!MY_TYPE", 1, 0}, {18, "(", 1, 1}, {16, "1", 1, 1}, {21, ")", 1, 0}}},
      {"&scope ENDSCOPE /#1/",
       {{22, "&SCOPE", 1, 0}, {8, "ENDSCOPE", 1, 0}, {24, "/", 1, 0}, {12, "#1", 1, 0},
        {24, "/", 1, 0}}},
      {"FILE_NAME STEP ENDSTEP _X1-",
       {{17, "FILE_NAME", 1, 0}, {17, "STEP", 1, 0}, {17, "ENDSTEP", 1, 0}, {1, "_X1-", 1, 0}}},
      {"A/*x*/B/**/C/***/D/ E",
       {{17, "A", 1, 0}, {17, "B", 1, 0}, {17, "C", 1, 0}, {17, "D", 1, 0}, {24, "/", 1, 0},
        {17, "E", 1, 0}}},
      {"\\N\\A\\F\\ B", {{17, "A", 1, 0}, {17, "B", 1, 0}}},
      {".ELEMENT_2.,.t.", {{13, "ELEMENT_2", 1, 0}, {5, ",", 1, 0}, {13, "t", 1, 0}}},
      {"\"\"\"3ab\"", {{3, "", 1, 0}, {3, "3ab", 1, 0}}},
      // Depth never goes below zero.
      {"())(", {{18, "(", 1, 1}, {21, ")", 1, 0}, {21, ")", 1, 0}, {18, "(", 1, 1}}},
      // Blanks, tabs, carriage returns and other separators.
      {" \t\r\v\f\x01\x80\xFF" "A", {{17, "A", 1, 0}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Scan(c.input), c.tokens) << c.input;
  }
}

TEST_F(Part21TokenizerTest, Numbers) {
  const struct {
    const char* input;
    int code;
    std::int32_t integer;
    double real;
    int lowerExponents;
  } cases[] = {
      {"12", kP21Integer, 12, 12.0, 0},
      {"-7", kP21Integer, -7, -7.0, 0},
      {"+3", kP21Integer, 3, 3.0, 0},
      {"007", kP21Integer, 7, 7.0, 0},
      {"2147483647", kP21Integer, 2147483647, 2147483647.0, 0},
      {"2147483648", kP21Integer, INT32_MAX, 2147483647.0, 0},
      {"-99999999999999999999", kP21Integer, INT32_MIN, -2147483648.0, 0},
      {"1.", kP21Real, 0, 1.0, 0},
      {"1.5E-3", kP21Real, 0, 1.5e-3, 0},
      {"1.e-3", kP21Real, 0, 1e-3, 1},
      {"-0.25", kP21Real, 0, -0.25, 0},
      {"+2.E+2", kP21Real, 0, 200.0, 0},
      {"1.E400", kP21Real, 0, HUGE_VAL, 0},
      {"-1.E400", kP21Real, 0, -HUGE_VAL, 0},
      {"1.E-400", kP21Real, 0, 0.0, 0},
  };
  for (const auto& c : cases) {
    Part21Tokenizer t(c.input, std::strlen(c.input), "t.stp");
    EXPECT_EQ(t.next(), c.code) << c.input;
    EXPECT_STREQ(t.text(), c.input);
    EXPECT_EQ(t.integerValue(), c.integer) << c.input;
    EXPECT_EQ(t.realValue(), c.real) << c.input;
    EXPECT_EQ(t.lowerCaseExponents(), c.lowerExponents) << c.input;
    EXPECT_EQ(t.next(), kP21EndOfFile);
  }
  EXPECT_EQ(Messages(), "");

  // A number ends at the first character that cannot continue it; line
  // ends and control characters inside are skipped.
  EXPECT_EQ(Scan("12,-3)"), (std::vector<Tok>{{16, "12", 1, 0}, {5, ",", 1, 0},
                                               {16, "-3", 1, 0}, {21, ")", 1, 0}}));
  EXPECT_EQ(Scan("1\n2\x01" "3 4"), (std::vector<Tok>{{16, "123", 2, 0}, {16, "4", 2, 0}}));
}

TEST_F(Part21TokenizerTest, InvalidNumbers) {
  const char* const invalid[] = {"1E5", "1E-3", "-.5", "+", "1-2", "1.5E3E2", "12e", "4.5."};
  for (const char* input : invalid) {
    Outcome o = First(input);
    EXPECT_EQ(o.code, kP21Unreadable) << input;
    EXPECT_EQ(o.text, input);
    EXPECT_EQ(o.messages, Warnings("Invalid number.\n")) << input;
  }
  for (const char* input : {"1.E", "1.e+"}) {
    Outcome o = First(input);
    EXPECT_EQ(o.code, kP21Unreadable) << input;
    EXPECT_EQ(o.messages, Warnings("Number has no digits in exponent.\n")) << input;
  }
}

TEST_F(Part21TokenizerTest, Strings) {
  const struct {
    const char* input;
    std::string text;
    const char* messages;
  } cases[] = {
      {"'it''s'", "it's", ""},
      {"''''''", "''", ""},
      {"'a\\\\b'", "a\\b", ""},
      {"'\\S\\a\\S\\''", "\xE1\xA7", ""},
      {"'\\S\\\n*'", "\xAA", ""},
      {"'\\PA\\x\\PI\\'", "x", ""},
      {"'\\PZ\\x'", "x", "Bad ISO 8859 alphabet, ignored.\n"},
      {"'\\PJ\\\\Pa\\'", "", "Bad ISO 8859 alphabet, ignored.\nBad ISO 8859 alphabet, ignored.\n"},
      {"'\\X\\E9\\X\\e9\\X\\0a'", "\xE9\xE9\n", ""},
      {"'\\X\\00z'", "z", "Null character '\\X\\00' not allowed in string.\n"},
      {"'\\X\\G1'", "G1", "Bad hex encoding.\n"},
      {"'\\X\\4'", "", "Bad hex encoding.\n"},
      // Characters of \X2\ and \X4\ runs: 8-bit ones as bytes, others kept
      // as escape text with upper-case digits.
      {"'a\\X2\\00E9\\X0\\b'", "a\xE9" "b", ""},
      {"'\\X2\\00E90041\\X0\\\\X4\\000000E9\\X0\\'", "\xE9" "A\xE9", ""},
      {"'\\X2\\00e9\\X0\\'", "\xE9", "Lower case in hex constant.\n"},
      {"'\\X2\\00e9006a\\X0\\'", "\xE9j", "Lower case in hex constant.\n"},
      {"'\\X2\\5E8A\\X0\\'", "\\X2\\5E8A\\X0\\", ""},
      {"'\\X2\\5e8a0009\\X0\\'", "\\X2\\5E8A0009\\X0\\", "Lower case in hex constant.\n"},
      {"'\\X2\\00FC5E8A5E8B0041\\X0\\'", "\xFC\\X2\\5E8A5E8B\\X0\\A", ""},
      {"'\\X4\\0001F600000000FC\\X0\\'", "\\X4\\0001F600\\X0\\\xFC", ""},
      {"'\\X2\\5E8A\n5E8B\\X0\\'", "\\X2\\5E8A5E8B\\X0\\", ""},
      {"'\\X2\\00E\\X0\\'", "", "Short hex constant.\n"},
      {"'\\X2\\\\X0\\'", "", "Short hex constant.\n"},
      {"'\\X4\\00E9\\X0\\'", "", "Short hex constant.\n"},
      {"'\\X2\\00G9\\X0\\'", "", "Invalid hex constant.\nShort hex constant.\n"},
      {"'\\X2\\00E9\\S\\a'", "\xE1", "Illegal control directive.\n"},
      {"'\\X2\\00E9'", "", "Unterminated control directive.\n"},
      {"'\\X2\\00E9\\X0A'", "A", "Illegal control directive.\nUnterminated control directive.\n"},
      {"'\\X0\\'", "", "End hex '\\X0\\' without start specifier.\n"},
      {"'\\N\\x\\F\\'", "x", ""},
      {"'\\Qx'", "Qx", "Illegal control directive in string.\n"},
      {"'\\X3\\'", "3", "Illegal control directive in string.\nIllegal control directive in string.\n"},
      {"'\\Sa'", "a", "Unterminated control directive.\n"},
      {"'a\tb\x01\xC3\xA9'", "ab",
       "Illegal character 0x09 in string, ignored.\nIllegal character 0x01 in string, ignored.\n"
       "Illegal character 0xc3 in string, ignored.\nIllegal character 0xa9 in string, ignored.\n"},
      {"'a\r\nb'", "ab", ""},
  };
  for (const auto& c : cases) {
    Outcome o = First(c.input);
    EXPECT_EQ(o.code, kP21String) << c.input;
    EXPECT_EQ(o.text, c.text) << c.input;
    EXPECT_EQ(o.messages, Warnings(c.messages)) << c.input;
  }
}

// Warnings of the scanner outside strings and numbers, with the token that
// comes out.
TEST_F(Part21TokenizerTest, ScannerWarnings) {
  const struct {
    const char* input;
    int code;
    const char* text;
    const char* messages;
  } cases[] = {
      {"%A", kP21Keyword, "A", "Unexpected character '%'.\n"},
      {"~|A", kP21Keyword, "A", "Unexpected character '~'.\nUnexpected character '|'.\n"},
      {"\\QA", kP21Keyword, "QA", "Illegal control directive.\n"},
      {"\\N;", kP21Semicolon, ";", "Illegal control directive.\n"},
      {"&FOO", kP21Unreadable, "&FOO", "Expecting &SCOPE, found &FOO.\n"},
      {"!(", kP21Unreadable, "!", "Empty user-defined keyword.\n"},
      {"IFC-WALL", kP21Unreadable, "IFC-WALL", "Illegal hyphens in keyword IFC-WALL.\n"},
      {"!A-B", kP21Unreadable, "!A-B", "Illegal hyphens in keyword !A-B.\n"},
      {"AB\x01" "C", kP21Keyword, "ABC", "Illegal character 0x01 in keyword, ignored.\n"},
      {"AB\xE4", kP21Keyword, "AB", "Illegal character 0xe4 in keyword, ignored.\n"},
      {"#x", kP21Unreadable, "#", "Entity reference needs at least one digit.\n"},
      {"#0", kP21EntityReference, "#0", "Entity reference '#0' not allowed.\n"},
      {".A,B.", kP21Unreadable, "A", "Illegal character ',' in enum.\n"},
      {".A\x01" "B.", kP21Enumeration, "AB", "Illegal character 0x01 in enum.\n"},
      {"\"0Z1Y\"", kP21Unreadable, "01", "Illegal character in binary, ignored.\n"},
      {"\"0\\Q1\"", kP21Binary, "01", "Illegal control directive.\n"},
      {"\"0\\N\\1\"", kP21Binary, "01", ""},
  };
  for (const auto& c : cases) {
    Outcome o = First(c.input);
    EXPECT_EQ(o.code, c.code) << c.input;
    EXPECT_EQ(o.text, c.text) << c.input;
    EXPECT_EQ(o.messages, Warnings(c.messages)) << c.input;
  }
}

TEST_F(Part21TokenizerTest, EndOfFileInsideTokens) {
  const struct {
    const char* input;
    const char* messages;
  } cases[] = {
      {"A\n'abc\nde", "t.stp(3): warning: End of file in string on line 2\n"},
      {"'ab\\", "t.stp(1): warning: End of file in string on line 1\n"},
      {"'ab\\X2\\00", "t.stp(1): warning: Short hex constant.\n"
                      "t.stp(1): warning: End of file in string on line 1\n"},
      {"A /* x\n y", "t.stp(2): warning: End of file in comment.\n"},
      {"#1 /* x", "t.stp(1): warning: End of file in comment.\n"},
      {".ABC", "t.stp(1): warning: End of file in enumeration.\n"},
      {"\"0F\n", "t.stp(2): warning: End of file in binary.\n"},
  };
  for (const auto& c : cases) {
    test::CapturedStream out;
    TARN().reporter()->setStreams(out.get(), err_.get());
    Part21Tokenizer t(c.input, std::strlen(c.input), "t.stp");
    int code;
    int n = 0;
    while ((code = t.next()) != kP21EndOfFile && n < 5) ++n;
    EXPECT_EQ(code, kP21EndOfFile) << c.input;
    EXPECT_STREQ(t.text(), "");
    EXPECT_EQ(t.next(), kP21EndOfFile);
    EXPECT_EQ(out.text(), c.messages) << c.input;
  }
}

TEST_F(Part21TokenizerTest, LinesInMultiLineTokensAndCrLfFiles) {
  const std::string input =
      "ISO-10303-21;\r\n"
      "/* a comment\r\n"
      "   over two lines */ HEADER;\r\n"
      "#1=X('first\r\n"
      "second',\r\n"
      ".E\r\nNUM.,\"0\r\n1\");\r\n"
      "%";
  EXPECT_EQ(Scan(input),
            (std::vector<Tok>{{25, "ISO-10303-21", 1, 0}, {23, ";", 1, 0}, {15, "HEADER", 3, 0},
                              {23, ";", 3, 0}, {11, "#1", 4, 0}, {17, "X", 4, 0},
                              {18, "(", 4, 1}, {26, "firstsecond", 5, 1}, {5, ",", 5, 1},
                              {13, "ENUM", 7, 1}, {5, ",", 7, 1}, {3, "01", 8, 1},
                              {21, ")", 8, 0}, {23, ";", 8, 0}}));
  EXPECT_EQ(Messages(), "t.stp(9): warning: Unexpected character '%'.\n");
}

TEST_F(Part21TokenizerTest, DeclarationOrReferenceAcrossSeparators) {
  const struct {
    const char* input;
    std::vector<Tok> tokens;
  } cases[] = {
      {"#5 = IFCWALL", {{11, "#5", 1, 0}, {17, "IFCWALL", 1, 0}}},
      {"#5,", {{12, "#5", 1, 0}, {5, ",", 1, 0}}},
      {"#5 /* c */\n\t= X", {{11, "#5", 1, 0}, {17, "X", 2, 0}}},
      {"#5 \\N\\ \\F\\=X", {{11, "#5", 1, 0}, {17, "X", 1, 0}}},
      {"#5 /x", {{12, "#5", 1, 0}, {24, "/", 1, 0}, {17, "X", 1, 0}}},
      {"#5\n)", {{12, "#5", 1, 0}, {21, ")", 2, 0}}},
      {"#5 \\NX", {{12, "#5", 1, 0}, {17, "X", 1, 0}}},
      {"#007=", {{11, "#007", 1, 0}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Scan(c.input), c.tokens) << c.input;
  EXPECT_EQ(Messages(), "t.stp(1): warning: Illegal control directive.\n");

  const std::string big = "#4294967295 #99999999999 #42";
  Part21Tokenizer t(big.data(), big.size(), "t.stp");
  const std::uint32_t numbers[] = {4294967295u, 4294967295u, 42u};
  for (std::uint32_t n : numbers) {
    ASSERT_EQ(t.next(), kP21EntityReference);
    EXPECT_EQ(t.instanceNumber(), n);
  }
}

TEST_F(Part21TokenizerTest, ExpectAdvancesOrReports) {
  const std::string input = "HEADER;\nFOO !BAR";
  Part21Tokenizer t(input.data(), input.size(), "t.stp");
  t.next();
  EXPECT_TRUE(t.expect(kP21Header));
  EXPECT_EQ(t.token(), kP21Semicolon);
  EXPECT_FALSE(t.expect(kP21Iso));
  EXPECT_EQ(t.token(), kP21Semicolon);
  EXPECT_TRUE(t.expect(kP21Semicolon));
  EXPECT_FALSE(t.expect(kP21OpenParen));
  t.next();
  EXPECT_FALSE(t.expect(kP21Semicolon));
  t.next();
  EXPECT_FALSE(t.expect(kP21Keyword));
  EXPECT_EQ(Messages(),
            "t.stp(1): error: Expecting 'ISO-10303-21', found ';' instead.\n"
            "t.stp(2): error: Expecting '(', found FOO instead.\n"
            "t.stp(2): error: Expecting ';', found !BAR instead.\n"
            "t.stp(2): error: Expecting keyword, found end of file instead.\n");
}

// The two passes over a complex instance.
TEST_F(Part21TokenizerTest, RecordingAndReplay) {
  const std::string input = "#7=(A(1,'s')\nB(2.5,#3)) ;X";
  Part21Tokenizer t(input.data(), input.size(), "t.stp");
  ASSERT_EQ(t.next(), kP21EntityDeclaration);
  ASSERT_EQ(t.next(), kP21OpenParen);
  t.startRecording();
  std::vector<Tok> first;
  while (t.next() != kP21CloseParen || t.depth() != 0) {
    first.push_back(Current(t));
    if (t.token() == kP21Keyword) {  // a look at the name, then back
      t.pushBack();
      EXPECT_EQ(Current(t), first.back());
      EXPECT_EQ(t.next(), kP21Keyword);
      EXPECT_EQ(Current(t), first.back());
    }
  }
  first.push_back(Current(t));
  t.stopRecording();
  EXPECT_EQ(t.recordedCount(), first.size());
  t.replay();
  EXPECT_TRUE(t.replaying());
  std::vector<Tok> second;
  std::vector<double> reals;
  for (std::size_t i = 0; i < first.size(); ++i) {
    t.next();
    second.push_back(Current(t));
    if (t.token() == kP21Real) reals.push_back(t.realValue());
    if (t.token() == kP21EntityReference) {
      EXPECT_EQ(t.instanceNumber(), 3u);
    }
    if (t.token() == kP21Integer) {
      EXPECT_EQ(t.integerValue(), 1);
    }
  }
  EXPECT_EQ(second, first);
  EXPECT_EQ(reals, std::vector<double>{2.5});
  EXPECT_EQ(first[6].text, "B");
  EXPECT_EQ(first[6].line, 2);
  // Then scanning goes on after the instance.
  EXPECT_EQ(t.next(), kP21Semicolon);
  EXPECT_FALSE(t.replaying());
  EXPECT_EQ(t.next(), kP21Keyword);
  EXPECT_STREQ(t.text(), "X");
}

TEST_F(Part21TokenizerTest, ReplayEdgeCases) {
  const std::string input = "A B C D LONGER_NAME SHORT";
  Part21Tokenizer t(input.data(), input.size(), "t.stp");
  t.next();  // A
  t.pushBack();
  t.startRecording();
  t.next();  // A again, recorded because it was pushed back before
  t.next();  // B
  t.next();  // C
  t.replay();
  EXPECT_EQ(t.recordedCount(), 0u);
  std::string seen;
  t.next();  // A
  seen += t.text();
  // Record part of the replay, then replay that before the rest.
  t.startRecording();
  t.next();  // B
  seen += t.text();
  t.replay();
  for (int i = 0; i < 4; ++i) {
    t.next();
    seen += t.text();
  }
  EXPECT_EQ(seen, "ABBCDLONGER_NAME");
  // The current token's text outlives the replay storage it came from.
  t.pushBack();
  t.startRecording();
  t.next();
  t.replay();
  t.next();  // LONGER_NAME, replayed
  t.startRecording();
  t.replay();  // nothing recorded
  EXPECT_STREQ(t.text(), "LONGER_NAME");
  EXPECT_EQ(t.next(), kP21Keyword);
  EXPECT_STREQ(t.text(), "SHORT");
}

TEST_F(Part21TokenizerTest, CountersReportedInOrder) {
  const std::string input = "a\tB \x01 C \xE9 1.e1 d\t2.5e0";
  Part21Tokenizer t(input.data(), input.size(), "t.stp");
  Drain(t, input.size());
  EXPECT_EQ(t.lowerCaseKeywords(), 2);
  EXPECT_EQ(t.lowerCaseExponents(), 2);
  EXPECT_EQ(t.tabs(), 2);
  EXPECT_EQ(t.controlCharacters(), 1);
  EXPECT_EQ(t.nonAsciiCharacters(), 1);
  t.reportCounters();
  EXPECT_EQ(Messages(),
            "t.stp(1): warning: Lowercase 'e' used for exponent. (2 occurrences)\n"
            "t.stp(1): warning: Lowercase letters used in keywords. (2 occurrences)\n"
            "t.stp(1): warning: Tabs used in file, ignored. (2 occurrences)\n"
            "t.stp(1): warning: Control characters in file, ignored. (1 occurrences)\n"
            "t.stp(1): warning: Non-ASCII characters in file, ignored. (1 occurrences)\n");

  // Only the non-zero counters are reported.
  test::CapturedStream out;
  TARN().reporter()->setStreams(out.get(), err_.get());
  const std::string oneTab = "A;\n\tB;\n";
  Part21Tokenizer u(oneTab.data(), oneTab.size(), "t.stp");
  EXPECT_EQ(Drain(u, oneTab.size()).size(), 4u);
  u.reportCounters();
  EXPECT_EQ(out.text(), "t.stp(3): warning: Tabs used in file, ignored. (1 occurrences)\n");
}

TEST_F(Part21TokenizerTest, LongTokensGrowTheBuffer) {
  const std::string name(3000, 'K');
  const std::string body(70000, 'x');
  const std::string input = name + " '" + body + "''" + body + "' '\\X\\41'";
  Part21Tokenizer t(input.data(), input.size(), "t.stp");
  ASSERT_EQ(t.next(), kP21Keyword);
  EXPECT_EQ(std::string(t.text(), t.textLength()), name);
  ASSERT_EQ(t.next(), kP21String);
  EXPECT_EQ(std::string(t.text(), t.textLength()), body + "'" + body);
  ASSERT_EQ(t.next(), kP21String);
  EXPECT_STREQ(t.text(), "A");
  EXPECT_EQ(Messages(), "");
}

TEST_F(Part21TokenizerTest, TokenThatCannotBeHeldEndsTheInput) {
  // A buffer of 4096 bytes holds 4089 characters: before the next one
  // fewer than 8 bytes remain and it must be doubled.
  for (std::size_t size : {4089u, 4090u}) {
    Outcome o = First("'" + std::string(size, 'y') + "' A");
    EXPECT_EQ(o.code, size == 4089u ? kP21String : kP21EndOfFile);
    EXPECT_EQ(o.text.size(), size == 4089u ? size : 0u);
    EXPECT_EQ(o.messages,
              size == 4089u ? "" : Warnings("Excessively long token, could not allocate memory.\n"));
  }
}

// A stream read in 64 KB blocks gives the same tokens as the same text in
// memory, also for tokens and pushbacks that straddle block boundaries.
TEST_F(Part21TokenizerTest, StreamInputMatchesMemoryInput) {
  std::string input = "ISO-10303-21;\nDATA;\n";
  for (int i = 1; input.size() < 3 * Part21Tokenizer::kBlockSize; ++i) {
    input += "#" + std::to_string(i) + " = IFCCARTESIANPOINT((" + std::to_string(i) +
             ".5,-2.E-1,3),'p\\X\\E9" + std::string(static_cast<std::size_t>(i % 13), 'q') +
             "',.T.,\"0A\",#" + std::to_string(i + 1) + ");/* n */\n";
  }
  input += "ENDSEC;";
  std::vector<Tok> fromMemory = Scan(input);

  test::CapturedStream file;
  std::fwrite(input.data(), 1, input.size(), file.get());
  std::rewind(file.get());
  Part21Tokenizer t(file.get(), "t.stp");
  std::vector<Tok> fromStream = Drain(t, input.size());
  ASSERT_EQ(fromStream.size(), fromMemory.size());
  EXPECT_TRUE(fromStream == fromMemory);
  EXPECT_EQ(Messages(), "");
}

TEST_F(Part21TokenizerTest, ContextIsPoppedWhenReadingEnds) {
  {
    const std::string input = "\n\n%";
    Part21Tokenizer t(input.data(), input.size(), nullptr);
    t.next();
    DatabaseMessages().warning("inside");
    t.endReading();
    DatabaseMessages().warning("after end");
    t.endReading();  // once only
  }
  {
    Part21Tokenizer t("", 0, "x.ifc");
    DatabaseMessages().warning("second");
  }
  DatabaseMessages().warning("outside");
  EXPECT_EQ(Messages(),
            "line 3: warning: Unexpected character '%'.\n"
            "line 3: warning: inside\n"
            "TARN: warning: after end\n"
            "x.ifc(1): warning: second\n"
            "TARN: warning: outside\n");
}

// Random bytes and truncated files end in end of file without crashing or
// looping.
TEST_F(Part21TokenizerTest, HostileInputTerminates) {
  const std::string sample =
      "ISO-10303-21;HEADER;FILE_NAME('a\\X2\\00E9\\X0\\','\\S\\a\\X\\41');ENDSEC;DATA;\n"
      "#1=(A(1.5E-3,-2)B(.T.,\"0F\"))/* c */;#2=X(#1,$,*,!U(3));&SCOPE #3=Y(); ENDSCOPE /#3/"
      "\\N\\ #4 \\F\\ = Z((('x''y')));ENDSEC;END-ISO-10303-21;";
  for (std::size_t n = 0; n <= sample.size(); ++n) {
    Part21Tokenizer t(sample.data(), n, "t.stp");
    Drain(t, n);
  }
  const char alphabet[] = "#='\"\\.()/*,;$!&+-eE0123456789XSPNF2AZaz _\n\r\t\x01\x80\xFF";
  std::mt19937 rng(12345);
  std::string input;
  for (int round = 0; round < 300; ++round) {
    input.resize(rng() % (round % 3 == 0 ? 3000 : 400));
    for (char& c : input) {
      c = (rng() % 4 == 0) ? static_cast<char>(rng() % 256)
                           : alphabet[rng() % (sizeof alphabet - 1)];
    }
    Part21Tokenizer t(input.data(), input.size(), "t.stp");
    if (round % 3 == 0) t.setMaxTokenSize(Part21Tokenizer::kInitialTokenSize);  // no growth
    std::vector<Tok> toks = Drain(t, input.size());
    for (const Tok& tok : toks) ASSERT_GE(tok.depth, 0);
    t.reportCounters();
  }
}

}  // namespace
}  // namespace korva
