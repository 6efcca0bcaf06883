#include <cstdio>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"
#include "update/update_state.h"

namespace korva {
namespace fuzz {
namespace {

// Texts the update functions take as char*: kept in writable storage.
struct Text {
  explicit Text(std::string s) : value(std::move(s)) { value.push_back('\0'); }
  char* get() { return &value[0]; }
  std::string value;
};

// The GlobalIds of the first `most` instances of `type` in the design,
// padded with a GlobalId that matches nothing, so that every search runs.
std::vector<Text> GlobalIds(TarnDesign* design, const char* type, std::size_t most) {
  std::vector<Text> ids;
  ListOfTarnObject found;
  if (TarnDomain* domain = design->findDomain(type)) design->findObjects(&found, domain, true);
  for (std::uint32_t i = 0; i < found.count() && ids.size() < most; ++i) {
    const char* id = found.get(i)->getString("GlobalId");
    if (id != nullptr) ids.emplace_back(id);
  }
  while (ids.size() < most) ids.emplace_back("0000000000000000000000");
  return ids;
}

// The file number of the first instance of `type`, or 0.
int FirstNumber(TarnDesign* design, const char* type) {
  ListOfTarnObject found;
  if (TarnDomain* domain = design->findDomain(type)) design->findObjects(&found, domain, true);
  return found.count() > 0 ? static_cast<int>(found.get(0)->instanceNumber()) : 0;
}

}  // namespace

void UpdateFile(const std::uint8_t* data, std::size_t size) {
  SetUpOnce();
  Text path(WriteScratch("fuzz_update.ifc", data, size));
  if (path.value.size() <= 1) return;
  OpenFileForUpdate(0, path.get());
  TarnDesign* design = update::UpdateDesign();
  if (design == nullptr) {
    std::remove(path.get());
    return;
  }
  Text none(""), person("Fuzz"), organization("Korva Ltd"), application("KORVA"), version("9"), id("fuzz");
  UpdateHistory(0, none.get(), person.get(), organization.get(), none.get(), application.get(), version.get(),
                id.get(), 1700000000);
  std::vector<Text> members = GlobalIds(design, "IfcStructuralCurveMember", 2);
  std::vector<Text> nodes = GlobalIds(design, "IfcStructuralPointConnection", 2);
  std::vector<Text> groups = GlobalIds(design, "IfcStructuralLoadGroup", 1);
  Text section("IPE 200"), general("G 1"), renamed("Renamed");
  for (Text& m : members) {
    UpdateOneCurveMemberISection(0, m.get(), section.get(), 0.1, 0.2, 0.0056, 0.0085, 0.012, 0.0);
    UpdateOneCurveMemberGeneralSection(0, m.get(), general.get(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
    UpdateOneCurveMemberReaction(0, m.get(), nodes[0].get(), nodes[1].get(), groups[0].get(), 1, 2, 3, 4, 5, 6, 7,
                                 8, 9, 10, 11, 12);
    UpdateOneCurveMemberCamberAndStuds(0, m.get(), 12, 0.01);
    UpdateOneCurveMemberConnectivity(0, m.get(), nodes[1].get(), nodes[0].get());
  }
  UpdateOneStructuralPoint(0, nodes[0].get(), 1.0, 2.0, 3.0);
  UpdateStructuralMembersRepresentation(0);
  UpdateOneCurveMemberSectionName(0, FirstNumber(design, "IfcStructuralProfileProperties"), renamed.get());
  // Saved as SaveAndCloseFileAfterUpdate saves, without the shutdown that
  // would unload the dictionaries for the next input.
  SaveIfcDesignAs(design, "fuzz_update_out", ScratchFolder().c_str(), true, SaveSchema::kOwn);
  update::EndUpdate();
  Discard(design);
  std::remove(path.get());
}

}  // namespace fuzz
}  // namespace korva
