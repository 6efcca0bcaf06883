// The import as a host runs it, through the exported functions of the
// shared library loaded with dlopen: FindTotalObjects, CheckNumber and every
// building-element getter once per record, then FindTotalAnaModels,
// CheckAnaModel of the first model and every analysis, material, profile
// and unit getter once per record, then ShutDown.  The getters are the
// "getter-" rows of the export contract (abi/exports.tsv), bound by name.
//
//   korva_host_bench [instances] [runs] [file] [stdout file]
//
// Defaults: 1000000 instances, 3 runs, /tmp/korva_host_<instances>.ifc
// (written by korva_host_file when missing), standard output to /dev/null.
// Standard output is redirected before the library is loaded, so it is
// buffered as a host's is when it goes to a file; the figures go to the
// original standard output.  Each run is a fresh process: per step its wall
// and processor time, the process's peak resident memory after it (VmHWM)
// and its rise, then the whole sequence against FindTotalObjects, whose
// work is mostly the read of the file.  The digest covers every value the
// getters returned, so two builds can be compared for equal results.
// Figures only; nothing is asserted.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_measure.h"

using namespace korva::bench;

namespace {

// The records a getter's first index runs over.
enum Domain {
  kBeams, kColumns, kWalls, kWallPoints, kSlabs, kSlabPoints, kGenerals, kGeneralPoints,
  kModels, kCurveMembers, kSurfaceMembers, kPointConnections, kLoadGroups, kPointActions,
  kLinearActions, kGeneralMaterials, kSteelMaterials, kConcreteMaterials, kProfiles, kUnits,
  kDerivedElements, kDomains
};
// The building tables are read after CheckNumber, the others after
// CheckAnaModel (which empties the building tables).
bool IsBuilding(Domain d) { return d <= kGeneralPoints; }

// What a getter's second index runs over, for the getters that take one.
enum Second { kNone, kConnections, kSurfacePoints, kGroupMembers, kExponents };

enum Shape { kDouble, kInteger, kText, kDouble2, kInteger2 };

struct Getter {
  std::string name;
  Shape shape;
  Domain domain;
  Second second;
  void* function;
};

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

// The records of a getter, from its family and name; false when the
// getter is not known here.
bool Classify(const std::string& family, const std::string& name, Getter* g) {
  struct Family {
    const char* family;
    Domain domain;
  };
  static const Family kFamilies[] = {
      {"getter-beam", kBeams},           {"getter-column", kColumns},
      {"getter-wall", kWalls},           {"getter-slab", kSlabs},
      {"getter-general", kGenerals},     {"getter-anamodel", kModels},
      {"getter-curvemember", kCurveMembers}, {"getter-surfacemember", kSurfaceMembers},
      {"getter-pointconnection", kPointConnections}, {"getter-loadgroup", kLoadGroups},
      {"getter-pointaction", kPointActions}, {"getter-linearaction", kLinearActions},
      {"getter-profile", kProfiles},     {"getter-units", kUnits},
      {"getter-material", kGeneralMaterials},
  };
  bool known = false;
  for (const Family& f : kFamilies)
    if (family == f.family) {
      g->domain = f.domain;
      known = true;
    }
  if (!known) return false;
  g->second = kNone;
  // Getters of the point tables.
  if (name == "GetWallX" || name == "GetWallY" || StartsWith(name, "GetWallPoint") ||
      StartsWith(name, "GetWallpoint"))
    g->domain = kWallPoints;
  if (name == "GetSlabX" || name == "GetSlabY" || StartsWith(name, "GetSlabPoint") ||
      StartsWith(name, "GetSlabpoint"))
    g->domain = kSlabPoints;
  if (name == "GetGeneralX" || name == "GetGeneralY" || name == "GetGeneralZ") g->domain = kGeneralPoints;
  if (g->domain == kGeneralMaterials) {
    if (StartsWith(name, "GetMechConcMat") || name == "GetMechSteelMatMaxAggregateSize" ||
        name == "GetMechSteelMatProtectivePoreRatio")
      g->domain = kConcreteMaterials;
    else if (StartsWith(name, "GetMechSteelMat"))
      g->domain = kSteelMaterials;
    else if (!StartsWith(name, "GetGeneralMaterial"))
      return false;
  }
  if (name == "GetProjectDerivedUnitIndex" || name == "GetProjectDerivedUnitExp") g->domain = kDerivedElements;
  if (g->shape == kDouble2 || g->shape == kInteger2) {
    if (name.find("StructuralConnection") != std::string::npos) g->second = kConnections;
    else if (name == "GetStrSurfaceMemberPx" || name == "GetStrSurfaceMemberPy" || name == "GetStrSurfaceMemberPz")
      g->second = kSurfacePoints;
    else if (name == "GetStrLoadGroupMember") g->second = kGroupMembers;
    else if (name == "GetProjectConversionBasedExponent") g->second = kExponents;
    else return false;
  }
  return true;
}

typedef int (*CountFn)();
typedef int (*IntFn)(int);
typedef double (*DoubleFn)(int);
typedef void (*TextFn)(int, char*);
typedef int (*Int2Fn)(int, int);
typedef double (*Double2Fn)(int, int);

// The library as a host binds it.
class Library {
 public:
  bool open(const char* path) {
    handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) std::fprintf(stderr, "%s\n", dlerror());
    return handle_ != nullptr;
  }
  void* symbol(const char* name) const {
    void* s = dlsym(handle_, name);
    if (s == nullptr) std::fprintf(stderr, "missing export %s\n", name);
    return s;
  }
  template <class F>
  F get(const char* name) const {
    return reinterpret_cast<F>(symbol(name));
  }

