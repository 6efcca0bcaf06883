#include "update/update_state.h"

#include <algorithm>
#include <vector>

#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {
namespace update {

namespace {

struct State {
  TarnDesign* design = nullptr;
  IfcOwnerHistory* history = nullptr;
  unsigned generation = 0;
};

State& Current() {
  static State state;
  return state;
}

// Only pointers are compared until the design is known to exist.
bool IsLive(const State& s) {
  if (s.design == nullptr) return false;
  TarnInterface& tarn = TARN();
  if (tarn.state() != TarnInterface::kInitialized || tarn.generation() != s.generation) return false;
  const std::vector<TarnDesign*> designs = tarn.designs();
  if (std::find(designs.begin(), designs.end(), s.design) == designs.end()) return false;
  return !s.design->markedForDeletion();
}

}  // namespace

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
  State& s = Current();
  s = State();
  TarnDesign* design = FindDesignToUpdate(fileName);
  if (design == nullptr) return nullptr;
  s.design = design;
  s.generation = TARN().generation();
  return design;
}

TarnDesign* UpdateDesign() {
  State& s = Current();
  if (s.design != nullptr && !IsLive(s)) s = State();
  return s.design;
}

IfcOwnerHistory* UpdateOwnerHistory() { return UpdateDesign() != nullptr ? Current().history : nullptr; }

void SetUpdateOwnerHistory(IfcOwnerHistory* history) {
  if (UpdateDesign() != nullptr) Current().history = history;
}

int RecordUpdateHistory(OwnerHistoryArguments args) {
  TarnDesign* design = RequireUpdateDesign("UpdateHistory");
  if (design == nullptr) return -1;
  args.changeAction = IfcChangeActionEnum_MODIFIED;
  if (IfcOwnerHistory* history = NewOwnerHistory(design, args)) SetUpdateOwnerHistory(history);
  return -1;
}

void EndUpdate() { Current() = State(); }

TarnDesign* RequireUpdateDesign(const char* call) {
  TarnDesign* design = UpdateDesign();
  if (design == nullptr)
    TARN().warning("Update: %s ignored: no file is open for update (OpenFileForUpdate first)", call);
  return design;
}

bool RequireUpdate(const char* call, TarnDesign** design, IfcOwnerHistory** history) {
  *design = RequireUpdateDesign(call);
  *history = nullptr;
  if (*design == nullptr) return false;
  *history = Current().history;
  if (*history == nullptr) {
    TARN().warning("Update: %s ignored: no owner history for the change (UpdateHistory first)", call);
    return false;
  }
  return true;
}

}  // namespace update
}  // namespace korva
