#include "objdb/trash.h"

#include <algorithm>

#include "objdb/back_pointers.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/dictionary.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/union.h"

namespace korva {

const char* const kTrashDesignName = "Trash";

namespace {

TarnDesign* g_trash = nullptr;
// Forwardings made since the trash was last emptied: with none, and nothing
// to delete, there is nothing to repair.
uint32_t g_forwardings = 0;
// Whether one of them forwards an instance of a schema design.  Schema
// designs refer only to themselves and to other schemas, which are never
// doomed and whose instances never go to the trash: they need repairing
// only then.
bool g_schemaForwarded = false;

constexpr int kMaxForwardSteps = 10;

TarnForward* ForwardOf(const TarnObject* object) {
  return dynamic_cast<TarnForward*>(object->findManager(TarnManagerRecord::kForward));
}

bool Doomed(const TarnDesign* design, const TarnDesign* system) {
  return design != nullptr && design != system && design->markedForDeletion() &&
         !design->isSchemaDesign();
}

// The instance held in a reference slot of type `type`, or null for an
// empty slot or one that names an object not in memory (left alone).
TarnObject* Held(const TarnType* type, void* held) {
  if (held == nullptr || IsUnresolved(held)) return nullptr;
  return type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
}

// The repair of references in the designs that survive.
class Repairer {
 public:
  explicit Repairer(TarnDesign* system) : system_(system) {}

  ~Repairer() {
    for (TarnObject* o : stale_) ForwardTo(o, nullptr);
  }

  void design(TarnDesign* d) {
    for (TarnSection* s : d->sections())
      for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
        for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) instance(o);
    if (TarnObject* root = d->root()) {
      TarnObject* r = replacement(root);
      if (r != root) d->setRoot(r);
    }
    // The referrers of the back-pointers, as a list of references would be.
    if (TarnBackPointerIndex* index = d->backPointerIndex(false))
      index->replaceReferrers([this](TarnObject* r) { return replacement(r); });
    finishAggregates();
  }

 private:
  // What a reference to `target` becomes: the end of its forwarding chain,
  // null when that lies in a doomed design, else `target` itself.
  TarnObject* replacement(TarnObject* target) {
    TarnObject* t = target;
    for (int steps = 0; TarnForward* f = ForwardOf(t); ++steps) {
      if (steps == kMaxForwardSteps) {
        TARN().warning("Object forwarding too deep");
        t = target;
        break;
      }
      t = f->to;
    }
    return doomed(t) ? nullptr : t;
  }

  // Whether `object` goes with a doomed design: a design object is judged
  // by itself, any other by the design it lies in.
  bool doomed(TarnObject* object) const {
    if (object->typePtr()->nodeType() == kNodeDesign)
      return Doomed(dynamic_cast<TarnDesign*>(object), system_);
    return Doomed(object->design(), system_);
  }

  // The new contents of a reference slot of type `type` that held
  // `target`; false when the slot stays as it is.
  bool repaired(TarnObject* target, const TarnType* type, void** out) {
    TarnObject* r = replacement(target);
    if (r == target) return false;
    if (r == nullptr) {
      *out = nullptr;
      return true;
    }
    void* stored = type == &TarnObject::classType ? r : TypecastRaw(r, type);
    if (stored == nullptr) {
      // The replacement does not fit the slot (reported by the cast): the
      // old reference stays unless it leads into a doomed design.
      if (!doomed(target)) return false;
      *out = nullptr;
      return true;
    }
    *out = stored;
    loose(r);
    return true;
  }

  void instance(TarnObject* o) {
    const TarnType* type = o->typePtr();
    switch (type->nodeType()) {
      case kNodeStructure:
        structure(o, type);
        break;
      case kNodeUnion:
        if (TarnUnion* u = dynamic_cast<TarnUnion*>(o)) select(u);
        break;
      case kNodeAggregate:
        if (TarnAggregate* a = dynamic_cast<TarnAggregate*>(o)) aggregate(a);
        break;
      default:
        break;
    }
    // A forwarding into a doomed design would outlive its target; it is
    // dropped once every reference has been repaired through it.
    if (TarnForward* f = ForwardOf(o))
      if (doomed(f->to)) stale_.push_back(o);
  }

