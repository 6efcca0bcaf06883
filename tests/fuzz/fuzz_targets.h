// Fuzz entry points: each runs one input through a part of the library the
// way a host's file would reach it.  The libFuzzer programs
// (libfuzzer_main.cc, built with KORVA_FUZZ=ON under clang) and the
// regression replay test (replay_test.cc, built with the test suite) call
// the same functions, so every kept input is replayed exactly as it was
// found.
//
// The library is set up once per process (fuzz_support.h): the
// dictionaries stay loaded from one input to the next, and each entry
// destroys only the designs its input made.  The database's exit level
// stays at its default: an input that makes the library end the process
// counts as a failure.
#ifndef KORVA_TESTS_FUZZ_FUZZ_TARGETS_H
#define KORVA_TESTS_FUZZ_FUZZ_TARGETS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korva {
namespace fuzz {

// Reads the bytes as an ISO 10303-21 exchange file into a design (from
// memory), writes the design to /dev/null (every stored value visited) and
// destroys it.
void ReadExchangeFile(const std::uint8_t* data, std::size_t size);

// Writes the bytes to a scratch file and imports it by name as a host
// does: FindTotalObjects and CheckNumber, FindTotalAnaModels and
// CheckAnaModel for the first analysis model, then every text getter of
// both families (ImportTextGetters) on the first records of its table,
// each into a 256-byte buffer followed by a canary: a getter that writes
// past the 256 bytes aborts.  Releases the import design.  The passes'
// trace lines go to standard output.
void ImportFile(const std::uint8_t* data, std::size_t size);
// The names of the text getters ImportFile calls.
std::vector<std::string> ImportTextGetters();

// Reads the bytes as a native text design (the format of the compiled
// schemas), writes it to text again and destroys it.
void ReadNativeText(const std::uint8_t* data, std::size_t size);

// Writes the bytes to a scratch file, opens it for update, records an owner
// history, changes the first two structural curve members found in the
// file (I-section, general section, end reactions, camber and studs,
// connectivity, between the first two point connections and with the first
// load group), moves a point connection, rebuilds the members' edges,
// renames the first profile properties, saves the result as
// fuzz_update_out.ifc in the scratch folder (left there until the next
// input) and discards the design, leaving the library initialised.  The
// searches' trace lines go to standard output.
void UpdateFile(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
}  // namespace korva

#endif  // KORVA_TESTS_FUZZ_FUZZ_TARGETS_H
