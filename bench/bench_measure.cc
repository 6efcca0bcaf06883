#include "bench/bench_measure.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korva {
namespace bench {
namespace {

// Reads one "Name:   123 kB" line of /proc/self/status.
std::size_t StatusKilobytes(const char* field) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return 0;
  char line[256];
  std::size_t kb = 0;
  const std::size_t n = std::strlen(field);
  while (std::fgets(line, sizeof line, f) != nullptr)
    if (std::strncmp(line, field, n) == 0 && line[n] == ':') kb = std::strtoul(line + n + 1, nullptr, 10);
  std::fclose(f);
  return kb * 1024;
}

}  // namespace

double SystemSeconds() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

std::size_t PeakMemory() { return StatusKilobytes("VmHWM"); }
std::size_t CurrentMemory() { return StatusKilobytes("VmRSS"); }

bool ResetPeakMemory() {
  std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (f == nullptr) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

std::string LoadAverage() {
  std::FILE* f = std::fopen("/proc/loadavg", "r");
  if (f == nullptr) return "?";
  char buf[128] = {0};
  double a = 0, b = 0, c = 0;
  std::string out = "?";
  if (std::fgets(buf, sizeof buf, f) != nullptr && std::sscanf(buf, "%lf %lf %lf", &a, &b, &c) == 3) {
    std::snprintf(buf, sizeof buf, "%.2f %.2f %.2f", a, b, c);
    out = buf;
  }
  std::fclose(f);
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

}  // namespace bench
}  // namespace korva
