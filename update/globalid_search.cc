#include "update/globalid_search.h"

#include <cstring>
#include <unordered_map>

#include "import/analysis_reading.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/tarn_object.h"

namespace korva {
namespace update {

namespace {

// Reads GlobalIds, looking the attribute up once per domain met.
class GlobalIdReader {
 public:
  const char* read(TarnObject* instance) {
    // A walk meets the instances of one domain one after another.
    TarnDomain* domain = instance->domain();
    if (domain != lastDomain_ || lastDomain_ == nullptr) {
      auto found = attributes_.find(domain);
      if (found != attributes_.end()) {
        lastAttribute_ = found->second;
      } else {
        lastAttribute_ = instance->getAttribute("GlobalId");
        attributes_.emplace(domain, lastAttribute_);
      }
      lastDomain_ = domain;
    }
    return lastAttribute_ != nullptr ? instance->getString(lastAttribute_) : nullptr;
  }

  bool matches(TarnObject* instance, const char* id) {
    if (id == nullptr) return false;
    const char* value = read(instance);
    return value != nullptr && std::strcmp(value, id) == 0;
  }

 private:
  std::unordered_map<TarnDomain*, TarnAttribute*> attributes_;
  TarnDomain* lastDomain_ = nullptr;
  TarnAttribute* lastAttribute_ = nullptr;
};

}  // namespace

void TraceVisit(TarnObject* instance) { TraceInstance(instance); }

TarnObject* FindByGlobalId(TarnDesign* design, const char* typeName, const char* id,
                           const std::function<bool(TarnObject*)>& accept) {
  if (design == nullptr) return nullptr;
  TarnCursor cursor(design);
  if (!cursor.domain(typeName)) return nullptr;
  GlobalIdReader ids;
  while (TarnObject* o = cursor.next()) {
    TraceVisit(o);
    if (ids.matches(o, id) && (!accept || accept(o))) return o;
  }
  return nullptr;
}

void FindPairByGlobalId(TarnDesign* design, const char* typeName, const char* idA, const char* idB,
                        TarnObject** a, TarnObject** b) {
  *a = nullptr;
  *b = nullptr;
  if (design == nullptr) return;
  TarnCursor cursor(design);
  if (!cursor.domain(typeName)) return;
  GlobalIdReader ids;
  while (TarnObject* o = cursor.next()) {
    TraceVisit(o);
    if (*a == nullptr && ids.matches(o, idA)) *a = o;
    if (*b == nullptr && ids.matches(o, idB)) *b = o;
    if (*a != nullptr && *b != nullptr) return;
  }
}

std::vector<TarnObject*> FindAllByGlobalId(TarnDesign* design, const char* typeName, const char* id) {
  std::vector<TarnObject*> found;
  if (design == nullptr) return found;
  TarnCursor cursor(design);
  if (!cursor.domain(typeName)) return found;
  GlobalIdReader ids;
  while (TarnObject* o = cursor.next()) {
    TraceVisit(o);
    if (ids.matches(o, id)) found.push_back(o);
  }
  return found;
}

}  // namespace update
}  // namespace korva
