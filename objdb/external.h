// External references: a reference slot of a persistent instance holding the
// unresolved marker names an object of another design, described by the
// instance's external-reference record (manager record kind 4).
#ifndef KORVA_OBJDB_EXTERNAL_H
#define KORVA_OBJDB_EXTERNAL_H

namespace korva {

class TarnAttribute;
class TarnObject;

// Resolves the slot of `attribute` (element `index` for aggregates) of
// `object`, which holds the unresolved marker: finds the other design, the
// object in it, casts it to the slot's class and stores it in the slot.
// False (the slot keeps the marker) when it cannot be resolved.
bool ResolveExternalSlot(TarnObject* object, TarnAttribute* attribute, int index, void* slot);

}  // namespace korva

#endif  // KORVA_OBJDB_EXTERNAL_H
