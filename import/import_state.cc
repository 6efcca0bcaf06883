#include "import/import_state.h"

#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {

const char* const kBlankField = " ";

namespace {
TarnDesign* g_design = nullptr;
unsigned g_generation = 0;
}  // namespace

TarnDesign* ImportDesign() {
  if (g_design != nullptr && g_generation != TARN().generation()) g_design = nullptr;
  if (g_design != nullptr && TARN().state() != TarnInterface::kInitialized) g_design = nullptr;
  return g_design;
}

TarnDesign* OpenImportDesign(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  if (LoadIfcSchema() == nullptr) return nullptr;
  g_design = TARN().findDesign(fileName);
  g_generation = TARN().generation();
  return g_design;
}

void ReleaseImportDesign() {
  TarnDesign* design = ImportDesign();
  g_design = nullptr;
  if (design == nullptr) return;
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

}  // namespace korva
