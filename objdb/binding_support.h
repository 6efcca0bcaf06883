// What the generated schema bindings build on: the object store's classes
// and the small helpers that the generated accessors call.
#ifndef KORVA_OBJDB_BINDING_SUPPORT_H
#define KORVA_OBJDB_BINDING_SUPPORT_H

#include <cstdint>

#include "objdb/aggregate.h"
#include "objdb/class_support.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/structure.h"
#include "objdb/union.h"

namespace korva {

// Resolves a reference field holding the unresolved marker in place; the
// field keeps the marker when the object cannot be found.
template <typename T>
void ResolveField(TarnObject* self, const char* attribute, T** field) {
  if (IsUnresolved(*field)) self->resolveField(attribute, field);
}

// A new empty aggregate of class T in the section of `owner`.
template <typename T>
T* NewAggregate(TarnObject* owner) {
  return new (owner->section(), nullptr, &T::classType) T();
}

// Select members by name ("_IfcLabel"): read when the member is the current
// one (reported otherwise), written by making it current.
TarnObject* SelectObject(TarnUnion* select, const char* member);
const char* SelectString(TarnUnion* select, const char* member);
double SelectReal(TarnUnion* select, const char* member);
int32_t SelectInteger(TarnUnion* select, const char* member);
void SetSelectObject(TarnUnion* select, const char* member, TarnObject* value);
void SetSelectString(TarnUnion* select, const char* member, const char* value);
void SetSelectReal(TarnUnion* select, const char* member, double value);
void SetSelectEnum(TarnUnion* select, const char* member, int32_t value);
void SetSelectInteger(TarnUnion* select, const char* member, int32_t value, const TarnType* as);

}  // namespace korva

#endif  // KORVA_OBJDB_BINDING_SUPPORT_H
