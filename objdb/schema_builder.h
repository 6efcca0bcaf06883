// Builds a schema design in code: entity, select, enumeration, defined and
// aggregate domains with their attributes, entered in the schema's name
// table.  finish() activates every domain and binds the compiled classes
// generated for the schema (class records whose schema name is the
// schema's).  The native schema reader and tests build dictionaries with it.
#ifndef KORVA_OBJDB_SCHEMA_BUILDER_H
#define KORVA_OBJDB_SCHEMA_BUILDER_H

#include <initializer_list>
#include <string>
#include <vector>

#include "objdb/aggregate.h"

namespace korva {

class TarnDesign;
class TarnDomain;
class TarnAttribute;

class SchemaBuilder {
 public:
  // Makes the schema design `name` (initialising the library when needed).
  explicit SchemaBuilder(const char* name);

  TarnDesign* design() const { return design_; }

  // A domain of this schema or of the meta-schema by name; null when none.
  TarnDomain* find(const char* name);

  // An entity with the named supertypes (none: TarnStructure).
  TarnDomain* entity(const char* name, std::initializer_list<const char*> supers = {});
  // A select whose members are the named types; each member is an attribute
  // "_" + type name.
  TarnDomain* select(const char* name, std::initializer_list<const char*> members);
  TarnDomain* enumeration(const char* name, std::initializer_list<const char*> enumerators);
  TarnDomain* enumeration(const char* name, const std::vector<std::string>& enumerators);
  // A defined type stored as `underlying`.
  TarnDomain* defined(const char* name, const char* underlying);
  // An aggregate domain of `element`, named by the caller (for example
  // "ListOfIfcCartesianPoint"), of the generic kind of its element.
  TarnDomain* aggregate(const char* name, AggregateKind kind, const char* element);
  // An explicit attribute of `owner` of the named type.
  TarnAttribute* attribute(TarnDomain* owner, const char* name, const char* type);
  // `attribute` inherited by `owner` is redeclared DERIVE there.
  void derived(TarnDomain* owner, const char* attribute);

  // Activates the domains and binds the schema's compiled classes.
  TarnDesign* finish();

 private:
  TarnDomain* make(const char* name, TarnDomain* super);
  TarnDomain* require(const char* name);

  TarnDesign* design_;
  TarnDomain* domainDomain_;
  TarnDomain* attributeDomain_;
};

}  // namespace korva

#endif  // KORVA_OBJDB_SCHEMA_BUILDER_H
