#include "update/update_state.h"

#include "api/library_state.h"
#include "ifc2x2/globalid.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/change_space.h"

namespace korva {
namespace update {

TarnDesign* FindDesignToUpdate(const char* fileName) {
  if (fileName == nullptr) {
    TARN().warning("Update: no file name given");
    return nullptr;
  }
  if (LoadIfcSchema() == nullptr) return nullptr;
  TarnDesign* design = TARN().findDesign(fileName);
  if (design == nullptr) {
    TARN().warning("Update: '%s' cannot be opened for update", fileName);
    return nullptr;
  }
  // A design read from a file has no extension of its own; it takes the
  // one of its file, which also selects the format it is written in.
  if (design->extension().empty()) {
    DesignFileLocation where;
    if (TARN().locateDesignFile(fileName, &where)) design->setExtension(where.extension);
  }
  return design;
}

TarnDesign* OpenUpdateDesign(const char* fileName) {
  EndUpdate();
  TarnDesign* design = FindDesignToUpdate(fileName);
  if (design == nullptr) return nullptr;
  LibraryState& state = LibraryState::get();
  state.updateDesign() = state.hold(design);
  return design;
}

TarnDesign* UpdateDesign() {
  LibraryState& state = LibraryState::get();
  if (state.updateDesign().design != nullptr && !state.holds(state.updateDesign())) EndUpdate();
  return state.updateDesign().design;
}

void SetUpdateOwnerHistory(TarnObject* history) {
  if (UpdateDesign() != nullptr) LibraryState::get().updateHistory() = history;
}

int RecordUpdateHistory(OwnerHistoryArguments args) {
  TarnDesign* design = RequireUpdateDesign("UpdateHistory");
  if (design == nullptr) return -1;
  args.changeAction = IfcChangeActionEnum_MODIFIED;
  ChangeSpace space(design);
  if (space.design() == nullptr) return -1;
  IfcOwnerHistory* history = NewOwnerHistory(space.design(), args);
  if (history != nullptr && space.commit("UpdateHistory")) SetUpdateOwnerHistory(space.inUpdate(history));
  return -1;
}

void EndUpdate() {
  DeleteScratch();
  LibraryState& state = LibraryState::get();
  state.updateDesign() = HeldDesign();
  state.updateHistory() = nullptr;
}

TarnDesign* RequireUpdateDesign(const char* call) {
  TarnDesign* design = UpdateDesign();
  if (design == nullptr)
    TARN().warning("Update: %s ignored: no file is open for update (OpenFileForUpdate first)", call);
  return design;
}

bool RequireUpdate(const char* call, TarnDesign** design, TarnObject** history) {
  *design = RequireUpdateDesign(call);
  *history = nullptr;
  if (*design == nullptr) return false;
  *history = LibraryState::get().updateHistory();
  if (*history == nullptr) {
    TARN().warning("Update: %s ignored: no owner history for the change (UpdateHistory first)", call);
    return false;
  }
  return true;
}

void SetUpdateRoot(TarnObject* object, TarnObject* history) {
  if (object == nullptr) return;
  char id[23];
  if (NewCompressedGuid(id, sizeof id) != nullptr) object->putString(id, "GlobalId");
  object->putObject(history, "OwnerHistory");
}

}  // namespace update
}  // namespace korva
