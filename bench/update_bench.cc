// Figures for the update in place on a large analysis model:
//   1. a file of S storeys with M curve members each (a chain between
//      M + 1 point connections per storey, each storey its own analysis
//      model), written by the analysis-model export functions (in a child
//      process, so that its memory does not count below);
//   2. OpenFileForUpdate and UpdateHistory;
//   3. 1,000 member updates spread evenly over the members, in turn
//      UpdateOneCurveMemberConnectivity, UpdateOneStructuralPoint,
//      UpdateOneCurveMemberCamberAndStuds and UpdateOneCurveMemberReaction,
//      with the "Name:" trace lines sent to a file;
//   4. SaveAndCloseFileAfterUpdate.
// Reports the time of each step and the peak resident memory of the update.
// Usage: korva_update_bench [storeys=50] [members per storey=1000] [folder=/tmp]
//                           [trace file=folder/update_bench_trace.txt, removed at the end]
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "ifc2x2/globalid.h"
#include "ifc2x2/ifc2x2.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/update_state.h"

using namespace korva;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long PeakRssKb() {
  struct rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

char* S(const std::string& s) { return const_cast<char*>(s.c_str()); }

void Generate(int storeys, int members, const std::string& folder) {
  ExportAnalysisModelOpenFile(S("update_bench.ifc"), nullptr, S("bench"), S("KORVA"), S("Bench"), S("Acme"),
                              S("none"), S("KORVA"), -1, 15);
  for (int s = 1; s <= storeys; ++s) ExportAnalysisModelBuidlingOneStory(S("Level"), 3.0 * s);
  for (int s = 1; s <= storeys; ++s) {
    ExportAnalysisModelAddAnalysisModel(S("Frame"), S("one storey"));
    const double z = 3.0 * s;
    for (int i = 0; i <= members; ++i) ExportAnalysisModelAddOnePointConnection(S("N"), s, i * 1.0, 0.0, z);
    for (int i = 1; i <= members; ++i)
      ExportAnalysisModelAddOneCurveMember(S("M"), s, s, s, i, i + 1, i - 1.0, 0.0, z, i * 1.0, 0.0, z);
  }
  ExportAnalysisModelCloseFile(S("update_bench.ifc"), S(folder));
}

std::vector<std::string> GlobalIds(TarnDesign* d, const char* type) {
  std::vector<std::string> ids;
  TarnCursor c(d);
  c.domain(type);
  while (TarnObject* o = c.next()) ids.push_back(typecast<IfcRoot>(o)->GlobalId());
  return ids;
}

}  // namespace

