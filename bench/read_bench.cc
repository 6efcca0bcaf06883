// Reading an exchange file of about a million IFC instances into a typed
// design, against a raw one-pass scan of the same file in the same run.
//
//   korva_read_bench [instances] [schema folder] [file]   (default 1000000)
//
// The file (default /tmp/korva_bench_<instances>.ifc) is written by the
// exchange-file writer in a child process unless it exists already.
// Reports the best of three raw scans (read the file, count the instance
// statements outside strings) and the best of three full reads (MB/s,
// instances/s), their ratio, and the peak resident memory of a read (in
// all and per instance).  Figures only; nothing is asserted.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_file.h"
#include "bench/bench_model.h"
#include "exchange/part21_reader.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

using namespace korva;
using namespace korva::bench;

int main(int argc, char** argv) {
  BenchmarkInput input;
  if (!PrepareBenchmarkInput(argc, argv, KORVA_SCHEMA_DIR, &input)) return 1;
  const std::string& path = input.path;
  const double mb = input.megabytes;

  Best scan;
  long statements = 0;
  for (int run = 0; run < 3; ++run) {
    Timer t;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return 1;
    statements = ScanInstanceStatements(f);
    std::fclose(f);
    scan.add(t);
  }
  std::printf("scan:  %.1f MB, %ld instance statements in %.3f s wall, %.3f s cpu: %.1f MB/s (cpu; best of 3)\n",
              mb, statements, scan.wall, scan.cpu, mb / scan.cpu);

  Best read;
  double peak = 0, rise = 0;
  long instances = 0;
  for (int run = 0; run < 3; ++run) {
    const std::size_t baseline = CurrentMemory();
    const bool reset = ResetPeakMemory();
    Timer t;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return 1;
    TarnDesign* design = Part21Reader::Read(f, "korva_read_bench", path.c_str());
    std::fclose(f);
    read.add(t);
    if (design == nullptr) {
      std::printf("read failed\n");
      return 1;
    }
    instances = static_cast<long>(design->size());
    if (run == 0) {
      peak = static_cast<double>(PeakMemory());
      rise = peak - static_cast<double>(baseline);
      if (!reset) std::printf("(peak memory could not be reset; it covers the whole run)\n");
    }
    design->emptyYourself();
    TARN().deleteDesign(design);
    TARN().emptyTrash();
  }
  std::printf("read:  %ld instances in %.3f s wall, %.3f s cpu: %.1f MB/s, %.0f instances/s (cpu; best of 3)\n",
              instances, read.wall, read.cpu, mb / read.cpu, instances / read.cpu);
  std::printf("       of which %.3f s in the kernel (fresh zeroed pages for the design, the file's reads)\n",
              read.system);
  std::printf("ratio: read / scan = %.2f (cpu), %.2f (wall)\n", read.cpu / scan.cpu, read.wall / scan.wall);
  std::printf("memory: peak resident %.1f MB during a read, %.1f MB above the loaded schema (%.1f B/instance)\n",
              peak / 1e6, rise / 1e6, rise / instances);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  TARN().shutdown();
  return 0;
}
