// Class type records.  Every class of the object store, every generated IFC
// class and every primitive value type has one TarnType, created during
// static initialisation and registered through a static TarnTypePtr holder.
// A record ties the class to its EXPRESS domain (resolved lazily), knows the
// size of one instance or value, its type id and node type, where each of
// its ancestor parts lies inside an instance (used by typecast), the
// attributes the class declares with the position of their fields, and the
// functions that create, cast and convert its values.
//
// Registration closes when the interface object initialises: a holder made
// afterwards reports 1034 and stays unbound.
#ifndef KORVA_OBJDB_TARN_TYPE_H
#define KORVA_OBJDB_TARN_TYPE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "objdb/values.h"

namespace korva {

class TarnAttribute;
class TarnDesign;
class TarnDomain;
class TarnObject;
class TarnSection;
class TarnType;

// Makes an instance of the class in `section` of `design` (null section: the
// design's default section; null design: a free-standing instance).  The
// domain, when given, is the instance's domain (best-fit classes).
typedef TarnObject* (*TarnCreator)(TarnDesign* design, TarnSection* section, TarnDomain* domain);
// Converts the value at `in`, of type `from`, into a value of type `to`
// stored at `out` (or in a static buffer when `out` is null); returns where
// the value is, or null when the conversion is not defined.
typedef void* (*TarnPrimitiveCast)(const TarnType& to, const void* in, const TarnType& from,
                                   void* out);
// The TarnObject part of an object held through a pointer of the class.
typedef TarnObject* (*TarnObjectCast)(void* classPointer);
// Makes the class's prototype (a free-standing default instance).
typedef TarnObject* (*TarnPrototypeMaker)();
// Declares ancestors and own attributes of the class to its record.
typedef void (*TarnLayoutInitializer)(TarnType& type);

struct TarnSuperEntry {
  const TarnType* type;
  bool isVirtual;
  std::ptrdiff_t offset;  // of the ancestor part from the start of the full object
};

struct TarnEnumerator {
  const char* name;
  int32_t value;
};

// An attribute the class declares: name, type of its slot, and the position
// of its field from the start of the class's own part.
struct TarnDeclaredAttribute {
  const char* name;
  const TarnType* slotType;
  std::ptrdiff_t offset;
};

class TarnType {
 public:
  TarnType(const char* name, uint32_t size, int typeId, int nodeType,
                     const char* schema = nullptr)
      : name_(name), schema_(schema), size_(size), typeId_(typeId), nodeType_(nodeType) {}
  ~TarnType();  // deletes the prototype
  TarnType(const TarnType&) = delete;
  TarnType& operator=(const TarnType&) = delete;

  const char* name() const { return name_; }
  const char* schemaName() const { return schema_; }
  uint32_t recordSize() const { return size_; }
  int typeId() const { return typeId_; }
  int nodeType() const { return nodeType_; }
  bool isPrimitive() const { return nodeType_ > 0 && nodeType_ < 17; }

  // The domain this class represents, resolved on first use (the schema is
  // loaded when needed); null when it cannot be found.
  TarnDomain* domain();
  TarnDomain* boundDomain() const { return domain_; }
  void bindDomain(TarnDomain* domain) { domain_ = domain; }

  // Set for a class whose instances do work in activate(); activating a
  // design walks only the extents of such classes (a class that overrides
  // TarnObject::activate sets it next to its definition).
  bool activates = false;

  // Creation and casting.
  TarnCreator creator = nullptr;
  TarnPrimitiveCast convert = nullptr;
  TarnObjectCast objectCast = nullptr;
  TarnPrototypeMaker prototypeMaker = nullptr;
  TarnLayoutInitializer layoutInitializer = nullptr;

  // The class's prototype, made on first request; the record owns it.
  TarnObject* prototype();

