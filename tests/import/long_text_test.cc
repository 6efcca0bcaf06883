// Texts longer than a host's buffer: every text getter writes at most 256
// bytes, cuts a long text after 255 bytes and hands a long GlobalId out
// empty, and the import warns of each field (20 warnings at the most per
// call, then their number).
#include <map>
#include <string>
#include <vector>

#include "ifc2x2/schema.h"
#include "import/import_fixture.h"

namespace korva {
namespace {

// Every name 5,000 bytes long, every GlobalId 300 characters; two more
// beams at the bounds: a name of 255 bytes and a GlobalId of 22 characters
// handed out whole, 256 bytes and 23 characters not.
const std::string kLongName = [] {
  std::string s;
  while (s.size() < 5000) s += "Name-" + std::to_string(s.size()) + ";";
  return s.substr(0, 5000);
}();
const std::string kLongId(300, 'G');
const std::string kCut = kLongName.substr(0, 255);
constexpr int kBeams = 12;

struct TextGetter {
  const char* name;
  void (*get)(int, char*);
};
#define KORVA_TEXT_GETTER_NUMBER(Family, Field)
#define KORVA_TEXT_GETTER_INTEGER(Family, Field)
#define KORVA_TEXT_GETTER_NUMBER_AT(Family, Field)
#define KORVA_TEXT_GETTER_INTEGER_AT(Family, Field)
#define KORVA_TEXT_GETTER_TEXT(Family, Field) {"Get" #Family #Field, &Get##Family##Field},
#define KORVA_TEXT_GETTER_GLOBALID KORVA_TEXT_GETTER_TEXT
#define KORVA_TEXT_GETTER(Family, Field, Kind, table, member) KORVA_TEXT_GETTER_##Kind(Family, Field)
const TextGetter kTextGetters[] = {KORVA_BUILDING_GETTERS(KORVA_TEXT_GETTER) KORVA_ANALYSIS_GETTERS(KORVA_TEXT_GETTER)};

class LongTextTest : public test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    design_ = NewIfcDesign("longtexts.ifc", dir_.path().c_str());
    ASSERT_NE(design_, nullptr) << out_.text();
    build_ = test::IfcBuilder(design_);
    Build();
  }

  template <class T>
  T* Named(const char* type, const std::string& name = kLongName, const std::string& id = kLongId) {
    T* o = build_.entity<T>(type);
    o->putString(name.c_str(), "Name");
    o->putString(id.c_str(), "GlobalId");
    return o;
  }

  void Build() {
    for (int i = 0; i < kBeams; ++i) Named<IfcBeam>("IfcBeam");
    Named<IfcBeam>("IfcBeam", std::string(255, 'a'), std::string(22, 'b'));
    Named<IfcBeam>("IfcBeam", std::string(256, 'c'), std::string(23, 'd'));
    for (const char* type : {"IfcColumn", "IfcWallStandardCase", "IfcSlab"}) Named<IfcProduct>(type);

    model_ = Named<IfcStructuralAnalysisModel>("IfcStructuralAnalysisModel");
    IfcRelAssignsToGroup* members = build_.entity<IfcRelAssignsToGroup>("IfcRelAssignsToGroup");
    members->RelatingGroup(model_);
    for (const char* type : {"IfcStructuralCurveMember", "IfcStructuralSurfaceMember", "IfcStructuralPointConnection"})
      members->RelatedObjects()->add(Named<IfcObject>(type));
    for (const char* type : {"IfcStructuralLoadGroup", "IfcStructuralPointAction", "IfcStructuralLinearAction"})
      Named<IfcObject>(type);

    IfcMaterial* material = build_.entity<IfcMaterial>("IfcMaterial");
    material->Name(kLongName.c_str());
    build_.entity<IfcGeneralMaterialProperties>("IfcGeneralMaterialProperties")->Material(material);
    build_.entity<IfcMechanicalSteelMaterialProperties>("IfcMechanicalSteelMaterialProperties")->Material(material);
    build_.entity<IfcStructuralProfileProperties>("IfcStructuralProfileProperties")
        ->putString(kLongName.c_str(), "ProfileName");

    IfcUnitAssignment* units = build_.entity<IfcUnitAssignment>("IfcUnitAssignment");
    build_.entity<IfcProject>("IfcProject")->UnitsInContext(units);
    IfcConversionBasedUnit* foot = build_.entity<IfcConversionBasedUnit>("IfcConversionBasedUnit");
    foot->UnitType(15);
    foot->Name(kLongName.c_str());
    IfcUnit* unit = build_.select<IfcUnit>("IfcUnit");
    unit->_IfcNamedUnit(foot);
    units->Units()->add(unit);
  }

  // Every text getter of the lists, at the records the model fills and
  // past them: within the host's buffer (Text checks the canary), within
  // its bound, and as `expected` says for record 0.
  void ExpectBoundedTexts(const std::map<std::string, std::string>& expected) {
    for (const TextGetter& g : kTextGetters) {
      SCOPED_TRACE(g.name);
      const bool globalId = std::string(g.name).find("GUID") != std::string::npos;
      for (int i = 0; i < kBeams + 4; ++i) {
        const std::string text = Text(g.get, i);
        EXPECT_LE(text.size(), globalId && text != kUntouched ? 22u : 255u) << i;
      }
      auto it = expected.find(g.name);
      if (it != expected.end()) {
        EXPECT_EQ(Text(g.get, 0), it->second);
      }
    }
  }

