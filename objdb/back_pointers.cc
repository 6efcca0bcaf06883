#include "objdb/back_pointers.h"

#include <algorithm>
#include <unordered_set>

#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/downcast.h"
#include "objdb/extent_walk.h"
#include "objdb/union.h"
#include "platform/platform.h"

namespace korva {
namespace {

bool IsStructure(const TarnObject* o) { return o->typePtr()->nodeType() == kNodeStructure; }

// The instance held in a reference slot of type `type`, or null for an
// empty slot or one that names an object not in memory.
TarnObject* Held(const TarnType* type, void* held) {
  if (held == nullptr || IsUnresolved(held)) return nullptr;
  return type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
}

// Calls f(x, slots, n) for every referrer x of the design's data sections,
// in discovery order, with the index slots of the n structures of the
// design that x leads to (each once).
template <class F>
class ReferenceWalk {
 public:
  ReferenceWalk(TarnDesign* design, F& f) : design_(design), f_(f) {}

  void run() {
    ForEachDataExtent(design_, [this](TarnExtent* e) { extent(e); });
  }

 private:
  // Where an attribute that holds an object lies in every instance of an
  // extent, and the class of the slot.
  struct Field {
    const TarnType* type;
    int node;  // kNodeStructure for an entity class, else 0: ask the value
    std::ptrdiff_t offset;
    bool inOverflow;
  };

  void extent(TarnExtent* e) {
    TarnDomain* domain = e->domain();
    bool planned = false;
    for (TarnObject* x = e->first(); x != nullptr; x = x->nextInExtent()) {
      PrefetchFollowing(x);
      // Referrers are the entity instances; selects and aggregates are
      // searched as their values.
      if (!IsStructure(x)) continue;
      targets_.clear();
      if (domain == nullptr || domain->isComplex()) {
        general(x);
      } else {
        if (!planned) plan(x, domain);
        planned = true;
        // Instances of a type that holds no objects (points, directions)
        // lead nowhere: the rest of the extent need not be walked.
        if (fields_.empty()) return;
        char* base = static_cast<char*>(x->baseObject());
        char* overflow = static_cast<char*>(x->overflow());
        for (const Field& field : fields_) {
          if (field.inOverflow && overflow == nullptr) continue;
          void* held = *reinterpret_cast<void**>((field.inOverflow ? overflow : base) + field.offset);
          value(x, Held(field.type, held), field.node);
        }
      }
      finish(x);
    }
  }

  static constexpr size_t kFewTargets = 16;

  // Hands the structures x leads to over, each once.
  void finish(TarnObject* x) {
    if (targets_.empty()) return;
    if (targets_.size() > kFewTargets) {
      std::sort(targets_.begin(), targets_.end());
      targets_.erase(std::unique(targets_.begin(), targets_.end()), targets_.end());
    } else if (targets_.size() > 1) {
      // Most referrers lead to a few structures: looking back costs less
      // than sorting.
      size_t kept = 1;
      for (size_t i = 1; i < targets_.size(); ++i) {
        const uint32_t t = targets_[i];
        if (std::find(targets_.begin(), targets_.begin() + kept, t) == targets_.begin() + kept) targets_[kept++] = t;
      }
      targets_.resize(kept);
    }
    f_(x, targets_.data(), targets_.size());
  }

  // The attributes of the extent's instances that hold objects.
  void plan(TarnObject* first, TarnDomain* domain) {
    fields_.clear();
    for (TarnAttribute* a : domain->allAttributes()) {
      if (a->isDerived() || !a->hasSlot()) continue;
      const TarnType* type = first->slotType(a);
      if (IsObjectNode(type->nodeType())) fields_.push_back({type, EntityNode(type), a->offset(), a->inOverflow()});
    }
  }

  // A referrer of a complex domain, attribute by attribute.
  void general(TarnObject* x) {
    TarnDomain* domain = x->domain();
    if (domain == nullptr) return;
    for (TarnAttribute* a : domain->allAttributes()) {
      if (a->isDerived() || !a->hasSlot()) continue;
      if (a->inOverflow() && x->overflow() == nullptr) continue;
      const TarnType* type = x->slotType(a);
      if (!IsObjectNode(type->nodeType())) continue;
      void** slot = static_cast<void**>(x->slotAddress(a, 0));
      if (slot != nullptr) value(x, Held(type, *slot), 0);
    }
  }

  // A slot of an entity class holds structures only: their kind need not
  // be asked for.
  static int EntityNode(const TarnType* type) {
    return type->nodeType() == kNodeStructure ? kNodeStructure : 0;
  }

