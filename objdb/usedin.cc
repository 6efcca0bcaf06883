// usedin: the instances of a design that refer to a given instance, through
// one attribute or any, directly or inside selects and aggregates (nested
// ones included).
#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"
#include "objdb/traversal.h"
#include "objdb/union.h"

namespace korva {
namespace {

uint32_t g_traversal = 0;
bool g_running = false;

// Whether `value` (held in an attribute) is or contains `target`.
bool Holds(TarnObject* value, TarnObject* target, TarnTraversal& walk) {
  if (value == nullptr) return false;
  if (value == target) return true;
  if (TarnUnion* u = dynamic_cast<TarnUnion*>(value)) {
    if (!walk.visit(u) || u->attribute() == nullptr) return false;
    const TarnType* t = u->slotType(u->attribute());
    if (!IsObjectNode(t->nodeType())) return false;
    return Holds(static_cast<TarnObject*>(*static_cast<void**>(u->valueSlot())), target, walk);
  }
  if (TarnPtrAggregate* a = dynamic_cast<TarnPtrAggregate*>(value)) {
    if (!walk.visit(a)) return false;
    for (uint32_t i = 0; i < a->count(); ++i)
      if (Holds(a->get(i), target, walk)) return true;
  }
  return false;
}

}  // namespace

TarnTraversal::TarnTraversal() : started_(!g_running) {
  if (!started_) {
    TARN().report(1021);
    return;
  }
  g_running = true;
  ++g_traversal;
}

TarnTraversal::~TarnTraversal() {
  if (started_) g_running = false;
}

bool TarnTraversal::running() { return g_running; }

bool TarnTraversal::visit(TarnObject* object) {
  if (object->traversalMark() == g_traversal) return false;
  object->setTraversalMark(g_traversal);
  return true;
}

ListOfTarnObject* TarnObject::usedin(TarnDomain* filter, TarnAttribute* att, ListOfTarnObject* result) {
  if (filter != nullptr && !filter->isEntity()) {
    TARN().error("usedin() search only allowed for entity types.");
    return nullptr;
  }
  if (TarnTraversal::running()) {
    TARN().error("usedin() not allowed within a traversal block.");
    return nullptr;
  }
  TarnTraversal walk;
  if (!walk.started()) return nullptr;
  if (result == nullptr) result = new ListOfTarnObject();
  TarnDesign* d = design();
  if (d == nullptr) return result;
  if (filter == nullptr) filter = TarnObject::classType.domain();
  ForEachDataExtent(d, [&](TarnExtent* e) {
    TarnDomain* domain = e->domain();
    // Referrers are entity instances; selects and aggregates are searched
    // as values of their attributes.
    if (!domain->isEntity()) return;
    if (filter != nullptr && domain != filter && !domain->typeIsA(filter)) return;
    for (TarnObject* x = e->first(); x != nullptr; x = x->nextInExtent()) {
      bool match = false;
      if (att != nullptr) {
        TarnAttribute* mine = domain->typeAttribute(att);
        if (mine != nullptr && IsObjectNode(x->slotType(mine)->nodeType()))
          match = Holds(x->getObject(mine), this, walk);
      } else {
        for (TarnAttribute* a : domain->allAttributes()) {
          if (a->isDerived() || !IsObjectNode(x->slotType(a)->nodeType())) continue;
          if (Holds(x->getObject(a), this, walk)) {
            match = true;
            break;
          }
        }
      }
      if (match) result->insert(x, -1);
    }
  });
  return result;
}

}  // namespace korva
