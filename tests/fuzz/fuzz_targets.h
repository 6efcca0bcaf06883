// Fuzz entry points: each runs one input through a part of the library the
// way a host's file would reach it.  The libFuzzer programs
// (libfuzzer_main.cc, built with KORVA_FUZZ=ON under clang) and the
// regression replay test (replay_test.cc, built with the test suite) call
// the same functions, so every kept input is replayed exactly as it was
// found.
//
// Both set the library up once (schema folder, messages not printed) and
// leave no design behind after an input.  The database's exit level stays
// at its default: an input that makes the library end the process counts
// as a failure.
#ifndef KORVA_TESTS_FUZZ_FUZZ_TARGETS_H
#define KORVA_TESTS_FUZZ_FUZZ_TARGETS_H

#include <cstddef>
#include <cstdint>

namespace korva {
namespace fuzz {

// Reads the bytes as an ISO 10303-21 exchange file into a design (from
// memory), walks every instance's attributes once, and destroys the design.
void ReadExchangeFile(const std::uint8_t* data, std::size_t size);

// Writes the bytes to a scratch file and runs the import passes on it by
// file name: FindTotalObjects and CheckNumber, then FindTotalAnaModels and
// CheckAnaModel for the first analysis model found, reads a few records
// through the getters, and releases the import design.  The passes' trace
// lines go to standard output.
void ImportFile(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
}  // namespace korva

#endif  // KORVA_TESTS_FUZZ_FUZZ_TARGETS_H