  // Reads the getters of the contract; false when one cannot be bound or
  // classified.
  bool bindGetters(const char* contract) {
    std::ifstream in(contract);
    std::string line;
    bool ok = static_cast<bool>(in);
    while (std::getline(in, line)) {
      std::vector<std::string> cells;
      std::stringstream row(line);
      std::string cell;
      while (std::getline(row, cell, '\t')) cells.push_back(cell);
      if (cells.size() < 4 || !StartsWith(cells[3], "getter-")) continue;
      Getter g;
      g.name = cells[0];
      const std::string& result = cells[1];
      const std::string& args = cells[2];
      if (args == "int" && result == "double") g.shape = kDouble;
      else if (args == "int" && result == "int") g.shape = kInteger;
      else if (args == "int,char*" && result == "void") g.shape = kText;
      else if (args == "int,int" && result == "double") g.shape = kDouble2;
      else if (args == "int,int" && result == "int") g.shape = kInteger2;
      else ok = false;
      g.function = symbol(g.name.c_str());
      if (!Classify(cells[3], g.name, &g) || g.function == nullptr) {
        std::fprintf(stderr, "getter %s: unknown records\n", g.name.c_str());
        ok = false;
        continue;
      }
      getters_.push_back(g);
    }
    return ok && !getters_.empty();
  }
  const std::vector<Getter>& getters() const { return getters_; }

 private:
  void* handle_ = nullptr;
  std::vector<Getter> getters_;
};

// FNV-1a over every value the getters return.
struct Digest {
  uint64_t h = 1469598103934665603ull;
  long calls = 0;
  void add(const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  }
};

// Calls every getter of the chosen tables once per record.
class Reader {
 public:
  explicit Reader(const Library& lib) : lib_(lib) {}

  void readAll(bool building, Digest* digest) {
    for (int d = 0; d < kDomains; ++d) {
      const Domain domain = static_cast<Domain>(d);
      if (IsBuilding(domain) != building) continue;
      std::vector<const Getter*> getters;
      for (const Getter& g : lib_.getters())
        if (g.domain == domain) getters.push_back(&g);
      const int records = count(domain);
      records_[d] = records;
      for (int i = 0; i < records; ++i)
        for (const Getter* g : getters) call(*g, i, digest);
    }
  }

  // The records read per table, "beams 1234, columns ...".
  std::string records() const {
    static const char* const kNames[kDomains] = {
        "beams", "columns", "walls", "wall points", "slabs", "slab points", "proxies", "proxy points",
        "models", "curve members", "surface members", "point connections", "load groups", "point actions",
        "linear actions", "general materials", "steel materials", "concrete materials", "profiles", "units",
        "derived unit elements"};
    std::string out;
    for (int d = 0; d < kDomains; ++d)
      out += std::string(d > 0 ? ", " : "") + kNames[d] + " " + std::to_string(records_[d]);
    return out;
  }

 private:
  int last(const char* counter) const { return lib_.get<CountFn>(counter)(); }
  int field(const char* getter, int index) const { return lib_.get<IntFn>(getter)(index); }

