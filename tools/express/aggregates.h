// The aggregate types a schema uses, and the aggregate classes generated for
// them.
//
// Aggregates are gathered from every explicit, derived and inverse attribute
// and from the underlying types of defined types, nested aggregates included.
//
// An aggregate class exists for each distinct (kind, element type) pair whose
// element is a named schema type -- entity, select, enumeration, defined type
// or, for nesting, another aggregate class -- named kind + "Of" + element:
// "SetOfIfcRepresentationItem", "ListOfIfcLengthMeasure",
// "ListOfListOfIfcCartesianPoint".  Bounds and UNIQUE/OPTIONAL do not make a
// new class.  Aggregates of simple types (LIST OF REAL, ...) get no class:
// the object store has its own for them.  Requires a resolved schema.
#pragma once

#include <string>
#include <vector>

#include "express/schema_model.h"

namespace korva::express {

// A distinct aggregate type as written: kind, bounds, flags and element.
struct AggregateType {
  std::string signature;  // TypeDesc::describe() of the aggregate: its identity
  const TypeDesc* desc = nullptr;  // the first use found
  int uses = 0;                    // number of places that use it
};

// Distinct aggregate types, sorted by signature.
std::vector<AggregateType> distinctAggregateTypes(const Schema& schema);

struct AggregateClass {
  std::string name;  // "SetOfIfcRepresentationItem"
  AggregateKind kind = AggregateKind::List;
  std::string elementName;  // "IfcRepresentationItem", or a nested class name
  const Declaration* element = nullptr;  // named element type; null when nested
};

// Distinct aggregate classes, sorted by name.
std::vector<AggregateClass> aggregateClasses(const Schema& schema);

// Class name for an aggregate type, or "" when its elements are simple values
// (or a nested aggregate of simple values).
std::string aggregateClassName(const TypeDesc& aggregate);

// "List", "Set", "Bag", "Array".
const char* aggregateClassPrefix(AggregateKind kind);

}  // namespace korva::express
