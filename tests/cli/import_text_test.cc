// korva-ifc import on content it cannot read, and the text it prints: the
// library's ISO 8859-1 bytes and the ISO 10303-21 escapes left in them as
// UTF-8, names longer than a host's buffer, GlobalIds too long to be one.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "cli/ifc_text.h"
#include "cli/run_cli.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

using Json = nlohmann::json;

TEST(ImportCommand, ContentThatCannotBeReadExitsWithOne) {
  TempDir dir;
  std::string noise;
  for (unsigned x = 12345; noise.size() < 3000;) noise.push_back(static_cast<char>((x = x * 1103515245u + 12345u) >> 16));
  std::string unknownSchema = ExchangeFile("#1=IFCBEAM('0123456789012345678901',$,'B',$,$,$,$,$);\n");
  unknownSchema.replace(unknownSchema.find("IFC2X2_FINAL"), 12, "IFC4");
  const std::pair<std::string, std::string> cases[] = {
      {"hello world\n", "Expecting 'ISO-10303-21', found HELLO instead"},
      {noise, "Expecting 'ISO-10303-21'"},
      {unknownSchema, "Couldn't find schema 'IFC4'"}};
  for (const auto& [content, reason] : cases) {
    dir.write("bad.ifc", content);
    for (const char* options : {"", "--summary "}) {
      Outcome r = KorvaIfc(std::string("import ") + options + Quoted(dir.file("bad.ifc")));
      SCOPED_TRACE(reason);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.out, "");
      const std::string line = "korva-ifc: " + dir.file("bad.ifc") + ": could not be read (" + reason;
      EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find("korva-ifc: "), r.err.rfind("korva-ifc: ")) << r.err;  // one line of its own
    }
  }
  // A file that was read is imported, however empty.
  dir.write("empty.ifc", ExchangeFile(""));
  Outcome empty = KorvaIfc("import " + Quoted(dir.file("empty.ifc")));
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(Json::parse(empty.out)["building"]["beams"].size(), 0u);
}

TEST(ImportCommand, TextsAreUtf8AndWithinTheHostsBuffer) {
  TempDir dir;
  const std::string huge(70 * 1024, 'n');
  std::string beams;
  int n = 10;
  for (const std::string& name : {std::string("Tr\\S\\dger"), std::string("\\\\X2\\\\5E8A\\\\X0\\\\:S1"), huge})
    beams += "#" + std::to_string(n++) + "=IFCBEAM('0123456789012345678901',$,'" + name + "',$,$,$,$,$);\n";
  beams += "#" + std::to_string(n++) + "=IFCBEAM('" + std::string(300, 'G') + "',$,'long id',$,$,$,$,$);\n";
  dir.write("texts.ifc", ExchangeFile(beams));
  Outcome r = KorvaIfc("import " + Quoted(dir.file("texts.ifc")));
  ASSERT_EQ(r.status, 0) << r.err;
  const Json j = Json::parse(r.out);
  const Json& b = j["building"]["beams"];
  ASSERT_EQ(b.size(), 4u);
  EXPECT_EQ(b[0]["Name"], "Tr\u00e4ger");
  EXPECT_EQ(b[1]["Name"], "\u5e8a:S1");
  EXPECT_EQ(b[2]["Name"], huge.substr(0, 255));
  EXPECT_EQ(b[3]["GUID"], "");
  EXPECT_NE(r.err.find("Import: GetBeamName(2), #12: a text of 71680 bytes is handed out cut to 255"),
            std::string::npos) << r.err;
}

TEST(IfcText, BytesAndEscapesBecomeUtf8) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},
      {"Tr\xe4ger \xa0\xff", "Tr\u00e4ger \u00a0\u00ff"},  // ISO 8859-1
      {"\x80 \x9f", "\ufffd \ufffd"},                       // no character in ISO 8859-1
      {"\\X2\\5E8A\\X0\\:S1", "\u5e8a:S1"},
      {"a\\X2\\00E400f6\\X0\\b\\X4\\0001F600\\X0\\", "a\u00e4\u00f6b\U0001F600"},
      {"\\X2\\D83DDE00\\X0\\", "\U0001F600"},   // a surrogate pair
      {"\\X2\\D83D\\X0\\x", "\ufffdx"},         // a lone surrogate
      {"\\X4\\00110000\\X0\\", "\ufffd"},       // past Unicode
      {"\\X2\\5E8\\X0\\!", "\ufffd\ufffd\ufffd!"},  // a short group: each byte
      {"\\X2\\5E8A", "\u5e8a"},                // cut before its end
      {"\\X2\\5E", "\ufffd\ufffd"},
      {"back\\slash \\X3\\", "back\\slash \\X3\\"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(cli::TextToUtf8(in), out) << in;
}

}  // namespace
}  // namespace test
}  // namespace korva