  // The warning lines of the library's messages since `from`.
  std::vector<std::string> Warnings(size_t from) {
    std::vector<std::string> lines;
    const std::string text = out_.text().substr(from);
    for (size_t at = text.find("TARN: warning: Import: "); at != std::string::npos;
         at = text.find("TARN: warning: Import: ", at + 1))
      lines.push_back(text.substr(at + 15, text.find('\n', at) - at - 15));
    return lines;
  }

  TarnDesign* design_ = nullptr;
  test::IfcBuilder build_{nullptr};
  IfcStructuralAnalysisModel* model_ = nullptr;
};

TEST_F(LongTextTest, EveryTextGetterStaysInTheHostBuffer) {
  char name[] = "longtexts";
  FindTotalObjects(name);
  Traced([&] { CheckNumber(0, name); });
  ExpectBoundedTexts({{"GetBeamName", kCut},
                      {"GetBeamGUID", ""},
                      {"GetColumnName", kCut},
                      {"GetColumnGUID", ""},
                      {"GetWallName", kCut},
                      {"GetWallGUID", ""},
                      {"GetSlabName", kCut},
                      {"GetSlabGUID", ""},
                      {"GetWallPointName", kUntouched}});
  EXPECT_EQ(Text(GetBeamName, kBeams), std::string(255, 'a'));
  EXPECT_EQ(Text(GetBeamGUID, kBeams), std::string(22, 'b'));
  EXPECT_EQ(Text(GetBeamName, kBeams + 1), std::string(255, 'c'));
  EXPECT_EQ(Text(GetBeamGUID, kBeams + 1), "");

  FindTotalAnaModels(name);
  Traced([&] { CheckAnaModel(0, GetAnaModelFileID(0), name); });
  std::map<std::string, std::string> analysis = {
      {"GetGeneralMaterialName", kCut}, {"GetMechSteelMatName", kCut}, {"GetStrProfilePropertiesProfileName", kCut},
      {"GetProjectConversionBasedName", kCut}};
  for (const char* family : {"AnaModel", "StrCurveMember", "StrSurfaceMember", "StrPointConnection", "StrLoadGroup",
                             "StrPointAction", "StrLinearAction"}) {
    analysis[std::string("Get") + family + "Name"] = kCut;
    analysis[std::string("Get") + family + "GUID"] = "";
  }
  ExpectBoundedTexts(analysis);
}

TEST_F(LongTextTest, WarningsNameTheGetterAndTheRecordUpToTwentyACall) {
  char name[] = "longtexts";
  size_t from = out_.text().size();
  FindTotalObjects(name);  // the project's unit
  EXPECT_EQ(Warnings(from), std::vector<std::string>{"Import: GetProjectConversionBasedName(0): a text of 5000 "
                                                      "bytes is handed out cut to 255"});
  // 2 texts of each of 13 beams (the 255 and 22 long ones fit), of the
  // column, wall and slab, the model, the curve member and the point
  // connection; the material's name twice, the profile's: 41.
  from = out_.text().size();
  Traced([&] { CheckNumber(0, name); });
  const std::vector<std::string> lines = Warnings(from);
  ASSERT_EQ(lines.size(), 21u) << out_.text().substr(from);
  // Getter by getter, record by record.
  EXPECT_EQ(lines[0], "Import: GetBeamName(0), #10: a text of 5000 bytes is handed out cut to 255");
  EXPECT_EQ(lines[12], "Import: GetBeamName(13), #23: a text of 256 bytes is handed out cut to 255");
  EXPECT_EQ(lines[13], "Import: GetBeamGUID(0), #10: a GlobalId of 300 characters is handed out empty");
  EXPECT_EQ(lines[20], "Import: 21 more texts too long for their getters");
  // Only the tables a call fills are looked at: the fill of no model reads
  // the load group and the actions, not the models, materials or beams.
  from = out_.text().size();
  Traced([&] { CheckAnaModel(0, 0, name); });
  EXPECT_EQ(Warnings(from),
            (std::vector<std::string>{
                "Import: GetStrLoadGroupName(0), #32: a text of 5000 bytes is handed out cut to 255",
                "Import: GetStrLoadGroupGUID(0), #32: a GlobalId of 300 characters is handed out empty",
                "Import: GetStrPointActionName(0), #33: a text of 5000 bytes is handed out cut to 255",
                "Import: GetStrPointActionGUID(0), #33: a GlobalId of 300 characters is handed out empty",
                "Import: GetStrLinearActionName(0), #34: a text of 5000 bytes is handed out cut to 255",
                "Import: GetStrLinearActionGUID(0), #34: a GlobalId of 300 characters is handed out empty"}));
}

}  // namespace
}  // namespace korva
