// The model of one EXPRESS schema: its named types, entities and attributes.
//
// The parser fills in what the source says (names as written, raw expression
// text); the resolver then links every name to its declaration and computes
// the derived views marked "resolved" below.  After loadSchema() (express.h)
// every "resolved" field is set and the model is read-only.
//
// Names keep the spelling of their declaration; lookups ignore ASCII case, as
// EXPRESS does.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korva::express {

struct Declaration;
struct Entity;
struct ExplicitAttribute;

// --------------------------------------------------------- type descriptions

enum class SimpleKind { Integer, Real, Number, Boolean, Logical, String, Binary };
enum class AggregateKind { List, Set, Bag, Array };

const char* simpleKindName(SimpleKind kind);        // "INTEGER", "STRING", ...
const char* aggregateKindName(AggregateKind kind);  // "LIST", "SET", ...

// An aggregate bound, or the width of a STRING/BINARY.
struct Bound {
  enum class Kind { Unbounded, Integer, Expression };
  Kind kind = Kind::Unbounded;  // '?' (or no width given)
  long long value = 0;          // for Integer
  std::string text;             // source spelling: "?", "3", "Ndim"

  bool isInteger() const { return kind == Kind::Integer; }
  bool operator==(const Bound& other) const;
  bool operator!=(const Bound& other) const { return !(*this == other); }
};

// The type of an attribute, of a defined type, or of an aggregate element.
struct TypeDesc {
  enum class Kind { Simple, Named, Aggregate };
  Kind kind = Kind::Simple;

  // Simple: INTEGER, REAL, ... ; STRING and BINARY may have a width.
  SimpleKind simple = SimpleKind::Integer;
  Bound width;
  bool fixed = false;

  // Named: a reference to a declared type or entity.
  std::string name;
  const Declaration* target = nullptr;  // resolved

  // Aggregate: kind [lower:upper] OF [OPTIONAL] [UNIQUE] element.
  AggregateKind aggregate = AggregateKind::List;
  Bound lower, upper;
  bool optionalElements = false;
  bool uniqueElements = false;
  std::shared_ptr<TypeDesc> element;

  // EXPRESS-like rendering, e.g. "LIST [1:?] OF UNIQUE IfcCartesianPoint".
  std::string describe() const;
};

// --------------------------------------------------------------- declarations

enum class DeclKind { DefinedType, Enumeration, Select, Entity };

// A labelled WHERE or UNIQUE rule; the expression is kept as source text.
struct Rule {
  std::string label;  // may be empty (EXPRESS allows unlabelled rules)
  std::string expression;
  int line = 0;
};

struct Declaration {
  DeclKind kind;
  std::string name;
  int line = 0;

  Declaration(DeclKind k, std::string n, int l) : kind(k), name(std::move(n)), line(l) {}
  virtual ~Declaration() = default;
  Declaration(const Declaration&) = delete;
  Declaration& operator=(const Declaration&) = delete;
};

// TYPE name = <simple, named or aggregate type>;
struct DefinedType : Declaration {
  TypeDesc underlying;
  std::vector<Rule> where;

  DefinedType(std::string n, int l) : Declaration(DeclKind::DefinedType, std::move(n), l) {}
};

// TYPE name = ENUMERATION OF (a, b, ...);
struct EnumerationType : Declaration {
  std::vector<std::string> items;  // in schema order; index = stored value
  std::vector<Rule> where;

  EnumerationType(std::string n, int l) : Declaration(DeclKind::Enumeration, std::move(n), l) {}
  // 0-based index of an enumerator (case-insensitive), -1 when absent.
  int indexOf(std::string_view item) const;
};

// TYPE name = SELECT (a, b, ...);
struct SelectType : Declaration {
  std::vector<std::string> memberNames;  // as written, declaration order
  std::vector<const Declaration*> members;  // resolved, same order
  std::vector<Rule> where;

  SelectType(std::string n, int l) : Declaration(DeclKind::Select, std::move(n), l) {}
};

// The target of SELF\Entity.Attribute in a redeclaration.
struct Redeclaration {
  std::string entityName;     // as written after SELF\ .
  std::string attributeName;  // as written after the dot
  const Entity* entity = nullptr;              // resolved: the entity named
  const ExplicitAttribute* attribute = nullptr;  // resolved: the attribute redeclared
  const Entity* declaredIn = nullptr;          // resolved: where that attribute is declared
};

