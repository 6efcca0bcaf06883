#include "objdb/dictionary.h"

#include <cstring>

#include "objdb/design.h"
#include "objdb/interface.h"
#include "objdb/text.h"

namespace korva {

namespace {
bool KeysEqual(const char* a, const char* b, bool noCase) {
  return noCase ? EqualNoCase(a, b) : std::strcmp(a, b) == 0;
}
}  // namespace

int TarnHashIndex::find(const char* key, bool noCase) const {
  if (key == nullptr || entries_.empty()) return -1;
  const uint32_t hash = HashKey(key);
  const size_t cap = entries_.size();
  for (size_t i = hash % cap, n = 0; n < cap; i = (i + 1) % cap, ++n) {
    const Entry& e = entries_[i];
    if (e.hash == 0) return -1;  // empty: the key is not here
    if (e.hash == hash && e.key != nullptr && KeysEqual(e.key, key, noCase)) return e.value;
  }
  return -1;
}

bool TarnHashIndex::place(uint32_t hash, const char* key, int value) {
  const size_t cap = entries_.size();
  for (size_t i = hash % cap, n = 0; n < cap; i = (i + 1) % cap, ++n) {
    Entry& e = entries_[i];
    if (e.hash == 0 || e.key == nullptr) {  // empty or deleted
      e.hash = hash;
      e.key = key;
      e.value = value;
      return true;
    }
  }
  TARN().report(1006);
  return false;
}

bool TarnHashIndex::insert(const char* key, int value) {
  if (static_cast<double>(count_ + 1) >= 0.7 * static_cast<double>(entries_.size())) {
    std::vector<Entry> old(entries_.size() * 3);
    old.swap(entries_);
    for (const Entry& e : old)
      if (e.hash != 0 && e.key != nullptr) place(e.hash, e.key, e.value);
  }
  if (!place(HashKey(key), key, value)) return false;
  ++count_;
  return true;
}

bool TarnHashIndex::remove(const char* key, bool noCase) {
  if (key == nullptr) return false;
  const uint32_t hash = HashKey(key);
  const size_t cap = entries_.size();
  for (size_t i = hash % cap, n = 0; n < cap; i = (i + 1) % cap, ++n) {
    Entry& e = entries_[i];
    if (e.hash == 0) return false;
    if (e.hash == hash && e.key != nullptr && KeysEqual(e.key, key, noCase)) {
      e.key = nullptr;  // deleted: keeps its hash so probing goes on past it
      --count_;
      return true;
    }
  }
  return false;
}

void TarnHashIndex::shiftDown(int value) {
  for (Entry& e : entries_)
    if (e.key != nullptr && e.value > value) --e.value;
}

// --- TarnDictionary -------------------------------------------------------

TarnDictionary::~TarnDictionary() {
  delete index_;
  // Lists of a free-standing dictionary are its own; those of a design's
  // dictionary go with the design.
  if (keys_ != nullptr && !keys_->inArena()) delete keys_;
  if (values_ != nullptr && !values_->inArena()) delete values_;
}

ListOfSTR* TarnDictionary::listOfKeys() {
  if (keys_ == nullptr)
    keys_ = isPersistent() ? new (section(), nullptr, &ListOfSTR::classType) ListOfSTR() : new ListOfSTR();
  return keys_;
}

TarnAggregate* TarnDictionary::listOfValues() {
  if (values_ == nullptr) values_ = makeValues();
  return values_;
}

TarnAggregate* TarnDictionary::makeValues() {
  return isPersistent() ? new (section(), nullptr, &ListOfTarnObject::classType) ListOfTarnObject()
                        : new ListOfTarnObject();
}

void TarnDictionary::rebuildIndex() {
  delete index_;
  index_ = new TarnHashIndex();
  ListOfSTR* keys = listOfKeys();
  for (uint32_t i = 0; i < keys->count(); ++i) index_->insert(keys->get(i), static_cast<int>(i));
}

int TarnDictionary::find(const char* key) {
  if (key == nullptr) return -1;
  if (index_ == nullptr) rebuildIndex();
  return index_->find(key, noCase_);
}

bool TarnDictionary::addValue(const char* key, const void* value) {
  if (key == nullptr) return false;
  if (index_ == nullptr) rebuildIndex();
  ListOfSTR* keys = listOfKeys();
  TarnAggregate* values = listOfValues();
  if (!keys->add(const_cast<char*>(key))) return false;
  if (!values->putElement(value, static_cast<int>(keys->count() - 1))) {
    keys->removeAt(keys->count() - 1);
    return false;
  }
  // The index refers to the key as stored in the list.
  index_->insert(keys->get(keys->count() - 1), static_cast<int>(keys->count() - 1));
  return true;
}

bool TarnDictionary::removeAt(uint32_t index) {
  ListOfSTR* keys = listOfKeys();
  if (index >= keys->count()) return false;
  if (index_ == nullptr) rebuildIndex();
  index_->remove(keys->get(index), false);
  keys->removeAt(index);
  listOfValues()->removeAt(index);
  index_->shiftDown(static_cast<int>(index));
  return true;
}

}  // namespace korva
