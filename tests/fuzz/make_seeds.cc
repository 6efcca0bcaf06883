// Writes the seed corpus of the fuzz targets into a folder: a small
// building written by the exchange-file writer (the benchmark model) and a
// structural analysis model written by the analysis export.
//
//   korva_fuzz_seeds FOLDER
#include <cstdio>
#include <string>

#include "api/korvaifc.h"
#include "bench/bench_model.h"
#include "exchange/part21_writer.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

using namespace korva;

namespace {

char* S(const char* text) { return const_cast<char*>(text); }

bool WriteBuilding(const std::string& folder) {
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  if (LoadIfcSchema() == nullptr) return false;
  TarnDesign* design = NewIfcDesign("building_seed.ifc", folder.c_str());
  bench::BuildBuilding(design, 110);
  std::FILE* f = std::fopen((folder + "/building_seed.ifc").c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = Part21Writer::Write(design, f);
  std::fclose(f);
  TARN().shutdown();
  return ok;
}

void WriteAnalysisModel(const std::string& folder) {
  SetSchemaPath(S(KORVA_SCHEMA_DIR));
  ExportAnalysisModelOpenFile(S("analysis_seed.ifc"), nullptr, S("Analysis model"), S("KORVA 9"), S("Tester"),
                              S("Korva Ltd"), S("none"), S("KORVA Analysis"), 10, 15);
  double elevations[] = {99.0, 0.0, 3.5};
  ExportAnalysisModelBuidling(2, elevations);
  ExportAnalysisModelAddAnalysisModel(S("Frame"), S("Two storeys"));
  ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N2"), 1, 6.0, 0.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(S("N3"), 2, 0.0, 0.0, 3.5);
  ExportAnalysisModelAddOnePointConnection(S("N4"), 2, 6.0, 0.0, 3.5);
  ExportAnalysisModelAddOneCurveMember(S("C1"), 1, 1, 2, 1, 1, 0.0, 0.0, 0.0, 0.0, 0.0, 3.5);
  ExportAnalysisModelAddOneCurveMember(S("B1"), 2, 2, 2, 1, 2, 0.0, 0.0, 3.5, 6.0, 0.0, 3.5);
  int storeys[] = {1, 1, 2, 2};
  int positions[] = {1, 2, 2, 1};
  double xs[] = {0.0, 6.0, 6.0, 0.0}, ys[] = {0.0, 0.0, 0.0, 0.0}, zs[] = {0.0, 0.0, 3.5, 3.5};
  ExportAnalysisModelAddOneSurfaceMember(S("S1"), 2, 4, storeys, positions, xs, ys, zs);
  std::string dir = folder + "/";
  ExportAnalysisModelCloseFile(S("analysis_seed.ifc"), &dir[0]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korva_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!WriteBuilding(folder)) return 1;
  WriteAnalysisModel(folder);
  return 0;
}
