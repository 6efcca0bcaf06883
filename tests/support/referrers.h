// Back-pointers as the tests compare them: plain vectors of instances, the
// entity instances of a design in cursor order, and what usedin finds by
// searching a design (the reference the back-pointers must agree with).
#ifndef KORVA_TESTS_SUPPORT_REFERRERS_H
#define KORVA_TESTS_SUPPORT_REFERRERS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objdb/back_pointers.h"

namespace korva {

class TarnDesign;
class TarnObject;

namespace test {

using Objects = std::vector<TarnObject*>;

// The referrers of a back-pointer range, in order.
Objects Listed(const TarnReferrers& referrers);

// The back-pointers of `instance` in its design.
Objects ReferrersOf(TarnObject* instance);

// Every entity instance of the design: sections, extents and instances in
// order.
Objects Entities(TarnDesign* design);

// The entity instances of the design that hold `instance`, directly or
// inside selects and aggregates, in cursor order (usedin).
Objects Searched(TarnObject* instance);

// The whole listing of a design's back-pointers by instance number: how
// many entity instances have referrers, how many entries there are in all,
// and an FNV-1a digest of "target: referrer referrer ...\n" lines.
struct Listing {
  size_t targets = 0;
  size_t entries = 0;
  uint64_t digest = 1469598103934665603ull;
};
Listing ListingOf(TarnDesign* design);
bool operator==(const Listing& a, const Listing& b);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_REFERRERS_H
