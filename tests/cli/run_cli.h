// Runs the built korva-ifc as a user runs it, capturing its standard output,
// standard error and exit status.
#ifndef KORVA_TESTS_CLI_RUN_CLI_H
#define KORVA_TESTS_CLI_RUN_CLI_H

#include <string>

namespace korva {
namespace test {

struct Outcome {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// `args` and `env` (shell assignments) are pasted into a shell command;
// TARN_SCHEMAS is unset unless `env` sets it.
Outcome KorvaIfc(const std::string& args, const std::string& env = "");

// Runs a shell command line the same way.
Outcome Shell(const std::string& command);

// A path quoted for the shell.
std::string Quoted(const std::string& path);

// The bundled example models.
std::string ExampleModel(const char* name);

// An IFC2X2 exchange file with the data section `data` (instance lines).
std::string ExchangeFile(const std::string& data);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_CLI_RUN_CLI_H
