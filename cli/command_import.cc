// korva-ifc import: runs the library's import on a file as the host does
// and prints every table it fills, as JSON.
//
// The order is the host's: FindTotalObjects and CheckNumber for the building
// elements; then FindTotalAnaModels for the analysis models, materials,
// profile properties and units; then, for each analysis model,
// FindTotalAnaModels again (the fill takes its capacities from the census)
// and CheckAnaModel with the model's FileID.  Load groups and actions do not
// depend on the model; they come from the last fill (one with FileID 0 when
// the file has no analysis model).  The document is written as the tables
// are read, never held whole; --summary writes the counters only.
#include <cstdio>
#include <string>
#include <vector>

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

// The fill passes after the first census, each table written to `out` as
// soon as it is filled.  The analysis models' materials, profiles and units
// come last: the fill of a model leaves them as the census made them.
bool ImportAll(const std::string& path, char* name, bool summary, std::FILE* out) {
  JsonWriter w(out);
  w.beginObject();
  w.key("file");
  w.value(path);

  CheckNumber(0, name);
  w.key("building");
  WriteBuilding(w, summary);

  FindTotalAnaModels(name);
  std::vector<int> models;
  for (int i = 0; i <= GetTotalAnaModels(); ++i) models.push_back(GetAnaModelFileID(i));
  w.key("analysisModels");
  w.beginArray();
  for (size_t i = 0; i < models.size(); ++i) {
    if (i > 0) FindTotalAnaModels(name);
    w.beginObject();
    WriteModelFields(w, static_cast<int>(i), summary);
    CheckAnaModel(0, models[i], name);
    WriteModelContents(w, summary);
    w.endObject();
  }
  w.endArray();
  // Without a model, a fill with FileID 0 reads the load groups and
  // actions; when the census met none there is nothing to fill, and the
  // back-pointers a fill computes would cost as much memory as the design.
  const bool loads = GetNumberStrLoadGroups() > 0 || GetNumberStrPointActions() > 0 || GetNumberStrLinearActions() > 0;
  if (models.empty() && loads) CheckAnaModel(0, 0, name);
  w.key("loads");
  WriteLoads(w, summary, !models.empty() || loads);
  w.key("materials");
  WriteMaterials(w, summary);
  w.key("profiles");
  WriteProfiles(w, summary);
  w.key("units");
  WriteUnits(w, summary);
  w.endObject();
  w.finish();
  return w.ok();
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
  const bool written = ImportAll(path, name, args.has("--summary"), out);
  ShutDown();
  return std::fclose(out) == 0 && written ? kExitOk : kExitFailed;
}

}  // namespace
}  // namespace cli
}  // namespace korva
