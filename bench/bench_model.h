// Shared pieces of the exchange benchmarks: a building model of a chosen
// size made through the generated IFC classes, wall-clock timing, the
// process's peak memory, and a raw instance count over file text.
//
// Linux only: peak memory comes from VmHWM in /proc/self/status, and
// ResetPeakMemory() restarts that high-water mark (writing "5" to
// /proc/self/clear_refs) so that one phase can be measured on its own.
#ifndef KORVA_BENCH_BENCH_MODEL_H
#define KORVA_BENCH_BENCH_MODEL_H

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>

namespace korva {

class TarnDesign;

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Wall-clock and processor time of one measured step.  The processor time
// (user and system, std::clock) counts only this process, so it is the
// steadier figure on a loaded machine.
// Processor time the kernel has spent for the process (page faults, the
// zeroing of fresh pages, file system calls), in seconds.
double SystemSeconds();

struct Timer {
  Clock::time_point wall = Clock::now();
  std::clock_t cpu = std::clock();
  double system = SystemSeconds();
  double wallSeconds() const { return Seconds(wall); }
  double cpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
  double systemSeconds() const { return SystemSeconds() - system; }
};

// The best (smallest) of several timings, wall and processor separately.
struct Best {
  double wall = 1e30;
  double cpu = 1e30;
  double system = 0;  // the kernel's share of the best processor time
  void add(const Timer& t) {
    const double w = t.wallSeconds(), c = t.cpuSeconds(), k = t.systemSeconds();
    if (w < wall) wall = w;
    if (c < cpu) {
      cpu = c;
      system = k;
    }
  }
};

// Peak resident memory of the process so far (or since the last reset),
// and the current resident memory, in bytes; 0 when unknown.
std::size_t PeakMemory();
std::size_t CurrentMemory();
// Restarts the peak at the current resident size; false when the kernel
// does not allow it (the peak then covers the whole run).
bool ResetPeakMemory();

// The machine's load averages, "1.23 0.98 0.75", for the report.
std::string LoadAverage();

// Fills `design` (an IFC design) with a building of about `instances`
// entity instances in a mix that an exporter writes: the spatial skeleton
// (project, site, building, storeys, owner history), and per element a
// closed polyline outline, an arbitrary closed profile, an extruded solid
// with its position, a body representation and its shape, a local placement
// with location, axis and reference direction, and the element itself
// (walls, slabs, beams and columns in turn) with a GlobalId, a name and a
// description; the elements of each storey are contained in relationships
// of 1000 elements each.  Coordinates are varied decimals.  Returns the
// number of entity instances made.
long BuildBuilding(TarnDesign* design, long instances);

// The raw scan that reading is measured against: reads the stream to its
// end in 64 KB blocks and counts the instance statements ("#n=" outside
// strings and comments) in one pass.
long ScanInstanceStatements(std::FILE* in);

// The whole content of a file, or an empty string.
std::string ReadWholeFile(const std::string& path);

// Bytes in a file, or -1.
long FileSize(const std::string& path);

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_MODEL_H
