// Walking the extents of a design's data sections, and the instances of an
// extent along their links.
//
// The extents are met in the order the design keeps them: the order in
// which a walk over the design meets their instances.  The instances of an
// extent lie one after the other in memory (TarnExtent::allocate), but the
// walk only learns the next address from the current instance: asking for
// the memory a few instances ahead keeps it from waiting on every one.
#ifndef KORVA_OBJDB_EXTENT_WALK_H
#define KORVA_OBJDB_EXTENT_WALK_H

#include "objdb/design.h"
#include "objdb/tarn_object.h"

namespace korva {

// The first extent of the design's data sections for which test(extent)
// holds, or null.
template <class Test>
TarnExtent* FindDataExtent(TarnDesign* design, Test test) {
  for (TarnSection* section : design->sections()) {
    if (section->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = section->firstExtent(); e != nullptr; e = e->next())
      if (test(e)) return e;
  }
  return nullptr;
}

// Calls visit(extent) for every extent of the design's data sections.
template <class Visit>
void ForEachDataExtent(TarnDesign* design, Visit visit) {
  FindDataExtent(design, [&](TarnExtent* e) {
    visit(e);
    return false;
  });
}

inline void PrefetchFollowing(const TarnObject* instance) {
#if defined(__GNUC__)
  __builtin_prefetch(reinterpret_cast<const char*>(instance) + 1024);
#else
  (void)instance;
#endif
}

}  // namespace korva

#endif  // KORVA_OBJDB_EXTENT_WALK_H
