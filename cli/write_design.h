// Writing a design as an exchange file, with the progress line of large
// files on a terminal (copy and convert).
#ifndef KORVA_CLI_WRITE_DESIGN_H
#define KORVA_CLI_WRITE_DESIGN_H

#include <string>

namespace korva {

class Part21View;
class TarnDesign;

namespace cli {

// Writes `design` to `path` (through `view` when given); the progress is
// measured against the size of the file `readFrom`.  False when the file
// cannot be opened or the write fails.
bool WriteExchangeFile(TarnDesign* design, const std::string& path, const std::string& readFrom,
                       const Part21View* view = nullptr);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_WRITE_DESIGN_H
