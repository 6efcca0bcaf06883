#include "exchange/part21_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "exchange/part21_tokenizer.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

using Writes = std::function<void(Part21Output&)>;

// What `writes` puts into a file, and the column it ends on.
std::string Render(const Writes& writes, std::size_t bufferSize = Part21Output::kDefaultBufferSize,
                   unsigned* column = nullptr) {
  test::CapturedStream stream;
  {
    Part21Output out(stream.get(), bufferSize);
    writes(out);
    EXPECT_FALSE(out.error());
    if (column != nullptr) *column = out.column();
  }
  return stream.text();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

// printf's text with the exchange-file fix-up, as the reference for the
// to_chars path.
std::string PrintfReal(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  std::string text = buf;
  if (text == "-0") return "0.";
  std::size_t e = text.find('E');
  std::string mantissa = text.substr(0, e);
  std::string exponent = e == std::string::npos ? "" : text.substr(e);
  if (mantissa.find('.') == std::string::npos) mantissa += '.';
  return mantissa + exponent;
}

TEST(Part21OutputReal, ExactForms) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  struct Case { double value; const char* text; } doubles[] = {
      {1, "1."}, {0, "0."}, {-0.0, "0."}, {0.1, "0.1"}, {3, "3."}, {-1, "-1."},
      {1.5E-10, "1.5E-10"}, {1E+20, "1.E+20"}, {1.0E-20, "1.E-20"}, {1E15, "1.E+15"},
      {123456789012345.0, "123456789012345."}, {0.0001, "0.0001"}, {0.00001, "1.E-05"},
      {DBL_MAX, "1.79769313486232E+308"}, {4.9E-324, "4.94065645841247E-324"},
      {-2.2250738585072014E-308, "-2.2250738585072E-308"},
      // Null marker and NaN are null; only the infinities get the comment.
      {2.2250738585072014E-308, "$"}, {nan, "$"}, {-nan, "$"},
      {inf, "$ /* Inf or NaN */"}, {-inf, "$ /* Inf or NaN */"},
  };
  char buf[kRealTextSize];
  for (const Case& c : doubles) {
    EXPECT_EQ(FormatReal(c.value, buf), c.text);
    EXPECT_STREQ(buf, c.text);
    EXPECT_EQ(Render([&](Part21Output& out) { out.writeReal(c.value); }), c.text);
  }
  struct SingleCase { float value; const char* text; } singles[] = {
      {1.f, "1."}, {-0.f, "0."}, {0.1f, "0.1"}, {1234567.f, "1234567."},
      {16777216.f, "1.677722E+07"}, {FLT_MAX, "3.402823E+38"}, {1.4E-45f, "1.401298E-45"},
      // No null marker in single precision: NaN is just non-finite.
      {std::nanf(""), "$ /* Inf or NaN */"}, {-HUGE_VALF, "$ /* Inf or NaN */"},
  };
  for (const SingleCase& c : singles) {
    EXPECT_EQ(FormatSingleReal(c.value, buf), c.text);
    EXPECT_EQ(Render([&](Part21Output& out) { out.writeSingleReal(c.value); }), c.text);
  }
}

