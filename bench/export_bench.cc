// Export benchmark: a building of 20,000 elements through
// ExportOpenFileWithStoryesAndSlabsWalls, and an analysis model of 10,000
// nodes, 20,000 curve members and 2,000 surface members through the
// analysis-export calls.  Reports time, file size, MB/s and the process's
// peak memory after each.  Figures only; nothing is asserted.
//
//   korva_export_bench [OUTPUT_FOLDER]   (default: the system's temp folder)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "bench/bench_measure.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// User plus system CPU time of the process so far: on a loaded machine a
// steadier figure than the wall clock.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Report(const char* what, double seconds, double cpu, const std::string& path) {
  const long bytes = korva::bench::FileSize(path);
  std::printf("%-34s %6.3f s (cpu %6.3f s)  %6.1f MB  %6.1f MB/s  peak %ld MB\n", what, seconds, cpu,
              bytes / 1e6, bytes / 1e6 / seconds, PeakKilobytes() / 1024);
}

char* Text(const char* s) { return const_cast<char*>(s); }

// A building of `storeys` storeys with a grid of columns, beams between
// them, one slab per bay and perimeter walls: every element a 4-point
// outline, read from index 1 as the host's arrays are.
void ExportBuilding(const std::string& folder) {
  const int storeys = 5, columns = 6000, beams = 8000, slabs = 2000, walls = 4000;
  const int elements = columns + beams + slabs + walls;
  std::vector<double> elevation(storeys + 1), x(4 * elements + 1), y(4 * elements + 1);
  std::vector<double> depth(elements + 1), lx(elements + 1), ly(elements + 1), lz(elements + 1);
  std::vector<double> ax(elements + 1, 0.0), ay(elements + 1, 0.0), az(elements + 1, 1.0);
  std::vector<double> rx(elements + 1, 1.0), ry(elements + 1, 0.0), rz(elements + 1, 0.0);
  for (int s = 1; s <= storeys; ++s) elevation[s] = 3.2 * (s - 1);
  for (int e = 1; e <= elements; ++e) {
    const int p = 4 * (e - 1) + 1;
    const double w = 0.3 + 0.01 * (e % 7);
    x[p] = 0;  y[p] = 0;
    x[p + 1] = w;  y[p + 1] = 0;
    x[p + 2] = w;  y[p + 2] = 0.4;
    x[p + 3] = 0;  y[p + 3] = 0.4;
    depth[e] = 3.0 + 0.001 * e;
    lx[e] = 6.0 * (e % 50);
    ly[e] = 6.0 * ((e / 50) % 40);
    lz[e] = 3.2 * (e % storeys);
  }
  auto ranges = [&](int first, int count, std::vector<int>* start, std::vector<int>* points,
                    std::vector<int>* storey) {
    start->assign(count + 1, 0);
    points->assign(count + 1, 4);
    storey->assign(count + 1, 1);
    for (int k = 1; k <= count; ++k) {
      (*start)[k] = 4 * (first + k - 2) + 1;
      (*storey)[k] = 1 + k % storeys;
    }
  };
  std::vector<int> cs, cp, cst, bs, bp, bst, ss, sp, sst, ws, wp, wst;
  ranges(1, columns, &cs, &cp, &cst);
  ranges(columns + 1, beams, &bs, &bp, &bst);
  ranges(columns + beams + 1, slabs, &ss, &sp, &sst);
  ranges(columns + beams + slabs + 1, walls, &ws, &wp, &wst);

  const auto start = std::chrono::steady_clock::now();
  const double cpu = CpuSeconds();
  ExportOpenFileWithStoryesAndSlabsWalls(
      Text("bench_building.ifc"), Text(folder.c_str()), Text("ViewDefinition [CoordinationView]"),
      Text("KORVA"), Text("bench"), Text("korvaifc"), Text(""), Text("korva_export_bench"), -1, 15, columns,
      beams, storeys, slabs, walls, elevation.data(), x.data(), y.data(), cs.data(), cp.data(), cst.data(),
      bs.data(), bp.data(), bst.data(), ss.data(), sp.data(), sst.data(), ws.data(), wp.data(), wst.data(),
      depth.data(), lx.data(), ly.data(), lz.data(), ax.data(), ay.data(), az.data(), rx.data(), ry.data(),
      rz.data());
  Report("building, 20,000 elements", Seconds(start), CpuSeconds() - cpu, folder + "/bench_building.ifc");
}

