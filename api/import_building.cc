// The exported census, fill, counters and building-element getters: thin
// shims over import/building_import.* and the tables of
// import/building_tables.h; the getters and counters are expanded from the
// lists of api/import_getters.h.
#include "api/import_building.h"

#include <cstdio>

#include "import/building_import.h"
#include "import/building_tables.h"
#include "import/getter_definitions.h"
#include "import/import_guard.h"
#include "import/import_state.h"

KORVA_API int KORVA_CALL FindTotalObjects(char* fileName) {
  korva::GuardedImport("FindTotalObjects", 0, [&] { korva::CountImportObjects(korva::OpenImportDesign(fileName)); });
  return -1;
}

KORVA_API int KORVA_CALL CheckNumber(int, char* fileName) {
  korva::GuardedImport("CheckNumber", -1,
                       [&] { korva::FillImportTables(korva::OpenImportDesign(fileName), stdout); });
  std::fflush(stdout);
  return -1;
}

KORVA_API int KORVA_CALL ReadAllTogether(int, int) { return -1; }

#define KORVA_STATE korva::BuildingImport()
KORVA_BUILDING_COUNTS(KORVA_DEFINE_COUNT)
KORVA_BUILDING_GETTERS(KORVA_DEFINE_GETTER)
#undef KORVA_STATE
