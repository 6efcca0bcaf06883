// Platform-layer helpers written once in terms of the per-platform primitives.
#include "platform/platform.h"

namespace korva {
namespace platform {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || IsPathSeparator(folder.back())) return folder + name;
  return folder + PathSeparator() + name;
}

}  // namespace platform
}  // namespace korva
