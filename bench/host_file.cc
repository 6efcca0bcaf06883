// Writes the input file of the host benchmark: a building with its
// structural analysis model (host_model.h) of about the given number of
// entity instances, through the exchange-file writer.
//
//   korva_host_file INSTANCES FILE [schema folder]
//
// Prints the number of instances made and the file's size.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_model.h"
#include "bench/host_model.h"
#include "exchange/part21_writer.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

using namespace korva;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s INSTANCES FILE [schema folder]\n", argv[0]);
    return 2;
  }
  const long target = std::atol(argv[1]);
  const std::string path = argv[2];
  TARN().setSchemaPath(argc > 3 ? argv[3] : KORVA_SCHEMA_DIR);
  TARN().reporter()->setPrintLevel(2);
  if (LoadIfcSchema() == nullptr) return 1;
  TarnDesign* design = NewIfcDesign("korva_host_bench_input.ifc", "/tmp");
  const long made = bench::BuildAnalysedBuilding(design, target);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const bool ok = Part21Writer::Write(design, f);
  if (std::fclose(f) != 0 || !ok) {
    std::remove(path.c_str());
    return 1;
  }
  std::printf("%s: %ld instances, %.1f MB\n", path.c_str(), made,
              static_cast<double>(bench::FileSize(path)) / 1e6);
  return 0;
}
