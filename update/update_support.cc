#include "update/update_support.h"

#include "ifc2x2/globalid.h"
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

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y) {
  IfcCartesianPoint* p = New<IfcCartesianPoint>(design);
  if (p == nullptr) return nullptr;
  p->Coordinates()->add(x);
  p->Coordinates()->add(y);
  return p;
}

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z) {
  IfcCartesianPoint* p = NewPoint(design, x, y);
  if (p != nullptr) p->Coordinates()->add(z);
  return p;
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y) {
  IfcDirection* d = New<IfcDirection>(design);
  if (d == nullptr) return nullptr;
  d->DirectionRatios()->add(x);
  d->DirectionRatios()->add(y);
  return d;
}

void Stamp(IfcRoot* object, IfcOwnerHistory* history) {
  if (object == nullptr) return;
  char id[23];
  object->GlobalId(NewCompressedGuid(id, sizeof id));
  object->OwnerHistory(history);
}

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
