// The building import's census and fill (FindTotalObjects, CheckNumber) of
// a file of about a million instances, against a plain read of the same
// file in the same run.
//
//   korva_import_bench [instances] [schema folder] [file]   (default 1000000)
//
// The census reads the file (once) and counts; the fill finds the design
// in memory and fills the tables.  The fill's trace lines ("Name: ...", one
// per instance, on standard output) go to /dev/null while it runs.  Best
// of three for each figure.  Figures only; nothing is asserted.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "bench/bench_file.h"
#include "bench/bench_model.h"
#include "ifc2x2/schema.h"
#include "import/import_state.h"
#include "objdb/design.h"
#include "objdb/interface.h"

using namespace korva;
using namespace korva::bench;

namespace {

// Standard output to /dev/null while it lives.
class Silence {
 public:
  Silence() {
    std::fflush(stdout);
    saved_ = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~Silence() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }

 private:
  int saved_;
};

}  // namespace

int main(int argc, char** argv) {
  BenchmarkInput input;
  if (!PrepareBenchmarkInput(argc, argv, KORVA_SCHEMA_DIR, &input)) return 1;
  const std::string& path = input.path;
  const double mb = input.megabytes;
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');

  Best read, census, fill, both;
  long instances = 0;
  for (int run = 0; run < 3; ++run) {
    Timer r;
    TarnDesign* design = TARN().findDesign(path.c_str());
    read.add(r);
    if (design == nullptr) {
      std::printf("read failed\n");
      return 1;
    }
    instances = static_cast<long>(design->size());
    design->emptyYourself();
    TARN().deleteDesign(design);
    TARN().emptyTrash();

    Timer whole;
    Timer c;
    FindTotalObjects(name.data());
    census.add(c);
    {
      Silence quiet;
      Timer f;
      CheckNumber(0, name.data());
      fill.add(f);
    }
    both.add(whole);
    ReleaseImportDesign();
  }
  std::printf("read:   %.1f MB, %ld instances in %.3f s wall, %.3f s cpu (%.1f MB/s cpu, best of 3)\n", mb,
              instances, read.wall, read.cpu, mb / read.cpu);
  std::printf("census: %.3f s cpu (reads the file); fill: %.3f s cpu (design in memory)\n", census.cpu, fill.cpu);
  std::printf("census + fill: %.3f s wall, %.3f s cpu = %.2f x the plain read (cpu), %.2f x (wall)\n", both.wall,
              both.cpu, both.cpu / read.cpu, both.wall / read.wall);
  std::printf("counts: beams %d, columns %d, walls %d, slabs %d, wall points %d\n", GetTotalBeams() + 1,
              GetTotalColumns() + 1, GetTotalWalls() + 1, GetTotalSlabs() + 1, GetTotalWallPoints() + 1);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  ShutDown();
  return 0;
}
