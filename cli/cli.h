// What every korva-ifc subcommand shares: the exit codes, the command
// record the dispatcher lists, and small helpers for arguments, files and
// the library's schema folder.
#ifndef KORVA_CLI_CLI_H
#define KORVA_CLI_CLI_H

#include <cstdio>
#include <string>
#include <vector>

namespace korva {
namespace cli {

// Exit codes of korva-ifc (docs/CLI.md).
enum ExitCode {
  kExitOk = 0,
  kExitFailed = 1,     // the command ran but failed: errors in the file read, ...
  kExitUsage = 2,      // unknown subcommand or bad arguments
  kExitNoInput = 3,    // an input file is missing or cannot be read
  kExitBadModel = 4,   // a model description is not valid JSON or not a model
  kExitNoOutput = 5,   // the output file cannot be written
  kExitNoSchema = 6,   // the compiled IFC2x2 schema cannot be found
};

struct Invocation {
  const char* program;            // argv[0]
  std::vector<std::string> args;  // after the subcommand's name
};

struct Command {
  const char* name;
  const char* synopsis;  // the arguments, for the usage lines
  const char* help;      // what --help prints after the synopsis
  int (*run)(const Invocation& call);
};

// Every subcommand, in the order the usage lists them.
const std::vector<const Command*>& Commands();

// Prints "korva-ifc: " and the message to standard error; returns `code`.
int Fail(int code, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Prints the command's usage line to standard error; returns kExitUsage.
int UsageError(const Command& command, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// --help or -h among the arguments: prints the command's help to standard
// output and returns true.
bool PrintHelpIfAsked(const Command& command, const Invocation& call);

// The arguments split into options (--name, or --name VALUE for the names
// listed in `valued`) and positional arguments.  False, after a usage error
// on standard error, for an unknown option or a missing value.
struct Arguments {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  bool has(const char* name) const;
  const std::string* value(const char* name) const;
};
bool ParseArguments(const Command& command, const Invocation& call, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, Arguments* out);

// Files.  CheckInput fails with kExitNoInput (missing, not a regular file,
// unreadable); CheckOutput with kExitNoOutput (its folder missing or the
// file cannot be opened for writing).  Both return kExitOk when all is well;
// CheckOutput leaves no new file behind.
int CheckInput(const std::string& path);
int CheckOutput(const std::string& path);

// A path split into its folder ("." when there is none) and file name.
struct PathParts {
  std::string folder;
  std::string file;
};
PathParts SplitPath(const std::string& path);

// The file name the library's design lookup finds as given: a name
// without folder gets "./" before it (the lookup would otherwise search
// the schema folders).
std::string LookupName(const std::string& path);

// The folder of the running program, from argv[0] (looked up along PATH
// when it names no folder); empty when it cannot be told.
std::string ProgramFolder(const char* argv0);

// The folder of the compiled schemas: `explicitFolder` when given, else
// empty when TARN_SCHEMAS is set (the library reads it), else
// <folder of korva-ifc>/../schemas.
std::string SchemaFolder(const char* argv0, const std::string* explicitFolder);

// Hands the schema folder to the library (SetSchemaPath), initialises it
// (QuietLibrary) and loads the IFC2x2 dictionary.  False, after a message,
// when the schema cannot be found.
bool StartLibrary(const char* argv0, const std::string* schemaFolder);

// Initialises the library when needed and sends the error reporter's
// messages to standard error; errors it reports no longer end the process
// (the commands check the results themselves).  A library shut down and
// initialised again has a new reporter, so commands call this again then.
void QuietLibrary();

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_CLI_H
