// korva-ifc update-section: gives one curve member of an analysis model a
// new I-section through the library's update functions, as the host does:
// OpenFileForUpdate, UpdateHistory, UpdateOneCurveMemberISection,
// SaveAndCloseFileAfterUpdate.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "cli/cli.h"
#include "platform/platform.h"

namespace korva {
namespace cli {
namespace {

int RunUpdateSection(const Invocation& call);

}  // namespace

extern const Command kUpdateSectionCommand = {
    "update-section",
    "[--output OUT.ifc] [--schemas DIR] FILE MEMBER SECTION WIDTH DEPTH WEB FLANGE FILLET",
    "Gives the curve member MEMBER of FILE a new I-section named SECTION with\n"
    "the overall width and depth, web and flange thickness and fillet radius\n"
    "given (in the file's length unit), records the change in a new owner\n"
    "history (\"korva-ifc\", ChangeAction MODIFIED) and saves the file in place,\n"
    "or as OUT.ifc.  MEMBER is the member's GlobalId or its name, looked up\n"
    "with the import functions: exactly one member must match, and it must\n"
    "have a section already (the update replaces the section's properties).\n\n"
    "  --output OUT.ifc  write the changed file there instead of over FILE\n"
    "  --schemas DIR     the folder of the compiled schemas\n",
    RunUpdateSection};

namespace {

bool ParseNumber(const std::string& text, double* out) {
  char* end = nullptr;
  *out = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

struct MemberMatch {
  std::string globalId;
  int sectionId;
  std::string sectionName;  // the ProfileName of its section, empty without
};

// The ProfileName of the profile properties numbered `fileId` in the tables
// of the model read last.
std::string ProfileNameOf(int fileId, char* buffer) {
  if (fileId == 0) return std::string();
  for (int i = 0; i <= GetNumberStrProfileProperties(); ++i) {
    if (GetStrProfilePropertiesFileID(i) != fileId) continue;
    buffer[0] = '\0';
    GetStrProfilePropertiesProfileName(i, buffer);
    return buffer;
  }
  return std::string();
}

// The curve members of any analysis model of the file whose name or
// GlobalId is `member`, with their sections, read as the host reads them.
std::vector<MemberMatch> FindMembers(const std::string& file, const std::string& member) {
  std::vector<MemberMatch> found;
  char* path = const_cast<char*>(file.c_str());
  std::FILE* out = platform::DivertStandardOutput(platform::NullDevice());
  FindTotalAnaModels(path);
  const int models = GetTotalAnaModels() + 1;
  std::vector<int> fileIds;
  for (int i = 0; i < models; ++i) fileIds.push_back(GetAnaModelFileID(i));
  // The getters write at most KORVA_TEXT_BUFFER_SIZE bytes; a GlobalId too
  // long to be one comes out empty and matches nothing.
  char name[KORVA_TEXT_BUFFER_SIZE];
  char guid[KORVA_TEXT_BUFFER_SIZE];
  for (size_t m = 0; m < fileIds.size(); ++m) {
    if (m > 0) FindTotalAnaModels(path);
    CheckAnaModel(0, fileIds[m], path);
    for (int i = 0; i <= GetNumberStrCurveMembers(); ++i) {
      name[0] = guid[0] = '\0';
      GetStrCurveMemberName(i, name);
      GetStrCurveMemberGUID(i, guid);
      if (member == name || (guid[0] != '\0' && member == guid))
        found.push_back({guid, GetStrCurveMemberSectionID(i), ProfileNameOf(GetStrCurveMemberSectionID(i), name)});
    }
  }
  ShutDown();
  if (out != nullptr) platform::RestoreStandardOutput(out);
  return found;
}

int RunUpdateSection(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kUpdateSectionCommand, call, {}, {"--output", "--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 8)
    return UsageError(kUpdateSectionCommand, "a file, a member, a section name and five dimensions expected");
  const std::string& file = args.positional[0];
  const std::string& member = args.positional[1];
  const std::string& section = args.positional[2];
  double dims[5];
  for (int i = 0; i < 5; ++i)
    if (!ParseNumber(args.positional[3 + i], &dims[i]))
      return UsageError(kUpdateSectionCommand, "'%s' is not a number", args.positional[3 + i].c_str());
  const std::string out = args.value("--output") != nullptr ? *args.value("--output") : file;
  if (int status = CheckInput(file)) return status;
  if (int status = CheckOutput(out)) return status;
  const PathParts target = SplitPath(out);
  if (target.file.find('.') == std::string::npos)
    return UsageError(kUpdateSectionCommand, "the output file needs an extension (OUT.ifc)");
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;

  // The update replaces a member's section: the member must have one.
  const std::vector<MemberMatch> matches = FindMembers(LookupName(file), member);
  if (matches.size() != 1)
    return Fail(kExitFailed, "%s: %s curve member named '%s'", file.c_str(),
                matches.empty() ? "no" : "more than one", member.c_str());
  const std::string id = matches.front().globalId;
  if (id.empty() || id == " ")
    return Fail(kExitFailed, "%s: member '%s' has no GlobalId the update can find it by", file.c_str(),
                member.c_str());
  if (matches.front().sectionId == 0)
    return Fail(kExitFailed, "%s: member '%s' has no section to replace", file.c_str(), member.c_str());
  QuietLibrary();

  // The library writes its search trace on standard output; it goes
  // nowhere.
  std::FILE* saved = platform::DivertStandardOutput(platform::NullDevice());
  const std::string lookup = LookupName(file);
  OpenFileForUpdate(0, const_cast<char*>(lookup.c_str()));
  UpdateHistory(0, nullptr, const_cast<char*>("korva-ifc"), const_cast<char*>("korva-ifc"), nullptr,
                const_cast<char*>("korva-ifc update-section"), const_cast<char*>("1.0"),
                const_cast<char*>("korva-ifc"), static_cast<int>(std::time(nullptr)));
  UpdateOneCurveMemberISection(0, const_cast<char*>(id.c_str()), const_cast<char*>(section.c_str()), dims[0],
                               dims[1], dims[2], dims[3], dims[4], 0.0);
  // A separate output is removed first, so that its presence afterwards
  // tells whether the save worked (the file read is never removed; its
  // folder was found writable above).
  if (out != file) std::remove(out.c_str());
  SaveAndCloseFileAfterUpdate(0, const_cast<char*>(target.file.c_str()), const_cast<char*>(target.folder.c_str()));
  if (saved != nullptr) platform::RestoreStandardOutput(saved);
  if (!platform::IsRegularFile(out)) return Fail(kExitNoOutput, "%s was not written", out.c_str());

  // What the file written says, read back as the host reads it (a text
  // longer than the getters' buffers is cut).
  const std::vector<MemberMatch> after = FindMembers(LookupName(out), id);
  if (after.size() != 1 || after.front().sectionName != section.substr(0, KORVA_TEXT_BUFFER_SIZE - 1))
    return Fail(kExitFailed, "%s: member %s was not changed: its section is '%s', not %s", out.c_str(), id.c_str(),
                after.size() == 1 ? after.front().sectionName.c_str() : "", section.c_str());
  std::printf("%s: member %s has the section %s\n", out.c_str(), id.c_str(), section.c_str());
  return kExitOk;
}

}  // namespace
}  // namespace cli
}  // namespace korva
