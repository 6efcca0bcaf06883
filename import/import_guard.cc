#include "import/import_guard.h"

#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "objdb/interface.h"

namespace korva {

void AbandonImport(const char* call, int counter) {
  // Emptying allocates nothing; the report may fail for want of memory.
  ReleaseBuildingTables(counter);
  ReleaseAnalysisTables(counter);
  try {
    TARN().warning("Import: %s failed: out of memory", call);
  } catch (...) {
  }
}

}  // namespace korva
