#include "express/resolver.h"

#include <unordered_map>
#include <unordered_set>

#include "express/error.h"
#include "express/scanner.h"

namespace korva::express {
namespace {

class Resolver {
 public:
  explicit Resolver(Schema& schema) : schema_(schema) {}

  void run() {
    for (const auto& owned : schema_.declarations()) {
      Declaration* d = owned.get();
      switch (d->kind) {
        case DeclKind::DefinedType:
          resolveType(static_cast<DefinedType*>(d)->underlying, d->line);
          break;
        case DeclKind::Select:
          resolveSelect(*static_cast<SelectType*>(d));
          break;
        case DeclKind::Entity:
          resolveEntityNames(*static_cast<Entity*>(d));
          break;
        case DeclKind::Enumeration:
          checkEnumeration(*static_cast<EnumerationType*>(d));
          break;
      }
    }
    for (const DefinedType* t : schema_.definedTypes()) checkDefinedTypeCycle(*t);
    for (const Entity* e : schema_.entities()) completeEntity(mutableEntity(e));
    for (const Entity* e : schema_.entities()) {
      for (const Entity* super : e->supertypes) mutableEntity(super)->subtypes.push_back(e);
      resolveInverses(*mutableEntity(e));
    }
    if (!errors_.empty()) throw ExpressError(std::move(errors_));
  }

 private:
  enum class State { InProgress, Done };

  void error(int line, const std::string& message) {
    errors_.push_back(Diagnostic{schema_.fileName, line, message, ""});
  }

  // Entities are owned by the schema; the resolver alone fills in their
  // resolved fields.
  static Entity* mutableEntity(const Entity* e) { return const_cast<Entity*>(e); }

  void resolveType(TypeDesc& desc, int line) {
    switch (desc.kind) {
      case TypeDesc::Kind::Simple:
        return;
      case TypeDesc::Kind::Aggregate:
        resolveType(*desc.element, line);
        return;
      case TypeDesc::Kind::Named:
        desc.target = schema_.find(desc.name);
        if (!desc.target) error(line, "unknown type '" + desc.name + "'");
        return;
    }
  }

  void resolveSelect(SelectType& select) {
    select.members.clear();
    std::unordered_set<std::string> seen;
    for (const std::string& name : select.memberNames) {
      const Declaration* member = schema_.find(name);
      if (!member) {
        error(select.line, "unknown type '" + name + "' in select " + select.name);
        continue;
      }
      if (!seen.insert(toLower(name)).second)
        error(select.line, "type '" + name + "' listed twice in select " + select.name);
      select.members.push_back(member);
    }
  }

  void checkEnumeration(const EnumerationType& enumeration) {
    std::unordered_set<std::string> seen;
    for (const std::string& item : enumeration.items)
      if (!seen.insert(toLower(item)).second)
        error(enumeration.line,
              "enumerator '" + item + "' listed twice in " + enumeration.name);
  }

  void checkDefinedTypeCycle(const DefinedType& start) {
    std::unordered_set<const Declaration*> visited{&start};
    const TypeDesc* desc = &start.underlying;
    while (desc->kind == TypeDesc::Kind::Named && desc->target &&
           desc->target->kind == DeclKind::DefinedType) {
      if (!visited.insert(desc->target).second) {
        if (desc->target == &start)
          error(start.line, "defined type " + start.name + " refers to itself");
        return;  // a cycle not through `start` is reported from its own members
      }
      desc = &static_cast<const DefinedType*>(desc->target)->underlying;
    }
  }

  void resolveEntityNames(Entity& entity) {
    std::unordered_set<std::string> seen;
    for (const std::string& name : entity.supertypeNames) {
      const Entity* super = schema_.findEntity(name);
      if (!super) {
        error(entity.line, schema_.find(name)
                               ? "supertype '" + name + "' of " + entity.name + " is not an entity"
                               : "unknown supertype '" + name + "' of " + entity.name);
        continue;
      }
      if (!seen.insert(toLower(name)).second) {
        error(entity.line, "supertype '" + name + "' listed twice for " + entity.name);
        continue;
      }
      entity.supertypes.push_back(super);
    }
    for (ExplicitAttribute& a : entity.attributes) resolveType(a.type, a.line);
    for (DerivedAttribute& d : entity.derived) resolveType(d.type, d.line);
    for (InverseAttribute& inv : entity.inverses) {
      resolveType(inv.type, inv.line);
      inv.target = schema_.findEntity(inv.targetName);
      if (!inv.target && schema_.find(inv.targetName))
        error(inv.line, "inverse target '" + inv.targetName + "' is not an entity");
    }
  }

