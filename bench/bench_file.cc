#include "bench/bench_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_measure.h"
#include "bench/bench_model.h"
#include "exchange/part21_writer.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {
namespace bench {

bool MakeBenchmarkFile(const std::string& path, long instances, const char* schemaFolder) {
  if (FileSize(path) > 0) return true;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    TARN().setSchemaPath(schemaFolder);
    TARN().reporter()->setPrintLevel(2);
    if (LoadIfcSchema() == nullptr) _exit(1);
    TarnDesign* design = NewIfcDesign("korva_bench_input.ifc", "/tmp");
    BuildBuilding(design, instances);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) _exit(1);
    const bool ok = Part21Writer::Write(design, f);
    _exit(std::fclose(f) == 0 && ok ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && FileSize(path) > 0;
}

bool PrepareBenchmarkInput(int argc, char** argv, const char* defaultSchemas, BenchmarkInput* input) {
  input->instances = argc > 1 ? std::atol(argv[1]) : 1000000;
  input->schemas = argc > 2 ? argv[2] : defaultSchemas;
  input->path = argc > 3 ? argv[3] : "/tmp/korva_bench_" + std::to_string(input->instances) + ".ifc";
  if (!MakeBenchmarkFile(input->path, input->instances, input->schemas)) {
    std::printf("could not write %s\n", input->path.c_str());
    return false;
  }
  TARN().setSchemaPath(input->schemas);
  TARN().reporter()->setPrintLevel(2);
  if (LoadIfcSchema() == nullptr) return false;
  std::printf("load average before: %s\n", LoadAverage().c_str());
  input->megabytes = static_cast<double>(FileSize(input->path)) / 1e6;
  return true;
}

}  // namespace bench
}  // namespace korva
