// What the fuzz targets share: the library set up once per process, the
// designs an input made destroyed again, a scratch folder for inputs that
// must reach the library as files.
#ifndef KORVA_TESTS_FUZZ_FUZZ_SUPPORT_H
#define KORVA_TESTS_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace korva {

class TarnDesign;

namespace fuzz {

// Sets the schema folder and sends the library's messages to /dev/null, the
// first time it is called; the dictionaries are loaded by the first input
// that needs them and stay for the inputs after it.
void SetUpOnce();

// Destroys a design made from an input (null: nothing), with whatever the
// trash holds.  A design that took itself for a schema is destroyed as well.
void Discard(TarnDesign* design);

// The scratch folder of this process (made on first use, removed with its
// files when the process ends normally).
const std::string& ScratchFolder();

// Writes the bytes to the file `name` in the scratch folder; its path, or
// an empty string when it cannot be written.
std::string WriteScratch(const char* name, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
}  // namespace korva

#endif  // KORVA_TESTS_FUZZ_FUZZ_SUPPORT_H