TEST(Part21OutputReal, DigitsMatchPrintf) {
  std::mt19937_64 rng(20240521);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::vector<double> doubles;
  std::vector<float> singles;
  for (int i = 0; i < 100000; ++i) {
    uint64_t bits = rng();
    double d;
    float f;
    std::memcpy(&d, &bits, sizeof d);  // every exponent, subnormals included
    std::memcpy(&f, &bits, sizeof f);
    singles.push_back(f);
    doubles.push_back(d);
    doubles.push_back(static_cast<double>(static_cast<int64_t>(rng()) >> (rng() % 64)));
    doubles.push_back(static_cast<double>(rng() % 2000001) / std::pow(10.0, rng() % 12));
    doubles.push_back(mantissa(rng) * std::pow(10.0, static_cast<int>(rng() % 620) - 310));
    // Sixteen-digit integers ending in 5: exact ties at fifteen digits.
    doubles.push_back(1e15 + static_cast<double>(rng() % 899999999999999 / 10 * 10 + 5));
  }
  for (double d : doubles) singles.push_back(static_cast<float>(d));
  char buf[kRealTextSize];
  int mismatches = 0;
  for (double d : doubles) {
    if (!std::isfinite(d) || d == 2.2250738585072014E-308) continue;
    std::string expected = PrintfReal("%.15G", d);
    if (FormatReal(d, buf) != expected && mismatches++ < 10)
      ADD_FAILURE() << expected << " got " << buf;
  }
  for (float f : singles) {
    if (!std::isfinite(f)) continue;
    std::string expected = PrintfReal("%.7G", f);
    if (FormatSingleReal(f, buf) != expected && mismatches++ < 10)
      ADD_FAILURE() << expected << " got " << buf;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Part21OutputPrimitives, ExactTexts) {
  struct Case { const char* text; Writes writes; } cases[] = {
      {"0 -2147483647 2147483647 $", [](Part21Output& o) {
         for (int32_t v : {0, -INT_MAX, INT_MAX}) { o.writeInteger(v); o.writeChar(' '); }
         o.writeInteger(INT_MIN);
       }},
      {".F..T..U.$$$", [](Part21Output& o) {
         for (int v : {0, 1, 2, 3, -1, 255}) o.writeLogical(v);
       }},
      {".IFCBEAM..MIXED_CASE1.$$", [](Part21Output& o) {
         for (const char* name : {"IfcBeam", "Mixed_case1", "", static_cast<const char*>(nullptr)})
           o.writeEnumeration(name);
       }},
      {"#0#4294967295\"3FF\"$$*()", [](Part21Output& o) {
         o.writeReference(0); o.writeReference(UINT_MAX);
         o.writeBinary("3FF"); o.writeBinary(nullptr); o.writeString(nullptr); o.writeDerived();
         o.openAggregate(); o.closeAggregate();
       }},
      {"IFC_WALL2\xE9-X", [](Part21Output& o) { o.writeIdentifier("Ifc_wall2\xE9-x"); }},
      {"ISO-10303-21;\nab\ncde", [](Part21Output& o) {
         o.writeKeyword("ISO-10303-21"); o.writeEndRecord(); o.writeKeyword("ab\ncde");
       }},
      {"(#12,IFCREAL(1.5),$)", [](Part21Output& o) {
         Part21Separator next;
         o.openAggregate();
         next(o); o.writeReference(12);
         next(o); o.openTyped("IfcReal"); o.writeReal(1.5); o.closeTyped();
         next(o); o.writeReal(std::nan(""));
         o.closeAggregate();
       }},
      {"/* line one\nline two */", [](Part21Output& o) { o.writeComment("line one\nline two"); }},
      {"FILE_DESCRIPTION(\n/* description */ (''),\n/* implementation_level */ '2;1');\n",
       [](Part21Output& o) {
         Part21Separator next;
         o.openTyped("file_description");
         next(o); o.writeAttributeLabel("description");
         o.openAggregate(); o.writeString(""); o.closeAggregate();
         next(o); o.writeAttributeLabel("implementation_level");
         o.writeString("2;1");
         o.closeTyped();
         o.writeEndRecord();
       }},
  };
  for (const Case& c : cases) {
    unsigned column = 0;
    std::string text = Render(c.writes, Part21Output::kDefaultBufferSize, &column);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(column, text.size() - (text.rfind('\n') + 1)) << c.text;
  }
}

TEST(Part21OutputString, Escaping) {
  struct Case { std::string in, out; } cases[] = {
      {"it's a\\b", "'it''s a\\\\b'"}, {"\t", "'\\X\\09'"}, {"\xE9", "'\\X\\E9'"},
      {"", "''"}, {" ~\x7F\x1F\x80\xFF", "' ~\\X\\7F\\X\\1F\\X\\80\\X\\FF'"},
      {std::string("a\0b", 3), "'a\\X\\00b'"},
      // Kept escapes of the reader as they are; text that only looks like
      // one keeps its backslashes doubled.
      {"\\X2\\5E8A\\X0\\", "'\\X2\\5E8A\\X0\\'"},
      {"\\X4\\0001F600\\X0\\", "'\\X4\\0001F600\\X0\\'"},
      {"a\\\\X2\\001F\\X0\\\xFC", "'a\\\\\\X2\\001F\\X0\\\\X\\FC'"},
      {"\\X2\\00FC\\X0\\", "'\\\\X2\\\\00FC\\\\X0\\\\'"},
      {"\\X2\\5e8a\\X0\\", "'\\\\X2\\\\5e8a\\\\X0\\\\'"},
      {"\\X2\\5E8A", "'\\\\X2\\\\5E8A'"},
      {"\\X2\\\\X0\\", "'\\\\X2\\\\\\\\X0\\\\'"},
      {"\\X4\\5E8A\\X0\\", "'\\\\X4\\\\5E8A\\\\X0\\\\'"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Render([&](Part21Output& o) { o.writeString(c.in.data(), c.in.size()); }), c.out);
}

TEST(Part21OutputString, LineBreaks) {
  auto run = [](std::size_t n, char c) { return std::string(n, c); };
  struct Case { std::string prefix, value, out; } cases[] = {
      // 80 characters: a new line with the quote and 70 characters, then the rest.
      {"X(", run(70, 'a') + run(10, 'b'), "X(\n'" + run(70, 'a') + "\n" + run(10, 'b') + "'"},
      // Column plus length reaching 71 starts a new line, 70 does not; the
      // opening quote is not counted, so at 70 the last character reaches
      // column 71 and the closing quote goes to the next line.
      {run(9, 'p'), run(60, 'c'), run(9, 'p') + "'" + run(60, 'c') + "'"},
      {run(10, 'p'), run(60, 'c'), run(10, 'p') + "'" + run(60, 'c') + "\n'"},
      {run(11, 'p'), run(60, 'c'), run(11, 'p') + "\n'" + run(60, 'c') + "'"},
      {"", run(70, 'a'), "'" + run(70, 'a') + "\n'"},
      // An escape that passes column 70 stays whole before the break.
      {"(", run(68, 'a') + "\t", "('" + run(68, 'a') + "\\X\\09\n'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Render([&](Part21Output& o) {
                o.writeKeyword(c.prefix);
                o.writeString(c.value.c_str());
              }),
              c.out);
  }
}

