#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "import/import_state.h"
#include "objdb/interface.h"
#include "tests/fuzz/fuzz_targets.h"

namespace korva {
namespace fuzz {
namespace {

const std::string& ScratchFile() {
  static const std::string path = [] {
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    TARN().reporter()->setStreams(sink, sink);
    return "/tmp/korva_fuzz_import_" + std::to_string(getpid()) + ".ifc";
  }();
  return path;
}

}  // namespace

void ImportFile(const std::uint8_t* data, std::size_t size) {
  const std::string& path = ScratchFile();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  // Room for any text the file can hold.
  std::vector<char> text(size + 64);

  FindTotalObjects(name.data());
  CheckNumber(0, name.data());
  for (int i = 0; i <= GetTotalBeams(); ++i) {
    GetBeamName(i, text.data());
    GetBeamGUID(i, text.data());
    (void)GetBeamStartx(i);
  }
  for (int i = 0; i <= GetTotalWalls(); ++i) {
    GetWallName(i, text.data());
    (void)GetWallTotal(i);
  }
  for (int i = 0; i <= GetTotalWallPoints(); ++i) GetWallPointGUID(i, text.data());

  FindTotalAnaModels(name.data());
  const int model = GetTotalAnaModels() > 0 ? GetAnaModelFileID(0) : 0;
  if (GetTotalAnaModels() > 0) GetAnaModelName(0, text.data());
  CheckAnaModel(0, model, name.data());

  ReleaseImportDesign();
  std::remove(path.c_str());
}

}  // namespace fuzz
}  // namespace korva
