#include "objdb/select_path.h"

#include "objdb/domain.h"

namespace korva {

bool SelectPath(TarnDomain* select, TarnDomain* type, bool entity, std::vector<TarnAttribute*>* path) {
  // Nesting is shallow in every schema; the bound stops a select that
  // names itself.
  if (select == nullptr || type == nullptr || path->size() > 16) return false;
  for (TarnAttribute* m : select->allAttributes()) {
    TarnDomain* md = m->domain();
    if (md != nullptr && (md == type || (entity && md->isEntity() && type->typeIsA(md)))) {
      path->push_back(m);
      return true;
    }
  }
  for (TarnAttribute* m : select->allAttributes()) {
    TarnDomain* md = m->domain();
    if (md == nullptr || md->nodeType() != kNodeUnion) continue;
    path->push_back(m);
    if (SelectPath(md, type, entity, path)) return true;
    path->pop_back();
  }
  return false;
}

}  // namespace korva
