// Writes seed inputs of the fuzz targets into a folder.
//
//   korva_fuzz_seeds FOLDER
//       our own files, kept in tests/fuzz/seeds: a small building written by
//       the exchange-file writer (the benchmark model), a structural
//       analysis model written by the analysis export, and the building in
//       the native text format (FOLDER/tarn);
//   korva_fuzz_seeds --campaign exchange|native FOLDER
//       every seed of one kind (seed_inputs.h) for a fuzzing campaign: ours
//       and the cuts of the shared corpus or of the compiled schemas.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "api/korvaifc.h"
#include "bench/bench_model.h"
#include "exchange/native_text.h"
#include "exchange/part21_writer.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "tests/fuzz/seed_inputs.h"

using namespace korva;

namespace {

char* S(const char* text) { return const_cast<char*>(text); }

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteBuilding(const std::string& folder) {
  TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  if (LoadIfcSchema() == nullptr) return false;
  TarnDesign* design = NewIfcDesign("building_seed.ifc", folder.c_str());
  bench::BuildBuilding(design, 110);
  std::FILE* f = std::fopen((folder + "/building_seed.ifc").c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = Part21Writer::Write(design, f);
  std::fclose(f);
  std::string native;
  std::filesystem::create_directories(folder + "/tarn");
  ok = ok && IOTarn::WriteText(design, &native) && WriteFile(folder + "/tarn/building_seed.tarn", native);
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

int Campaign(const std::string& kind, const std::string& folder) {
  const std::string own = std::string(KORVA_FUZZ_DIR) + "/seeds";
  std::vector<fuzz::SeedInput> seeds;
  if (kind == "exchange") seeds = fuzz::ExchangeSeeds(own, KORVA_CORPUS_DIR);
  else if (kind == "native") seeds = fuzz::NativeSeeds(own + "/tarn", KORVA_SCHEMA_DIR);
  else return 2;
  std::filesystem::create_directories(folder);
  for (const fuzz::SeedInput& s : seeds)
    if (!WriteFile(folder + "/" + s.name, s.bytes)) return 1;
  std::printf("%zu seeds in %s\n", seeds.size(), folder.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--campaign") == 0) return Campaign(argv[2], argv[3]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: korva_fuzz_seeds FOLDER\n       korva_fuzz_seeds --campaign exchange|native FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!WriteBuilding(folder)) return 1;
  WriteAnalysisModel(folder);
  return 0;
}
