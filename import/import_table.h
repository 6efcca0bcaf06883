// One kind's records of an import: the counter the census and the fill
// pass advance, the records the fill pass writes, and the text those
// records hand out.
//
// Every table of the import (building elements and their points, analysis
// items, materials, profiles, units) is an ImportTable.  Where the import's
// families differ, a policy says how:
//   - past its capacity a table either refuses the record (next() gives
//     null and the counter stays: building elements, which never outgrow
//     their census) or grows (analysis items, which a model may group more
//     than once);
//   - a read outside the table either finds no record (find() gives null:
//     a getter returns 0 and leaves a text buffer alone) or a record of the
//     policy's choosing (the default record).
//
// String fields of the records point at kBlankField or at text owned by the
// design the table was filled from.  A table remembers the library state's
// generation when it was allocated; CopyText hands such text out only while
// the library state says that generation lives (a shutdown destroys every
// design).
#ifndef KORVA_IMPORT_IMPORT_TABLE_H
#define KORVA_IMPORT_IMPORT_TABLE_H

#include <cstddef>
#include <vector>

#include "import/import_state.h"

namespace korva {

// The library state's generation now (LibraryState::generation): text
// taken from a design in generation g is readable while g is live.
unsigned LiveGeneration();

// What a text getter hands out.  No getter writes more than
// kLongestText + 1 bytes into a host's buffer: a longer text is cut after
// kLongestText bytes, and a GlobalId longer than kGlobalIdLength characters
// is handed out empty (a cut GlobalId could name another object).
enum class TextKind { kText, kGlobalId };
constexpr size_t kLongestText = 255;
constexpr size_t kGlobalIdLength = 22;

// Whether `text` of that kind is handed out as it is.
bool FitsHost(const char* text, TextKind kind);

// Copies `text` with its terminator into `buffer`, within the bounds above.
// Nothing is copied for a null text or buffer, nor for text of generation
// `generation` that is no longer readable (kBlankField always is).
void CopyText(const char* text, unsigned generation, char* buffer, TextKind kind);

// A number that grows with every allocation of any table: a table whose
// allocation() is above a mark taken earlier was allocated since.
unsigned TableAllocations();
// Advances that number and returns it (for the tables themselves).
unsigned NextTableAllocation();

// Policies.  kGrows: next() past the capacity grows the table instead of
// refusing; Outside(): the record a read outside the table finds (null:
// none).
template <class Record>
struct CensusBound {
  static constexpr bool kGrows = false;
  static const Record* Outside() { return nullptr; }
};

template <class Record>
struct Growing {
  static constexpr bool kGrows = true;
  static const Record* Outside() {
    static const Record kDefault;
    return &kDefault;
  }
};

template <class Record, class Policy>
class ImportTable {
 public:
  // The census count until a fill allocates, then the index of the last
  // record filled (-1: none).
  int counter() const { return counter_; }
  void setCounter(int value) { counter_ = value; }
  int capacity() const { return static_cast<int>(records_.size()); }

  // Replaces the records by `capacity` default records (none when not
  // positive, or, without argument, as many as the counter says); the
  // counter becomes -1.
  void allocate() { allocate(counter_); }
  void allocate(long long capacity) {
    std::vector<Record> fresh(capacity > 0 ? static_cast<size_t>(capacity) : 0);
    records_.swap(fresh);
    counter_ = -1;
    generation_ = LiveGeneration();
    allocation_ = NextTableAllocation();
  }
  // Drops the records; the counter becomes `counter`.
  void release(int counter) {
    std::vector<Record>().swap(records_);
    counter_ = counter;
  }

  // Advances the counter to the next record and returns it.  Past the
  // capacity a growing table grows; any other returns null and leaves the
  // counter where it is, so that a host reading 0..counter stays in range.
  Record* next() {
    if (counter_ + 1 >= capacity()) {
      if (!Policy::kGrows) return nullptr;
      records_.resize(static_cast<size_t>(counter_) + 2);
    }
    return &records_[static_cast<size_t>(++counter_)];
  }

  // The record at `index`, or null outside the table (for the fill).
  Record* at(int index) {
    return index >= 0 && index < capacity() ? &records_[static_cast<size_t>(index)] : nullptr;
  }
  // The record a getter reads at `index`: outside the table, the policy's.
  const Record* find(int index) const {
    return index >= 0 && index < capacity() ? &records_[static_cast<size_t>(index)] : Policy::Outside();
  }

  // The interface object's generation when the table was allocated.
  unsigned generation() const { return generation_; }
  // When the table was allocated (TableAllocations()).
  unsigned allocation() const { return allocation_; }

 private:
  int counter_ = 0;
  unsigned generation_ = 0;
  unsigned allocation_ = 0;
  std::vector<Record> records_;
};

}  // namespace korva

#endif  // KORVA_IMPORT_IMPORT_TABLE_H
