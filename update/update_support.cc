#include "update/update_support.h"

#include "objdb/aggregate.h"
#include "objdb/back_pointers.h"

namespace korva {
namespace update {

namespace {

TarnAggregate* ExistingAggregate(TarnObject* owner, const char* attribute) {
  if (owner == nullptr || owner->isUnset(attribute)) return nullptr;
  return dynamic_cast<TarnAggregate*>(owner->getObject(attribute));
}

}  // namespace

uint32_t ElementCount(TarnObject* owner, const char* attribute) {
  TarnAggregate* a = ExistingAggregate(owner, attribute);
  return a != nullptr ? a->size() : 0;
}

TarnObject* Element(TarnObject* owner, const char* attribute, uint32_t index) {
  TarnAggregate* a = ExistingAggregate(owner, attribute);
  if (a == nullptr || index >= a->size()) return nullptr;
  return a->getObject(static_cast<int>(index));
}

TarnReferrers Referrers(TarnDesign* design, TarnObject* instance) {
  if (design == nullptr || instance == nullptr) return TarnReferrers();
  if (!design->hasBackPointers()) computeBackPointers(design);
  return backPointers(instance);
}

}  // namespace update
}  // namespace korva
