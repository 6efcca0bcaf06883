#include "objdb/integrated_models.h"

#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/dictionary.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"

namespace korva {
namespace {

const char kListDesign[] = "iso_ap_list.tarn";

struct Lists {
  std::vector<std::string> protocols;
  std::vector<std::string> models;
};

Lists& Loaded() {
  static Lists lists;
  return lists;
}

// The string list `name` of the design's name table; false when absent.
bool ReadList(TarnDesign* design, const char* name, std::vector<std::string>* out) {
  TarnObject* value = design->nameTable()->lookup(name);
  ListOfSTR* list = value != nullptr ? dynamic_cast<ListOfSTR*>(value) : nullptr;
  if (list == nullptr) return false;
  out->clear();
  for (uint32_t i = 0; i < list->count(); ++i)
    if (const char* entry = list->get(i)) out->emplace_back(entry);
  return true;
}

// Puts the search path back when the load ends, however it ends.
class SearchPathScope {
 public:
  explicit SearchPathScope(const std::string& path) : saved_(TARN().searchPath()) { TARN().setSearchPath(path); }
  ~SearchPathScope() { TARN().setSearchPath(saved_); }

 private:
  std::string saved_;
};

}  // namespace

int LoadIntegratedModels(const char* folder) {
  TARN().initialize();
  if (folder == nullptr || *folder == '\0') {
    TARN().warning("$TARN_AP_PATH not set, could not find integrated schemas");
    return 1;
  }
  SearchPathScope scope(folder);
  TarnDesign* list = TARN().findDesign(kListDesign);
  if (list == nullptr) {
    TARN().warning("Could not find %s.", kListDesign);
    return 1;
  }
  Lists& loaded = Loaded();
  if (!ReadList(list, "__ISO_AP_LIST", &loaded.protocols)) {
    TARN().warning("iso_ap_list.tarn does not contain an AP list.");
    return 1;
  }
  for (const std::string& p : loaded.protocols) TARN().message("USING INTEGRATED MODELS FOR: %s.", p.c_str());
  if (!ReadList(list, "__ISO_IR_LIST", &loaded.models)) {
    TARN().warning("iso_ap_list.tarn does not contain an IR list.");
    return 1;
  }
  int status = 0;
  for (const std::string& m : loaded.models) {
    TARN().message("INTEGRATED MODEL: %s.", m.c_str());
    SetIntegratedModel(m.c_str());
    TarnDesign* model = TARN().findSchema(m.c_str());
    SetIntegratedModel(nullptr);
    if (model == nullptr) {
      TARN().warning("Could not find %s.", m.c_str());
      status = 1;
    }
  }
  return status;
}

int LoadIntegratedModels() { return LoadIntegratedModels(TARN().apPath()); }

const std::vector<std::string>& IntegratedProtocols() { return Loaded().protocols; }
const std::vector<std::string>& IntegratedModels() { return Loaded().models; }

void ForgetIntegratedModels() {
  Loaded().protocols.clear();
  Loaded().models.clear();
}

}  // namespace korva
