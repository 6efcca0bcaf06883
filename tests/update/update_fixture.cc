#include "update/update_fixture.h"

#include <cstdio>
#include <cstring>

#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/new_entity.h"
#include "ifc2x2/owner_history.h"
#include "ifc2x2/schema.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {
namespace test {

void UpdateTest::SetUp() {
  IfcFileTest::SetUp();
  model_ = dir_.file("model.ifc");

  // The analysis model, through the exported functions.
  ExportAnalysisModelOpenFile(S("model.ifc"), nullptr, S("ViewDefinition [CoordinationView]"), S("KORVA"),
                              S("Ann Smith"), S("Acme"), S("none"), S("KORVA 9"), -1, 15);
  Capture();
  ExportAnalysisModelBuidlingOneStory(S("Level 1"), 0.0);
  ExportAnalysisModelAddAnalysisModel(S("Frame"), S("Frame model"));
  ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N2"), 1, 5.0, 0.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N3"), 1, 5.0, 5.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N4"), 1, 0.0, 5.0, 3.0);
  ExportAnalysisModelAddOneCurveMember(S("M1"), 1, 1, 1, 1, 2, 0, 0, 0, 5, 0, 0);
  ExportAnalysisModelAddOneCurveMember(S("M2"), 1, 1, 1, 2, 3, 5, 0, 0, 5, 5, 0);
  ExportAnalysisModelAddOneCurveMember(S("M3"), 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0);
  ExportAnalysisModelAddOneCurveMember(S("M4"), 1, 1, 1, 3, 4, 5, 5, 0, 0, 5, 3);
  ExportAnalysisModelCloseFile(S("model.ifc"), S(dir_.path()));
  ASSERT_TRUE(FileExists(model_));

  // Completed in the object store: profile properties and a load group.
  ASSERT_NE(LoadIfcSchema(), nullptr);
  Capture();
  TarnDesign* d = TARN().findDesign(model_.c_str());
  ASSERT_NE(d, nullptr);
  std::map<std::string, TarnObject*> byName;
  for (IfcStructuralItem* item : All<IfcStructuralItem>(d)) {
    byName[item->Name()] = item;
    ids_[item->Name()] = item->GlobalId();
  }
  IfcStructuralProfileProperties* p1 = NewEntity<IfcStructuralProfileProperties>(d);
  p1->ProfileName("P1");
  p1->CrossSectionArea(0.01);
  for (const char* member : {"M1", "M2"}) {
    IfcRelAssociatesProfileProperties* a = NewEntity<IfcRelAssociatesProfileProperties>(d);
    SetRoot(a, nullptr);
    a->Name(member);
    a->RelatedObjects()->append(byName.at(member));
    a->RelatingProfileProperties(p1);
  }
  IfcStructuralLoadGroup* group = NewEntity<IfcStructuralLoadGroup>(d);
  SetRoot(group, nullptr);
  group->Name("Dead");
  group->PredefinedType(IfcLoadGroupTypeEnum_LOAD_GROUP);
  group->ActionType(IfcActionTypeEnum_PERMANENT_G);
  group->ActionSource(IfcActionSourceTypeEnum_DEAD_LOAD_G);
  ids_["LG"] = group->GlobalId();
  d->setExtension("ifc");
  d->fileDirectory(dir_.path());
  ASSERT_TRUE(d->save());
  ShutDown();

  // The section's FileID, as the host learns it from the import.
  Capture();
  FindTotalAnaModels(S(model_));
  char name[64] = {0};
  GetStrProfilePropertiesProfileName(0, name);
  ASSERT_STREQ(name, "P1");  // the model's only profile properties
  profileFileId_ = GetStrProfilePropertiesFileID(0);
  ASSERT_GT(profileFileId_, 0);
  ShutDown();
  Capture();
  modelGraph_ = ReadInstanceGraph(model_);
}

void UpdateTest::Begin(const char* person) {
  OpenFileForUpdate(0, S(model_));
  Capture();
  UpdateHistory(0, nullptr, S(person), S("Acme"), nullptr, S("KORVA Update"), S("9.1"), S("KV"), 1700000000);
}

void UpdateTest::SaveAs(const char* name) {
  SaveAndCloseFileAfterUpdate(0, S(name), S(dir_.path()));
  Capture();
}

TarnDesign* UpdateTest::Load(const std::string& name) {
  ShutDown();
  LoadIfcSchema();
  Capture();
  TarnDesign* d = TARN().findDesign(File(name).c_str());
  EXPECT_NE(d, nullptr) << name;
  return d;
}

TarnObject* UpdateTest::FindByText(TarnDesign* design, const char* type, const char* attribute,
                                   const char* value) {
  TarnCursor c(design);
  c.domain(type);
  while (TarnObject* o = c.next()) {
    const char* v = o->getString(attribute);
    if (v != nullptr && std::strcmp(v, value) == 0) return o;
  }
  return nullptr;
}

void UpdateTest::Import(const std::string& name) {
  ShutDown();
  Capture();
  const std::string path = File(name);
  FindTotalAnaModels(S(path));
  ASSERT_NE(GetAnaModelFileID(0), 0);
  ASSERT_EQ(GetAnaModelFileID(1), 0);
  CheckAnaModel(0, GetAnaModelFileID(0), S(path));
}

GraphDiff UpdateTest::DiffFromModel(const std::string& name) {
  return Compare(modelGraph_, ReadInstanceGraph(File(name)));
}

}  // namespace test
}  // namespace korva