  void structure(TarnObject* x, const TarnType* type) {
    TarnDomain* domain = x->domain();
    if (domain == nullptr) return;
    for (TarnAttribute* a : domain->allAttributes()) {
      if (a->isDerived() || !a->hasSlot()) continue;
      if (a->inOverflow() && x->overflow() == nullptr) continue;
      const TarnType* slotType = x->slotType(a);
      if (!IsObjectNode(slotType->nodeType())) continue;
      void** slot = static_cast<void**>(x->slotAddress(a, 0));
      TarnObject* target = slot != nullptr ? Held(slotType, *slot) : nullptr;
      if (target == nullptr) continue;
      if (repaired(target, slotType, slot)) x->modified();
      else loose(target);
    }
    if (type != lastType_) {
      lastType_ = type;
      lastIsDictionary_ = const_cast<TarnType*>(type)->derivesFrom(&TarnDictionary::classType);
    }
    if (lastIsDictionary_) {
      TarnDictionary* d = dynamic_cast<TarnDictionary*>(x);
      TarnAttribute* values = x->getAttribute("listOfValues");
      TarnAggregate* list = values != nullptr ? dynamic_cast<TarnAggregate*>(x->getObject(values)) : nullptr;
      if (d != nullptr && list != nullptr) dictionaries_.push_back({d, list});
    }
  }

  void select(TarnUnion* u) {
    TarnAttribute* member = u->attribute();
    if (member == nullptr || !IsObjectNode(u->slotType(member)->nodeType())) return;
    void** slot = static_cast<void**>(u->valueSlot());
    TarnObject* target = Held(&TarnObject::classType, *slot);
    if (target == nullptr) return;
    void* stored = nullptr;
    if (!repaired(target, &TarnObject::classType, &stored)) {
      loose(target);
    } else if (stored == nullptr) {
      u->putAttribute(static_cast<const char*>(nullptr));  // no value: no choice
    } else {
      *slot = stored;
      u->modified();
    }
  }

  void aggregate(TarnAggregate* a) {
    const TarnType* type = a->elementType();
    if (!IsObjectNode(type->nodeType())) return;
    void** elements = static_cast<void**>(a->data());
    bool changed = false, nulled = false;
    for (uint32_t i = 0; i < a->count(); ++i) {
      TarnObject* target = Held(type, elements[i]);
      if (target == nullptr) continue;
      if (!repaired(target, type, &elements[i])) {
        loose(target);
        continue;
      }
      changed = true;
      nulled = nulled || elements[i] == nullptr;
    }
    if (changed) {
      a->dropIndex();
      a->modified();
    }
    if (nulled && a->kind() != AggregateKind::kArray) compact_.push_back(a);
  }

  // Aggregates and selects that belong to no design are reached only
  // through the references to them: repaired where they are met.
  void loose(TarnObject* value) {
    if (value->isPersistent()) return;
    const int node = value->typePtr()->nodeType();
    if (node != kNodeUnion && node != kNodeAggregate) return;
    if (std::find(path_.begin(), path_.end(), value) != path_.end()) return;  // contains itself
    path_.push_back(value);
    if (node == kNodeUnion) {
      if (TarnUnion* u = dynamic_cast<TarnUnion*>(value)) select(u);
    } else if (TarnAggregate* a = dynamic_cast<TarnAggregate*>(value)) {
      aggregate(a);
    }
    path_.pop_back();
  }

  // Dictionaries drop whole entries; other lists, sets and bags close up.
  void finishAggregates() {
    for (const auto& entry : dictionaries_) {
      auto it = std::find(compact_.begin(), compact_.end(), entry.second);
      if (it == compact_.end()) continue;
      compact_.erase(it);
      void** values = static_cast<void**>(entry.second->data());
      for (uint32_t i = entry.second->count(); i-- > 0;)
        if (values[i] == nullptr) entry.first->removeAt(i);
    }
    for (TarnAggregate* a : compact_) {
      void** elements = static_cast<void**>(a->data());
      uint32_t kept = 0;
      for (uint32_t i = 0; i < a->count(); ++i)
        if (elements[i] != nullptr) elements[kept++] = elements[i];
      if (kept != a->count()) a->size(kept, -1);
    }
    compact_.clear();
    dictionaries_.clear();
  }

