#include "import/import_state.h"

#include <cstring>
#include <string>

#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "objdb/text.h"
#include "platform/platform.h"

namespace korva {

const char* const kBlankField = " ";

namespace {
TarnDesign* g_design = nullptr;
unsigned g_generation = 0;

// Whether `design` bears the name of the file `path` names: the text after
// the last path separator, up to the first '.' after it.
bool IsDesignOfFile(TarnDesign* design, const char* path) {
  const char* base = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (platform::IsPathSeparator(*p)) base = p + 1;
  const char* dot = std::strchr(base, '.');
  const std::string name(base, dot != nullptr ? static_cast<size_t>(dot - base) : std::strlen(base));
  return design->name() != nullptr && EqualNoCase(design->name(), name.c_str());
}
}  // namespace

TarnDesign* ImportDesign() {
  if (g_design != nullptr && g_generation != TARN().generation()) g_design = nullptr;
  if (g_design != nullptr && TARN().state() != TarnInterface::kInitialized) g_design = nullptr;
  return g_design;
}

TarnDesign* OpenImportDesign(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  if (LoadIfcSchema() == nullptr) return nullptr;
  // A file named by its path is held in memory under its base name, which
  // a lookup by path does not find: the census has read it already, so
  // the fill and the other passes take that design instead of reading the
  // file again (a second copy would not even be entered under the name).
  if (TarnDesign* held = ImportDesign(); held != nullptr && IsDesignOfFile(held, fileName)) return held;
  g_design = TARN().findDesign(fileName);
  g_generation = TARN().generation();
  return g_design;
}

void ReleaseImportDesign() {
  TarnDesign* design = ImportDesign();
  g_design = nullptr;
  if (design == nullptr) return;
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

}  // namespace korva
