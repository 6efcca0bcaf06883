#include "objdb/external.h"

namespace korva {

bool ResolveExternalSlot(TarnObject*, TarnAttribute*, int, void*) { return false; }

}  // namespace korva
