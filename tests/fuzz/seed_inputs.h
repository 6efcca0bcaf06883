// The starting inputs of the fuzz targets, gathered for a campaign
// (korva_fuzz_seeds --campaign) and for the replay test alike.
//
// Exchange-file seeds are our own files (tests/fuzz/seeds/*.ifc, written by
// korva_fuzz_seeds) and cuts of the shared corpus of other tools' files:
// the header and the statements of the first few kilobytes, closed by
// ENDSEC and END-ISO-10303-21, a schema that is not installed (IFC2X_FINAL)
// named IFC2X2_FINAL.  Native seeds are our own (tests/fuzz/seeds/tarn),
// the compiled header schema, and a cut of the compiled IFC2x2 schema.
// Cuts are made when needed, from the files where they are: the corpus and
// the compiled schemas are never copied into the project.
#ifndef KORVA_TESTS_FUZZ_SEED_INPUTS_H
#define KORVA_TESTS_FUZZ_SEED_INPUTS_H

#include <cstddef>
#include <string>
#include <vector>

namespace korva {
namespace fuzz {

struct SeedInput {
  std::string name;   // file name, unique within one kind
  std::string bytes;
};

// No seed is larger than this.
constexpr std::size_t kMaxSeedSize = 64 * 1024;

// Our own exchange files from `seedFolder`, then cuts of every .ifc file of
// `corpusFolder` (none when it is empty or missing) at two sizes.
std::vector<SeedInput> ExchangeSeeds(const std::string& seedFolder, const std::string& corpusFolder);

// Our own native files from `seedFolder`, then the compiled schemas of
// `schemaFolder`: the header schema whole, the IFC2x2 schema cut.
std::vector<SeedInput> NativeSeeds(const std::string& seedFolder, const std::string& schemaFolder);

// The first statements of an exchange file, about `limit` bytes of them
// (at least one), closed as a file; empty when the text has no DATA
// section.
std::string CutExchangeFile(const std::string& text, std::size_t limit);

// The first objects of a native text file, about `limit` bytes of them,
// closed as a file; empty when the text has no object list.
std::string CutNativeFile(const std::string& text, std::size_t limit);

// The regular files of a folder whose names end in `extension`, sorted by
// name (none when the folder is missing).
std::vector<SeedInput> FilesIn(const std::string& folder, const std::string& extension);

}  // namespace fuzz
}  // namespace korva

#endif  // KORVA_TESTS_FUZZ_SEED_INPUTS_H
