#include "cli/read_design.h"

#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "cli/progress.h"
#include "exchange/part21_reader.h"
#include "objdb/error_reporter.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

// Counts the lines of `text` that carry the severity prefix `word` after
// their context prefix ("file(12): warning: ...").
int CountSeverity(const std::string& text, const char* word) {
  int n = 0;
  const std::string tag = std::string(": ") + word + ": ";
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.find(tag) != std::string::npos || line.rfind(tag.substr(2), 0) == 0) ++n;
    start = end + 1;
  }
  return n;
}

}  // namespace

ReadOutcome ReadExchangeFile(const std::string& path) {
  ReadOutcome outcome;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    outcome.diagnostics = path + ": cannot be read\n";
    outcome.errors = 1;
    return outcome;
  }
  // The header schema is loaded beforehand, so that its loading is not
  // counted among the file's messages.
  TARN().findSchema("header_section_schema");
  // The reporter writes into a scratch file for the length of the read.
  TarnErrorReporter* reporter = TARN().reporter();
  std::FILE* messages = std::tmpfile();
  if (messages != nullptr) reporter->setStreams(messages, stderr);
  const int errorsBefore = reporter->lastErrorCode();
  {
    FileProgress progress(in, FileSize(path), "reading", SplitPath(path).file);
    std::string name = SplitPath(path).file;
    name = name.substr(0, name.find('.'));
    outcome.design = Part21Reader::Read(in, name.c_str(), path.c_str());
  }
  std::fclose(in);
  if (messages != nullptr) {
    reporter->setStreams(stderr, stderr);
    std::rewind(messages);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, messages)) > 0) outcome.diagnostics.append(buffer, n);
    std::fclose(messages);
  }
  outcome.warnings = CountSeverity(outcome.diagnostics, "warning");
  outcome.errors = CountSeverity(outcome.diagnostics, "error") + CountSeverity(outcome.diagnostics, "fatal");
  if (outcome.errors == 0 && reporter->lastErrorCode() != errorsBefore) outcome.errors = 1;
  if (outcome.design == nullptr && outcome.errors == 0) outcome.errors = 1;
  return outcome;
}

}  // namespace cli
}  // namespace korva