  // Fills ancestors and allAttributes once all supertypes are complete.
  void completeEntity(Entity* entity) {
    auto found = state_.find(entity);
    if (found != state_.end()) {
      if (found->second == State::InProgress)
        error(entity->line, "entity " + entity->name + " is its own supertype");
      return;
    }
    state_[entity] = State::InProgress;

    std::vector<const Entity*> supers;
    for (const Entity* super : entity->supertypes) {
      completeEntity(mutableEntity(super));
      if (state_[super] == State::Done) supers.push_back(super);
    }
    if (supers.size() != entity->supertypes.size()) {
      entity->supertypes = supers;  // drop the cyclic links so later passes terminate
    }

    std::unordered_set<const Entity*> have;
    for (const Entity* super : entity->supertypes) {
      for (const Entity* a : super->ancestors)
        if (have.insert(a).second) entity->ancestors.push_back(a);
      if (have.insert(super).second) entity->ancestors.push_back(super);
    }

    for (const Entity* a : entity->ancestors) appendOwnSlots(*entity, *a);
    appendOwnSlots(*entity, *entity);
    for (const Entity* a : entity->ancestors) applyRedeclarations(*entity, *a);
    resolveRedeclarations(*entity);
    applyRedeclarations(*entity, *entity);

    state_[entity] = State::Done;
  }

  static void appendOwnSlots(Entity& entity, const Entity& from) {
    for (const ExplicitAttribute& a : from.attributes) {
      if (a.redeclares) continue;  // refines an inherited slot, adds none
      entity.allAttributes.push_back(AttributeSlot{&from, &a, &a.type, nullptr});
    }
  }

  static AttributeSlot* slotFor(Entity& entity, const ExplicitAttribute* attribute) {
    for (AttributeSlot& slot : entity.allAttributes)
      if (slot.attribute == attribute) return &slot;
    return nullptr;
  }

  // Marks in `entity`'s list what `from` (the entity or an ancestor, already
  // resolved) redeclares.
  static void applyRedeclarations(Entity& entity, const Entity& from) {
    for (const ExplicitAttribute& a : from.attributes) {
      if (!a.redeclares || !a.redeclares->attribute) continue;
      if (AttributeSlot* slot = slotFor(entity, a.redeclares->attribute)) slot->type = &a.type;
    }
    for (const DerivedAttribute& d : from.derived) {
      if (!d.redeclares || !d.redeclares->attribute) continue;
      if (AttributeSlot* slot = slotFor(entity, d.redeclares->attribute)) slot->derivedBy = &from;
    }
  }

  void resolveRedeclarations(Entity& entity) {
    for (ExplicitAttribute& a : entity.attributes)
      if (a.redeclares) resolveRedeclaration(entity, *a.redeclares, a.line, false);
    for (DerivedAttribute& d : entity.derived)
      if (d.redeclares) resolveRedeclaration(entity, *d.redeclares, d.line, true);
  }

  void resolveRedeclaration(const Entity& entity, Redeclaration& r, int line, bool allowDerived) {
    const Entity* named = schema_.findEntity(r.entityName);
    if (!named || named == &entity || !entity.isSubtypeOf(named)) {
      error(line, "SELF\\" + r.entityName + " in " + entity.name + " does not name a supertype");
      return;
    }
    r.entity = named;
    if (const AttributeSlot* slot = named->findAttribute(r.attributeName)) {
      r.attribute = slot->attribute;
      r.declaredIn = slot->owner;
      return;
    }
    // A derived attribute of the named entity or one of its ancestors may be
    // redeclared in DERIVE too; it has no slot to mark.
    if (allowDerived) {
      if (const Entity* owner = findDerivedOwner(*named, r.attributeName)) {
        r.declaredIn = owner;
        return;
      }
    }
    error(line, named->name + " has no attribute '" + r.attributeName + "' to redeclare");
  }

  static const Entity* findDerivedOwner(const Entity& entity, const std::string& name) {
    for (const DerivedAttribute& d : entity.derived)
      if (equalsIgnoreCase(d.name, name)) return &entity;
    for (const Entity* a : entity.ancestors)
      for (const DerivedAttribute& d : a->derived)
        if (equalsIgnoreCase(d.name, name)) return a;
    return nullptr;
  }

  void resolveInverses(Entity& entity) {
    for (InverseAttribute& inv : entity.inverses) {
      if (!inv.target) continue;
      const AttributeSlot* slot = inv.target->findAttribute(inv.forAttribute);
      if (!slot) {
        error(inv.line, "inverse " + entity.name + "." + inv.name + ": " + inv.target->name +
                            " has no attribute '" + inv.forAttribute + "'");
        continue;
      }
      inv.inverseOf = slot->attribute;
    }
  }

  Schema& schema_;
  std::vector<Diagnostic> errors_;
  std::unordered_map<const Entity*, State> state_;
};

}  // namespace

void resolveSchema(Schema& schema) { Resolver(schema).run(); }

}  // namespace korva::express
