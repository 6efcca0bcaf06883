#include "support/ifc_file_test.h"

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "api/korvaifc.h"
#include "objdb/interface.h"

namespace korva {
namespace test {

void IfcFileTest::SetUp() {
  ShutDown();
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  Capture();
}

void IfcFileTest::TearDown() {
  ShutDown();
  TARN().setSchemaPath(nullptr);
  TARN().reporter()->setStreams(stdout, stderr);
}

void IfcFileTest::Capture() { TARN().reporter()->setStreams(out_.get(), err_.get()); }

int IfcFileTest::Occurrences(const std::string& what) const {
  const std::string text = Messages();
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string IfcFileTest::Masked(const std::string& name, std::vector<std::string>* ids) const {
  static const std::regex kGlobalId("'[0-3][0-9A-Za-z_$]{21}'");
  static const std::regex kStamp("'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}[-+][0-9]{2}:00'");
  std::string text = ReadFile(File(name));
  if (ids != nullptr)
    for (std::sregex_iterator i(text.begin(), text.end(), kGlobalId), end; i != end; ++i)
      ids->push_back(i->str().substr(1, 22));
  text = std::regex_replace(text, kStamp, "'<stamp>'");
  return std::regex_replace(text, kGlobalId, "'<guid>'");
}

std::string ExpectedHeader(const std::string& name, const std::string& description, const std::string& author) {
  return "ISO-10303-21;\n"
         "HEADER;\n"
         "/* Exchange file written by korvaifc (KS-BUILDER v10) */\n"
         "/* ISO 10303-21 clear text encoding of an EXPRESS-defined population, */\n"
         "/* header section first, then the data section(s). */\n"
         "\n"
         "FILE_DESCRIPTION(\n"
         "/* description */ ('" + description + "'),\n"
         "/* implementation_level */ '2;1');\n"
         "FILE_NAME(\n"
         "/* name */ '" + name + "',\n"
         "/* time_stamp */ '<stamp>',\n"
         "/* author */ ('" + author + "'),\n"
         "/* organization */ ('Korva Ltd'),\n"
         "/* preprocessor_version */ 'KS-BUILDER v10',\n"
         "/* originating_system */ 'KORVA 9',\n"
         "/* authorisation */ 'none');\n"
         "FILE_SCHEMA (('IFC2X2_FINAL'));\n"
         "ENDSEC;\n";
}

std::map<int, std::string> DataRecords(const std::string& text) {
  std::map<int, std::string> records;
  const size_t start = text.find("DATA;");
  const size_t end = text.find("ENDSEC;", start == std::string::npos ? 0 : start);
  if (start == std::string::npos || end == std::string::npos) return records;
  std::string statement;
  bool inString = false;
  for (size_t i = start + 5; i < end; ++i) {
    const char c = text[i];
    if (c == '\'') inString = !inString;  // '' reads as leaving and entering again
    if (!inString && (c == '\n' || c == '\r')) continue;
    if (inString || c != ';') {
      statement += c;
      continue;
    }
    const size_t hash = statement.find('#'), eq = statement.find('=');
    if (hash != std::string::npos && eq != std::string::npos)
      records[std::atoi(statement.c_str() + hash + 1)] = statement.substr(eq + 1);
    statement.clear();
  }
  return records;
}

std::vector<std::string> RecordsOfType(const std::map<int, std::string>& records, const std::string& type) {
  std::vector<std::string> found;
  for (const auto& r : records)
    if (r.second.compare(0, type.size() + 1, type + "(") == 0) found.push_back(r.second);
  return found;
}

std::vector<std::string> ExpectRecords(const std::map<int, std::string>& records, const std::string& type,
                                       const std::vector<std::string>& parts) {
  const std::vector<std::string> found = RecordsOfType(records, type);
  EXPECT_EQ(found.size(), parts.size()) << type;
  for (size_t i = 0; i < found.size() && i < parts.size(); ++i)
    EXPECT_NE(found[i].find(parts[i]), std::string::npos) << parts[i] << " in " << found[i];
  return found;
}

int LastNumberOf(const std::map<int, std::string>& records, const std::string& prefix) {
  int number = 0;
  for (const auto& r : records)
    if (r.second.compare(0, prefix.size(), prefix) == 0) number = r.first;
  return number;
}

}  // namespace test
}  // namespace korva
