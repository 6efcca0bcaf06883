// The exported census and fill of the structural analysis import: thin
// shims over import/analysis_import.h; the getters and counters, reads of
// the tables of import/analysis_tables.h, are expanded from the lists of
// api/import_getters.h.
#include "api/import_analysis.h"

#include <cstdio>

#include "import/analysis_import.h"
#include "import/analysis_tables.h"
#include "import/getter_definitions.h"
#include "import/import_guard.h"
#include "import/import_state.h"

KORVA_API int KORVA_CALL FindTotalAnaModels(char* fileName) {
  korva::GuardedImport("FindTotalAnaModels", -1,
                       [&] { korva::CensusAnalysisModels(korva::OpenImportDesign(fileName)); });
  return -1;
}

KORVA_API int KORVA_CALL CheckAnaModel(int, int modelFileId, char* fileName) {
  korva::GuardedImport("CheckAnaModel", -1,
                       [&] { korva::FillAnalysisModel(korva::OpenImportDesign(fileName), modelFileId); });
  // The fill's trace lines reach the host before the call returns.
  std::fflush(stdout);
  return -1;
}

#define KORVA_STATE korva::AnalysisImport()
KORVA_ANALYSIS_COUNTS(KORVA_DEFINE_COUNT)
KORVA_ANALYSIS_GETTERS(KORVA_DEFINE_GETTER)
#undef KORVA_STATE
