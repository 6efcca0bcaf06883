// Aggregates: EXPRESS LIST, SET, BAG and ARRAY values and the store's own
// lists.  An aggregate is a TarnObject holding a counted, growable block of
// fixed-size element records: numbers inline, strings as pointers to text
// owned with the aggregate, objects as TarnObject pointers (the unresolved
// marker in a persistent aggregate is resolved on read).
//
// Growth: an append into a full block grows the capacity to capacity*2+2;
// room for n records starts from capacity*2+2 and doubles until it fits.
// Out-of-range reads return a neutral value silently; out-of-range inserts
// and resizes report "Bounds violation ..." and change nothing.
#ifndef KORVA_OBJDB_AGGREGATE_H
#define KORVA_OBJDB_AGGREGATE_H

#include <cstring>

#include "objdb/tarn_object.h"

namespace korva {

enum class AggregateKind { kList = 1, kSet = 2, kBag = 3, kArray = 4 };

class TarnAggregate : public virtual TarnObject {
  TARN_CLASS(TarnAggregate)
 public:
  TarnAggregate() = default;
  ~TarnAggregate() override;

  using TarnObject::getAttribute;
  TarnAttribute* getAttribute(const void* slotAddress) override;
  bool size(uint32_t newSize, int position) override;
  uint32_t size() override { return size_; }
  uint32_t capacity() override { return capacity_; }
  bool capacity(uint32_t n) override;
  uint32_t recordSize() override;
  void display(std::FILE* out) override;
  void* data() override { return data_; }
  void* slotAddress(TarnAttribute* attribute, int index) override;
  const TarnType* slotType(TarnAttribute* attribute) override;
  // Writing at -1 appends; at or beyond the size the aggregate grows to
  // index+1 first (and shrinks back when the write is refused).
  bool putValue(TarnAttribute* attribute, int index, const void* in, const TarnType* as) override;

  // Appended virtual operations.
  virtual bool acceptsValue(const void* value, int index);
  virtual bool add(TarnObject* object);
  virtual void emptyYourself() {
    dropIndex();
    size_ = 0;
  }
  virtual void* _allocateElements(uint32_t n);
  virtual AggregateKind kind() const { return AggregateKind::kList; }

  uint32_t count() const { return size_; }
  // Bytes of one element record; the records lie one after the other from
  // data().
  uint32_t elementSize();
  // The element type (from the element attribute for generic classes).
  const TarnType* elementType();
  TarnAttribute* elementAttribute() { return getAttribute(static_cast<const char*>(nullptr)); }

  // Element readers and writers by index (typed, late-bound).
  using TarnObject::getObject;
  using TarnObject::putObject;
  TarnObject* getObject(int index);
  double getDouble(int index);
  int getInteger(int index);
  const char* getString(int index);
  bool putObject(TarnObject* value, int index);
  bool putDouble(double value, int index);
  bool putInteger(int value, int index);
  bool putString(const char* value, int index);

  // Generic element operations (value points to one element of the element
  // type; for objects to a TarnObject pointer).  insert at -1 appends;
  // put at -1 appends and at or beyond the size grows to index+1.
  bool insertValue(const void* value, int position);
  bool putElement(const void* value, int index);
  int findValue(const void* value);
  bool removeAt(uint32_t index);

  // Whether two element records hold the same value (strings by text,
  // objects by identity).
  bool sameElement(const void* a, const void* b);

  // Sets of more than a few elements keep an in-memory index of their
  // values, so that the uniqueness test of each insertion costs O(1) and
  // filling a set stays linear.  Code that writes element records directly
  // (through data()) calls dropIndex() afterwards.
  void dropIndex();
  class ValueIndex;

 protected:
  // Makes room for at least n records with the growth rule.
  bool reserve(uint32_t n);
  // Stores one element record (copies strings), after modified().
  void storeElement(void* slot, const void* value);
  void* elementAt(uint32_t i) { return static_cast<char*>(data_) + static_cast<size_t>(i) * elementSize(); }
  // Zero-filled storage for n records (arrays get a full block).
  void initialize(uint32_t n, bool filled);