struct ExplicitAttribute {
  std::string name;
  int line = 0;
  TypeDesc type;
  bool optional = false;
  std::optional<Redeclaration> redeclares;  // SELF\X.A : type;  (refines, adds no slot)
};

struct DerivedAttribute {
  std::string name;
  int line = 0;
  TypeDesc type;
  std::string expression;  // source text after ':='
  std::optional<Redeclaration> redeclares;  // SELF\X.A : type := expr;
};

struct InverseAttribute {
  std::string name;
  int line = 0;
  TypeDesc type;            // the target entity, or SET/BAG [lo:hi] OF it
  std::string targetName;   // entity named in `type`
  std::string forAttribute;
  const Entity* target = nullptr;                // resolved
  const ExplicitAttribute* inverseOf = nullptr;  // resolved: target's attribute named by FOR

  bool isAggregate() const { return type.kind == TypeDesc::Kind::Aggregate; }
};

// One slot of an entity's complete explicit attribute list: what an exchange
// file writes, in order, for an instance of the entity.
struct AttributeSlot {
  const Entity* owner = nullptr;                // entity that declares the attribute
  const ExplicitAttribute* attribute = nullptr;
  const TypeDesc* type = nullptr;               // effective type (refined by a subtype if so)
  const Entity* derivedBy = nullptr;            // set when the entity or an ancestor redeclares
                                                // it as DERIVE: written as '*'

  const std::string& name() const { return attribute->name; }
  bool optional() const { return attribute->optional; }
  bool isDerived() const { return derivedBy != nullptr; }
};

struct Entity : Declaration {
  bool isAbstract = false;
  std::string supertypeExpression;  // text inside SUPERTYPE OF ( ... ), empty if none
  std::vector<std::string> supertypeNames;  // SUBTYPE OF (...), as written
  std::vector<ExplicitAttribute> attributes;  // own explicit attributes, declaration order
  std::vector<DerivedAttribute> derived;
  std::vector<InverseAttribute> inverses;
  std::vector<Rule> unique;
  std::vector<Rule> where;

  // resolved
  std::vector<const Entity*> supertypes;  // direct, declaration order
  std::vector<const Entity*> subtypes;    // direct, schema order
  std::vector<const Entity*> ancestors;   // all, depth-first, each once, roots first
  std::vector<AttributeSlot> allAttributes;  // inherited first, then own

  explicit Entity(std::string n, int l) : Declaration(DeclKind::Entity, std::move(n), l) {}

  // Slot of the complete list by name (case-insensitive), or null.
  const AttributeSlot* findAttribute(std::string_view name) const;
  // True if `other` is this entity or one of its ancestors.
  bool isSubtypeOf(const Entity* other) const;
};

// ------------------------------------------------------------------- schema

class Schema {
 public:
  std::string name;
  std::string fileName;

  // Adds a declaration; returns false (and keeps nothing) if the name is
  // already taken, ignoring case.
  bool add(std::unique_ptr<Declaration> declaration);

  // All declarations in source order.
  const std::vector<std::unique_ptr<Declaration>>& declarations() const { return declarations_; }
  const std::vector<const Entity*>& entities() const { return entities_; }
  const std::vector<const SelectType*>& selects() const { return selects_; }
  const std::vector<const EnumerationType*>& enumerations() const { return enumerations_; }
  const std::vector<const DefinedType*>& definedTypes() const { return definedTypes_; }

  // Case-insensitive lookups; null when absent or of another kind.
  const Declaration* find(std::string_view name) const;
  const Entity* findEntity(std::string_view name) const;
  const SelectType* findSelect(std::string_view name) const;
  const EnumerationType* findEnumeration(std::string_view name) const;
  const DefinedType* findDefinedType(std::string_view name) const;

  // Mutable access for the resolver.
  Declaration* findMutable(std::string_view name);

 private:
  std::vector<std::unique_ptr<Declaration>> declarations_;
  std::vector<const Entity*> entities_;
  std::vector<const SelectType*> selects_;
  std::vector<const EnumerationType*> enumerations_;
  std::vector<const DefinedType*> definedTypes_;
  std::unordered_map<std::string, Declaration*> index_;  // lower-case name
};

// Follows defined types from `type` to the first type that is not a named
// defined type: a simple type, an aggregate, or a reference to an entity,
// select or enumeration.  Requires a resolved model.
const TypeDesc& underlyingType(const TypeDesc& type);

}  // namespace korva::express
