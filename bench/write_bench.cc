// Writing a building of about a million IFC instances as an ISO 10303-21
// file, against a plain buffered copy of the same bytes in the same run.
//
//   korva_write_bench [instances] [schema folder]     (default 1000000)
//
// Reports the time to make the design and its memory (arena bytes and the
// rise of the process's peak resident memory, per instance), then the best
// of three writes (MB/s, instances/s) beside the best of three plain copies
// of the written bytes (4 KB fwrite calls from memory, and the file copied
// a character at a time with getc/putc), and the ratios.  Figures
// only; nothing is asserted.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_model.h"
#include "exchange/part21_writer.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"

using namespace korva;
using namespace korva::bench;

int main(int argc, char** argv) {
  const long target = argc > 1 ? std::atol(argv[1]) : 1000000;
  TARN().setSchemaPath(argc > 2 ? argv[2] : KORVA_SCHEMA_DIR);
  TARN().reporter()->setPrintLevel(2);
  if (LoadIfcSchema() == nullptr) return 1;
  std::printf("load average before: %s\n", LoadAverage().c_str());

  const std::size_t baseline = CurrentMemory();
  ResetPeakMemory();
  TarnDesign* design = NewIfcDesign("korva_write_bench.ifc", "/tmp");
  const std::size_t arenaBefore = design->arena().memoryUsage();
  Timer made;
  const long n = BuildBuilding(design, target);
  const double make = made.cpuSeconds();
  const double arena = static_cast<double>(design->arena().memoryUsage() - arenaBefore);
  const double peak = static_cast<double>(PeakMemory() - baseline);
  std::printf("make:  %ld instances in %.3f s cpu; arena %.1f B/instance, peak memory rise %.1f B/instance (%.1f MB)\n",
              n, make, arena / n, peak / n, peak / 1e6);

  const std::string path = "/tmp/korva_write_bench.ifc";
  Best write;
  for (int run = 0; run < 3; ++run) {
    Timer t;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 1;
    const bool ok = Part21Writer::Write(design, f);
    std::fclose(f);
    write.add(t);
    if (!ok) std::printf("write failed\n");
  }
  const double mb = static_cast<double>(FileSize(path)) / 1e6;
  std::printf("write: of the best, %.3f s cpu in the kernel (the file's writes)\n", write.system);
  std::printf("write: %.1f MB in %.3f s wall, %.3f s cpu: %.1f MB/s, %.0f instances/s (cpu; best of 3)\n", mb,
              write.wall, write.cpu, mb / write.cpu, n / write.cpu);

  const std::string bytes = ReadWholeFile(path);
  const std::string copyPath = "/tmp/korva_write_bench.copy";
  Best copy;
  for (int run = 0; run < 3; ++run) {
    Timer t;
    std::FILE* f = std::fopen(copyPath.c_str(), "wb");
    if (f == nullptr) return 1;
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
      const std::size_t k = bytes.size() - at < 4096 ? bytes.size() - at : 4096;
      std::fwrite(bytes.data() + at, 1, k, f);
    }
    std::fclose(f);
    copy.add(t);
  }
  std::printf("copy:  %.1f MB in %.3f s wall, %.3f s cpu: %.1f MB/s (cpu; plain buffered fwrite, best of 3)\n", mb,
              copy.wall, copy.cpu, mb / copy.cpu);
  // The classic stream copy of the file, a character at a time through
  // stdio's buffers (getc/putc): what a program that formats its output a
  // character at a time pays before formatting anything.
  Best stream;
  for (int run = 0; run < 3; ++run) {
    Timer t;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::FILE* out = std::fopen(copyPath.c_str(), "wb");
    if (in == nullptr || out == nullptr) return 1;
    for (int c = std::getc(in); c != EOF; c = std::getc(in)) std::putc(c, out);
    std::fclose(in);
    std::fclose(out);
    stream.add(t);
  }
  std::printf("getc/putc copy of the file: %.3f s wall, %.3f s cpu: %.1f MB/s (cpu; best of 3)\n", stream.wall,
              stream.cpu, mb / stream.cpu);
  std::printf("ratio: write / block copy = %.2f (cpu), %.2f (wall); write / getc-putc copy = %.2f (cpu), %.2f (wall)\n",
              write.cpu / copy.cpu, write.wall / copy.wall, write.cpu / stream.cpu, write.wall / stream.wall);
  std::printf("peak resident memory: %.1f MB; load average after: %s\n", PeakMemory() / 1e6,
              LoadAverage().c_str());
  std::remove(copyPath.c_str());
  if (argc <= 3) std::remove(path.c_str());

  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  TARN().shutdown();
  return 0;
}
