#include "cli/run_cli.h"

#include <sys/wait.h>

#include <cstdio>

#include "support/test_util.h"

namespace korva {
namespace test {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string ExampleModel(const char* name) { return std::string(KORVA_EXAMPLES_DIR "/models/") + name; }

std::string ExchangeFile(const std::string& data) {
  return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('test'),'2;1');\n"
         "FILE_NAME('t','2026-01-01T00:00:00',(''),(''),'','','');\n"
         "FILE_SCHEMA(('IFC2X2_FINAL'));\nENDSEC;\nDATA;\n" +
         data + "ENDSEC;\nEND-ISO-10303-21;\n";
}

Outcome KorvaIfc(const std::string& args, const std::string& env) {
  return Shell("env -u TARN_SCHEMAS " + env + " " + Quoted(KORVA_CLI_PATH) + " " + args);
}

Outcome Shell(const std::string& line) {
  TempDir scratch;
  const std::string errFile = scratch.file("stderr");
  // From a folder of its own: a library that finds no schema folder looks
  // in the current one.
  const std::string command = "cd " + Quoted(scratch.path()) + " && ( " + line + " ) 2>" + Quoted(errFile);
  Outcome run;
  std::FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) run.out.append(buffer, n);
  const int status = pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFile(errFile);
  return run;
}

}  // namespace test
}  // namespace korva
