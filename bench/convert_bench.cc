// korva-ifc convert (to IFC2X3) against korva-ifc copy of the same file of
// about a million IFC2x2 instances, in one run: both are the command-line
// host as a user runs it, so each figure covers reading, (converting,) and
// writing the file.
//
//   korva_convert_bench [instances] [schema folder] [file]   (default 1000000)
//
// The file (default /tmp/korva_bench_<instances>.ifc, shared with the read
// benchmark) is written by the exchange-file writer unless it exists.
// Reports the best of three runs of each command (wall time, and the
// processor time of the child process) and the ratio convert / copy.
// Figures only; nothing is asserted.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_file.h"
#include "bench/bench_model.h"

using namespace korva::bench;

namespace {

double ChildrenCpu() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Best of three runs of a shell command; false when it fails.
bool Measure(const std::string& command, double* wall, double* cpu) {
  *wall = *cpu = 1e30;
  for (int run = 0; run < 3; ++run) {
    const double before = ChildrenCpu();
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) return false;
    const double w = Seconds(start), c = ChildrenCpu() - before;
    if (w < *wall) *wall = w;
    if (c < *cpu) *cpu = c;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const long target = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::string schemas = argc > 2 ? argv[2] : KORVA_SCHEMA_DIR;
  const std::string path = argc > 3 ? argv[3] : "/tmp/korva_bench_" + std::to_string(target) + ".ifc";
  if (!MakeBenchmarkFile(path, target, schemas.c_str())) {
    std::printf("could not write %s\n", path.c_str());
    return 1;
  }
  const std::string out = path + ".out.ifc";
  const std::string tail = " --schemas '" + schemas + "' '" + path + "' '" + out + "' >/dev/null 2>&1";
  std::printf("load average before: %s\n", LoadAverage().c_str());
  double copyWall, copyCpu, convertWall, convertCpu;
  if (!Measure(std::string("'") + KORVA_CLI_PATH + "' copy" + tail, &copyWall, &copyCpu) ||
      !Measure(std::string("'") + KORVA_CLI_PATH + "' convert --schema IFC2X3" + tail, &convertWall, &convertCpu)) {
    std::printf("korva-ifc failed on %s\n", path.c_str());
    return 1;
  }
  std::remove(out.c_str());
  std::printf("copy:    %.3f s wall, %.3f s cpu (best of 3)\n", copyWall, copyCpu);
  std::printf("convert: %.3f s wall, %.3f s cpu (best of 3)\n", convertWall, convertCpu);
  std::printf("convert / copy: %.2f wall, %.2f cpu\n", convertWall / copyWall, convertCpu / copyCpu);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}
