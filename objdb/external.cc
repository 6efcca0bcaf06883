#include "objdb/external.h"

#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/oid.h"

namespace korva {
namespace {

// The attribute of a structure whose slot is at `slot`, found without
// complaint (null when none is).
TarnAttribute* SlotAttribute(TarnObject* object, const void* slot) {
  TarnDomain* d = object->domain();
  if (d == nullptr) return nullptr;
  for (TarnAttribute* a : d->allAttributes())
    if (a->hasSlot() && object->slotAddress(a, 0) == slot) return a;
  return nullptr;
}

// The object an entry names in the other design: by identifier, by name,
// or the design itself when the entry names none.
TarnObject* FindTarget(TarnDesign* design, const std::string& name) {
  if (name.empty()) return design;
  if (IsOidText(name.c_str()))
    if (TarnObject* o = design->findByOid(parseOidText(name.c_str()))) return o;
  return design->findObject(name.c_str());
}

}  // namespace

TarnExternalEntry* TarnExternal::find(TarnObject* owner, TarnAttribute* attribute, int index) {
  // An aggregate has one slot per element; a structure one per attribute,
  // which a subtype may know by its own copy of the attribute.
  const bool aggregate = dynamic_cast<TarnAggregate*>(owner) != nullptr;
  for (TarnExternalEntry& e : entries_) {
    if (e.index != index) continue;
    if (aggregate || e.attribute == attribute) return &e;
    if (e.attribute != nullptr && attribute != nullptr && e.attribute->original() == attribute->original())
      return &e;
  }
  return nullptr;
}

TarnExternalEntry* TarnExternal::add(const TarnExternalEntry& entry) {
  entries_.push_back(entry);
  return &entries_.back();
}

TarnExternal* ExternalReferences(TarnObject* object) {
  if (object == nullptr) return nullptr;
  return dynamic_cast<TarnExternal*>(object->findManager(TarnManagerRecord::kExternal));
}

bool AddExternalReference(TarnObject* object, TarnAttribute* attribute, int index,
                          const char* designName, const char* objectName) {
  if (object == nullptr || designName == nullptr || *designName == '\0') return false;
  if (!object->isPersistent()) {
    TARN().warning("External reference in a non-persistent object, ignored.");
    return false;
  }
  if (TarnAggregate* aggregate = dynamic_cast<TarnAggregate*>(object)) {
    if (index < 0) return false;
    if (static_cast<uint32_t>(index) >= aggregate->count() &&
        !aggregate->size(static_cast<uint32_t>(index) + 1, -1))
      return false;
  } else {
    index = 0;
    if (attribute == nullptr) {
      TARN().report(1023);
      return false;
    }
    TarnDomain* d = object->domain();
    TarnAttribute* own = d != nullptr ? d->typeAttribute(attribute) : nullptr;
    if (own == nullptr) {
      TARN().report(1001, object->domainName(), attribute->name() != nullptr ? attribute->name() : "");
      return false;
    }
    attribute = own;
  }
  void* slot = object->slotAddress(attribute, index);
  if (slot == nullptr) return false;
  if (!IsObjectNode(object->slotType(attribute)->nodeType())) {
    TARN().warning("%s: external reference in a slot that holds no object, ignored.", object->domainName());
    return false;
  }
  *static_cast<void**>(slot) = UnresolvedMarker();

  TarnExternal* record = ExternalReferences(object);
  if (record == nullptr) {
    record = new TarnExternal();
    object->attachManager(record);
  }
  TarnExternalEntry entry{attribute, index, designName, objectName != nullptr ? objectName : "", false};
  if (TarnExternalEntry* same = record->find(object, attribute, index)) *same = entry;
  else record->add(entry);
  return true;
}

bool ResolveExternalSlot(TarnObject* object, TarnAttribute* attribute, int index, void* slot) {
  TarnExternal* record = ExternalReferences(object);
  if (record == nullptr || slot == nullptr) return false;
  const bool aggregate = dynamic_cast<TarnAggregate*>(object) != nullptr;
  if (!aggregate) {
    index = 0;
    if (attribute == nullptr) attribute = SlotAttribute(object, slot);
  }
  TarnExternalEntry* entry = record->find(object, attribute, index);
  if (entry == nullptr) return false;
  if (!aggregate && attribute == nullptr) attribute = entry->attribute;

  TarnDesign* other = TARN().findDesign(entry->design.c_str());
  if (other == nullptr) {
    TARN().report(1025, entry->design.c_str());
    return false;
  }
  TarnObject* target = FindTarget(other, entry->object);
  if (target == nullptr) {
    TARN().warning("Object '%s' not found in design '%s'.", entry->object.c_str(), entry->design.c_str());
    return false;
  }
  if (!aggregate && attribute == nullptr) return false;
  void* value = TypecastRaw(target, object->slotType(attribute));
  if (value == nullptr) return false;
  *static_cast<void**>(slot) = value;
  entry->resolved = true;
  return true;
}

}  // namespace korva
