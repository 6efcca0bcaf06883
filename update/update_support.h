// Small helpers shared by the update functions: reading aggregates without
// creating them (the generated aggregate readers make an empty aggregate on
// first use, which would change what is written for an attribute that was
// unset) and the referrers of an instance.
#ifndef KORVA_UPDATE_UPDATE_SUPPORT_H
#define KORVA_UPDATE_UPDATE_SUPPORT_H

#include <cstdint>

#include "objdb/back_pointers.h"
#include "objdb/design.h"

namespace korva {
namespace update {

// The number of elements of the aggregate held in `attribute` of `owner`
// (0 when unset), and its element at `index` (null when absent).
uint32_t ElementCount(TarnObject* owner, const char* attribute);
TarnObject* Element(TarnObject* owner, const char* attribute, uint32_t index);

// The instances of `design` that referred to `instance` when the design's
// back-pointers were computed.  They are computed on the first call for a
// design and then kept: the update functions never add or remove the
// relationships they look up this way (profile associations and member
// connections), so the records stay right for them through the update.
// Empty for a null instance.
TarnReferrers Referrers(TarnDesign* design, TarnObject* instance);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_UPDATE_SUPPORT_H
