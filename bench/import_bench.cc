// The building import's census and fill (FindTotalObjects, CheckNumber) of
// a file of about a million instances, against a plain read of the same
// file in the same run; then the same for the file's IFC2X3 copy (its
// FILE_SCHEMA rewritten, read against the IFC2X3 dictionary).
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

// The IFC2X3 copy of the file at `path`: the same text under FILE_SCHEMA
// (('IFC2X3')), written beside it unless it exists; its path, or "".
std::string Ifc2x3Copy(const std::string& path) {
  const std::string copy = path.substr(0, path.size() - 4) + "_ifc2x3.ifc";
  if (FileSize(copy) > 0) return copy;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return "";
  std::string text;
  char block[1 << 16];
  for (size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;) text.append(block, n);
  std::fclose(in);
  const std::string from = "(('IFC2X2_FINAL'))";
  const size_t at = text.find(from);
  if (at == std::string::npos) return "";
  text.replace(at, from.size(), "(('IFC2X3'))");
  std::FILE* out = std::fopen(copy.c_str(), "wb");
  if (out == nullptr) return "";
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written ? copy : "";
}

struct Figures {
  Best read, census, fill, both;
  long instances = 0;
};

// Best of three plain reads, and of three census and fill passes, of the
// file at `path`; false when it cannot be read.
bool Measure(const std::string& path, Figures* f) {
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  for (int run = 0; run < 3; ++run) {
    Timer r;
    TarnDesign* design = TARN().findDesign(path.c_str());
    f->read.add(r);
    if (design == nullptr) return false;
    f->instances = static_cast<long>(design->size());
    design->emptyYourself();
    TARN().deleteDesign(design);
    TARN().emptyTrash();

    Timer whole;
    Timer c;
    FindTotalObjects(name.data());
    f->census.add(c);
    {
      Silence quiet;
      Timer t;
      CheckNumber(0, name.data());
      f->fill.add(t);
    }
    f->both.add(whole);
    ReleaseImportDesign();
  }
  return true;
}

void Report(const char* schema, double mb, const Figures& f) {
  std::printf("%s read:   %.1f MB, %ld instances in %.3f s wall, %.3f s cpu (%.1f MB/s cpu, best of 3)\n", schema, mb,
              f.instances, f.read.wall, f.read.cpu, mb / f.read.cpu);
  std::printf("%s census: %.3f s cpu (reads the file); fill: %.3f s cpu (design in memory)\n", schema, f.census.cpu,
              f.fill.cpu);
  std::printf("%s census + fill: %.3f s wall, %.3f s cpu = %.2f x the plain read (cpu), %.2f x (wall)\n", schema,
              f.both.wall, f.both.cpu, f.both.cpu / f.read.cpu, f.both.wall / f.read.wall);
  std::printf("%s counts: beams %d, columns %d, walls %d, slabs %d, wall points %d\n", schema, GetTotalBeams() + 1,
              GetTotalColumns() + 1, GetTotalWalls() + 1, GetTotalSlabs() + 1, GetTotalWallPoints() + 1);
}

}  // namespace

int main(int argc, char** argv) {
  BenchmarkInput input;
  if (!PrepareBenchmarkInput(argc, argv, KORVA_SCHEMA_DIR, &input)) return 1;
  const std::string& path = input.path;
  const std::string copy = Ifc2x3Copy(path);

  Figures ifc2x2;
  if (!Measure(path, &ifc2x2)) {
    std::printf("read failed\n");
    return 1;
  }
  Report("IFC2X2_FINAL", input.megabytes, ifc2x2);
  Figures ifc2x3;
  if (copy.empty() || !Measure(copy, &ifc2x3)) {
    std::printf("IFC2X3 copy of %s could not be written or read\n", path.c_str());
  } else {
    Report("IFC2X3", static_cast<double>(FileSize(copy)) / 1e6, ifc2x3);
    std::printf("IFC2X3 / IFC2X2_FINAL: read %.2f x (cpu), census + fill %.2f x (cpu)\n",
                ifc2x3.read.cpu / ifc2x2.read.cpu, ifc2x3.both.cpu / ifc2x2.both.cpu);
  }
  std::printf("load average after: %s\n", LoadAverage().c_str());
  ShutDown();
  return 0;
}
