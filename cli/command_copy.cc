// korva-ifc copy: reads an exchange file and writes it again, as the library
// writes every file: instances renumbered from #10, the header refreshed.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "cli/read_design.h"
#include "cli/write_design.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

int RunCopy(const Invocation& call);

}  // namespace

extern const Command kCopyCommand = {
    "copy", "[--schemas DIR] IN OUT",
    "Reads the exchange file IN and writes its design to OUT: the instances in\n"
    "the order they were read, renumbered from #10.  The reader's messages go\n"
    "to standard error.  Exit status 1 when IN could not be read.\n\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunCopy};

namespace {

int RunCopy(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kCopyCommand, call, {}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 2) return UsageError(kCopyCommand, "an input and an output file expected");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  ReadOutcome read;
  if (int status = ReadInputForOutput(call, args, &read)) return status;
  const bool written = WriteExchangeFile(read.design, out, in);
  TARN().shutdown();
  if (!written) return Fail(kExitNoOutput, "%s: the write failed", out.c_str());
  return kExitOk;
}

}  // namespace
}  // namespace cli
}  // namespace korva
