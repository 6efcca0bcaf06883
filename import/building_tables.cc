#include "import/building_tables.h"

#include <cstring>

#include "objdb/interface.h"

namespace korva {

BuildingTables& BuildingImport() {
  static BuildingTables tables;
  return tables;
}

bool BuildingStringsValid() {
  const BuildingTables& t = BuildingImport();
  return t.filled && TARN().state() == TarnInterface::kInitialized && TARN().generation() == t.generation;
}

void CopyBuildingString(const char* field, char* buffer) {
  if (field == nullptr || buffer == nullptr) return;
  // The blank default is the library's own text; everything else belongs to
  // the design the tables were filled from.
  if (field != kBlankField && !BuildingStringsValid()) return;
  std::memcpy(buffer, field, std::strlen(field) + 1);
}

namespace {
void ReleaseAll(int counter) {
  BuildingTables& t = BuildingImport();
  t.beams.release(counter);
  t.columns.release(counter);
  t.walls.release(counter);
  t.wallPoints.release(counter);
  t.slabs.release(counter);
  t.slabPoints.release(counter);
  t.generals.release(counter);
  t.generalPoints.release(counter);
}
}  // namespace

void ResetBuildingCounters(int value) {
  BuildingTables& t = BuildingImport();
  if (value == -1) {
    ReleaseAll(-1);
    return;
  }
  t.beams.setCounter(value);
  t.columns.setCounter(value);
  t.walls.setCounter(value);
  t.wallPoints.setCounter(value);
  t.slabs.setCounter(value);
  t.slabPoints.setCounter(value);
  t.generals.setCounter(value);
  t.generalPoints.setCounter(value);
}

void ResetBuildingTables() {
  ReleaseAll(0);
  BuildingImport().filled = false;
}

}  // namespace korva