  int count(Domain d) const {
    switch (d) {
      case kBeams: return last("GetTotalBeams") + 1;
      case kColumns: return last("GetTotalColumns") + 1;
      case kWalls: return last("GetTotalWalls") + 1;
      case kWallPoints: return last("GetTotalWallPoints") + 1;
      case kSlabs: return last("GetTotalSlabs") + 1;
      case kSlabPoints: return last("GetTotalSlabPoints") + 1;
      case kGenerals: return last("GetTotalGenerals") + 1;
      case kGeneralPoints: {
        int end = 0;
        for (int i = 0; i <= last("GetTotalGenerals"); ++i) {
          const int e = field("GetGeneralIndex", i) + field("GetGeneralTotal", i);
          if (e > end) end = e;
        }
        return end;
      }
      case kModels: return last("GetTotalAnaModels") + 1;
      case kCurveMembers: return last("GetNumberStrCurveMembers") + 1;
      case kSurfaceMembers: return last("GetNumberStrSurfaceMembers") + 1;
      case kPointConnections: return last("GetNumberStrPointConnections") + 1;
      case kLoadGroups: return last("GetNumberStrLoadGroups") + 1;
      case kPointActions: return last("GetNumberStrPointActions") + 1;
      case kLinearActions: return last("GetNumberStrLinearActions") + 1;
      case kGeneralMaterials: return last("GetNumberGeneralMaterials") + 1;
      case kSteelMaterials: return last("GetNumberMechSteelMats") + 1;
      case kConcreteMaterials: return last("GetNumberMechConcMats") + 1;
      case kProfiles: return last("GetNumberStrProfileProperties") + 1;
      case kUnits: return last("GetNumberProjectUnits");
      case kDerivedElements: {
        int n = 0;
        for (int i = 0; i < last("GetNumberProjectUnits"); ++i) n += field("GetProjectTotDerivedUnit", i);
        return n;
      }
      case kDomains: break;
    }
    return 0;
  }

  // The end of the second index of a getter for record `i`.
  int seconds(const Getter& g, int i) const {
    const bool curve = g.domain == kCurveMembers;
    switch (g.second) {
      case kConnections:
        return field(curve ? "GetStrCurveMemberNumberStructuralConnection"
                           : "GetStrSurfaceMemberNumberStructuralConnection", i) + 1;
      case kSurfacePoints: return field("GetStrSurfaceMemberNumberPts", i);
      case kGroupMembers: return field("GetStrLoadGroupTotalMember", i);
      case kExponents: return 7;
      case kNone: break;
    }
    return 0;
  }

  void call(const Getter& g, int i, Digest* digest) {
    switch (g.shape) {
      case kDouble: {
        const double v = reinterpret_cast<DoubleFn>(g.function)(i);
        digest->add(&v, sizeof v);
        break;
      }
      case kInteger: {
        const int v = reinterpret_cast<IntFn>(g.function)(i);
        digest->add(&v, sizeof v);
        break;
      }
      case kText:
        text_[0] = '\0';
        reinterpret_cast<TextFn>(g.function)(i, text_);
        digest->add(text_, std::strlen(text_) + 1);
        break;
      case kDouble2:
        for (int j = 0, n = seconds(g, i); j < n; ++j) {
          const double v = reinterpret_cast<Double2Fn>(g.function)(i, j);
          digest->add(&v, sizeof v);
        }
        break;
      case kInteger2:
        for (int j = 0, n = seconds(g, i); j < n; ++j) {
          const int v = reinterpret_cast<Int2Fn>(g.function)(i, j);
          digest->add(&v, sizeof v);
        }
        break;
    }
    ++digest->calls;
  }

  const Library& lib_;
  int records_[kDomains] = {};
  char text_[1 << 16];
};

struct Step {
  const char* what;
  double wall, cpu;
  std::size_t peak, rss;
};

