#include "import/import_state.h"

#include "api/library_state.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {

const char* const kBlankField = " ";

TarnDesign* ImportDesign() {
  LibraryState& state = LibraryState::get();
  HeldDesign& held = state.importDesign();
  if (held.design != nullptr && !state.holds(held)) held = HeldDesign();
  return held.design;
}

TarnDesign* OpenImportDesign(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  if (LoadIfcSchema() == nullptr) return nullptr;
  LibraryState& state = LibraryState::get();
  state.importDesign() = state.hold(TARN().findDesign(fileName));
  return state.importDesign().design;
}

void ReleaseImportDesign() {
  TarnDesign* design = ImportDesign();
  LibraryState::get().importDesign() = HeldDesign();
  if (design == nullptr) return;
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

}  // namespace korva
