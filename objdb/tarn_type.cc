#include "objdb/tarn_type.h"

#include <cstring>

#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "objdb/process_state.h"
#include "objdb/tarn_object.h"
#include "objdb/text.h"

namespace korva {
namespace {

// Holders made during static initialisation, newest first.  The head is
// zero-initialised before any constructor runs, so the order in which
// translation units initialise does not matter.
TarnTypePtr* g_pending = nullptr;
bool g_closed = false;

using Registry = TarnTypeTables;

Registry& TheRegistry() { return TarnProcessState::get().types(); }

}  // namespace

// Takes in the holders registered since the last look, oldest first.
class TarnTypeRegistryAccess {
 public:
  static void drain(Registry& r) {
    std::vector<TarnType*> fresh;
    for (TarnTypePtr* p = g_pending; p != nullptr; p = p->next_) fresh.push_back(p->type_);
    g_pending = nullptr;
    for (auto it = fresh.rbegin(); it != fresh.rend(); ++it) {
      r.all.push_back(*it);
      r.byName.emplace((*it)->name(), *it);
    }
  }
};

TarnTypePtr::TarnTypePtr(TarnType* type, void (*install)(TarnType&)) : type_(nullptr), next_(nullptr) {
  if (g_closed) {
    TARN().report(1034);
    return;
  }
  if (install != nullptr) install(*type);
  type_ = type;
  next_ = g_pending;
  g_pending = this;
}

namespace {
Registry& Drained() {
  Registry& r = TheRegistry();
  if (g_pending != nullptr) TarnTypeRegistryAccess::drain(r);
  return r;
}
}  // namespace

TarnType* TarnTypeRegistry::find(const char* name) {
  if (name == nullptr) return nullptr;
  Registry& r = Drained();
  auto it = r.byName.find(name);
  return it == r.byName.end() ? nullptr : it->second;
}

const std::vector<TarnType*>& TarnTypeRegistry::all() { return Drained().all; }

void TarnTypeRegistry::close() {
  Drained();
  g_closed = true;
}

bool TarnTypeRegistry::closed() { return g_closed; }

TarnType* TarnTypeRegistry::adopt(TarnType* type) {
  Registry& r = Drained();
  r.adopted.emplace_back(type);
  return type;
}

// A prototype is a free-standing default instance: its destruction needs
// nothing but the class's code, whenever the record goes.
TarnType::~TarnType() { delete prototype_; }

TarnDomain* TarnType::domain() {
  if (domain_ == nullptr) ResolveClassDomain(*this);
  return domain_;
}

TarnObject* TarnType::prototype() {
  if (prototype_ == nullptr && prototypeMaker != nullptr) prototype_ = prototypeMaker();
  return prototype_;
}


void TarnType::ensureLayout() {
  if (layoutDone_) return;
  layoutDone_ = true;
  if (layoutInitializer != nullptr) layoutInitializer(*this);
}

void TarnType::addSuper(const TarnType* type, std::ptrdiff_t offset, bool isVirtual) {
  for (const TarnSuperEntry& e : supers_)
    if (e.type == type) return;
  supers_.push_back({type, isVirtual, offset});
}

const TarnSuperEntry* TarnType::findSuper(const TarnType* type) {
  ensureLayout();
  for (const TarnSuperEntry& e : supers_)
    if (e.type == type) return &e;
  return nullptr;
}

bool TarnType::derivesFrom(const TarnType* type) { return type == this || findSuper(type) != nullptr; }

void TarnType::declareAttribute(const char* name, const TarnType* slotType, std::ptrdiff_t offset) {
  declared_.push_back({name, slotType, offset});
}

void TarnType::setEnumerators(std::vector<std::string> names) {
  ownedEnumNames_ = std::move(names);
  ownedEnums_.clear();
  for (size_t i = 0; i < ownedEnumNames_.size(); ++i)
    ownedEnums_.push_back({ownedEnumNames_[i].c_str(), static_cast<int32_t>(i)});
  enums_ = ownedEnums_.data();
  enumCount_ = static_cast<int>(ownedEnums_.size());
}

const char* TarnType::enumeratorName(int32_t value) const {
  if (value >= 0 && value < enumCount_ && enums_[value].value == value) return enums_[value].name;
  for (int i = 0; i < enumCount_; ++i)
    if (enums_[i].value == value) return enums_[i].name;
  return nullptr;
}

int32_t TarnType::enumeratorValue(const char* name) const {
  if (name == nullptr) return -1;
  for (int i = 0; i < enumCount_; ++i)
    if (std::strcmp(enums_[i].name, name) == 0) return enums_[i].value;
  for (int i = 0; i < enumCount_; ++i)
    if (EqualNoCase(enums_[i].name, name)) return enums_[i].value;
  return -1;
}

}  // namespace korva
