#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "import/import_state.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {
namespace {

// Every text getter of the import with the counter of its table.
struct TextGetter {
  const char* name;
  void(KORVA_CALL* get)(int, char*);
  int(KORVA_CALL* count)();
};

#define KORVA_FUZZ_GETTER(get, count) {#get, &get, &count}
const TextGetter kTextGetters[] = {
    KORVA_FUZZ_GETTER(GetBeamName, GetTotalBeams),
    KORVA_FUZZ_GETTER(GetBeamGUID, GetTotalBeams),
    KORVA_FUZZ_GETTER(GetColumnName, GetTotalColumns),
    KORVA_FUZZ_GETTER(GetColumnGUID, GetTotalColumns),
    KORVA_FUZZ_GETTER(GetWallName, GetTotalWalls),
    KORVA_FUZZ_GETTER(GetWallGUID, GetTotalWalls),
    KORVA_FUZZ_GETTER(GetWallPointName, GetTotalWallPoints),
    KORVA_FUZZ_GETTER(GetWallPointGUID, GetTotalWallPoints),
    KORVA_FUZZ_GETTER(GetSlabName, GetTotalSlabs),
    KORVA_FUZZ_GETTER(GetSlabGUID, GetTotalSlabs),
    KORVA_FUZZ_GETTER(GetSlabPointName, GetTotalSlabPoints),
    KORVA_FUZZ_GETTER(GetSlabPointGUID, GetTotalSlabPoints),
    KORVA_FUZZ_GETTER(GetAnaModelGUID, GetTotalAnaModels),
    KORVA_FUZZ_GETTER(GetAnaModelName, GetTotalAnaModels),
    KORVA_FUZZ_GETTER(GetStrCurveMemberName, GetNumberStrCurveMembers),
    KORVA_FUZZ_GETTER(GetStrCurveMemberGUID, GetNumberStrCurveMembers),
    KORVA_FUZZ_GETTER(GetStrSurfaceMemberName, GetNumberStrSurfaceMembers),
    KORVA_FUZZ_GETTER(GetStrSurfaceMemberGUID, GetNumberStrSurfaceMembers),
    KORVA_FUZZ_GETTER(GetStrPointConnectionName, GetNumberStrPointConnections),
    KORVA_FUZZ_GETTER(GetStrPointConnectionGUID, GetNumberStrPointConnections),
    KORVA_FUZZ_GETTER(GetStrLoadGroupName, GetNumberStrLoadGroups),
    KORVA_FUZZ_GETTER(GetStrLoadGroupGUID, GetNumberStrLoadGroups),
    KORVA_FUZZ_GETTER(GetStrPointActionName, GetNumberStrPointActions),
    KORVA_FUZZ_GETTER(GetStrPointActionGUID, GetNumberStrPointActions),
    KORVA_FUZZ_GETTER(GetStrLinearActionName, GetNumberStrLinearActions),
    KORVA_FUZZ_GETTER(GetStrLinearActionGUID, GetNumberStrLinearActions),
    KORVA_FUZZ_GETTER(GetGeneralMaterialName, GetNumberGeneralMaterials),
    KORVA_FUZZ_GETTER(GetMechSteelMatName, GetNumberMechSteelMats),
    KORVA_FUZZ_GETTER(GetMechConcMatName, GetNumberMechConcMats),
    KORVA_FUZZ_GETTER(GetMechConcMatAdmixturesDescription, GetNumberMechConcMats),
    KORVA_FUZZ_GETTER(GetMechConcMatWorkability, GetNumberMechConcMats),
    KORVA_FUZZ_GETTER(GetMechConcMatWaterImpermeability, GetNumberMechConcMats),
    KORVA_FUZZ_GETTER(GetStrProfilePropertiesSectionName, GetNumberStrProfileProperties),
    KORVA_FUZZ_GETTER(GetStrProfilePropertiesProfileName, GetNumberStrProfileProperties),
    KORVA_FUZZ_GETTER(GetStrProfilePropertiesGUID, GetNumberStrProfileProperties),
    KORVA_FUZZ_GETTER(GetProjectConversionBasedName, GetNumberProjectUnits),
};
#undef KORVA_FUZZ_GETTER

// Records read per table: enough to reach every kind of field, few enough
// to keep an input fast.
constexpr int kRecordsPerTable = 64;

// A host's buffer: 256 bytes, then a canary that no getter may touch.
constexpr std::size_t kHostBuffer = 256;
constexpr std::size_t kCanary = 32;
constexpr unsigned char kCanaryByte = 0xA5;

void CallTextGetters() {
  static const std::unique_ptr<char[]> buffer(new char[kHostBuffer + kCanary]);
  char* const canary = buffer.get() + kHostBuffer;
  for (const TextGetter& g : kTextGetters) {
    const int last = g.count();
    for (int i = 0; i <= last && i < kRecordsPerTable; ++i) {
      std::memset(canary, kCanaryByte, kCanary);
      g.get(i, buffer.get());
      for (std::size_t k = 0; k < kCanary; ++k) {
        if (static_cast<unsigned char>(canary[k]) != kCanaryByte) {
          std::fprintf(stderr, "%s(%d) wrote past the host's %zu-byte buffer\n", g.name, i, kHostBuffer);
          std::abort();
        }
      }
    }
  }
}

}  // namespace

std::vector<std::string> ImportTextGetters() {
  std::vector<std::string> names;
  for (const TextGetter& g : kTextGetters) names.emplace_back(g.name);
  return names;
}

void ImportFile(const std::uint8_t* data, std::size_t size) {
  SetUpOnce();
  const std::string path = WriteScratch("fuzz_import.ifc", data, size);
  if (path.empty()) return;
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');

  FindTotalObjects(name.data());
  CheckNumber(0, name.data());
  FindTotalAnaModels(name.data());
  const int model = GetTotalAnaModels() > 0 ? GetAnaModelFileID(0) : 0;
  CheckAnaModel(0, model, name.data());
  CallTextGetters();

  ReleaseImportDesign();
  std::remove(path.c_str());
}

}  // namespace fuzz
}  // namespace korva