// 10 storeys of 1,000 nodes on a 25 x 40 grid; 20,000 curve members (the
// grid's beams in both directions and columns to the storey below);
// 2,000 four-node surface members.
void ExportAnalysis(const std::string& folder) {
  const int storeys = 10, perStorey = 1000, across = 25;
  const auto start = std::chrono::steady_clock::now();
  const double cpu = CpuSeconds();
  ExportAnalysisModelOpenFile(Text("bench_analysis.ifc"), Text(""), Text("ViewDefinition"), Text("KORVA"),
                              Text("bench"), Text("korvaifc"), Text(""), Text("korva_export_bench"), -1, 15);
  std::vector<double> elevations(storeys + 1);
  for (int s = 1; s <= storeys; ++s) elevations[s] = 3.2 * s;
  ExportAnalysisModelBuidling(storeys, elevations.data());
  ExportAnalysisModelAddAnalysisModel(Text("bench model"), Text("LOADING_3D"));
  std::vector<std::vector<int>> position(storeys + 1, std::vector<int>(perStorey));
  for (int s = 1; s <= storeys; ++s)
    for (int n = 0; n < perStorey; ++n)
      position[s][n] = ExportAnalysisModelAddOnePointConnection(Text("N"), s, 6.0 * (n % across),
                                                                6.0 * (n / across), elevations[s]);
  int curves = 0, surfaces = 0;
  for (int s = 1; s <= storeys && curves < 20000; ++s)
    for (int n = 0; n < perStorey && curves < 20000; ++n) {
      const double x = 6.0 * (n % across), y = 6.0 * (n / across), z = elevations[s];
      if (n % across + 1 < across) {
        ExportAnalysisModelAddOneCurveMember(Text("B"), s, s, s, position[s][n], position[s][n + 1], x, y, z,
                                             x + 6.0, y, z);
        ++curves;
      }
      if (n + across < perStorey && curves < 20000) {
        ExportAnalysisModelAddOneCurveMember(Text("B"), s, s, s, position[s][n], position[s][n + across], x, y,
                                             z, x, y + 6.0, z);
        ++curves;
      }
      if (s > 1 && curves < 20000 && n % 10 == 0) {
        ExportAnalysisModelAddOneCurveMember(Text("C"), s, s - 1, s, position[s - 1][n], position[s][n], x, y,
                                             z - 3.2, x, y, z);
        ++curves;
      }
    }
  for (int s = 1; s <= storeys && surfaces < 2000; ++s)
    for (int n = 0; n + across + 1 < perStorey && surfaces < 2000; ++n) {
      if (n % across + 1 >= across) continue;
      int st[4] = {s, s, s, s};
      int pos[4] = {position[s][n], position[s][n + 1], position[s][n + across + 1], position[s][n + across]};
      double xs[4], ys[4], zs[4];
      const int corner[4] = {n, n + 1, n + across + 1, n + across};
      for (int i = 0; i < 4; ++i) {
        xs[i] = 6.0 * (corner[i] % across);
        ys[i] = 6.0 * (corner[i] / across);
        zs[i] = elevations[s];
      }
      ExportAnalysisModelAddOneSurfaceMember(Text("S"), s, 4, st, pos, xs, ys, zs);
      ++surfaces;
    }
  ExportAnalysisModelCloseFile(Text("bench_analysis.ifc"), Text(folder.c_str()));
  char what[64];
  std::snprintf(what, sizeof what, "analysis, %d+%d+%d items", storeys * perStorey, curves, surfaces);
  Report(what, Seconds(start), CpuSeconds() - cpu, folder + "/bench_analysis.ifc");
}

}  // namespace

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = argc > 1 ? argv[1] : (tmp != nullptr ? tmp : "/tmp");
  SetSchemaPath(Text(KORVA_SCHEMA_DIR));
  ExportBuilding(folder);
  ExportAnalysis(folder);
  ShutDown();
  std::remove((folder + "/bench_building.ifc").c_str());
  std::remove((folder + "/bench_analysis.ifc").c_str());
  return 0;
}
