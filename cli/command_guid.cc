// korva-ifc guid: new IFC GlobalIds.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli.h"
#include "ifc2x2/globalid.h"

namespace korva {
namespace cli {
namespace {

int RunGuid(const Invocation& call);

}  // namespace

extern const Command kGuidCommand = {
    "guid", "[COUNT]",
    "Prints COUNT (default 1) new IFC GlobalIds, one a line: 22 characters of\n"
    "0-9, A-Z, a-z, _ and $, made as the library makes them for exported objects.\n",
    RunGuid};

namespace {

int RunGuid(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kGuidCommand, call, {}, {}, &args)) return kExitUsage;
  if (args.positional.size() > 1) return UsageError(kGuidCommand, "too many arguments");
  long count = 1;
  if (!args.positional.empty()) {
    char* end = nullptr;
    count = std::strtol(args.positional[0].c_str(), &end, 10);
    if (*end != '\0' || count < 1 || count > 1000000)
      return UsageError(kGuidCommand, "COUNT must be a number from 1 to 1000000");
  }
  char buffer[23];
  for (long i = 0; i < count; ++i) {
    if (NewCompressedGuid(buffer, sizeof buffer) == nullptr) return Fail(kExitFailed, "the platform produced no GUID");
    std::printf("%s\n", buffer);
  }
  return kExitOk;
}

}  // namespace
}  // namespace cli
}  // namespace korva
