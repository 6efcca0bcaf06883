// The way from a select to one of its members, through nested selects.
#ifndef KORVA_OBJDB_SELECT_PATH_H
#define KORVA_OBJDB_SELECT_PATH_H

#include <vector>

namespace korva {

class TarnAttribute;
class TarnDomain;

// Appends to `path` the members that lead from `select` to a member of
// `type`, through nested selects: a direct member first, else the first
// nested select that leads there.  An entity member also takes the
// subtypes of its entity when `entity` is set.  False, with `path` as it
// was, when there is no such way (or either domain is null).
bool SelectPath(TarnDomain* select, TarnDomain* type, bool entity, std::vector<TarnAttribute*>* path);

}  // namespace korva

#endif  // KORVA_OBJDB_SELECT_PATH_H
