// Timing and memory figures of the benchmarks: wall-clock and processor
// time of a step, the process's peak and current resident memory, the
// machine's load, file sizes.  They need nothing of the library, so a
// benchmark that loads the library as a host does can use them too.
//
// Linux only: peak memory comes from VmHWM in /proc/self/status, and
// ResetPeakMemory() restarts that high-water mark (writing "5" to
// /proc/self/clear_refs) so that one phase can be measured on its own.
#ifndef KORVA_BENCH_BENCH_MEASURE_H
#define KORVA_BENCH_BENCH_MEASURE_H

#include <chrono>
#include <cstddef>
#include <ctime>
#include <string>

namespace korva {
namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Processor time the kernel has spent for the process (page faults, the
// zeroing of fresh pages, file system calls), in seconds.
double SystemSeconds();

// Wall-clock and processor time of one measured step.  The processor time
// (user and system, std::clock) counts only this process, so it is the
// steadier figure on a loaded machine.
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

// The whole content of a file, or an empty string.
std::string ReadWholeFile(const std::string& path);

// Bytes in a file, or -1.
long FileSize(const std::string& path);

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_MEASURE_H
