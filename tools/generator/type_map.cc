#include "generator/type_map.h"

#include "express/aggregates.h"

namespace korva::generator {

using express::DeclKind;
using express::SimpleKind;
using express::TypeDesc;

const char* SimpleDomainName(SimpleKind kind) {
  switch (kind) {
    case SimpleKind::Integer: return "Integer";
    case SimpleKind::Real: return "Float";
    case SimpleKind::Number: return "Float";
    case SimpleKind::Boolean: return "Boolean";
    case SimpleKind::Logical: return "LOGICAL";
    case SimpleKind::String: return "String";
    case SimpleKind::Binary: return "Binary";
  }
  return "Undefined";
}

namespace {

// C++ element type of the store's typed aggregates for a simple kind.
const char* SimpleElementClass(SimpleKind kind) {
  switch (kind) {
    case SimpleKind::Integer: return "int";
    case SimpleKind::Real: case SimpleKind::Number: return "double";
    case SimpleKind::Boolean: case SimpleKind::Logical: return "TarnBoolean";
    case SimpleKind::String: return "STR";
    case SimpleKind::Binary: return "";
  }
  return "";
}

FieldInfo Simple(SimpleKind kind) {
  FieldInfo f;
  f.domain = SimpleDomainName(kind);
  switch (kind) {
    case SimpleKind::Integer:
      f = {FieldKind::Integer, "int32_t", "0", "&kIntType", f.domain, "", "int32_t"};
      break;
    case SimpleKind::Real: case SimpleKind::Number:
      f = {FieldKind::Real, "double", "0.0", "&kDoubleType", f.domain, "", "double"};
      break;
    case SimpleKind::Boolean:
      f = {FieldKind::Boolean, "TarnBoolean", "0", "&kBooleanType", f.domain, "", "TarnBoolean"};
      break;
    case SimpleKind::Logical:
      f = {FieldKind::Logical, "TarnLogical", "0", "&kLogicalType", f.domain, "", "TarnLogical"};
      break;
    case SimpleKind::String:
      f = {FieldKind::String, "char*", "nullptr", "&kStrType", f.domain, "", "const char*"};
      break;
    case SimpleKind::Binary:
      f = {FieldKind::Binary, "BINARY", "{}", "&kBinaryType", f.domain, "", "BINARY"};
      break;
  }
  return f;
}

// The element domain name used inside aggregate domain names.
std::string ElementDomainName(const TypeDesc& element) {
  switch (element.kind) {
    case TypeDesc::Kind::Simple: return SimpleDomainName(element.simple);
    case TypeDesc::Kind::Named: return element.target != nullptr ? element.target->name : element.name;
    case TypeDesc::Kind::Aggregate: return AggregateDomainName(element);
  }
  return "Undefined";
}

}  // namespace

std::string AggregateDomainName(const TypeDesc& aggregate) {
  return std::string(express::aggregateClassPrefix(aggregate.aggregate)) + "Of" +
         ElementDomainName(*aggregate.element);
}

bool IsMetaAggregate(const std::string& name) {
  static const char* const kMeta[] = {
      "ListOfString", "ListOfInteger", "ListOfBoolean", "ListOfFloat",
      "SetOfString",  "SetOfInteger",  "SetOfBoolean",  "SetOfFloat",
      "BagOfString",  "BagOfInteger",  "BagOfBoolean",  "BagOfFloat",
      "ArrayOfString", "ArrayOfInteger", "ArrayOfBoolean", "ArrayOfFloat"};
  for (const char* m : kMeta)
    if (name == m) return true;
  return false;
}

AggregateBase DescribeAggregate(const TypeDesc& aggregate) {
  const std::string kind = express::aggregateClassPrefix(aggregate.aggregate);
  AggregateBase base;
  FieldInfo element = DescribeField(*aggregate.element);
  switch (element.kind) {
    case FieldKind::Entity: case FieldKind::Select: case FieldKind::Aggregate:
      base.objects = true;
      base.cppBase = "TarnPtr" + kind;
      base.domainBase = "TarnPtr" + kind;
      base.elementClass = element.className;
      break;
    case FieldKind::Enumeration:
      base.cppBase = "TarnEnum" + kind;
      base.domainBase = "TarnEnum" + kind;
      break;
    default: {
      const TypeDesc& u = express::underlyingType(*aggregate.element);
      const char* cls = u.kind == TypeDesc::Kind::Simple ? SimpleElementClass(u.simple) : "";
      base.cppBase = *cls != '\0' ? kind + "Of" + cls : "Tarn" + kind;
      base.domainBase = "Tarn" + kind;
      break;
    }
  }
  return base;
}

FieldInfo DescribeField(const TypeDesc& type) {
  switch (type.kind) {
    case TypeDesc::Kind::Simple:
      return Simple(type.simple);
    case TypeDesc::Kind::Aggregate: {
      FieldInfo f;
      f.kind = FieldKind::Aggregate;
      std::string cls = express::aggregateClassName(type);
      if (cls.empty()) cls = DescribeAggregate(type).cppBase;  // the store's own class
      f.className = cls;
      f.cppType = cls + "*";
      f.valueType = f.cppType;
      f.defaultValue = "nullptr";
      f.slotType = "&" + cls + "::classType";
      f.domain = AggregateDomainName(type);
      return f;
    }
    case TypeDesc::Kind::Named:
      break;
  }
  const express::Declaration* d = type.target;
  FieldInfo f;
  if (d == nullptr) return Simple(SimpleKind::Integer);
  switch (d->kind) {
    case DeclKind::Entity:
    case DeclKind::Select:
      f.kind = d->kind == DeclKind::Entity ? FieldKind::Entity : FieldKind::Select;
      f.className = d->name;
      f.cppType = d->name + "*";
      f.valueType = f.cppType;
      f.defaultValue = "nullptr";
      f.slotType = "&" + d->name + "::classType";
      f.domain = d->name;
      return f;
    case DeclKind::Enumeration:
      f.kind = FieldKind::Enumeration;
      f.cppType = "int32_t";
      f.valueType = "int32_t";
      f.defaultValue = "-1";
      f.slotType = "&" + d->name + "_type";
      f.domain = d->name;
      return f;
    case DeclKind::DefinedType: {
      const auto* defined = static_cast<const express::DefinedType*>(d);
      f = DescribeField(defined->underlying);
      f.domain = d->name;  // the attribute's domain is the defined type itself
      return f;
    }
  }
  return f;
}

}  // namespace korva::generator
