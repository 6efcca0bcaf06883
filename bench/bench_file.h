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

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_FILE_H
