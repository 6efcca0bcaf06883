#include "api/library_state.h"

#include <algorithm>
#include <vector>

#include "export/analysis_export.h"
#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "import/import_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {

struct LibraryState::Kept {
  HeldDesign importDesign;
  BuildingTables buildingTables;
  AnalysisImportState analysisTables;
  std::unique_ptr<AnalysisModelExport> analysisExport;
  HeldDesign updateDesign;
  TarnObject* updateHistory = nullptr;
  HeldDesign updateScratch;
};

LibraryState::LibraryState() : kept_(new Kept()) {}
LibraryState::~LibraryState() = default;

LibraryState& LibraryState::get() {
  static LibraryState state;
  return state;
}

unsigned LibraryState::generation() const {
  const TarnInterface& tarn = TARN();
  return tarn.state() == TarnInterface::kInitialized ? tarn.generation() : 0;
}

bool LibraryState::holds(const HeldDesign& held) const {
  if (held.design == nullptr || !isLive(held.generation)) return false;
  const std::vector<TarnDesign*> designs = TARN().designs();
  if (std::find(designs.begin(), designs.end(), held.design) == designs.end()) return false;
  return !held.design->markedForDeletion();
}

HeldDesign& LibraryState::importDesign() { return kept_->importDesign; }
BuildingTables& LibraryState::buildingTables() { return kept_->buildingTables; }
AnalysisImportState& LibraryState::analysisTables() { return kept_->analysisTables; }
std::unique_ptr<AnalysisModelExport>& LibraryState::analysisExport() { return kept_->analysisExport; }
HeldDesign& LibraryState::updateDesign() { return kept_->updateDesign; }
TarnObject*& LibraryState::updateHistory() { return kept_->updateHistory; }
HeldDesign& LibraryState::updateScratch() { return kept_->updateScratch; }

void LibraryState::shutDown() {
  ReleaseImportDesign();
  TARN().shutdown();
}

// The families' accessors of their tables.
BuildingTables& BuildingImport() { return LibraryState::get().buildingTables(); }
AnalysisImportState& AnalysisImport() { return LibraryState::get().analysisTables(); }

}  // namespace korva
