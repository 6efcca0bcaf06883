#include "objdb/aggregate.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/process_state.h"
#include "objdb/value_index.h"

namespace korva {
namespace {

// Writes to an element beyond the size land here and are lost.
alignas(16) char g_scratch[16];

void ReportBounds(int index, uint32_t size) {
  TARN().error("Bounds violation ... index(%d) >= size(%d)", index, static_cast<int>(size));
}

// Sets below this size are searched element by element.
constexpr uint32_t kIndexedSetSize = 32;

TarnValueIndexTable& Indexes() { return TarnProcessState::get().valueIndexes(); }

}  // namespace

TarnAggregate::~TarnAggregate() {
  dropIndex();
  if (heapBlock_) std::free(data_);
}

void TarnAggregate::dropIndex() {
  if (!indexed_) return;
  indexed_ = false;
  Indexes().erase(this);
}

TarnAggregate::ValueIndex* TarnAggregate::valueIndex() {
  if (!indexed_) return nullptr;
  auto it = Indexes().find(this);
  return it != Indexes().end() ? it->second.get() : nullptr;
}

void TarnAggregate::indexAppended(ValueIndex* index, uint32_t position) {
  const void* record = elementAt(position);
  if (elementType()->nodeType() == kNodeString) {
    const char* text = *static_cast<char* const*>(record);
    if (text != nullptr) index->texts.emplace(text, position);
  } else {
    uint64_t key = 0;
    std::memcpy(&key, record, elementSize());
    index->words.emplace(key, position);
  }
}

uint32_t TarnAggregate::elementSize() {
  if (elementSize_ == 0) elementSize_ = recordSize();
  return elementSize_;
}

const TarnType* TarnAggregate::elementType() { return slotType(nullptr); }

uint32_t TarnAggregate::recordSize() {
  const TarnType* t = slotType(nullptr);
  if (t != &kUnknownType) return IsObjectNode(t->nodeType()) ? sizeof(void*) : t->recordSize();
  TarnDomain* d = domain();
  if (d == nullptr) {
    TARN().error("%s: No domain for class '%s'", "TarnAggregate::recordSize", typePtr()->name());
    return 0;
  }
  TarnAttribute* element = d->findAttribute(nullptr);
  if (element == nullptr) {
    TARN().error("%s: No attribute for class '%s'", "TarnAggregate::recordSize", typePtr()->name());
    return 0;
  }
  t = TarnObject::slotType(element);
  return IsObjectNode(t->nodeType()) ? sizeof(void*) : t->recordSize();
}

const TarnType* TarnAggregate::slotType(TarnAttribute* attribute) {
  if (attribute == nullptr) {
    TarnDomain* d = extent() != nullptr || const_cast<TarnType*>(typePtr())->boundDomain() != nullptr
                        ? domain() : nullptr;
    attribute = d != nullptr ? d->findAttribute(nullptr) : nullptr;
    if (attribute == nullptr) return &kUnknownType;
  }
  return TarnObject::slotType(attribute);
}

TarnAttribute* TarnAggregate::getAttribute(const void*) { return elementAttribute(); }

void* TarnAggregate::_allocateElements(uint32_t n) {
  size_t bytes = static_cast<size_t>(n) * elementSize();
  if (bytes == 0) return nullptr;
  if (isPersistent()) return allocate(bytes);
  heapBlock_ = true;
  void* block = std::malloc(bytes);
  if (block == nullptr) TARN().report(1028);
  return block;
}

void TarnAggregate::initialize(uint32_t n, bool filled) {
  if (n == 0) return;
  data_ = _allocateElements(n);
  capacity_ = n;
  if (filled) {
    std::memset(data_, 0, static_cast<size_t>(n) * elementSize());
    size_ = n;
  }
}

bool TarnAggregate::capacity(uint32_t n) {
  if (n < size_) n = size_;
  if (n == capacity_) return true;
  const bool wasHeap = heapBlock_;
  void* old = data_;
  heapBlock_ = false;
  void* block = _allocateElements(n);
  if (block == nullptr && n > 0) return false;
  if (size_ > 0) std::memcpy(block, old, static_cast<size_t>(size_) * elementSize());
  if (wasHeap) std::free(old);
  data_ = block;
  capacity_ = n;
  return true;
}

bool TarnAggregate::reserve(uint32_t n) {
  if (n <= capacity_) return true;
  uint32_t c = capacity_ * 2 + 2;
  while (c < n) c *= 2;
  return capacity(c);
}

bool TarnAggregate::size(uint32_t newSize, int position) {
  const uint32_t s = size_;
  if (newSize == s) return true;
  if (position == -1) position = static_cast<int>(newSize > s ? s : newSize);
  if (position < 0 || static_cast<uint32_t>(position) > s) {
    ReportBounds(position, s);
    return false;
  }
  const uint32_t p = static_cast<uint32_t>(position);
  if (newSize < s || p < s) dropIndex();  // records move or go
  const size_t rec = elementSize();
  char* base;
  if (newSize > s) {
    if (!reserve(newSize)) return false;
    base = static_cast<char*>(data_);
    const uint32_t gap = newSize - s;
    std::memmove(base + (p + gap) * rec, base + p * rec, (s - p) * rec);
    std::memset(base + p * rec, 0, gap * rec);
    modified();
  } else {
    const uint32_t cut = s - newSize;
    if (p + cut > s) {
      ReportBounds(position, s);
      return false;
    }
    base = static_cast<char*>(data_);
    std::memmove(base + p * rec, base + (p + cut) * rec, (s - p - cut) * rec);
  }
  size_ = newSize;
  return true;
}

void* TarnAggregate::slotAddress(TarnAttribute*, int index) {
  if (index >= 0 && static_cast<uint32_t>(index) < size_) return elementAt(static_cast<uint32_t>(index));
  std::memset(g_scratch, 0, sizeof g_scratch);
  return g_scratch;
}

bool TarnAggregate::putValue(TarnAttribute* attribute, int index, const void* in, const TarnType* as) {
  dropIndex();
  const uint32_t oldSize = size_;
  if (index < 0) index = static_cast<int>(size_);
  const uint32_t i = static_cast<uint32_t>(index);
  if (i >= size_) {
    if (!reserve(i + 1)) return false;
    std::memset(elementAt(size_), 0, static_cast<size_t>(i + 1 - size_) * elementSize());
    size_ = i + 1;
  }
  if (TarnObject::putValue(attribute, index, in, as)) return true;
  size_ = oldSize;
  return false;
}

bool TarnAggregate::acceptsValue(const void*, int) { return true; }

bool TarnAggregate::add(TarnObject* object) { return insertValue(&object, -1); }

void TarnAggregate::storeElement(void* slot, const void* value) {
  const TarnType* t = elementType();
  if (t->nodeType() == kNodeString) {
    *static_cast<char**>(slot) = copyString(*static_cast<char* const*>(value));
  } else {
    std::memcpy(slot, value, elementSize());
  }
}

bool TarnAggregate::sameElement(const void* a, const void* b) {
  const TarnType* t = elementType();
  if (t->nodeType() == kNodeString) {
    const char* x = *static_cast<char* const*>(a);
    const char* y = *static_cast<char* const*>(b);
    return x == y || (x != nullptr && y != nullptr && std::strcmp(x, y) == 0);
  }
  return std::memcmp(a, b, elementSize()) == 0;
}

int TarnAggregate::findValue(const void* value) {
  const bool text = elementType()->nodeType() == kNodeString;
  if (kind() == AggregateKind::kSet && size_ >= kIndexedSetSize && (text || elementSize() <= 8)) {
    ValueIndex* idx = valueIndex();
    if (idx == nullptr) {
      auto made = std::make_unique<ValueIndex>();
      idx = made.get();
      for (uint32_t i = 0; i < size_; ++i) indexAppended(idx, i);
      Indexes()[this] = std::move(made);
      indexed_ = true;
    }
    if (text) {
      const char* t = *static_cast<char* const*>(value);
      if (t == nullptr) return -1;
      auto it = idx->texts.find(t);
      return it != idx->texts.end() ? static_cast<int>(it->second) : -1;
    }
    uint64_t key = 0;
    std::memcpy(&key, value, elementSize());
    auto it = idx->words.find(key);
    return it != idx->words.end() ? static_cast<int>(it->second) : -1;
  }
  for (uint32_t i = 0; i < size_; ++i)
    if (sameElement(elementAt(i), value)) return static_cast<int>(i);
  return -1;
}

bool TarnAggregate::insertValue(const void* value, int position) {
  if (!acceptsValue(value, position)) return false;
  if (position == -1) position = static_cast<int>(size_);
  if (position < 0 || static_cast<uint32_t>(position) > size_) {
    ReportBounds(position, size_);
    return false;
  }
  if (size_ == capacity_ && !capacity(capacity_ * 2 + 2)) return false;
  const uint32_t oldSize = size_;
  if (!size(size_ + 1, position)) return false;
  storeElement(elementAt(static_cast<uint32_t>(position)), value);
  modified();
  if (ValueIndex* idx = valueIndex()) {
    if (static_cast<uint32_t>(position) == oldSize) indexAppended(idx, oldSize);
    else dropIndex();
  }
  return true;
}

bool TarnAggregate::putElement(const void* value, int index) {
  if (index == -1) return insertValue(value, -1);
  if (index < 0) return false;
  if (!acceptsValue(value, index)) return false;
  const uint32_t i = static_cast<uint32_t>(index);
  // Appending keeps the index; overwriting or leaving a gap drops it.
  ValueIndex* idx = i == size_ ? valueIndex() : nullptr;
  if (idx == nullptr) dropIndex();
  if (i >= size_) {
    if (i >= capacity_) {
      uint32_t c = capacity_ * 2 + 2;
      while (c <= i) c *= 2;
      if (!capacity(c)) return false;
    }
    std::memset(elementAt(size_), 0, static_cast<size_t>(i + 1 - size_) * elementSize());
    size_ = i + 1;
  }
  modified();
  storeElement(elementAt(i), value);
  if (idx != nullptr) indexAppended(idx, i);
  return true;
}

bool TarnAggregate::removeAt(uint32_t index) {
  if (index >= size_) return false;
  return size(size_ - 1, static_cast<int>(index));
}

void TarnAggregate::display(std::FILE* out) {
  std::fprintf(out, "%s[%d]:\n", domainName(), static_cast<int>(size_));
}

TarnObject* TarnAggregate::getObject(int index) { return TarnObject::getObject(elementAttribute(), index); }
double TarnAggregate::getDouble(int index) { return TarnObject::getDouble(elementAttribute(), index); }
int TarnAggregate::getInteger(int index) { return TarnObject::getInteger(elementAttribute(), index); }
const char* TarnAggregate::getString(int index) { return TarnObject::getString(elementAttribute(), index); }
bool TarnAggregate::putObject(TarnObject* v, int index) { return TarnObject::putObject(v, elementAttribute(), index); }
bool TarnAggregate::putDouble(double v, int index) { return TarnObject::putDouble(v, elementAttribute(), index); }
bool TarnAggregate::putInteger(int v, int index) { return TarnObject::putInteger(v, elementAttribute(), index); }
bool TarnAggregate::putString(const char* v, int index) { return TarnObject::putString(v, elementAttribute(), index); }

// Object references.
const TarnType* TarnPtrAggregate::slotType(TarnAttribute*) { return &TarnObject::classType; }

bool TarnPtrAggregate::add(TarnObject* object) { return insert(object, -1); }

TarnObject* TarnPtrAggregate::get(uint32_t index) {
  if (index >= size_) return nullptr;
  TarnObject** slot = static_cast<TarnObject**>(elementAt(index));
  if (IsUnresolved(*slot)) {
    dropIndex();  // the record changes from a marker to the object
    if (!resolveSlot(elementAttribute(), static_cast<int>(index), slot)) return nullptr;
  }
  return *slot;
}

bool TarnPtrAggregate::insert(TarnObject* object, int position) { return insertValue(&object, position); }

bool TarnPtrAggregate::put(TarnObject* object, int index) { return putElement(&object, index); }

bool TarnPtrAggregate::addIfAbsent(TarnObject* object) {
  if (object == nullptr || find(object) != -1) return false;
  return insert(object, -1);
}

bool TarnPtrAggregate::append(TarnObject* object) {
  if (object == nullptr) return false;
  return insert(object, -1);
}

int TarnPtrAggregate::find(TarnObject* object) {
  if (object == nullptr || object->typePtr() == nullptr) return -1;
  for (uint32_t i = 0; i < size_; ++i) {
    TarnObject* element = get(i);
    if (element != nullptr && element->isSame(object)) return static_cast<int>(i);
  }
  return -1;
}

int TarnPtrAggregate::findPointer(const void* pointer) const {
  if (pointer == nullptr) return -1;
  TarnObject* const* elements = static_cast<TarnObject* const*>(data_);
  for (uint32_t i = 0; i < size_; ++i)
    if (elements[i] == pointer) return static_cast<int>(i);
  return -1;
}

void TarnPtrAggregate::removeAll(TarnObject* object) {
  for (int i = find(object); i != -1; i = find(object)) removeAt(static_cast<uint32_t>(i));
}

const TarnType* TarnEnumAggregate::slotType(TarnAttribute* attribute) {
  const TarnType* t = TarnAggregate::slotType(attribute);
  return t == &kUnknownType ? &kEnumType : t;
}

// acceptsValue by kind: sets keep one of each value; strings and objects
// refuse null.
namespace {
bool RefusesNull(TarnAggregate* a, const void* value) {
  int node = a->elementType()->nodeType();
  if (node == kNodeString || IsObjectNode(node)) return *static_cast<void* const*>(value) == nullptr;
  return false;
}
}  // namespace

#define KORVA_ACCEPTS(Name, IsSet)                                      \
  bool Name::acceptsValue(const void* value, int) {                     \
    if (RefusesNull(this, value)) return false;                         \
    return !(IsSet) || findValue(value) == -1;                          \
  }
KORVA_ACCEPTS(TarnList, false)
KORVA_ACCEPTS(TarnSet, true)
KORVA_ACCEPTS(TarnBag, false)
KORVA_ACCEPTS(TarnArray, false)
KORVA_ACCEPTS(TarnPtrList, false)
KORVA_ACCEPTS(TarnPtrSet, true)
KORVA_ACCEPTS(TarnPtrBag, false)
KORVA_ACCEPTS(TarnPtrArray, false)
KORVA_ACCEPTS(TarnEnumList, false)
KORVA_ACCEPTS(TarnEnumSet, true)
KORVA_ACCEPTS(TarnEnumBag, false)
KORVA_ACCEPTS(TarnEnumArray, false)
#undef KORVA_ACCEPTS

}  // namespace korva
