#include "express/error.h"

namespace korva::express {

std::string Diagnostic::format() const {
  std::string text = file + ":" + std::to_string(line) + ": error: " + message;
  if (!near.empty()) text += " near '" + near + "'";
  return text;
}

namespace {

std::string joinFormatted(const std::vector<Diagnostic>& diagnostics) {
  if (diagnostics.empty()) return "error: unknown EXPRESS error";
  std::string text;
  for (const Diagnostic& d : diagnostics) {
    if (!text.empty()) text += '\n';
    text += d.format();
  }
  return text;
}

}  // namespace

ExpressError::ExpressError(Diagnostic diagnostic)
    : ExpressError(std::vector<Diagnostic>{std::move(diagnostic)}) {}

ExpressError::ExpressError(std::vector<Diagnostic> diagnostics)
    : std::runtime_error(joinFormatted(diagnostics)),
      diagnostics_(std::move(diagnostics)) {
  if (diagnostics_.empty()) diagnostics_.push_back(Diagnostic{"", 0, "unknown error", ""});
}

}  // namespace korva::express
