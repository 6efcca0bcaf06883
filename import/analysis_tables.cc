#include "import/analysis_tables.h"

namespace korva {

const UnitRecord* UnitsOutside::Outside() {
  static const UnitRecord kOutside = [] {
    UnitRecord r;
    r.ConversionBasedName = nullptr;
    return r;
  }();
  return &kOutside;
}

void ReleaseAnalysisTables(int counter) {
  AnalysisImportState& s = AnalysisImport();
  s.available = 0;
  auto release = [counter](auto& table) { table.release(counter); };
  release(s.models);
  release(s.curveMembers);
  release(s.surfaceMembers);
  release(s.pointConnections);
  release(s.loadGroups);
  release(s.pointActions);
  release(s.linearActions);
  release(s.generalMaterials);
  release(s.steelMaterials);
  release(s.concreteMaterials);
  release(s.profiles);
  s.units.release(0);
  s.derivedUnitElements.release(0);
}

}  // namespace korva
