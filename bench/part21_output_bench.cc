// Throughput of Part21Output::writeReal against a plain snprintf("%.15G")
// loop into a stdio stream, both writing the same doubles to a temporary
// file.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "exchange/part21_output.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> coordinate(-1.0e4, 1.0e4);
  std::vector<double> values(2000000);
  for (double& v : values) v = coordinate(rng);
  // Every fourth value a whole number, as many coordinates are.
  for (std::size_t i = 0; i < values.size(); i += 4)
    values[i] = static_cast<double>(static_cast<long>(values[i]));

  std::FILE* file = std::tmpfile();
  if (file == nullptr) return 1;
  auto start = std::chrono::steady_clock::now();
  long bytes = 0;
  {
    korva::Part21Output out(file);
    korva::Part21Separator next;
    for (double v : values) { next(out); out.writeReal(v); }
    out.flush();
    bytes = std::ftell(file);
  }
  double ours = Seconds(start);
  std::fclose(file);

  file = std::tmpfile();
  if (file == nullptr) return 1;
  start = std::chrono::steady_clock::now();
  for (double v : values) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G,", v);
    std::fputs(buf, file);
  }
  std::fflush(file);
  long printfBytes = std::ftell(file);
  double theirs = Seconds(start);
  std::fclose(file);

  std::printf("writeReal:        %zu doubles, %.1f MB/s (%.0f ns each)\n", values.size(),
              bytes / ours / 1e6, ours / values.size() * 1e9);
  std::printf("snprintf %%.15G:   %zu doubles, %.1f MB/s (%.0f ns each)\n", values.size(),
              printfBytes / theirs / 1e6, theirs / values.size() * 1e9);
  return 0;
}
