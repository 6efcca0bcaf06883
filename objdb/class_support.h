// Support for defining classes of the object store: the class functions
// every type record carries (creator, object cast, prototype) and the
// layout initializer that declares ancestor parts and own attribute fields.
//
//   TARN_DEFINE_CLASS(T, "Name", typeId, nodeType, schema, layout)
// defines T::classType and T::typeHolder; `layout` is a function
// void(TarnType&) or nullptr.
#ifndef KORVA_OBJDB_CLASS_SUPPORT_H
#define KORVA_OBJDB_CLASS_SUPPORT_H

#include <cstddef>

#include "objdb/design.h"
#include "objdb/tarn_object.h"

namespace korva {

template <class T>
struct TarnClassFunctions {
  // Free-standing without design and section; otherwise in the section (the
  // design's default section when none is given).
  static TarnObject* create(TarnDesign* design, TarnSection* section, TarnDomain* domain) {
    if (section == nullptr && design != nullptr) section = design->dflt_section();
    if (section == nullptr) return new T();
    return new (section, domain, &T::classType) T();
  }
  static TarnObject* cast(void* p) {
    return p == nullptr ? nullptr : static_cast<TarnObject*>(static_cast<T*>(p));
  }
  static TarnObject* prototype() { return new T(); }
  static void install(TarnType& type) {
    type.creator = &create;
    type.objectCast = &cast;
    type.prototypeMaker = &prototype;
  }
};

// Position of the part of class B inside an instance of T (T's prototype).
template <class T, class B>
std::ptrdiff_t PartOffset(T* proto) {
  return reinterpret_cast<char*>(static_cast<B*>(proto)) -
         static_cast<char*>(dynamic_cast<void*>(proto));
}

// Declares the ancestors Bases... of T with the positions of their parts.
template <class T, class... Bases>
void DeclareSupers(TarnType& type) {
  T* proto = static_cast<T*>(static_cast<void*>(nullptr));
  TarnObject* p = type.prototype();
  proto = dynamic_cast<T*>(p);
  if (proto == nullptr) return;
  (type.addSuper(&Bases::classType, PartOffset<T, Bases>(proto)), ...);
}

// Position of a field of T from the start of T's own part.
template <class T, typename F>
std::ptrdiff_t FieldOffset(T* proto, F* field) {
  return reinterpret_cast<char*>(field) - reinterpret_cast<char*>(proto);
}

#define TARN_DEFINE_CLASS(T, Name, TypeId, Node, Schema, Layout)                 \
  TarnType T::classType(Name, sizeof(T), TypeId, Node, Schema);                  \
  TarnTypePtr T::typeHolder(&T::classType, [](TarnType& t) {                     \
    TarnClassFunctions<T>::install(t);                                           \
    t.layoutInitializer = Layout;                                                \
  });

}  // namespace korva

#endif  // KORVA_OBJDB_CLASS_SUPPORT_H
