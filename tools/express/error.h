// Errors raised while reading an EXPRESS schema.
//
// Every problem the scanner, parser or resolver finds is reported as an
// ExpressError carrying the file name, the 1-based line and, where there is
// one, the token it happened near.  what() is the ready-to-print message:
//     file:line: error: message near 'token'
// The resolver collects all of its problems before throwing, so one error may
// hold several diagnostics; what() then has one line per diagnostic.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace korva::express {

struct Diagnostic {
  std::string file;
  int line = 0;
  std::string message;
  std::string near;  // offending token text; empty when there is none

  std::string format() const;
};

class ExpressError : public std::runtime_error {
 public:
  explicit ExpressError(Diagnostic diagnostic);
  explicit ExpressError(std::vector<Diagnostic> diagnostics);

  const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
  const Diagnostic& first() const { return diagnostics_.front(); }

 private:
  std::vector<Diagnostic> diagnostics_;
};

}  // namespace korva::express
