// The model every update test starts from, written by the analysis-model
// export through the exported functions and completed in the object store
// with what the export does not write (profile properties associated with
// two members, a load group):
//
//   nodes   N1 (0,0,0)  N2 (5,0,0)  N3 (5,5,0)  N4 (0,5,3)
//   members M1 N1-N2, M2 N2-N3 (both associated with the profile
//           properties "P1"), M3 N1-N1 (tied twice to one node), M4 N3-N4
//           (no profile association)
//   load group "Dead"
//
#ifndef KORVA_TESTS_UPDATE_UPDATE_FIXTURE_H
#define KORVA_TESTS_UPDATE_UPDATE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "api/korvaifc.h"
#include "objdb/cursor.h"
#include "objdb/tarn_object.h"
#include "support/ifc_file_test.h"
#include "update/instance_graph.h"

namespace korva {
namespace test {

// The instances of class T (and its subtypes) in `design`, in design order.
template <class T>
std::vector<T*> All(TarnDesign* design) {
  std::vector<T*> out;
  TarnCursor c(design);
  c.domain(T::classType.name());
  while (TarnObject* o = c.next()) out.push_back(typecast<T>(o));
  return out;
}

class UpdateTest : public IfcFileTest {
 protected:
  void SetUp() override;

  char* Id(const char* name) { return S(ids_.at(name)); }

  // OpenFileForUpdate on the model, then UpdateHistory with `person`.
  void Begin(const char* person = "Ann Smith");
  // SaveAndCloseFileAfterUpdate as `name` in the test folder.
  void SaveAs(const char* name);
  // The file `name` in the test folder read into a design for inspection
  // (after a ShutDown); fails the test when it cannot be read.
  TarnDesign* Load(const std::string& name);
  // The first instance of `type` in `design` whose `attribute` is the text
  // `value` (null when none).
  static TarnObject* FindByText(TarnDesign* design, const char* type, const char* attribute,
                                const char* value);
  // Imports the saved file `name` (census and the one analysis model).
  void Import(const std::string& name);
  // The record of the imported table (FileID getter, name getter) named
  // `name` (0, after a test failure, when none is).
  template <typename FileId, typename NameOf>
  static int IndexNamed(FileId fileId, NameOf nameOf, const char* name) {
    char buffer[64];
    for (int i = 0; fileId(i) != 0; ++i) {
      buffer[0] = '\0';
      nameOf(i, buffer);
      if (std::strcmp(buffer, name) == 0) return i;
    }
    ADD_FAILURE() << "no record " << name;
    return 0;
  }
  int MemberIndex(const char* name) { return IndexNamed(GetStrCurveMemberFileID, GetStrCurveMemberName, name); }
  int NodeIndex(const char* name) { return IndexNamed(GetStrPointConnectionFileID, GetStrPointConnectionName, name); }
  // The difference between the model and the saved file `name`.
  GraphDiff DiffFromModel(const std::string& name);

  std::string model_;                        // path of model.ifc
  std::map<std::string, std::string> ids_;   // "M1".."M4", "N1".."N4", "LG" -> GlobalId
  int profileFileId_ = 0;                    // FileID of "P1" in model.ifc
  InstanceGraph modelGraph_;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_UPDATE_UPDATE_FIXTURE_H
