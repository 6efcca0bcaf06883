#include "exchange/part21_read_fixture.h"

#include <regex>

#include "exchange/part21_reader.h"
#include "exchange/part21_writer.h"
#include "objdb/interface.h"

namespace korva {
namespace test {

const std::string Part21ReadTest::kHeader =
    "FILE_DESCRIPTION((''),'2;1');\n"
    "FILE_NAME('m','2024-01-01T00:00:00+00:00',(''),(''),'','','');\n"
    "FILE_SCHEMA(('IFC2X2_FINAL'));\n";

void Part21ReadTest::SetUp() {
  TARN().reporter()->setStreams(out_.get(), err_.get());
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  TARN().initialize();
  seen_ = out_.text().size();
}

void Part21ReadTest::TearDown() {
  TARN().shutdown();
  TARN().setSchemaPath(nullptr);
  TARN().reporter()->setStreams(stdout, stderr);
}

TarnDesign* Part21ReadTest::ReadText(const std::string& text, const char* name) {
  return Part21Reader::ReadText(text.data(), text.size(), name, "in.ifc");
}

std::string Part21ReadTest::File(const std::string& data, const std::string& header) {
  return "ISO-10303-21;\nHEADER;\n" + header + "ENDSEC;\nDATA;\n" + data + "ENDSEC;\nEND-ISO-10303-21;\n";
}

std::string Part21ReadTest::Messages() {
  const std::string all = out_.text();
  const std::string fresh = all.substr(seen_);
  seen_ = all.size();
  return fresh;
}

void Part21ReadTest::ExpectContains(const std::string& text, std::initializer_list<const char*> parts) {
  for (const char* part : parts) EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

std::string Part21ReadTest::Written(TarnDesign* design) {
  CapturedStream stream;
  EXPECT_TRUE(Part21Writer::Write(design, stream.get()));
  return stream.text();
}

TarnDesign* Part21ReadTest::NewIfcDesign(const char* name) {
  TarnDesign* d = TARN().newDesign((std::string(name) + ".ifc").c_str());
  EXPECT_TRUE(d->addSchema("ifc2x2_final"));
  EXPECT_TRUE(d->format("step"));
  return d;
}

Part21ReadTest::Trip Part21ReadTest::SaveReadSave(TarnDesign* design) {
  auto mask = [](const std::string& s) {
    const std::string t = std::regex_replace(s, std::regex("'[0-9]{4}-[^']*'"), "'<stamp>'");
    return std::regex_replace(t, std::regex("/\\* name \\*/ '[a-z]+'"), "/* name */ '<name>'");
  };
  TempDir dir;
  design->fileDirectory(dir.path());
  Trip trip;
  EXPECT_TRUE(design->save()) << Messages();
  const std::string first = ReadFile(dir.file(std::string(design->name()) + "." + design->extension()));
  trip.first = mask(first);
  TarnDesign* back = ReadText(first, "back");
  if (back == nullptr) return trip;
  back->fileDirectory(dir.path());
  back->setExtension("ifc");
  back->format("step");
  EXPECT_TRUE(back->save()) << Messages();
  trip.second = mask(ReadFile(dir.file("back.ifc")));
  return trip;
}

}  // namespace test
}  // namespace korva
