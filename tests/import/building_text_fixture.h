// Building models written as exchange-file text in a test, for the imports
// of files that other tools write: one text, written under any FILE_SCHEMA
// name, and the every building getter's value as one listing.
#ifndef KORVA_TESTS_IMPORT_BUILDING_TEXT_FIXTURE_H
#define KORVA_TESTS_IMPORT_BUILDING_TEXT_FIXTURE_H

#include <fstream>
#include <sstream>
#include <string>

#include "api/import_getters.h"
#include "api/korvaifc.h"
#include "import/import_fixture.h"

namespace korva {
namespace test {

// An exchange file of FILE_SCHEMA `schema` whose data section is `data`
// (one instance a line).
inline std::string ExchangeText(const std::string& schema, const std::string& data) {
  return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('ViewDefinition [CoordinationView]'),'2;1');\n"
         "FILE_NAME('model.ifc','2024-01-01T00:00:00',(''),(''),'test','test','');\n"
         "FILE_SCHEMA(('" + schema + "'));\nENDSEC;\nDATA;\n" + data + "ENDSEC;\nEND-ISO-10303-21;\n";
}

class BuildingTextTest : public ImportTest {
 protected:
  // Writes the text as `name` in the test folder; its path.
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir_.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // Census and fill of the file at `path` through the exported calls.
  static void ImportFile(std::string path) {
    FindTotalObjects(&path[0]);
    CheckNumber(0, &path[0]);
  }
  // Every building getter of every record the fill made, one line each:
  // "GetWallName[1] W2".  Counters first.
  static std::string Listing() {
    std::ostringstream out;
    out.precision(12);
#define KORVA_LIST_COUNT(Name, value) out << "Get" #Name " " << Get##Name() << "\n";
    KORVA_BUILDING_COUNTS(KORVA_LIST_COUNT)
#undef KORVA_LIST_COUNT
    auto records = [](const std::string& table) {
      if (table == "beams") return GetTotalBeams() + 1;
      if (table == "columns") return GetTotalColumns() + 1;
      if (table == "walls") return GetTotalWalls() + 1;
      if (table == "slabs") return GetTotalSlabs() + 1;
      if (table == "generals") return GetTotalGenerals() + 1;
      if (table == "wallPoints") return GetTotalWallPoints() + 1;
      if (table == "slabPoints") return GetTotalSlabPoints() + 1;
      return 0;
    };
#define KORVA_LIST_NUMBER(name, i) out << #name "[" << i << "] " << name(i) << "\n"
#define KORVA_LIST_INTEGER(name, i) out << #name "[" << i << "] " << name(i) << "\n"
#define KORVA_LIST_TEXT(name, i) out << #name "[" << i << "] " << Text(name, i) << "\n"
#define KORVA_LIST_GLOBALID(name, i) KORVA_LIST_TEXT(name, i)
#define KORVA_LIST_GETTER(Family, Field, Kind, table, member) \
  for (int i = 0; i < records(#table); ++i) KORVA_LIST_##Kind(Get##Family##Field, i);
    KORVA_BUILDING_GETTERS(KORVA_LIST_GETTER)
#undef KORVA_LIST_GETTER
#undef KORVA_LIST_GLOBALID
#undef KORVA_LIST_TEXT
#undef KORVA_LIST_INTEGER
#undef KORVA_LIST_NUMBER
    return out.str();
  }
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_IMPORT_BUILDING_TEXT_FIXTURE_H
