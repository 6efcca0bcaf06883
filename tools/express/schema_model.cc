#include "express/schema_model.h"

#include "express/scanner.h"

namespace korva::express {

const char* simpleKindName(SimpleKind kind) {
  switch (kind) {
    case SimpleKind::Integer: return "INTEGER";
    case SimpleKind::Real: return "REAL";
    case SimpleKind::Number: return "NUMBER";
    case SimpleKind::Boolean: return "BOOLEAN";
    case SimpleKind::Logical: return "LOGICAL";
    case SimpleKind::String: return "STRING";
    case SimpleKind::Binary: return "BINARY";
  }
  return "?";
}

const char* aggregateKindName(AggregateKind kind) {
  switch (kind) {
    case AggregateKind::List: return "LIST";
    case AggregateKind::Set: return "SET";
    case AggregateKind::Bag: return "BAG";
    case AggregateKind::Array: return "ARRAY";
  }
  return "?";
}

bool Bound::operator==(const Bound& other) const {
  if (kind != other.kind) return false;
  switch (kind) {
    case Kind::Unbounded: return true;
    case Kind::Integer: return value == other.value;
    case Kind::Expression: return text == other.text;
  }
  return false;
}

std::string TypeDesc::describe() const {
  switch (kind) {
    case Kind::Simple: {
      std::string text = simpleKindName(simple);
      if (width.kind != Bound::Kind::Unbounded) text += "(" + width.text + ")";
      if (fixed) text += " FIXED";
      return text;
    }
    case Kind::Named:
      return target ? target->name : name;
    case Kind::Aggregate: {
      std::string text = aggregateKindName(aggregate);
      text += " [" + lower.text + ":" + upper.text + "] OF ";
      if (optionalElements) text += "OPTIONAL ";
      if (uniqueElements) text += "UNIQUE ";
      return text + (element ? element->describe() : std::string("?"));
    }
  }
  return "?";
}

int EnumerationType::indexOf(std::string_view item) const {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (equalsIgnoreCase(items[i], item)) return static_cast<int>(i);
  return -1;
}

const AttributeSlot* Entity::findAttribute(std::string_view attributeName) const {
  for (const AttributeSlot& slot : allAttributes)
    if (equalsIgnoreCase(slot.name(), attributeName)) return &slot;
  return nullptr;
}

bool Entity::isSubtypeOf(const Entity* other) const {
  if (other == this) return true;
  for (const Entity* ancestor : ancestors)
    if (ancestor == other) return true;
  return false;
}

bool Schema::add(std::unique_ptr<Declaration> declaration) {
  const std::string key = toLower(declaration->name);
  if (index_.count(key)) return false;
  Declaration* d = declaration.get();
  index_.emplace(key, d);
  switch (d->kind) {
    case DeclKind::Entity: entities_.push_back(static_cast<const Entity*>(d)); break;
    case DeclKind::Select: selects_.push_back(static_cast<const SelectType*>(d)); break;
    case DeclKind::Enumeration:
      enumerations_.push_back(static_cast<const EnumerationType*>(d));
      break;
    case DeclKind::DefinedType:
      definedTypes_.push_back(static_cast<const DefinedType*>(d));
      break;
  }
  declarations_.push_back(std::move(declaration));
  return true;
}

Declaration* Schema::findMutable(std::string_view declName) {
  auto it = index_.find(toLower(declName));
  return it == index_.end() ? nullptr : it->second;
}

const Declaration* Schema::find(std::string_view declName) const {
  auto it = index_.find(toLower(declName));
  return it == index_.end() ? nullptr : it->second;
}

namespace {

template <typename T>
const T* findOfKind(const Schema& schema, std::string_view name, DeclKind kind) {
  const Declaration* d = schema.find(name);
  return d && d->kind == kind ? static_cast<const T*>(d) : nullptr;
}

}  // namespace

const Entity* Schema::findEntity(std::string_view n) const {
  return findOfKind<Entity>(*this, n, DeclKind::Entity);
}
const SelectType* Schema::findSelect(std::string_view n) const {
  return findOfKind<SelectType>(*this, n, DeclKind::Select);
}
const EnumerationType* Schema::findEnumeration(std::string_view n) const {
  return findOfKind<EnumerationType>(*this, n, DeclKind::Enumeration);
}
const DefinedType* Schema::findDefinedType(std::string_view n) const {
  return findOfKind<DefinedType>(*this, n, DeclKind::DefinedType);
}

const TypeDesc& underlyingType(const TypeDesc& type) {
  const TypeDesc* current = &type;
  // The resolver rejects cycles among defined types; the limit only guards
  // against use on an unresolved model.
  for (int hops = 0; hops < 1000; ++hops) {
    if (current->kind != TypeDesc::Kind::Named || !current->target ||
        current->target->kind != DeclKind::DefinedType)
      break;
    current = &static_cast<const DefinedType*>(current->target)->underlying;
  }
  return *current;
}

}  // namespace korva::express
