// String-keyed dictionaries stored as two parallel lists, listOfKeys and
// listOfValues, with an in-memory hash index over the keys built on first
// lookup.  Keys compare exactly by default or without regard to case; the
// choice may be switched for one lookup and restored.
//
// The index is open addressing with linear probing over (hash, key, value)
// entries: default capacity 200, tripled before an insertion that brings
// the count to 0.7 of the capacity; an entry with a hash but no key is a
// deleted entry, reused by insertion.  A full table reports 1006.
#ifndef KORVA_OBJDB_DICTIONARY_H
#define KORVA_OBJDB_DICTIONARY_H

#include <type_traits>
#include <vector>

#include "objdb/aggregate.h"
#include "objdb/structure.h"

namespace korva {

// The hash index alone.  Values are positions in the dictionary's lists.
class TarnHashIndex {
 public:
  explicit TarnHashIndex(uint32_t capacity = 200) : entries_(capacity) {}
  // Position of `key`, or -1.
  int find(const char* key, bool noCase) const;
  // Enters key -> value (the caller checked it is absent); false and 1006
  // when no slot can be found.
  bool insert(const char* key, int value);
  // Marks the entry of `key` deleted; false when absent.
  bool remove(const char* key, bool noCase);
  // Every value above `value` moves down by one (after a list removal).
  void shiftDown(int value);
  uint32_t capacity() const { return static_cast<uint32_t>(entries_.size()); }
  uint32_t count() const { return count_; }

 private:
  struct Entry {
    uint32_t hash = 0;
    const char* key = nullptr;
    int value = -1;
  };
  bool place(uint32_t hash, const char* key, int value);
  std::vector<Entry> entries_;
  uint32_t count_ = 0;
};

class TarnDictionary : public TarnStructure {
  TARN_CLASS(TarnDictionary)
 public:
  TarnDictionary() = default;
  ~TarnDictionary() override;

  ListOfSTR* listOfKeys();
  // The list of values; typed dictionaries make it of their value class.
  TarnAggregate* listOfValues();

  uint32_t count() { return listOfKeys()->size(); }
  // Position of `key`, -1 when absent or null.
  int find(const char* key);
  const char* keyAt(uint32_t i) { return listOfKeys()->get(i); }
  // Appends key and value (value points to one element of the value type).
  bool addValue(const char* key, const void* value);
  bool removeAt(uint32_t index);

  bool noCase() const { return noCase_; }
  // Switches the comparison; returns the previous choice.
  bool setNoCase(bool noCase) { bool old = noCase_; noCase_ = noCase; return old; }

  static void layout(TarnType& type);

 protected:
  virtual TarnAggregate* makeValues();
  void rebuildIndex();

  ListOfSTR* keys_ = nullptr;
  TarnAggregate* values_ = nullptr;

 private:
  TarnHashIndex* index_ = nullptr;
  bool noCase_ = false;
};

// Typed dictionaries: value lookup by key (null/0 when absent) and add.
template <typename V, class List>
class TarnTypedDictionary : public TarnDictionary {
 public:
  List* values() { return static_cast<List*>(listOfValues()); }
  bool add(const char* key, V value) {
    if constexpr (std::is_pointer<V>::value && !std::is_same<V, STR>::value) {
      TarnObject* object = value;  // object lists hold TarnObject pointers
      return addValue(key, &object);
    } else {
      return addValue(key, &value);
    }
  }
  V lookup(const char* key) {
    int i = find(key);
    return i < 0 ? V() : values()->get(static_cast<uint32_t>(i));
  }

 protected:
  TarnAggregate* makeValues() override;
};

template <typename V, class List>
TarnAggregate* TarnTypedDictionary<V, List>::makeValues() {
  return this->isPersistent() ? new (this->section(), nullptr, &List::classType) List() : new List();
}

#define TARN_DICTIONARY(Name, V, List)                         \
  class Name : public TarnTypedDictionary<V, List> {           \
    TARN_CLASS(Name)                                           \
   public:                                                     \
  };

TARN_DICTIONARY(DictionaryOfTarnObject, TarnObject*, ListOfTarnObject)
TARN_DICTIONARY(DictionaryOfString, STR, ListOfSTR)
TARN_DICTIONARY(DictionaryOfInteger, int, ListOfint)
TARN_DICTIONARY(DictionaryOfFloat, double, ListOfdouble)
TARN_DICTIONARY(DictionaryOfBoolean, TarnBoolean, ListOfTarnBoolean)

}  // namespace korva

#endif  // KORVA_OBJDB_DICTIONARY_H
