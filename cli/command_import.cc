// korva-ifc import: runs the library's import on a file as the host does
// and prints every table it fills, as JSON.
//
// The order is the host's: FindTotalObjects and CheckNumber for the building
// elements; then FindTotalAnaModels for the analysis models, materials,
// profile properties and units; then, for each analysis model,
// FindTotalAnaModels again (the fill takes its capacities from the census)
// and CheckAnaModel with the model's FileID.  Load groups and actions do not
// depend on the model; they come from the first fill (one with FileID 0
// when the file has no analysis model).
#include <cstdio>
#include <string>

#include "api/korvaifc.h"
#include "cli/cli.h"
#include "cli/json_import.h"
#include "cli/read_design.h"
#include "import/import_state.h"
#include "platform/platform.h"

namespace korva {
namespace cli {
namespace {

int RunImport(const Invocation& call);

}  // namespace

extern const Command kImportCommand = {
    "import", "[--summary] [--schemas DIR] FILE",
    "Imports FILE through the library's exported functions and prints, as one\n"
    "JSON document on standard output, every table a host could read:\n"
    "  building:       beams, columns, slabs, walls (with outlines), generals\n"
    "  analysisModels: each model with its curveMembers, surfaceMembers and\n"
    "                  pointConnections\n"
    "  loads:          loadGroups, pointActions, linearActions\n"
    "  materials:      general, steel, concrete\n"
    "  profiles, units\n"
    "Record keys are the getters' names without their family prefix (Startx,\n"
    "GUID, FileID, ...).  The library's own messages go to standard error.\n\n"
    "  --summary      print the number of records of each table only\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunImport};

namespace {

// The first census, which reads the file; the library's messages go to
// standard error as always.  False, with the reason, when the file's
// content could not be read into a design.
bool ReadFile(char* name, std::string* reason) {
  std::string messages;
  {
    CapturedMessages capture;
    FindTotalObjects(name);
    messages = capture.text();
  }
  std::fputs(messages.c_str(), stderr);
  if (ImportDesign() != nullptr) return true;
  *reason = FirstProblem(messages);
  if (!reason->empty() && reason->back() == '.') reason->pop_back();
  if (reason->empty()) *reason = "not an exchange file the library reads";
  return false;
}

// The census and fill passes after the first census, and the tables they
// fill.
Json ImportAll(const std::string& path, char* name) {
  Json document = Json::object();
  document["file"] = path;

  CheckNumber(0, name);
  document["building"] = BuildingElementsJson();

  FindTotalAnaModels(name);
  Json models = AnalysisModelsJson();
  Json materials = MaterialsJson();
  Json profiles = ProfilesJson();
  Json units = UnitsJson();
  Json loads;
  for (size_t i = 0; i < models.size() || (i == 0 && loads.is_null()); ++i) {
    const int fileId = i < models.size() ? models[i]["FileID"].get<int>() : 0;
    if (i > 0) FindTotalAnaModels(name);
    CheckAnaModel(0, fileId, name);
    if (i < models.size()) {
      Json contents = ModelContentsJson();
      for (auto it = contents.begin(); it != contents.end(); ++it) models[i][it.key()] = it.value();
    }
    if (loads.is_null()) loads = LoadsJson();
  }
  document["analysisModels"] = models;
  document["loads"] = loads;
  document["materials"] = materials;
  document["profiles"] = profiles;
  document["units"] = units;
  return document;
}

// Counts in place of the records.
Json Summarize(const Json& full) {
  Json summary = Json::object();
  summary["file"] = full["file"];
  Json building = Json::object();
  for (auto it = full["building"].begin(); it != full["building"].end(); ++it) building[it.key()] = it.value().size();
  summary["building"] = building;
  Json models = Json::array();
  for (const Json& m : full["analysisModels"])
    models.push_back({{"Name", m["Name"]},
                      {"FileID", m["FileID"]},
                      {"curveMembers", m["curveMembers"].size()},
                      {"surfaceMembers", m["surfaceMembers"].size()},
                      {"pointConnections", m["pointConnections"].size()}});
  summary["analysisModels"] = models;
  for (const char* group : {"loads", "materials"}) {
    Json counts = Json::object();
    for (auto it = full[group].begin(); it != full[group].end(); ++it) counts[it.key()] = it.value().size();
    summary[group] = counts;
  }
  summary["profiles"] = full["profiles"].size();
  summary["units"] = full["units"].size();
  return summary;
}

int RunImport(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kImportCommand, call, {"--summary"}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 1) return UsageError(kImportCommand, "one input file expected");
  const std::string& path = args.positional[0];
  if (int status = CheckInput(path)) return status;
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;

  // The fill passes trace every instance on standard output; the JSON goes
  // to the real standard output, the trace nowhere.
  std::FILE* out = platform::DivertStandardOutput(platform::NullDevice());
  if (out == nullptr) return Fail(kExitFailed, "cannot set standard output aside");
  // The first call reads the file; the later ones find its design again.
  const std::string file = LookupName(path);
  char* name = const_cast<char*>(file.c_str());
  std::string reason;
  if (!ReadFile(name, &reason)) {
    ShutDown();
    std::fclose(out);
    return Fail(kExitFailed, "%s: could not be read (%s)", path.c_str(), reason.c_str());
  }
  const Json document = ImportAll(path, name);
  ShutDown();
  const std::string text = (args.has("--summary") ? Summarize(document) : document).dump(2) + "\n";
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace cli
}  // namespace korva
