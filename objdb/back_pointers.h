// Back-pointers: for each instance of a design, the structure instances of
// the same design that refer to it.  The import and the update use them to
// find the relationship objects that point at an element without searching
// the whole design for each element (as usedin does).
//
// computeBackPointers(design) records them in one index owned by the
// design: for each structure instance X of the data sections and each
// attribute of X holding an object V, X is recorded on V when V is a
// structure of the design; when V is an aggregate or a select, the walk
// descends into it (nested aggregates and selects too) and records X on
// every structure found there.  X is recorded once per instance it refers
// to, however many of its attributes lead there, and the referrers of an
// instance are listed in discovery order (the cursor order of the design).
//
// The index is flat: every structure instance of the design gets a slot
// (TarnObject::indexSlot), the referrers of all slots lie in one array, and
// an offset per slot marks where each slot's referrers begin.  It is built
// in two walks over the design, one counting and one filling, in time
// linear in the references and without an allocation per instance;
// computing again reuses the arrays.  The index is not kept up to date by
// later writes: instances made afterwards have no referrers, and changed
// references are seen only when the index is computed again.  Emptying the
// trash repairs it like any other list of references (a forwarded referrer
// is replaced, one that goes with a deleted design is dropped), and
// emptying the design discards it.
#ifndef KORVA_OBJDB_BACK_POINTERS_H
#define KORVA_OBJDB_BACK_POINTERS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korva {

class TarnDesign;
class TarnObject;

// The referrers of one instance, in discovery order: a view into its
// design's index, valid until the index is computed, repaired or discarded
// again or the design goes.
class TarnReferrers {
 public:
  TarnReferrers() = default;
  TarnReferrers(TarnObject* const* first, uint32_t count) : first_(first), count_(count) {}

  uint32_t size() const { return count_; }
  uint32_t count() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Referrer `i`, or null past the end.
  TarnObject* get(uint32_t i) const { return i < count_ ? first_[i] : nullptr; }
  TarnObject* const* begin() const { return first_; }
  TarnObject* const* end() const { return first_ + count_; }

 private:
  TarnObject* const* first_ = nullptr;
  uint32_t count_ = 0;
};

// The back-pointers of one design (TarnDesign::backPointerIndex).
class TarnBackPointerIndex {
 public:
  // Gives every structure instance of `design` a slot and records the
  // referrers anew.
  void compute(TarnDesign* design);
  // Forgets every referrer and releases the arrays.
  void release();
  // The referrers of `instance`: empty for an instance without a slot in
  // this index (made after the computation, or of another design).
  TarnReferrers referrers(const TarnObject* instance) const;
  // Replaces every referrer r by replace(r), dropping those for which it
  // gives null; the order of the others stays.
  template <class F>
  void replaceReferrers(F replace);
  // Bytes held by the arrays (their capacity).
  size_t memoryUsage() const;

 private:
  // Keeps the first of each repeated referrer among `n`, in order; the
  // number left.
  static uint32_t keepFirstOfEach(TarnObject** referrers, uint32_t n);

  std::vector<uint32_t> offsets_;        // slot -> first referrer; one more than the slots
  std::vector<TarnObject*> referrers_;   // grouped by slot
};

// Computes the back-pointers of `design` (see above) and marks the design
// as having them.
void computeBackPointers(TarnDesign* design);

// Discards the back-pointers of `design` and clears its mark.
void discardBackPointers(TarnDesign* design);

// The referrers of `instance` in its design's back-pointers; empty when
// they have not been computed, for a free-standing instance and for null.
TarnReferrers backPointers(const TarnObject* instance);

template <class F>
void TarnBackPointerIndex::replaceReferrers(F replace) {
  uint32_t kept = 0;
  uint32_t begin = 0;
  for (size_t slot = 0; slot + 1 < offsets_.size(); ++slot) {
    const uint32_t end = offsets_[slot + 1];
    const uint32_t first = kept;
    offsets_[slot] = first;
    bool replaced = false;
    for (uint32_t i = begin; i < end; ++i) {
      TarnObject* r = replace(referrers_[i]);
      if (r == nullptr) continue;
      replaced = replaced || r != referrers_[i];
      referrers_[kept++] = r;
    }
    // A referrer replaced by one already listed is listed once.
    if (replaced) kept = first + keepFirstOfEach(&referrers_[first], kept - first);
    begin = end;
  }
  if (!offsets_.empty()) offsets_.back() = kept;
  referrers_.resize(kept);
}

}  // namespace korva

#endif  // KORVA_OBJDB_BACK_POINTERS_H
