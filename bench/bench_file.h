// The benchmark input file of the read and import benchmarks: a building
// of about `instances` instances (bench_model.h) written by the exchange-file
// writer, made in a child process so that the parent's peak memory
// reflects the reading alone.
#ifndef KORVA_BENCH_BENCH_FILE_H
#define KORVA_BENCH_BENCH_FILE_H

#include <string>

namespace korva {
namespace bench {

// Writes the file at `path` unless it exists; false on failure.
bool MakeBenchmarkFile(const std::string& path, long instances, const char* schemaFolder);

// What the read and import benchmarks start with: the arguments [instances
// [schema folder [file]]] (1,000,000 instances, the build's schemas and a
// file under /tmp by default), the file made, the IFC2x2 dictionary loaded
// with only warnings and worse printed, and the load average printed.
// False, with the reason printed, when the file or the dictionary cannot
// be had.
struct BenchmarkInput {
  long instances = 0;
  const char* schemas = nullptr;
  std::string path;
  double megabytes = 0;  // the file's size
};
bool PrepareBenchmarkInput(int argc, char** argv, const char* defaultSchemas, BenchmarkInput* input);

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_FILE_H