  // Records x on the structure v, or on the structures inside the select
  // or aggregate v; `node` is v's kind when the slot tells it, else 0.
  void value(TarnObject* x, TarnObject* v, int node) {
    if (v == nullptr) return;
    switch (node != 0 ? node : v->typePtr()->nodeType()) {
      case kNodeStructure:
        if (v->design() == design_) targets_.push_back(v->indexSlot());
        break;
      case kNodeUnion:
        if (enter(v)) {
          TarnUnion* u = toUnion_(v);
          TarnAttribute* member = u != nullptr ? u->attribute() : nullptr;
          if (member != nullptr && IsObjectNode(u->slotType(member)->nodeType()))
            value(x, Held(&TarnObject::classType, *static_cast<void**>(u->valueSlot())), 0);
          leave();
        }
        break;
      case kNodeAggregate:
        if (enter(v)) {
          TarnAggregate* a = toAggregate_(v);
          const TarnType* type = a != nullptr ? a->elementType() : nullptr;
          if (type != nullptr && IsObjectNode(type->nodeType())) {
            const int elements = EntityNode(type);
            void** held = static_cast<void**>(a->data());
            for (uint32_t i = 0; i < a->count(); ++i) value(x, Held(type, held[i]), elements);
          }
          leave();
        }
        break;
      default:
        break;
    }
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
  F& f_;
  std::vector<TarnObject*> path_;
  std::vector<Field> fields_;
  std::vector<uint32_t> targets_;  // of the current referrer
  TarnDowncast<TarnUnion> toUnion_;
  TarnDowncast<TarnAggregate> toAggregate_;
};

template <class F>
void WalkReferences(TarnDesign* design, F f) {
  ReferenceWalk<F>(design, f).run();
}

// Room for n elements in `v`, whose contents may go.  A large new block is
// advised to large pages (with room for the whole pages to cover it), so
// that its first touch costs a fault per 2 MB rather than per page.
template <class T>
void Reserve(std::vector<T>* v, size_t n) {
  if (v->capacity() >= n) return;
  constexpr size_t kLarge = size_t{2} << 20;
  std::vector<T>().swap(*v);
  v->reserve(n * sizeof(T) >= kLarge ? n + kLarge / sizeof(T) : n);
  if (n * sizeof(T) >= kLarge) platform::AdviseLargePages(v->data(), v->capacity() * sizeof(T));
}

}  // namespace

void TarnBackPointerIndex::compute(TarnDesign* design) {
  // Slots: every structure instance of the design, in every section.
  uint32_t slots = 0;
  for (TarnSection* s : design->sections())
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        PrefetchFollowing(o);
        if (IsStructure(o)) o->setIndexSlot(slots++);
      }

  // Count the referrers of each slot into the place after it, so that the
  // running sum leaves every slot's start in its own place.
  Reserve(&offsets_, static_cast<size_t>(slots) + 1);
  offsets_.assign(static_cast<size_t>(slots) + 1, 0);
  uint32_t* counts = offsets_.data() + 1;
  WalkReferences(design, [counts](TarnObject*, const uint32_t* targets, size_t n) {
    for (size_t i = 0; i < n; ++i) ++counts[targets[i]];
  });
  for (uint32_t slot = 0; slot < slots; ++slot) offsets_[slot + 1] += offsets_[slot];

  // Fill each slot in the same order, its offset serving as the cursor:
  // afterwards it holds the slot's end, which is the next slot's start.
  Reserve(&referrers_, offsets_[slots]);
  referrers_.resize(offsets_[slots]);
  uint32_t* cursor = offsets_.data();
  TarnObject** out = referrers_.data();
  WalkReferences(design, [cursor, out](TarnObject* x, const uint32_t* targets, size_t n) {
    for (size_t i = 0; i < n; ++i) out[cursor[targets[i]]++] = x;
  });
  std::copy_backward(offsets_.begin(), offsets_.end() - 1, offsets_.end());
  offsets_[0] = 0;
}

void TarnBackPointerIndex::release() {
  std::vector<uint32_t>().swap(offsets_);
  std::vector<TarnObject*>().swap(referrers_);
}

TarnReferrers TarnBackPointerIndex::referrers(const TarnObject* instance) const {
  const uint32_t slot = instance->indexSlot();
  if (static_cast<size_t>(slot) + 1 >= offsets_.size()) return TarnReferrers();
  const uint32_t first = offsets_[slot];
  return TarnReferrers(referrers_.data() + first, offsets_[slot + 1] - first);
}

uint32_t TarnBackPointerIndex::keepFirstOfEach(TarnObject** referrers, uint32_t n) {
  std::unordered_set<const TarnObject*> seen;
  uint32_t kept = 0;
  for (uint32_t i = 0; i < n; ++i)
    if (seen.insert(referrers[i]).second) referrers[kept++] = referrers[i];
  return kept;
}

size_t TarnBackPointerIndex::memoryUsage() const {
  return offsets_.capacity() * sizeof(uint32_t) + referrers_.capacity() * sizeof(TarnObject*);
}

void discardBackPointers(TarnDesign* design) {
  if (design == nullptr) return;
  if (TarnBackPointerIndex* index = design->backPointerIndex(false)) index->release();
  design->setHasBackPointers(false);
}

void computeBackPointers(TarnDesign* design) {
  if (design == nullptr) return;
  design->backPointerIndex(true)->compute(design);
  design->setHasBackPointers(true);
}

TarnReferrers backPointers(const TarnObject* instance) {
  TarnDesign* design = instance != nullptr ? instance->design() : nullptr;
  TarnBackPointerIndex* index = design != nullptr ? design->backPointerIndex(false) : nullptr;
  return index != nullptr ? index->referrers(instance) : TarnReferrers();
}

}  // namespace korva