  uint32_t size_ = 0;
  void* data_ = nullptr;
  uint32_t capacity_ = 0;

 private:
  ValueIndex* valueIndex();  // null when not indexed
  void indexAppended(ValueIndex* index, uint32_t position);

  uint32_t elementSize_ = 0;
  bool heapBlock_ = false;
  bool indexed_ = false;  // a ValueIndex exists for this aggregate
};

// The generic classes by kind: primitive elements (element type from the
// element attribute), object references (Ptr) and enumerations (Enum).
#define TARN_GENERIC_AGGREGATE(Name, Base, Kind)                         \
  class Name : public Base {                                             \
    TARN_CLASS(Name)                                                     \
   public:                                                               \
    Name() = default;                                                    \
    explicit Name(uint32_t n) { initialize(n, Kind == AggregateKind::kArray); } \
    AggregateKind kind() const override { return Kind; }                 \
    bool acceptsValue(const void* value, int index) override;            \
  };

class TarnPtrAggregate : public TarnAggregate {
 public:
  const TarnType* slotType(TarnAttribute* attribute) override;
  bool add(TarnObject* object) override;
  TarnObject* get(uint32_t index);
  TarnObject* first() { return get(0); }
  TarnObject* last() { return size_ == 0 ? nullptr : get(size_ - 1); }
  bool insert(TarnObject* object, int position = -1);
  bool put(TarnObject* object, int index = -1);
  bool addIfAbsent(TarnObject* object);
  bool append(TarnObject* object);
  int find(TarnObject* object);
  int findPointer(const void* pointer) const;
  void removeAll(TarnObject* object);
  bool contains(TarnObject* object) { return find(object) != -1; }
};

class TarnEnumAggregate : public TarnAggregate {
 public:
  const TarnType* slotType(TarnAttribute* attribute) override;
};

TARN_GENERIC_AGGREGATE(TarnList, TarnAggregate, AggregateKind::kList)
TARN_GENERIC_AGGREGATE(TarnSet, TarnAggregate, AggregateKind::kSet)
TARN_GENERIC_AGGREGATE(TarnBag, TarnAggregate, AggregateKind::kBag)
TARN_GENERIC_AGGREGATE(TarnArray, TarnAggregate, AggregateKind::kArray)
TARN_GENERIC_AGGREGATE(TarnPtrList, TarnPtrAggregate, AggregateKind::kList)
TARN_GENERIC_AGGREGATE(TarnPtrSet, TarnPtrAggregate, AggregateKind::kSet)
TARN_GENERIC_AGGREGATE(TarnPtrBag, TarnPtrAggregate, AggregateKind::kBag)
TARN_GENERIC_AGGREGATE(TarnPtrArray, TarnPtrAggregate, AggregateKind::kArray)
TARN_GENERIC_AGGREGATE(TarnEnumList, TarnEnumAggregate, AggregateKind::kList)
TARN_GENERIC_AGGREGATE(TarnEnumSet, TarnEnumAggregate, AggregateKind::kSet)
TARN_GENERIC_AGGREGATE(TarnEnumBag, TarnEnumAggregate, AggregateKind::kBag)
TARN_GENERIC_AGGREGATE(TarnEnumArray, TarnEnumAggregate, AggregateKind::kArray)

// Typed access over a generic base for element type E (int, double,
// TarnBoolean, float, STR).
template <typename E, class Base>
class TarnValueAggregate : public Base {
 public:
  TarnValueAggregate() = default;
  // Storage is made here, where the element class is known.
  explicit TarnValueAggregate(uint32_t n) { this->initialize(n, this->kind() == AggregateKind::kArray); }
  const TarnType* slotType(TarnAttribute*) override { return &ElementClass(); }
  E get(uint32_t i) { return i < this->size_ ? static_cast<E*>(this->data_)[i] : E(); }
  E first() { return get(0); }
  E last() { return this->size_ == 0 ? E() : get(this->size_ - 1); }
  int find(E value) { return this->findValue(&value); }
  bool contains(E value) { return find(value) != -1; }
  void removeAll(E value) {
    for (int i = find(value); i != -1; i = find(value)) this->removeAt(static_cast<uint32_t>(i));
  }
  using TarnAggregate::add;
  bool add(E value) { return this->insertValue(&value, -1); }
  bool put(E value, int index = -1) { return this->putElement(&value, index); }
  static const TarnType& ElementClass();
};

// Typed access over an object-reference base for element class T.
template <class T, class Base>
class TarnObjectAggregate : public Base {
 public:
  TarnObjectAggregate() = default;
  explicit TarnObjectAggregate(uint32_t n) { this->initialize(n, this->kind() == AggregateKind::kArray); }
  T* get(uint32_t i) { return typecast<T>(TarnPtrAggregate::get(i)); }
  T* first() { return get(0); }
  T* last() { return this->size_ == 0 ? nullptr : get(this->size_ - 1); }
};

// The element classes of the typed value aggregates (class_registry.cc).
#define TARN_ELEMENT_CLASS_DECLS(Base)                                               \
  template <> const TarnType& TarnValueAggregate<int, Base>::ElementClass();         \
  template <> const TarnType& TarnValueAggregate<double, Base>::ElementClass();      \
  template <> const TarnType& TarnValueAggregate<TarnBoolean, Base>::ElementClass(); \
  template <> const TarnType& TarnValueAggregate<float, Base>::ElementClass();       \
  template <> const TarnType& TarnValueAggregate<STR, Base>::ElementClass();
TARN_ELEMENT_CLASS_DECLS(TarnList)
TARN_ELEMENT_CLASS_DECLS(TarnSet)
TARN_ELEMENT_CLASS_DECLS(TarnBag)
TARN_ELEMENT_CLASS_DECLS(TarnArray)

#define TARN_VALUE_AGGREGATE(Name, E, Base)                                  \
  class Name : public TarnValueAggregate<E, Base> {                          \
    TARN_CLASS(Name)                                                         \
   public:                                                                   \
    Name() = default;                                                        \
    explicit Name(uint32_t n) : TarnValueAggregate<E, Base>(n) {}            \
  };

#define TARN_OBJECT_AGGREGATE(Name, T, Base)                                 \
  class Name : public TarnObjectAggregate<T, Base> {                         \
    TARN_CLASS(Name)                                                         \
   public:                                                                   \
    Name() = default;                                                        \
    explicit Name(uint32_t n) : TarnObjectAggregate<T, Base>(n) {}           \
  };

#define TARN_VALUE_FAMILY(Kind)                                 \
  TARN_VALUE_AGGREGATE(Kind##Ofint, int, Tarn##Kind)           \
  TARN_VALUE_AGGREGATE(Kind##Ofdouble, double, Tarn##Kind)     \
  TARN_VALUE_AGGREGATE(Kind##OfTarnBoolean, TarnBoolean, Tarn##Kind) \
  TARN_VALUE_AGGREGATE(Kind##Offloat, float, Tarn##Kind)       \
  TARN_VALUE_AGGREGATE(Kind##OfSTR, STR, Tarn##Kind)

TARN_VALUE_FAMILY(List)
TARN_VALUE_FAMILY(Set)
TARN_VALUE_FAMILY(Bag)
TARN_VALUE_FAMILY(Array)

TARN_OBJECT_AGGREGATE(ListOfTarnObject, TarnObject, TarnPtrList)
TARN_OBJECT_AGGREGATE(SetOfTarnObject, TarnObject, TarnPtrSet)
TARN_OBJECT_AGGREGATE(BagOfTarnObject, TarnObject, TarnPtrBag)
TARN_OBJECT_AGGREGATE(ArrayOfTarnObject, TarnObject, TarnPtrArray)

}  // namespace korva

#endif  // KORVA_OBJDB_AGGREGATE_H
