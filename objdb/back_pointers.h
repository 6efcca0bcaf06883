// Back-pointers: for each instance of a design, the structure instances of
// the same design that refer to it.  The update code uses them to find the
// relationship objects that point at an element without searching the whole
// design for each element (as usedin does).
//
// computeBackPointers(design) builds every record in one pass over the
// design's data sections: for each structure instance X and each attribute
// of X holding an object V, X is recorded on V when V is a structure;
// when V is an aggregate or a select, the walk descends into it (nested
// aggregates and selects too) and records X on every structure found
// there.  X is recorded once per instance it refers to, however many of its
// attributes lead there, and the records list referrers in discovery order
// (the cursor order of the design).
//
// The records are manager records of kind kBackPointers attached to the
// instances; they are not kept up to date by later writes: compute again
// after changing references.  Emptying the trash repairs them like any
// other list of references.
#ifndef KORVA_OBJDB_BACK_POINTERS_H
#define KORVA_OBJDB_BACK_POINTERS_H

#include "objdb/aggregate.h"

namespace korva {

class TarnDesign;

// The back-pointer record of one instance; owns its list (free-standing).
struct TarnBackPointers : TarnManagerRecord {
  TarnBackPointers();
  ~TarnBackPointers() override;
  TarnBackPointers(const TarnBackPointers&) = delete;
  TarnBackPointers& operator=(const TarnBackPointers&) = delete;

  ListOfTarnObject* list;
};

// Discards the back-pointer records of every instance of `design`, marks
// the design as having back-pointers and records them anew.
void computeBackPointers(TarnDesign* design);

// Discards the back-pointer records of every instance of `design` and
// clears its mark.
void discardBackPointers(TarnDesign* design);

// The referrers of `instance`: the list of its record, made empty when it
// has none.  Null only for a null instance.  The list belongs to the
// record; it stays valid until the records are computed or discarded again
// or the instance goes.
ListOfTarnObject* backPointers(TarnObject* instance);

}  // namespace korva

#endif  // KORVA_OBJDB_BACK_POINTERS_H
