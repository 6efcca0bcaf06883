// Files read by the name their FILE_SCHEMA gives: IFC2X3 against its own
// dictionary (loaded only when a file names it, without best-fit chatter,
// apart from the IFC2x2 classes), the aliases, and a schema this build does
// not read.
#include "exchange/file_schema.h"

#include <gtest/gtest.h>

#include <string>

#include "api/korvaifc.h"
#include "exchange/part21_reader.h"
#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "support/step_text.h"
#include "support/test_util.h"

namespace korva {
namespace {

char* Text(const char* s) { return const_cast<char*>(s); }

class FileSchemaTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }
  void TearDown() override {
    TARN().shutdown();
    TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
  }
  void Start() {
    TARN().reporter()->setStreams(out_.get(), out_.get());
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    TARN().initialize();
    seen_ = out_.text().size();
  }
  // Messages since the last call.
  std::string Messages() {
    const std::string all = out_.text();
    std::string fresh = all.substr(seen_);
    seen_ = all.size();
    return fresh;
  }
  TarnDesign* ReadCorpus(const char* file) {
    const std::string text = test::ReadFile(std::string(KORVA_CORPUS_DIR) + "/" + file);
    EXPECT_FALSE(text.empty()) << file;
    const std::string name = std::string(file).substr(0, std::string(file).find('.'));
    return Part21Reader::ReadText(text.data(), text.size(), name.c_str(), file);
  }
  TarnDesign* ReadWithSchema(const char* schema) {
    const std::string text = std::string(
                                 "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
                                 "FILE_NAME('m','2024-01-01T00:00:00',(''),(''),'','','');\nFILE_SCHEMA(('") +
                             schema + "'));\nENDSEC;\nDATA;\n#1=IFCCARTESIANPOINT((1.,2.));\nENDSEC;\nEND-ISO-10303-21;\n";
    return Part21Reader::ReadText(text.data(), text.size(), "small", "small.ifc");
  }
  static std::string SchemaOf(TarnDesign* d) {
    for (uint32_t i = 0; d != nullptr && i < d->schemas()->count(); ++i)
      if (std::string(d->schemas()->get(i)->name()) != "header_section_schema") return d->schemas()->get(i)->name();
    return "";
  }
  static bool Ifc2x3Loaded() { return TARN().designInMemory("ifc2x3") != nullptr; }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  // An IFC2x2 export, import and update through the exported functions, in
  // this process; the node is found again by the update.
  void ExportImportUpdate() {
    ExportAnalysisModelOpenFile(Text("frame.ifc"), nullptr, Text("d"), Text("o"), Text("a"), Text("org"), Text("auth"),
                                Text("app"), -1, 15);
    ExportAnalysisModelBuidlingOneStory(Text("L1"), 0.0);
    ExportAnalysisModelAddAnalysisModel(Text("M"), Text("model"));
    ExportAnalysisModelAddOnePointConnection(Text("N1"), 1, 0, 0, 0);
    ExportAnalysisModelAddOnePointConnection(Text("N2"), 1, 5, 0, 0);
    ExportAnalysisModelAddOneCurveMember(Text("B1"), 1, 1, 1, 1, 2, 0, 0, 0, 5, 0, 0);
    ExportAnalysisModelCloseFile(Text("frame.ifc"), Text(dir_.path().c_str()));
    const std::string written = test::ReadFile(dir_.file("frame.ifc"));
    EXPECT_EQ(test::FileSchemas(written), std::vector<std::string>{"IFC2X2_FINAL"});
    const std::string path = dir_.file("frame.ifc");
    FindTotalAnaModels(Text(path.c_str()));
    ASSERT_EQ(GetTotalAnaModels(), 0);  // one record
    CheckAnaModel(0, GetAnaModelFileID(0), Text(path.c_str()));
    EXPECT_EQ(GetNumberStrCurveMembers(), 0);  // the last record's index
    EXPECT_EQ(GetNumberStrPointConnections(), 1);
    ShutDown();
    OpenFileForUpdate(0, Text(path.c_str()));
    UpdateHistory(0, nullptr, Text("P"), Text("O"), nullptr, Text("A"), Text("1"), Text("id"), 0);
    SaveAndCloseFileAfterUpdate(0, Text("updated.ifc"), Text(dir_.path().c_str()));
    const std::string updated = test::ReadFile(dir_.file("updated.ifc"));
    EXPECT_EQ(test::FileSchemas(updated), std::vector<std::string>{"IFC2X2_FINAL"});
    EXPECT_NE(updated.find("IFCOWNERHISTORY"), std::string::npos);
    ShutDown();
    Start();
  }

  test::TempDir dir_;
  test::CapturedStream out_;
  size_t seen_ = 0;
};

TEST_F(FileSchemaTest, Ifc2x3FilesAreReadWithTheirOwnDictionaryAndNoChatter) {
  for (const char* file : {"axis_roof_truss.ifc", "revit2013_tst.ifc", "etabs_building01_2x3.ifc",
                           "tekla_slabs_394.ifc"}) {
    Messages();
    TarnDesign* d = ReadCorpus(file);
    ASSERT_NE(d, nullptr) << file << Messages();
    EXPECT_EQ(SchemaOf(d), "ifc2x3") << file;
    const std::string said = Messages();
    EXPECT_EQ(said.find("Best-fit"), std::string::npos) << file << said;
    EXPECT_EQ(said.find("best-fit"), std::string::npos) << file << said;
    // The Tekla file writes integers where IfcCountMeasure (a NUMBER) is
    // expected, which the reader tells for every value, as for IFC2x2.
    if (std::string(file) != "tekla_slabs_394.ifc") {
      EXPECT_EQ(said.find("warning"), std::string::npos) << file << said;
    }
    EXPECT_EQ(said.find("error"), std::string::npos) << file << said;
    // Every entity instance of the file was made.
    const auto instances = test::DataInstances(test::ReadFile(std::string(KORVA_CORPUS_DIR) + "/" + file));
    uint32_t entities = 0;
    for (TarnSection* s : d->sections())
      if (s->kind() == TarnSection::kData)
        for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
          for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
            entities += o->typePtr()->nodeType() == kNodeStructure ? 1 : 0;
    EXPECT_EQ(entities, instances.size()) << file;
  }
}

