#include "objdb/back_pointers.h"

#include <algorithm>
#include <vector>

#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/union.h"

namespace korva {
namespace {

TarnBackPointers* RecordOf(TarnObject* object) {
  return dynamic_cast<TarnBackPointers*>(object->findManager(TarnManagerRecord::kBackPointers));
}

void DropRecords(TarnObject* object) {
  while (TarnManagerRecord* r = object->findManager(TarnManagerRecord::kBackPointers)) {
    object->detachManager(r);
    delete r;
  }
}

// The instance held in a reference slot of type `type`, or null for an
// empty slot or one that names an object not in memory.
TarnObject* Held(const TarnType* type, void* held) {
  if (held == nullptr || IsUnresolved(held)) return nullptr;
  return type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
}

// One pass of computeBackPointers over a design.
class Collector {
 public:
  explicit Collector(TarnDesign* design) : design_(design) {}

  // Records `x` on everything its attributes lead to.
  void referrer(TarnObject* x) {
    TarnDomain* domain = x->domain();
    if (domain == nullptr) return;
    for (TarnAttribute* a : domain->allAttributes()) {
      if (a->isDerived() || !a->hasSlot()) continue;
      if (a->inOverflow() && x->overflow() == nullptr) continue;
      const TarnType* type = x->slotType(a);
      if (!IsObjectNode(type->nodeType())) continue;
      void** slot = static_cast<void**>(x->slotAddress(a, 0));
      if (slot != nullptr) value(x, Held(type, *slot));
    }
  }

 private:
  void value(TarnObject* x, TarnObject* v) {
    if (v == nullptr) return;
    switch (v->typePtr()->nodeType()) {
      case kNodeStructure:
        if (v->design() == design_) record(v, x);
        break;
      case kNodeUnion:
        if (enter(v)) {
          TarnUnion* u = dynamic_cast<TarnUnion*>(v);
          TarnAttribute* member = u != nullptr ? u->attribute() : nullptr;
          if (member != nullptr && IsObjectNode(u->slotType(member)->nodeType()))
            value(x, Held(&TarnObject::classType, *static_cast<void**>(u->valueSlot())));
          leave();
        }
        break;
      case kNodeAggregate:
        if (enter(v)) {
          TarnAggregate* a = dynamic_cast<TarnAggregate*>(v);
          const TarnType* type = a != nullptr ? a->elementType() : nullptr;
          if (type != nullptr && IsObjectNode(type->nodeType())) {
            void** elements = static_cast<void**>(a->data());
            for (uint32_t i = 0; i < a->count(); ++i) value(x, Held(type, elements[i]));
          }
          leave();
        }
        break;
      default:
        break;
    }
  }

  // Appends `x` to the record of `v`.  All of x's references are followed
  // before the next referrer's, so a repeat is always the last entry.
  void record(TarnObject* v, TarnObject* x) {
    ListOfTarnObject* list = backPointers(v);
    const uint32_t n = list->count();
    if (n > 0 && static_cast<TarnObject**>(list->data())[n - 1] == x) return;
    list->insert(x, -1);
  }

  // Guards against aggregates and selects that contain themselves: one
  // already on the path of the current descent is not entered again.
  bool enter(TarnObject* v) {
    if (std::find(path_.begin(), path_.end(), v) != path_.end()) return false;
    path_.push_back(v);
    return true;
  }
  void leave() { path_.pop_back(); }

  TarnDesign* design_;
  std::vector<TarnObject*> path_;
};

template <typename F>
void ForEachInstance(TarnDesign* design, bool dataOnly, F f) {
  for (TarnSection* s : design->sections()) {
    if (dataOnly && s->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) f(o);
  }
}

}  // namespace

TarnBackPointers::TarnBackPointers() : list(new ListOfTarnObject()) {
  kind = kBackPointers;
  next = nullptr;
}

TarnBackPointers::~TarnBackPointers() { delete list; }

void discardBackPointers(TarnDesign* design) {
  if (design == nullptr) return;
  ForEachInstance(design, false, DropRecords);
  design->setHasBackPointers(false);
}

void computeBackPointers(TarnDesign* design) {
  if (design == nullptr) return;
  discardBackPointers(design);
  design->setHasBackPointers(true);
  Collector collector(design);
  // Referrers are the entity instances of the data sections; selects and
  // aggregates are searched as their values.
  ForEachInstance(design, true, [&collector](TarnObject* x) {
    if (x->typePtr()->nodeType() == kNodeStructure) collector.referrer(x);
  });
}

ListOfTarnObject* backPointers(TarnObject* instance) {
  if (instance == nullptr) return nullptr;
  TarnBackPointers* record = RecordOf(instance);
  if (record == nullptr) {
    record = new TarnBackPointers();
    instance->attachManager(record);
  }
  return record->list;
}

}  // namespace korva
