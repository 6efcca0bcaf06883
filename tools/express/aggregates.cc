#include "express/aggregates.h"

#include <algorithm>
#include <functional>
#include <map>

namespace korva::express {
namespace {

// Calls `visit` for every aggregate type the schema uses, outer before inner.
void forEachAggregate(const Schema& schema, const std::function<void(const TypeDesc&)>& visit) {
  std::function<void(const TypeDesc&)> walk = [&](const TypeDesc& desc) {
    if (desc.kind != TypeDesc::Kind::Aggregate) return;
    visit(desc);
    if (desc.element) walk(*desc.element);
  };
  for (const auto& owned : schema.declarations()) {
    const Declaration* d = owned.get();
    if (d->kind == DeclKind::DefinedType) {
      walk(static_cast<const DefinedType*>(d)->underlying);
    } else if (d->kind == DeclKind::Entity) {
      const auto* e = static_cast<const Entity*>(d);
      for (const ExplicitAttribute& a : e->attributes) walk(a.type);
      for (const DerivedAttribute& a : e->derived) walk(a.type);
      for (const InverseAttribute& a : e->inverses) walk(a.type);
    }
  }
}

}  // namespace

const char* aggregateClassPrefix(AggregateKind kind) {
  switch (kind) {
    case AggregateKind::List: return "List";
    case AggregateKind::Set: return "Set";
    case AggregateKind::Bag: return "Bag";
    case AggregateKind::Array: return "Array";
  }
  return "?";
}

std::string aggregateClassName(const TypeDesc& aggregate) {
  if (aggregate.kind != TypeDesc::Kind::Aggregate || !aggregate.element) return "";
  const TypeDesc& element = *aggregate.element;
  std::string elementName;
  switch (element.kind) {
    case TypeDesc::Kind::Simple:
      return "";
    case TypeDesc::Kind::Named:
      elementName = element.target ? element.target->name : element.name;
      break;
    case TypeDesc::Kind::Aggregate:
      elementName = aggregateClassName(element);
      if (elementName.empty()) return "";
      break;
  }
  return aggregateClassPrefix(aggregate.aggregate) + std::string("Of") + elementName;
}

std::vector<AggregateType> distinctAggregateTypes(const Schema& schema) {
  std::map<std::string, AggregateType> bySignature;
  forEachAggregate(schema, [&](const TypeDesc& desc) {
    AggregateType& entry = bySignature[desc.describe()];
    if (!entry.desc) {
      entry.signature = desc.describe();
      entry.desc = &desc;
    }
    ++entry.uses;
  });
  std::vector<AggregateType> result;
  for (auto& [signature, entry] : bySignature) result.push_back(entry);
  return result;
}

std::vector<AggregateClass> aggregateClasses(const Schema& schema) {
  std::map<std::string, AggregateClass> byName;
  forEachAggregate(schema, [&](const TypeDesc& desc) {
    std::string name = aggregateClassName(desc);
    if (name.empty() || byName.count(name)) return;
    AggregateClass c;
    c.name = name;
    c.kind = desc.aggregate;
    const TypeDesc& element = *desc.element;
    if (element.kind == TypeDesc::Kind::Named) {
      c.element = element.target;
      c.elementName = element.target ? element.target->name : element.name;
    } else {
      c.elementName = aggregateClassName(element);
    }
    byName.emplace(std::move(name), std::move(c));
  });
  std::vector<AggregateClass> result;
  for (auto& [name, c] : byName) result.push_back(std::move(c));
  return result;
}

}  // namespace korva::express