// Strings without escapes take a short path when they fit on the line; at
// every starting column and length around the limits the result is the one
// the character-by-character rule gives.
TEST(Part21OutputString, PlainStringsBreakLikeEscapedOnes) {
  auto rule = [](unsigned column, const std::string& text) {
    std::string out;
    if (text.size() > 70 || column + text.size() >= 71) {
      out += '\n';
      column = 0;
    }
    out += '\'';
    ++column;
    for (char c : text) {
      out += c;
      if (++column > 70) {
        out += '\n';
        column = 0;
      }
    }
    return out + '\'';
  };
  for (unsigned column = 0; column <= 75; ++column) {
    for (std::size_t length = 0; length <= 75; ++length) {
      const std::string prefix(column, 'p'), text(length, 'v');
      const std::string written = Render([&](Part21Output& o) {
        o.writeKeyword(prefix);
        o.writeString(text.c_str());
      });
      ASSERT_EQ(written, prefix + rule(column, text)) << "column " << column << ", length " << length;
    }
  }
}

// Stored strings written and scanned again come back unchanged, wherever
// the line breaks fall: kept escapes (broken between characters only),
// bytes of every kind, and text that merely looks like an escape.
TEST(Part21OutputString, WrittenStringsScanBackUnchanged) {
  std::string longRun = "\\X2\\";
  for (int i = 0; i < 40; ++i) longRun += "5E8A";
  longRun += "\\X0\\";
  const std::string values[] = {
      longRun,
      "Tr\xFCger \\X2\\5E8A5E8B\\X0\\ \\X4\\0001F600\\X0\\",
      "\\X2\\000A\\X0\\\\X2\\5E8A\\X0\\",
      "C:\\X2\\dir\\ and \\X2\\00FC\\X0\\ it's",
      std::string("\x01\x7F\x80\xFF\\'"),
  };
  test::CapturedStream messages;
  TARN().reporter()->setStreams(messages.get(), messages.get());
  for (const std::string& value : values) {
    for (unsigned column = 0; column < 75; column += 3) {
      const std::string written = Render([&](Part21Output& o) {
        o.writeKeyword(std::string(column, ' '));
        o.writeString(value.c_str());
      });
      for (const std::string& line : Lines(written)) ASSERT_LE(line.size(), 78u) << written;
      Part21Tokenizer t(written.data(), written.size(), "w.ifc");
      ASSERT_EQ(t.next(), kP21String) << written;
      EXPECT_EQ(std::string(t.text(), t.textLength()), value) << written;
      EXPECT_EQ(t.next(), kP21EndOfFile) << written;
    }
  }
  TARN().reporter()->setStreams(stdout, stderr);
  EXPECT_EQ(messages.text(), "");
}