  TarnDesign* system_;
  std::vector<TarnObject*> path_;
  std::vector<TarnObject*> stale_;
  std::vector<TarnAggregate*> compact_;
  std::vector<std::pair<TarnDictionary*, TarnAggregate*>> dictionaries_;
  const TarnType* lastType_ = nullptr;
  bool lastIsDictionary_ = false;
};

void DestroyTrashedInstances() {
  if (g_trash == nullptr) return;
  for (TarnSection* s : g_trash->sections()) s->clear();
}

}  // namespace

void ForwardTo(TarnObject* old, TarnObject* replacement) {
  if (old == nullptr) return;
  TarnForward* f = ForwardOf(old);
  if (replacement == nullptr) {
    if (f != nullptr) {
      old->detachManager(f);
      delete f;
    }
    return;
  }
  if (f == nullptr) old->attachManager(new TarnForward(replacement));
  else f->to = replacement;
  ++g_forwardings;
  const TarnDesign* from = old->design();
  if (from == nullptr || from->isSchemaDesign()) g_schemaForwarded = true;
}

TarnObject* ForwardedTo(const TarnObject* object) {
  TarnForward* f = object != nullptr ? ForwardOf(object) : nullptr;
  return f != nullptr ? f->to : nullptr;
}

TarnDesign* ExistingTrashDesign() { return g_trash; }

TarnDesign* TrashDesign() {
  if (g_trash == nullptr) {
    TarnInterface& tarn = TARN();
    tarn.initialize();
    TarnDesign* current = tarn.design();
    g_trash = tarn.newDesign(kTrashDesignName);
    tarn.useDesign(current);
    g_trash->markForDeletion(true);
  }
  return g_trash;
}

TarnDesign* TarnInterface::trash() { return TrashDesign(); }

bool MoveToTrash(TarnObject* object) {
  if (object == nullptr || !object->isPersistent()) return false;
  TarnDesign* from = object->design();
  if (from == g_trash) return true;
  if (from->isSchemaDesign() || from == TARN().systemDesign()) {
    TARN().warning("Instances of schema designs can not be deleted");
    return false;
  }
  TarnExtent* target = TrashDesign()->dflt_section()->extent(object->domain(), true);
  TarnCursor::leaving(object);
  object->extent()->unlink(object);
  target->link(object);
  object->setTraversalMark(0);
  from->setModified(true);
  return true;
}

std::vector<TarnDesign*> RepairAndEmptyTrash() {
  TarnInterface& tarn = TARN();
  TarnDesign* system = tarn.systemDesign();
  std::vector<TarnDesign*> doomed, survivors;
  for (TarnDesign* d : tarn.designs()) {
    if (d == system || d == g_trash) continue;
    if (Doomed(d, system)) doomed.push_back(d);
    else survivors.push_back(d);
  }
  const bool trashed = g_trash != nullptr && g_trash->size() > 0;
  if (!doomed.empty() || trashed || g_forwardings > 0) {
    Repairer repair(system);
    for (TarnDesign* d : survivors)
      if (!d->isSchemaDesign() || g_schemaForwarded) repair.design(d);
  }
  g_forwardings = 0;
  g_schemaForwarded = false;
  // The trashed instances go before the designs whose storage they use.
  if (g_trash != nullptr) {
    DestroyTrashedInstances();
    doomed.insert(doomed.begin(), g_trash);
    g_trash = nullptr;
  }
  return doomed;
}

void ReleaseTrash() {
  DestroyTrashedInstances();
  g_trash = nullptr;
  g_forwardings = 0;
  g_schemaForwarded = false;
}

}  // namespace korva
