// korva-ifc check: reads an exchange file, prints what the reader reported
// and how many instances of each entity type the file holds.
#include <cstdio>
#include <map>
#include <string>

#include "cli/cli.h"
#include "cli/read_design.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

int RunCheck(const Invocation& call);

}  // namespace

extern const Command kCheckCommand = {
    "check", "[--schemas DIR] FILE",
    "Reads an IFC2x2 exchange file with the library's reader and prints the\n"
    "reader's messages, then one line per entity type with its number of\n"
    "instances (sorted by name), the total, and a last line with the number of\n"
    "warnings and errors.  Exit status 0 when the file was read without errors\n"
    "(warnings allowed), 1 when the read failed or reported errors.\n\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunCheck};

namespace {

// Instances per entity type in the data sections of `design`, by name.
std::map<std::string, unsigned long> CountInstances(TarnDesign* design) {
  std::map<std::string, unsigned long> counts;
  ForEachDataExtent(design, [&](TarnExtent* e) {
    TarnDomain* d = e->domain();
    if (e->count() == 0 || d == nullptr || d->nodeType() != kNodeStructure) return;
    counts[d->name() != nullptr ? d->name() : "?"] += e->count();
  });
  return counts;
}

int RunCheck(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kCheckCommand, call, {}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 1) return UsageError(kCheckCommand, "one input file expected");
  const std::string& path = args.positional[0];
  if (int status = CheckInput(path)) return status;
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;

  ReadOutcome read = ReadExchangeFile(path);
  std::fputs(read.diagnostics.c_str(), stdout);
  if (read.design != nullptr) {
    std::printf("%s\n", path.c_str());
    unsigned long total = 0;
    for (const auto& [name, count] : CountInstances(read.design)) {
      std::printf("  %-44s %8lu\n", name.c_str(), count);
      total += count;
    }
    std::printf("  %-44s %8lu\n", "total", total);
  } else {
    std::printf("%s: not read\n", path.c_str());
  }
  std::printf("%d warning%s, %d error%s\n", read.warnings, read.warnings == 1 ? "" : "s", read.errors,
              read.errors == 1 ? "" : "s");
  TARN().shutdown();
  return read.design != nullptr && read.errors == 0 ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace cli
}  // namespace korva
