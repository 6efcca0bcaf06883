// Figures for the object store and the exchange-file writer:
//   - making a design of N IfcCartesianPoint instances (3 coordinates each),
//     bytes per instance from the design's arena;
//   - writing it as an ISO 10303-21 file (MB/s), against a raw fwrite of
//     the same number of bytes;
//   - destroying the design.
// Usage: korva_store_bench [N] [schema folder]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "exchange/part21_writer.h"
#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/schema.h"
#include "objdb/interface.h"

using namespace korva;
using Clock = std::chrono::steady_clock;

static double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

static long PeakRssKb() {
  struct rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  TARN().setSchemaPath(argc > 2 ? argv[2] : KORVA_SCHEMA_DIR);
  TARN().reporter()->setPrintLevel(2);
  if (LoadIfcSchema() == nullptr) return 1;
  TarnDesign* design = NewIfcDesign("bench.ifc", "/tmp");
  const size_t before = design->arena().memoryUsage();

  auto t0 = Clock::now();
  for (int i = 0; i < n; ++i) {
    IfcCartesianPoint* p = typecast<IfcCartesianPoint>(design->newInstance("IfcCartesianPoint"));
    ListOfIfcLengthMeasure* c = p->Coordinates();
    c->add(i * 0.5);
    c->add(i * 0.25);
    c->add(0.0);
  }
  const double make = Seconds(t0);
  const size_t bytes = design->arena().memoryUsage() - before;
  std::printf("make: %d points in %.3f s (%.0f instances/s), %.1f bytes per point (instance, list, coordinates)\n",
              n, make, n / make, static_cast<double>(bytes) / n);

  const std::string path = "/tmp/korva_store_bench.ifc";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  t0 = Clock::now();
  Part21Writer::Write(design, f);
  std::fclose(f);
  const double write = Seconds(t0);
  f = std::fopen(path.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  std::printf("write: %.1f MB in %.3f s (%.1f MB/s, %.0f instances/s)\n", size / 1e6, write,
              size / 1e6 / write, n / write);

  std::vector<char> block(1 << 20, 'x');
  f = std::fopen("/tmp/korva_store_bench.raw", "wb");
  t0 = Clock::now();
  for (long done = 0; done < size; done += static_cast<long>(block.size())) std::fwrite(block.data(), 1, block.size(), f);
  std::fclose(f);
  const double raw = Seconds(t0);
  std::printf("floor: raw fwrite of the same size %.3f s (%.1f MB/s)\n", raw, size / 1e6 / raw);
  std::remove("/tmp/korva_store_bench.raw");

  t0 = Clock::now();
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  std::printf("destroy: %.3f s\n", Seconds(t0));
  std::printf("peak RSS: %.1f MB\n", PeakRssKb() / 1024.0);
  std::remove(path.c_str());
  TARN().shutdown();
  return 0;
}
