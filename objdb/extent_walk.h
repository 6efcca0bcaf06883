// Walking the instances of an extent along its links.  The instances of an
// extent lie one after the other in memory (TarnExtent::allocate), but the
// walk only learns the next address from the current instance: asking for
// the memory a few instances ahead keeps it from waiting on every one.
#ifndef KORVA_OBJDB_EXTENT_WALK_H
#define KORVA_OBJDB_EXTENT_WALK_H

#include "objdb/tarn_object.h"

namespace korva {

inline void PrefetchFollowing(const TarnObject* instance) {
#if defined(__GNUC__)
  __builtin_prefetch(reinterpret_cast<const char*>(instance) + 1024);
#else
  (void)instance;
#endif
}

}  // namespace korva

#endif  // KORVA_OBJDB_EXTENT_WALK_H
