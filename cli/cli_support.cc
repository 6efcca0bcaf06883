#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "api/korvaifc.h"
#include "cli/cli.h"
#include "ifc2x2/schema.h"
#include "objdb/error_reporter.h"
#include "objdb/interface.h"
#include "platform/platform.h"

namespace korva {
namespace cli {

int Fail(int code, const char* format, ...) {
  std::fflush(stdout);
  std::fputs("korva-ifc: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  return code;
}

int UsageError(const Command& command, const char* format, ...) {
  std::fputs("korva-ifc: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fprintf(stderr, "\nusage: korva-ifc %s %s\n(korva-ifc %s --help tells more)\n", command.name,
               command.synopsis, command.name);
  return kExitUsage;
}

bool PrintHelpIfAsked(const Command& command, const Invocation& call) {
  for (const std::string& a : call.args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") {
      std::printf("usage: korva-ifc %s %s\n\n%s", command.name, command.synopsis, command.help);
      return true;
    }
  }
  return false;
}

bool Arguments::has(const char* name) const {
  return std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.first == name; });
}

const std::string* Arguments::value(const char* name) const {
  const std::string* found = nullptr;
  for (const auto& o : options)
    if (o.first == name) found = &o.second;  // the last one wins
  return found;
}

bool ParseArguments(const Command& command, const Invocation& call, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, Arguments* out) {
  bool optionsEnd = false;
  for (size_t i = 0; i < call.args.size(); ++i) {
    const std::string& a = call.args[i];
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      out->positional.push_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      out->options.emplace_back(a, "");
    } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
      if (i + 1 == call.args.size()) {
        UsageError(command, "option %s needs a value", a.c_str());
        return false;
      }
      out->options.emplace_back(a, call.args[++i]);
    } else {
      UsageError(command, "unknown option '%s'", a.c_str());
      return false;
    }
  }
  return true;
}

int CheckInput(const std::string& path) {
  if (platform::IsDirectory(path)) return Fail(kExitNoInput, "%s is a folder, not a file", path.c_str());
  if (!platform::IsRegularFile(path)) return Fail(kExitNoInput, "%s: no such file", path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return Fail(kExitNoInput, "%s: cannot be read", path.c_str());
  std::fclose(f);
  return kExitOk;
}

int CheckOutput(const std::string& path) {
  const PathParts parts = SplitPath(path);
  if (parts.file.empty()) return Fail(kExitNoOutput, "%s names no file", path.c_str());
  if (!platform::IsDirectory(parts.folder))
    return Fail(kExitNoOutput, "%s: the folder %s does not exist", path.c_str(), parts.folder.c_str());
  if (platform::IsDirectory(path)) return Fail(kExitNoOutput, "%s is a folder", path.c_str());
  const bool existed = platform::IsRegularFile(path);
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (f == nullptr) return Fail(kExitNoOutput, "%s: cannot be written", path.c_str());
  std::fclose(f);
  if (!existed) std::remove(path.c_str());
  return kExitOk;
}

PathParts SplitPath(const std::string& path) {
  size_t cut = path.size();
  while (cut > 0 && !platform::IsPathSeparator(path[cut - 1])) --cut;
  PathParts parts;
  parts.file = path.substr(cut);
  if (cut == 0) {
    parts.folder = ".";
  } else {
    size_t end = cut;
    while (end > 1 && platform::IsPathSeparator(path[end - 1])) --end;
    parts.folder = path.substr(0, end);
  }
  return parts;
}

std::string LookupName(const std::string& path) {
  if (std::any_of(path.begin(), path.end(), platform::IsPathSeparator)) return path;
  return platform::JoinPath(".", path);
}

std::string ProgramFolder(const char* argv0) {
  using platform::IsPathSeparator;
  std::string path = argv0 != nullptr ? argv0 : "";
  if (std::none_of(path.begin(), path.end(), IsPathSeparator)) {
    const char* list = platform::GetEnv("PATH");
    const char separator = platform::PathSeparator() == '\\' ? ';' : ':';
    std::string found;
    std::string folders = list != nullptr ? list : "";
    for (size_t start = 0; found.empty() && start <= folders.size();) {
      size_t end = folders.find(separator, start);
      if (end == std::string::npos) end = folders.size();
      std::string candidate = platform::JoinPath(folders.substr(start, end - start), path);
      if (end > start && (platform::IsRegularFile(candidate) || platform::IsRegularFile(candidate + ".exe")))
        found = candidate;
      start = end + 1;
    }
    path = found;
  }
  size_t cut = path.size();
  while (cut > 0 && !IsPathSeparator(path[cut - 1])) --cut;
  while (cut > 1 && IsPathSeparator(path[cut - 1])) --cut;
  return path.substr(0, cut);
}

std::string SchemaFolder(const char* argv0, const std::string* explicitFolder) {
  if (explicitFolder != nullptr) return *explicitFolder;
  const char* env = platform::GetEnv("TARN_SCHEMAS");
  if (env != nullptr && *env != '\0') return "";
  return platform::JoinPath(platform::JoinPath(ProgramFolder(argv0), ".."), "schemas");
}

void QuietLibrary() {
  // The reporter first, so that the banner of the initialisation goes
  // where the messages go.
  TarnErrorReporter* reporter = TARN().reporter();
  reporter->setStreams(stderr, stderr);
  reporter->setExitLevel(kFatal + 1);
  TARN().initialize();
}

bool StartLibrary(const char* argv0, const std::string* schemaFolder) {
  const std::string folder = SchemaFolder(argv0, schemaFolder);
  if (!folder.empty()) SetSchemaPath(const_cast<char*>(folder.c_str()));
  QuietLibrary();
  if (LoadIfcSchema() == nullptr) {
    const char* where = TARN().schemaPath();
    Fail(kExitNoSchema, "schema %s not found (schema path: %s)", kIfcSchemaName,
         where != nullptr && *where != '\0' ? where : "unset");
    return false;
  }
  return true;
}

}  // namespace cli
}  // namespace korva
