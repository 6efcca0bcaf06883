// External references: a reference slot of a persistent instance holding the
// unresolved marker names an object of another design, described by the
// instance's external-reference record (manager record kind 4).
//
// Each entry of the record stands for one slot: the attribute (for an
// aggregate, the element index picks the slot), the name of the other
// design, and the object in it: its name in the design's name table, its
// identifier in text form (oid.h), or nothing for the design itself.  The
// native reader records entries; every read of a slot holding the marker
// resolves it through ResolveExternalSlot.
#ifndef KORVA_OBJDB_EXTERNAL_H
#define KORVA_OBJDB_EXTERNAL_H

#include <string>
#include <vector>

#include "objdb/tarn_object.h"

namespace korva {

struct TarnExternalEntry {
  TarnAttribute* attribute;
  int index;
  std::string design;
  std::string object;
  bool resolved;  // the slot has received the object
};

class TarnExternal : public TarnManagerRecord {
 public:
  TarnExternal() {
    kind = kExternal;
    next = nullptr;
  }
  const std::vector<TarnExternalEntry>& entries() const { return entries_; }
  // The entry of the slot of `attribute` (element `index`) of `owner`.
  TarnExternalEntry* find(TarnObject* owner, TarnAttribute* attribute, int index);
  TarnExternalEntry* add(const TarnExternalEntry& entry);

 private:
  std::vector<TarnExternalEntry> entries_;
};

// The external-reference record of `object`, null when it has none.
TarnExternal* ExternalReferences(TarnObject* object);

// Records that the slot of `attribute` (element `index` of an aggregate,
// which grows to hold it) of the persistent instance `object` refers to
// `objectName` (name or identifier text; null or empty: the design itself)
// in the design `designName`, and puts the unresolved marker into the slot.
// An entry for the same slot is replaced.  False, changing nothing, for a
// non-persistent instance (warned), a slot that holds no object reference,
// or a missing design name.
bool AddExternalReference(TarnObject* object, TarnAttribute* attribute, int index,
                          const char* designName, const char* objectName);

// Resolves the slot of `attribute` (element `index` for aggregates) of
// `object`, which holds the unresolved marker: finds the other design (1025
// when it cannot be found), the object in it, casts it to the slot's class
// and stores it in the slot.  False (the slot keeps the marker) when it
// cannot be resolved.
bool ResolveExternalSlot(TarnObject* object, TarnAttribute* attribute, int index, void* slot);

}  // namespace korva

#endif  // KORVA_OBJDB_EXTERNAL_H
