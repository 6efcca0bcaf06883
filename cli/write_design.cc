#include "cli/write_design.h"

#include <cstdio>

#include "cli/cli.h"
#include "cli/progress.h"
#include "exchange/part21_writer.h"

namespace korva {
namespace cli {

bool WriteExchangeFile(TarnDesign* design, const std::string& path, const std::string& readFrom,
                       const Part21View* view) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written;
  {
    FileProgress progress(file, FileSize(readFrom), "writing", SplitPath(path).file);
    written = view != nullptr ? Part21Writer::Write(design, file, *view) : Part21Writer::Write(design, file);
  }
  return std::fclose(file) == 0 && written;
}

}  // namespace cli
}  // namespace korva