TEST_F(FileSchemaTest, Ifc2x3FinalIsReadAsIfc2x3WithoutAWord) {
  TarnDesign* d = ReadWithSchema("IFC2X3_FINAL");
  ASSERT_NE(d, nullptr) << Messages();
  EXPECT_EQ(SchemaOf(d), "ifc2x3");
  std::string said = Messages();
  // Only the loading of the dictionary is told.
  for (size_t at = said.find("Reading: "); at != std::string::npos; at = said.find("Reading: "))
    said.erase(at, said.find('\n', at) - at + 1);
  EXPECT_EQ(said, "");
}

TEST_F(FileSchemaTest, Ifc2xFinalIsReadWithTheIfc2x2DictionaryAndOneMessage) {
  TarnDesign* d = ReadCorpus("vogel_ifc2x_final.ifc");
  ASSERT_NE(d, nullptr) << Messages();
  EXPECT_EQ(SchemaOf(d), "ifc2x2_final");
  const std::string said = Messages();
  EXPECT_EQ(Count(said, "Schema 'IFC2X_FINAL' is read as IFC2X2_FINAL, which kept every entity of it."), 1) << said;
  EXPECT_EQ(said.find("warning: Schema"), std::string::npos) << said;
  ListOfTarnObject walls;
  d->findObjects(&walls, d->findDomain("IfcWallStandardCase"), false);
  EXPECT_GT(walls.count(), 0u);
  EXPECT_NE(typecast<IfcWallStandardCase>(walls.get(0)), nullptr);
  EXPECT_FALSE(Ifc2x3Loaded());
}

TEST_F(FileSchemaTest, AnUnknownSchemaFailsWith2011AndTheSchemasThisBuildReads) {
  EXPECT_EQ(ReadWithSchema("IFC4"), nullptr);
  const std::string said = Messages();
  const size_t missing = said.find("Couldn't find schema 'IFC4'.");
  ASSERT_NE(missing, std::string::npos) << said;
  const size_t next = said.find('\n', missing) + 1;
  EXPECT_EQ(said.substr(next, said.find('\n', next) - next),
            "small.ifc(7): This build reads the schemas IFC2X2_FINAL and IFC2X3 (and IFC2X3_FINAL as IFC2X3, IFC2X_FINAL as "
            "IFC2X2_FINAL).")
      << said;
  EXPECT_FALSE(Ifc2x3Loaded());
}

TEST_F(FileSchemaTest, OnlyAFileThatNamesIfc2x3LoadsItsDictionary) {
  EXPECT_FALSE(Ifc2x3Loaded());
  ASSERT_NE(ReadWithSchema("IFC2X2_FINAL"), nullptr);
  ExportImportUpdate();
  EXPECT_FALSE(Ifc2x3Loaded());
  ASSERT_NE(ReadWithSchema("IFC2X3"), nullptr);
  EXPECT_TRUE(Ifc2x3Loaded());
  EXPECT_EQ(FileSchemaName("ifc2x3"), "IFC2X3");
  EXPECT_EQ(FileSchemaName("ifc2x2_final"), "IFC2X2_FINAL");
  EXPECT_EQ(FileSchemaName("other"), "OTHER");
}

// IFC2X3 domains stay apart from the generated IFC2x2 classes of the same
// names, whichever is read first.
TEST_F(FileSchemaTest, Ifc2x3AndTheIfc2x2ClassesStayApartInEitherOrder) {
  for (int round = 0; round < 2; ++round) {
    if (round == 1) ExportImportUpdate();
    TarnDesign* d = ReadCorpus("revit2013_tst.ifc");
    ASSERT_NE(d, nullptr) << Messages();
    ListOfTarnObject walls;
    d->findObjects(&walls, d->findDomain("IfcWallStandardCase"), false);
    ASSERT_EQ(walls.count(), 4u) << round;
    TarnObject* wall = walls.get(0);
    EXPECT_EQ(std::string(wall->domain()->design()->name()), "ifc2x3");
    EXPECT_NE(wall->typePtr(), &IfcWallStandardCase::classType);
    EXPECT_EQ(std::string(wall->getString("Name")), "Basic Wall:TUC_exterior_wall:351300") << round;
    // The generated class keeps its IFC2x2 domain.
    ASSERT_NE(IfcWallStandardCase::classType.domain(), nullptr);
    EXPECT_EQ(std::string(IfcWallStandardCase::classType.domain()->design()->name()), "ifc2x2_final");
    EXPECT_EQ(IfcWallStandardCase::classType.domain()->boundType(), &IfcWallStandardCase::classType);
    // An IFC2x2-only entity in an IFC2X3 file is unknown there.
    EXPECT_EQ(d->findDomain("IfcTextStyleWithMirror"), nullptr);
    if (round == 0) ExportImportUpdate();
  }
}

}  // namespace
}  // namespace korva
