// How EXPRESS types are stored by the object store: the C++ field type of an
// attribute, its default value, the type record of its slot, and the name of
// the domain an attribute of that type has in the compiled dictionary.
#pragma once

#include <string>

#include "express/schema_model.h"

namespace korva::generator {

enum class FieldKind { Entity, Select, Enumeration, Integer, Real, Boolean, Logical, String, Binary, Aggregate };

struct FieldInfo {
  FieldKind kind = FieldKind::Integer;
  std::string cppType;       // "double", "char*", "IfcOwnerHistory*", "ListOfdouble*"
  std::string defaultValue;  // "0.0", "nullptr", "-1"
  std::string slotType;      // "&kDoubleType", "&IfcOwnerHistory::classType"
  std::string domain;        // dictionary domain of the attribute: "IfcLengthMeasure", "Float"
  std::string className;     // class of a reference, select or aggregate ("" otherwise)
  std::string valueType;     // accessor type: "double", "const char*", "IfcOwnerHistory*"
};

// Field description of an attribute (or select member) of type `type`.
FieldInfo DescribeField(const express::TypeDesc& type);

// Name of the domain of an aggregate type: kind + "Of" + element domain
// ("ListOfFloat", "SetOfIfcRepresentationItem", "ListOfListOfIfcCartesianPoint").
std::string AggregateDomainName(const express::TypeDesc& aggregate);

// Meta-schema names of the simple types.
const char* SimpleDomainName(express::SimpleKind kind);

// Base class and generic domain of the aggregate class or domain for an
// aggregate type: "ListOfdouble" / "TarnList", "TarnPtrSet", "TarnEnumList".
struct AggregateBase {
  std::string cppBase;     // class the generated aggregate class derives from
  std::string domainBase;  // generic meta domain its domain derives from
  bool objects = false;    // elements are object references
  std::string elementClass;  // for object elements: the element class
};
AggregateBase DescribeAggregate(const express::TypeDesc& aggregate);

// Whether the meta-schema already has a domain of this name.
bool IsMetaAggregate(const std::string& domainName);

}  // namespace korva::generator