int main(int argc, char** argv) {
  const int storeys = argc > 1 ? std::atoi(argv[1]) : 50;
  const int perStorey = argc > 2 ? std::atoi(argv[2]) : 1000;
  const std::string folder = argc > 3 ? argv[3] : "/tmp";
  const std::string file = folder + "/update_bench.ifc";
  const bool ownTrace = argc <= 4;
  const std::string trace = ownTrace ? folder + "/update_bench_trace.txt" : argv[4];
  SetSchemaPath(S(KORVA_SCHEMA_DIR));

  auto t0 = Clock::now();
  pid_t child = fork();
  if (child == 0) {
    TARN().reporter()->setPrintLevel(2);
    Generate(storeys, perStorey, folder);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::printf("export: %d curve members, %d point connections, %.1f MB written in %.2f s\n",
              storeys * perStorey, storeys * (perStorey + 1), FileSize(file) / 1e6, Seconds(t0));

  // Standard output (the trace lines) goes to a file from here on.
  std::fflush(stdout);
  const int console = dup(1);
  std::FILE* console_out = fdopen(console, "w");
  if (std::freopen(trace.c_str(), "w", stdout) == nullptr) return 1;
  static char buffer[1 << 20];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

  t0 = Clock::now();
  OpenFileForUpdate(0, S(file));
  TARN().reporter()->setStreams(console_out, stderr);
  TARN().reporter()->setPrintLevel(2);
  TarnDesign* d = update::UpdateDesign();
  if (d == nullptr) return 1;
  UpdateHistory(0, nullptr, S("Bench"), S("Acme"), nullptr, S("KORVA"), S("9"), S("KV"), 1700000000);
  const double open = Seconds(t0);
  uint32_t instances = d->size();

  // Setup, not timed: the GlobalIds to address, and a load group.
  const std::vector<std::string> members = GlobalIds(d, "IfcStructuralCurveMember");
  const std::vector<std::string> nodes = GlobalIds(d, "IfcStructuralPointConnection");
  IfcStructuralLoadGroup* group = typecast<IfcStructuralLoadGroup>(d->newInstance("IfcStructuralLoadGroup"));
  char id[23];
  group->GlobalId(NewCompressedGuid(id, sizeof id));
  group->PredefinedType(IfcLoadGroupTypeEnum_LOAD_GROUP);
  group->ActionType(IfcActionTypeEnum_PERMANENT_G);
  group->ActionSource(IfcActionSourceTypeEnum_DEAD_LOAD_G);
  const std::string groupId = group->GlobalId();

  const int updates = 1000;
  const char* names[4] = {"UpdateOneCurveMemberConnectivity", "UpdateOneStructuralPoint",
                          "UpdateOneCurveMemberCamberAndStuds", "UpdateOneCurveMemberReaction"};
  double spent[4] = {0, 0, 0, 0};
  double first[4] = {0, 0, 0, 0};
  const size_t count = members.size();
  t0 = Clock::now();
  for (int k = 0; k < updates; ++k) {
    const size_t m = (static_cast<size_t>(k) * count) / updates + count / (2 * updates);
    // Member i of storey s joins its nodes i and i + 1 of that storey.
    const size_t s = m / static_cast<size_t>(perStorey), i = m % static_cast<size_t>(perStorey);
    const size_t nodeI = s * static_cast<size_t>(perStorey + 1) + i;
    char* member = S(members[m]);
    char* a = S(nodes[nodeI]);
    char* b = S(nodes[nodeI + 1]);
    auto t = Clock::now();
    switch (k % 4) {
      case 0: UpdateOneCurveMemberConnectivity(0, member, b, a); break;
      case 1: UpdateOneStructuralPoint(0, a, static_cast<double>(i), 0.5, 3.0 * (s + 1)); break;
      case 2: UpdateOneCurveMemberCamberAndStuds(0, member, 12, 0.025); break;
      case 3:
        UpdateOneCurveMemberReaction(0, member, a, b, S(groupId), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
        break;
    }
    const double took = Seconds(t);
    spent[k % 4] += took;
    if (k < 4) first[k] = took;
  }
  const double update = Seconds(t0);
  const uint32_t after = d->size();

  t0 = Clock::now();
  SaveAndCloseFileAfterUpdate(0, S("update_bench_out"), S(folder));
  const double save = Seconds(t0);
  std::fflush(stdout);
  const long traceBytes = FileSize(trace);

  std::FILE* out = console_out;
  std::fprintf(out, "open: %u instances read, history made, in %.2f s\n", instances, open);
  std::fprintf(out, "updates: %d in %.2f s (%.2f ms each), %u instances added\n", updates, update,
               1000.0 * update / updates, after - instances);
  for (int k = 0; k < 4; ++k)
    std::fprintf(out, "  %-36s %4d calls  %.2f s  (%.2f ms each, the first %.2f ms)\n", names[k], updates / 4,
                 spent[k], 4000.0 * spent[k] / updates, 1000.0 * first[k]);
  std::fprintf(out, "trace: %.1f MB of \"Name:\" lines\n", traceBytes / 1e6);
  std::fprintf(out, "save and close: %.1f MB in %.2f s\n", FileSize(folder + "/update_bench_out.ifc") / 1e6, save);
  std::fprintf(out, "peak resident memory of the update: %.0f MB\n", PeakRssKb() / 1024.0);
  if (ownTrace) std::remove(trace.c_str());
  std::remove(file.c_str());
  std::remove((folder + "/update_bench_out.ifc").c_str());
  return 0;
}
