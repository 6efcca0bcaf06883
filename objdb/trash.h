// Deletion through the trash.
//
// Instances are not destroyed one at a time: other instances may still
// refer to them.  MoveToTrash moves an instance into the default section of
// the process-wide design "Trash" (made on demand and marked for deletion);
// deleteDesign marks a whole design.  TarnInterface::emptyTrash() then
//   1. repairs every other design in memory (the system design excepted,
//      and schema designs unless an instance of a schema was forwarded:
//      a schema refers to nothing but schemas, which are never doomed):
//      each reference held in an attribute of a structure, an element of an
//      aggregate, the value of a select or a design's back-pointers is replaced
//      by the instance it has been forwarded to (ForwardTo; at most ten
//      steps are followed, a longer chain is reported and the reference
//      left alone) and becomes null when it leads into a design marked for
//      deletion or into the trash; lists, sets and bags then drop their
//      null elements, arrays keep them in place, dictionaries drop the
//      entries whose value became null, a select whose value became null
//      loses its choice;
//   2. destroys the trashed instances and the trash design itself (a new
//      one is made when something is trashed again);
//   3. destroys the designs marked for deletion.  Schema designs are never
//      destroyed this way.
//
// A trashed instance keeps its storage in the arena of the design it came
// from; that is why the trash is emptied before any design is destroyed.
#ifndef KORVA_OBJDB_TRASH_H
#define KORVA_OBJDB_TRASH_H

#include <vector>

#include "objdb/tarn_object.h"

namespace korva {

class TarnDesign;

// The forwarding record of a replaced instance (manager kind kForward).
struct TarnForward : TarnManagerRecord {
  explicit TarnForward(TarnObject* replacement) : to(replacement) {
    kind = kForward;
    next = nullptr;
  }
  TarnObject* to;
};

// Name of the trash design.
extern const char* const kTrashDesignName;

// Makes references to `old` lead to `replacement` when the trash is next
// emptied (replacing an earlier forwarding of `old`).  A null replacement
// removes the forwarding.
void ForwardTo(TarnObject* old, TarnObject* replacement);
// The instance `object` is forwarded to (one step), or null.
TarnObject* ForwardedTo(const TarnObject* object);

// The trash design, made on demand (the current design stays current).
TarnDesign* TrashDesign();
// The trash design when one exists, else null.
TarnDesign* ExistingTrashDesign();

// Moves a persistent instance into the trash: it leaves its extent (live
// cursors standing on it step aside) and joins the trash's extent of its
// domain, with its traversal mark cleared.  False for null, free-standing
// instances and instances of schema designs (reported); true when the
// instance is in the trash afterwards.
bool MoveToTrash(TarnObject* object);

// Repairs the references held in the designs that stay and destroys the
// trashed instances; returns the designs the interface object destroys
// next: the trash design (when there is one) first, then the designs
// marked for deletion.
std::vector<TarnDesign*> RepairAndEmptyTrash();

// Destroys the trashed instances and forgets the trash design, which the
// interface object then destroys with the other designs at shutdown.
void ReleaseTrash();

}  // namespace korva

#endif  // KORVA_OBJDB_TRASH_H
