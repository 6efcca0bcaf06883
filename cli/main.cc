// korva-ifc: the command-line host of the korvaifc library.  Each
// subcommand lives in its own file (command_*.cc); this file lists them and
// dispatches.  docs/CLI.md describes the subcommands, the model files and
// the exit codes.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"

namespace korva {
namespace cli {

extern const Command kSampleCommand;
extern const Command kCheckCommand;
extern const Command kCopyCommand;
extern const Command kConvertCommand;
extern const Command kImportCommand;
extern const Command kExportBuildingCommand;
extern const Command kExportAnalysisCommand;
extern const Command kUpdateSectionCommand;
extern const Command kSchemaCommand;
extern const Command kGuidCommand;

const std::vector<const Command*>& Commands() {
  static const std::vector<const Command*> commands = {
      &kSampleCommand,         &kCheckCommand,          &kCopyCommand,   &kConvertCommand, &kImportCommand,
      &kExportBuildingCommand, &kExportAnalysisCommand, &kUpdateSectionCommand, &kSchemaCommand, &kGuidCommand,
  };
  return commands;
}

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage:\n");
  for (const Command* c : Commands()) std::fprintf(out, "  korva-ifc %s %s\n", c->name, c->synopsis);
  std::fprintf(out, "\"korva-ifc COMMAND --help\" describes a command; exit codes are in docs/CLI.md.\n");
}

}  // namespace
}  // namespace cli
}  // namespace korva

int main(int argc, char** argv) {
  using namespace korva::cli;
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  for (const Command* c : Commands()) {
    if (name != c->name) continue;
    Invocation call{argv[0], std::vector<std::string>(argv + 2, argv + argc)};
    if (PrintHelpIfAsked(*c, call)) return kExitOk;
    return c->run(call);
  }
  std::fprintf(stderr, "korva-ifc: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
