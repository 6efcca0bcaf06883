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
// Calls f on every building table, in the order of the census.
template <class F>
void ForEachTable(F f) {
  BuildingTables& t = BuildingImport();
  f(t.beams);
  f(t.columns);
  f(t.walls);
  f(t.wallPoints);
  f(t.slabs);
  f(t.slabPoints);
  f(t.generals);
  f(t.generalPoints);
}

void ReleaseAll(int counter) {
  ForEachTable([counter](auto& table) { table.release(counter); });
}
}  // namespace

void ResetBuildingCounters(int value) {
  if (value == -1) {
    ReleaseAll(-1);
    return;
  }
  ForEachTable([value](auto& table) { table.setCounter(value); });
}

void ResetBuildingTables() {
  ReleaseAll(0);
  BuildingImport().filled = false;
}

}  // namespace korva
