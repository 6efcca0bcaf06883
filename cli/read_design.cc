#include "cli/read_design.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/progress.h"
#include "exchange/part21_reader.h"
#include "objdb/error_reporter.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

// The severity (2 warning, 3 error, 4 fatal) and the message of every line
// of the reporter's `text` that carries a severity prefix after its context
// prefix ("file(12): warning: ...").
std::vector<std::pair<int, std::string>> Problems(const std::string& text) {
  static const char* const kPrefixes[] = {"warning: ", "error: ", "fatal: "};
  std::vector<std::pair<int, std::string>> problems;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    for (int s = 0; s < 3; ++s) {
      const std::string tag = std::string(": ") + kPrefixes[s];
      const size_t at = line.find(tag);
      if (at != std::string::npos || line.rfind(kPrefixes[s], 0) == 0) {
        problems.emplace_back(s + 2, line.substr(at != std::string::npos ? at + tag.size() : tag.size() - 2));
        break;
      }
    }
    start = end + 1;
  }
  return problems;
}

int CountSeverity(const std::string& text, int severity) {
  int n = 0;
  for (const auto& problem : Problems(text)) n += problem.first == severity;
  return n;
}

}  // namespace

CapturedMessages::CapturedMessages() : file_(std::tmpfile()) {
  if (file_ != nullptr) TARN().reporter()->setStreams(file_, stderr);
}

CapturedMessages::~CapturedMessages() {
  TARN().reporter()->setStreams(stderr, stderr);
  if (file_ != nullptr) std::fclose(file_);
}

std::string CapturedMessages::text() const {
  std::string out;
  if (file_ == nullptr) return out;
  std::fflush(file_);
  std::rewind(file_);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) out.append(buffer, n);
  return out;
}

std::string FirstProblem(const std::string& diagnostics) {
  const auto problems = Problems(diagnostics);
  for (const auto& problem : problems)
    if (problem.first >= 3) return problem.second;
  return problems.empty() ? "" : problems.front().second;
}

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
  TarnErrorReporter* reporter = TARN().reporter();
  const int errorsBefore = reporter->lastErrorCode();
  {
    CapturedMessages messages;
    FileProgress progress(in, FileSize(path), "reading", SplitPath(path).file);
    std::string name = SplitPath(path).file;
    name = name.substr(0, name.find('.'));
    outcome.design = Part21Reader::Read(in, name.c_str(), path.c_str());
    outcome.diagnostics = messages.text();
  }
  std::fclose(in);
  outcome.warnings = CountSeverity(outcome.diagnostics, 2);
  outcome.errors = CountSeverity(outcome.diagnostics, 3) + CountSeverity(outcome.diagnostics, 4);
  if (outcome.errors == 0 && reporter->lastErrorCode() != errorsBefore) outcome.errors = 1;
  if (outcome.design == nullptr && outcome.errors == 0) outcome.errors = 1;
  return outcome;
}

int ReadInputForOutput(const Invocation& call, const Arguments& args, ReadOutcome* read) {
  const std::string& in = args.positional[0];
  if (int status = CheckInput(in)) return status;
  if (int status = CheckOutput(args.positional[1])) return status;
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;
  *read = ReadExchangeFile(in);
  std::fputs(read->diagnostics.c_str(), stderr);
  if (read->design == nullptr) return Fail(kExitFailed, "%s could not be read", in.c_str());
  return kExitOk;
}

}  // namespace cli
}  // namespace korva