  // Ancestors with the position of their parts; the layout initializer fills
  // them (and the own attributes) once, on first need.
  void ensureLayout();
  void addSuper(const TarnType* type, std::ptrdiff_t offset, bool isVirtual = true);
  const std::vector<TarnSuperEntry>& supers() { ensureLayout(); return supers_; }
  const TarnSuperEntry* findSuper(const TarnType* type);
  bool derivesFrom(const TarnType* type);  // itself or an ancestor
  void setDirectSuper(const TarnType* type) { directSuper_ = type; }
  const TarnType* directSuper() const { return directSuper_; }
  void declareAttribute(const char* name, const TarnType* slotType, std::ptrdiff_t offset);
  const std::vector<TarnDeclaredAttribute>& declaredAttributes() { ensureLayout(); return declared_; }

  // Enumerators (node type 16): names with their index values.
  void setEnumerators(const TarnEnumerator* table, int count) { enums_ = table; enumCount_ = count; }
  void setEnumerators(std::vector<std::string> names);  // owned copies, index = position
  int enumeratorCount() const { return enumCount_; }
  const TarnEnumerator& enumerator(int i) const { return enums_[i]; }
  // Name of the enumerator with `value` (by position first, then by value);
  // null when there is none.
  const char* enumeratorName(int32_t value) const;
  // Value of the enumerator `name` (exact, then without regard to case); -1.
  int32_t enumeratorValue(const char* name) const;

  // Aggregate classes: the kind's generic class and the element type.
  const TarnType* elementType = nullptr;

 private:
  const char* name_;
  const char* schema_;
  uint32_t size_;
  int typeId_;
  int nodeType_;
  TarnDomain* domain_ = nullptr;
  TarnObject* prototype_ = nullptr;
  bool layoutDone_ = false;
  const TarnType* directSuper_ = nullptr;
  std::vector<TarnSuperEntry> supers_;
  std::vector<TarnDeclaredAttribute> declared_;
  const TarnEnumerator* enums_ = nullptr;
  int enumCount_ = 0;
  std::vector<TarnEnumerator> ownedEnums_;
  std::vector<std::string> ownedEnumNames_;
};

// A static holder of a type record.  Construction during static
// initialisation enters the record in the registry; after the interface
// object has initialised, 1034 is reported and the holder stays unbound.
class TarnTypePtr {
 public:
  // `install` sets the class functions of the record when it is registered.
  explicit TarnTypePtr(TarnType* type, void (*install)(TarnType&) = nullptr);
  TarnType* get() const { return type_; }
  TarnType* operator->() const { return type_; }
  TarnType& operator*() const { return *type_; }
  explicit operator bool() const { return type_ != nullptr; }

 private:
  friend class TarnTypeRegistryAccess;
  TarnType* type_;
  TarnTypePtr* next_;
};

// The registered type records.
class TarnTypeRegistry {
 public:
  // The record of a class name (exact), or null.
  static TarnType* find(const char* name);
  // Every registered record, in registration order.
  static const std::vector<TarnType*>& all();
  // Closes registration (at initialisation) and reports whether it is closed.
  static void close();
  static bool closed();
  // Records made at run time (best-fit enumeration classes) are kept here.
  static TarnType* adopt(TarnType* type);
};

// The primitive value types, by node type (1..16); null for unused numbers.
const TarnType* PrimitiveType(int nodeType);
// "Unknown": the slot type given for a missing attribute.
extern TarnType kUnknownType;
// Primitive records, named as the C++ types they describe.
extern TarnType kIntType, kFloatType, kBooleanType, kLogicalType, kStrType, kOidType,
    kDoubleType, kByteType, kShortType, kLongType, kUShortType, kUIntType, kULongType,
    kCharType, kBinaryType, kEnumType;

// Converts between primitive kinds: the conversion function of every
// primitive record (see primitive_cast.cc for the rules).
void* ConvertPrimitive(const TarnType& to, const void* in, const TarnType& from, void* out);

}  // namespace korva

#endif  // KORVA_OBJDB_TARN_TYPE_H
