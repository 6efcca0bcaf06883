// Binding classes to their domains and finding domains by name.
//
//  - A class record finds its domain by its class name in the schema it was
//    generated from (library classes: the system design's meta-schema); the
//    schema design is found in memory or loaded along the schema path.
//  - Domain names are looked up in the name tables of a design's schemas,
//    then of the system design, without regard to case, and finally among
//    the class records by class name.
#ifndef KORVA_OBJDB_DICTIONARY_BINDING_H
#define KORVA_OBJDB_DICTIONARY_BINDING_H

namespace korva {

class TarnDesign;
class TarnDomain;
class TarnType;

// Resolves the domain of a class record (see TarnType::domain()).
void ResolveClassDomain(TarnType& type);

// The schema design named `name`: in memory, else loaded from the schema
// path.  Null when it cannot be had.
TarnDesign* FindSchemaDesign(const char* name);

// The domain named `name` for instances of `design` (null design: the
// system design only).
TarnDomain* FindDomainInDesign(TarnDesign* design, const char* name);
// The domain named `name` in one schema design's name table.
TarnDomain* FindDomainInSchema(TarnDesign* schema, const char* name);

// Activates every domain of a schema design and binds the compiled classes
// of the schema to them (matching declared attributes by name).
void ActivateSchemaDomains(TarnDesign* schema);

// True when compiled classes were generated from the schema design (the
// IFC2x2 classes for "ifc2x2_final"); a dictionary without them (IFC2x3)
// gives its instances best-fit classes as a matter of course.
bool SchemaHasCompiledClasses(TarnDesign* schema);

// Enters a domain into its schema design's name table.
void RegisterDomainName(TarnDesign* schema, TarnDomain* domain);

// While set (non-null), the schema design of that name, when it is activated,
// takes over every compiled class named like one of its domains (the
// integrated-model loader, integrated_models.h).
void SetIntegratedModel(const char* schemaName);

// While set, class records do not try to resolve their domains (the
// meta-schema is being generated).
void SetBootstrapping(bool on);

}  // namespace korva

#endif  // KORVA_OBJDB_DICTIONARY_BINDING_H