TEST(Part21OutputWrap, IntegerListBreaksAfterCommaAtColumn71) {
  std::vector<int32_t> values;
  std::string unbroken = "(";
  for (int i = 0; i < 400; ++i) {
    values.push_back((i * 7919) % 1000003 - 500000 / (i % 7 + 1));
    unbroken += (i ? "," : "") + std::to_string(values.back());
  }
  unbroken += ")";
  std::string text = Render([&](Part21Output& o) {
    Part21Separator next;
    o.openAggregate();
    for (int32_t v : values) { next(o); o.writeInteger(v); }
    o.closeAggregate();
  });
  std::vector<std::string> lines = Lines(text);
  ASSERT_GT(lines.size(), 20u);
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    joined += line;
    // The first comma at column 71 or beyond ends the line; none before it.
    std::size_t firstLate = line.find(',', 71);
    if (i + 1 < lines.size()) {
      EXPECT_EQ(firstLate, line.size() - 1) << line;
      EXPECT_LE(line.size(), 71u + 8u) << line;  // the longest value has 7 characters
    } else {
      EXPECT_EQ(firstLate, std::string::npos) << line;
    }
  }
  EXPECT_EQ(joined, unbroken);

}

// One of everything, as the buffer-size tests write it over and over.
void WriteMixture(Part21Output& o, int i) {
  o.writeReference(static_cast<uint32_t>(i));
  o.writeChar('=');
  o.openTyped("IfcCartesianPoint");
  Part21Separator next;
  next(o); o.writeInteger(i);
  next(o); o.writeReal(i * 0.37);
  next(o); o.writeSingleReal(static_cast<float>(i) / 3);
  next(o); o.writeString(std::string(static_cast<std::size_t>(i % 97), 'a').c_str());
  next(o); o.writeString("tab\there 'q' \xE9");
  next(o); o.writeEnumeration("notdefined");
  next(o); o.writeLogical(i % 4);
  next(o); o.writeBinary("2A5");
  next(o); o.writeAttributeLabel("name");
  o.writeComment("c");
  o.closeTyped();
  o.writeEndRecord();
}

TEST(Part21OutputBuffer, OutputLargerThanTheBuffer) {
  std::string expected;
  Writes lines = [&](Part21Output& o) {
    expected.clear();
    for (int i = 0; expected.size() < 3 * Part21Output::kDefaultBufferSize; ++i) {
      std::string line = std::string(static_cast<std::size_t>(i % 200), 'k') + std::to_string(i);
      o.writeKeyword(line);
      o.writeNewline();
      expected += line + "\n";
    }
  };
  Writes mixture = [](Part21Output& o) { for (int i = 0; i < 3000; ++i) WriteMixture(o, i); };
  std::string reference = Render(mixture);
  ASSERT_GT(reference.size(), Part21Output::kDefaultBufferSize);
  for (std::size_t size : {Part21Output::kDefaultBufferSize, std::size_t{1}, std::size_t{65},
                           std::size_t{4099}}) {
    EXPECT_EQ(Render(lines, size), expected) << size;
    EXPECT_EQ(Render(mixture, size), reference) << size;
  }
}

TEST(Part21OutputBuffer, FlushAndStreamErrors) {
  test::CapturedStream stream;
  Part21Output good(stream.get());
  good.writeKeyword("DATA");
  good.writeEndRecord();
  EXPECT_TRUE(good.flush());
  EXPECT_EQ(stream.text(), "DATA;\n");
  EXPECT_FALSE(good.error());

  test::TempDir dir;
  dir.write("in.txt", "x");
  std::FILE* readOnly = std::fopen(dir.file("in.txt").c_str(), "r");
  ASSERT_NE(readOnly, nullptr);
  {
    Part21Output out(readOnly);
    out.writeKeyword("ENDSEC");
    EXPECT_TRUE(out.error());
  }
  std::fclose(readOnly);

  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  {
    Part21Output out(full, 64);
    out.writeKeyword("short");
    EXPECT_FALSE(out.failed());  // still in the buffer
    EXPECT_TRUE(out.error());
    EXPECT_TRUE(out.failed());
  }
  std::fclose(full);
}

}  // namespace
}  // namespace korva
