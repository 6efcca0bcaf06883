// Reading an exchange file straight into a design of the object store, with
// the reader's diagnostics collected and counted (check and copy).
#ifndef KORVA_CLI_READ_DESIGN_H
#define KORVA_CLI_READ_DESIGN_H

#include <cstdio>
#include <string>

namespace korva {

class TarnDesign;

namespace cli {

struct Arguments;
struct Invocation;

struct ReadOutcome {
  TarnDesign* design = nullptr;  // null when the read failed as a whole
  std::string diagnostics;       // every message the read reported, one a line
  int warnings = 0;
  int errors = 0;  // errors and fatals
};

// While it lives, the error reporter writes into a scratch file instead of
// standard error; text() gives what it wrote so far.  Afterwards the
// reporter writes to standard error again.
class CapturedMessages {
 public:
  CapturedMessages();
  ~CapturedMessages();
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;
  std::string text() const;

 private:
  std::FILE* file_;
};

// The text of the first error or fatal among `diagnostics` (the reporter's
// lines), else of its first warning, without the line's prefixes; empty
// when there is none.
std::string FirstProblem(const std::string& diagnostics);

// Reads `path` (the library must be started, StartLibrary) into a design
// named after the file.  The messages go into the outcome, not to the
// screen; a progress line is shown for large files on a terminal.
ReadOutcome ReadExchangeFile(const std::string& path);

// The start of a command that reads the file IN and writes OUT (the two
// positional arguments): both files checked, the library started with the
// --schemas folder, IN read with its messages on standard error.  0 when IN
// was read, else the exit status, the reason printed.
int ReadInputForOutput(const Invocation& call, const Arguments& args, ReadOutcome* read);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_READ_DESIGN_H
