#include "express/aggregates.h"

#include <algorithm>
#include <functional>
#include <map>

namespace korva::express {
namespace {

// Calls `visit` for every aggregate spec the schema uses, outer before inner.
void forEachAggregate(const Schema& schema, const std::function<void(const TypeSpec&)>& visit) {
  std::function<void(const TypeSpec&)> walk = [&](const TypeSpec& spec) {
    if (spec.kind != TypeSpec::Kind::Aggregate) return;
    visit(spec);
    if (spec.element) walk(*spec.element);
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

std::string aggregateClassName(const TypeSpec& aggregate) {
  if (aggregate.kind != TypeSpec::Kind::Aggregate || !aggregate.element) return "";
  const TypeSpec& element = *aggregate.element;
  std::string elementName;
  switch (element.kind) {
    case TypeSpec::Kind::Simple:
      return "";
    case TypeSpec::Kind::Named:
      elementName = element.target ? element.target->name : element.name;
      break;
    case TypeSpec::Kind::Aggregate:
      elementName = aggregateClassName(element);
      if (elementName.empty()) return "";
      break;
  }
  return aggregateClassPrefix(aggregate.aggregate) + std::string("Of") + elementName;
}

std::vector<AggregateType> distinctAggregateTypes(const Schema& schema) {
  std::map<std::string, AggregateType> bySignature;
  forEachAggregate(schema, [&](const TypeSpec& spec) {
    AggregateType& entry = bySignature[spec.describe()];
    if (!entry.spec) {
      entry.signature = spec.describe();
      entry.spec = &spec;
    }
    ++entry.uses;
  });
  std::vector<AggregateType> result;
  for (auto& [signature, entry] : bySignature) result.push_back(entry);
  return result;
}

std::vector<AggregateClass> aggregateClasses(const Schema& schema) {
  std::map<std::string, AggregateClass> byName;
  forEachAggregate(schema, [&](const TypeSpec& spec) {
    std::string name = aggregateClassName(spec);
    if (name.empty() || byName.count(name)) return;
    AggregateClass c;
    c.name = name;
    c.kind = spec.aggregate;
    const TypeSpec& element = *spec.element;
    if (element.kind == TypeSpec::Kind::Named) {
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