// One run of the host's sequence; the figures go to `out`.
int Run(const std::string& file, const char* traceFile, std::FILE* out) {
  const int quiet = open(traceFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (quiet < 0 || dup2(quiet, 1) < 0) return 1;
  close(quiet);

  Library lib;
  if (!lib.open(KORVA_LIBRARY) || !lib.bindGetters(KORVA_CONTRACT)) return 1;
  typedef int (*PathFn)(char*);
  typedef int (*FillFn)(int, char*);
  typedef int (*ModelFn)(int, int, char*);
  std::vector<char> name(file.begin(), file.end());
  name.push_back('\0');
  std::string schemas = KORVA_SCHEMA_DIR;
  lib.get<PathFn>("SetSchemaPath")(&schemas[0]);

  std::vector<Step> steps;
  const std::size_t before = PeakMemory();
  auto step = [&](const char* what, auto&& work) {
    Timer t;
    work();
    steps.push_back({what, t.wallSeconds(), t.cpuSeconds(), PeakMemory(), CurrentMemory()});
  };
  Digest digest;
  Reader reader(lib);
  step("FindTotalObjects", [&] { lib.get<PathFn>("FindTotalObjects")(name.data()); });
  step("CheckNumber", [&] { lib.get<FillFn>("CheckNumber")(0, name.data()); });
  step("building getters", [&] { reader.readAll(true, &digest); });
  step("FindTotalAnaModels", [&] { lib.get<PathFn>("FindTotalAnaModels")(name.data()); });
  step("CheckAnaModel", [&] {
    const int model = lib.get<IntFn>("GetAnaModelFileID")(0);
    lib.get<ModelFn>("CheckAnaModel")(0, model, name.data());
  });
  step("analysis getters", [&] { reader.readAll(false, &digest); });
  step("ShutDown", [&] { lib.get<CountFn>("ShutDown")(); });
  std::fflush(stdout);

  std::fprintf(out, "%-20s %9s %9s %10s %10s %10s\n", "step", "wall s", "cpu s", "peak MB", "rise MB", "rss MB");
  std::size_t peak = before;
  double wall = 0, cpu = 0, wall4 = 0, cpu4 = 0;
  for (const Step& s : steps) {
    std::fprintf(out, "%-20s %9.3f %9.3f %10.1f %10.1f %10.1f\n", s.what, s.wall, s.cpu, s.peak / 1e6,
                 (static_cast<double>(s.peak) - static_cast<double>(peak)) / 1e6, s.rss / 1e6);
    peak = s.peak;
    if (std::strcmp(s.what, "ShutDown") == 0) continue;
    wall += s.wall;
    cpu += s.cpu;
    if (std::strstr(s.what, "getters") == nullptr) {
      wall4 += s.wall;
      cpu4 += s.cpu;
    }
  }
  const Step& first = steps.front();
  const std::size_t sequencePeak = steps[steps.size() - 2].peak;  // before ShutDown
  std::fprintf(out, "records: %s\n", reader.records().c_str());
  std::fprintf(out, "peak before FindTotalObjects: %.1f MB; getter calls: %ld, digest %016llx\n", before / 1e6,
               digest.calls, static_cast<unsigned long long>(digest.h));
  std::fprintf(out, "the four calls:        %.3f s wall, %.3f s cpu = %.2f x FindTotalObjects (wall), %.2f x (cpu)\n",
               wall4, cpu4, wall4 / first.wall, cpu4 / first.cpu);
  std::fprintf(out, "with every getter:     %.3f s wall, %.3f s cpu = %.2f x FindTotalObjects (wall), %.2f x (cpu)\n",
               wall, cpu, wall / first.wall, cpu / first.cpu);
  std::fprintf(out, "peak of the sequence:  %.1f MB = %.2f x the peak after FindTotalObjects (%.1f MB)\n",
               sequencePeak / 1e6, static_cast<double>(sequencePeak) / static_cast<double>(first.peak),
               first.peak / 1e6);
  std::fflush(out);
  return 0;
}

bool MakeFile(long instances, const std::string& file) {
  if (FileSize(file) > 0) return true;
  const std::string count = std::to_string(instances);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    execl(KORVA_HOST_FILE_TOOL, KORVA_HOST_FILE_TOOL, count.c_str(), file.c_str(), KORVA_SCHEMA_DIR,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && FileSize(file) > 0;
}

}  // namespace

int main(int argc, char** argv) {
  const long instances = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string file = argc > 3 ? argv[3] : "/tmp/korva_host_" + std::to_string(instances) + ".ifc";
  const char* trace = argc > 4 ? argv[4] : "/dev/null";
  // The report has a stream of its own: `stdout` stays untouched until a
  // run has redirected it, so that its buffering is chosen as in a host.
  std::FILE* report = fdopen(dup(1), "w");
  if (report == nullptr) return 1;
  setvbuf(report, nullptr, _IOLBF, 0);
  if (!MakeFile(instances, file)) {
    std::fprintf(report, "could not write %s\n", file.c_str());
    return 1;
  }
  std::fprintf(report, "%s: %.1f MB; load average before: %s\n", file.c_str(), FileSize(file) / 1e6,
               LoadAverage().c_str());
  for (int run = 1; run <= runs; ++run) {
    std::fprintf(report, "run %d\n", run);
    std::fflush(report);
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) _exit(Run(file, trace, report));
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(report, "run %d failed\n", run);
      return 1;
    }
  }
  std::fprintf(report, "load average after: %s\n", LoadAverage().c_str());
  std::fclose(report);
  return 0;
}
