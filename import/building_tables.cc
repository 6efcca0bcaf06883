#include "import/building_tables.h"

namespace korva {

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
}  // namespace

void ResetBuildingCounters(int value) {
  if (value == -1) {
    ReleaseBuildingTables(-1);
    return;
  }
  ForEachTable([value](auto& table) { table.setCounter(value); });
}

void ReleaseBuildingTables(int counter) {
  ForEachTable([counter](auto& table) { table.release(counter); });
}

}  // namespace korva
