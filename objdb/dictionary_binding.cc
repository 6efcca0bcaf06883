#include "objdb/dictionary_binding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/text.h"

namespace korva {
namespace {
bool g_bootstrapping = false;
std::string g_integratedModel;  // schema that takes over classes while it loads

const char* Named(const char* s) { return s != nullptr ? s : "<null>"; }
}  // namespace

void SetBootstrapping(bool on) { g_bootstrapping = on; }

void SetIntegratedModel(const char* schemaName) { g_integratedModel = schemaName != nullptr ? schemaName : ""; }

namespace {
// An integrated model re-binds every compiled class named like one of its
// domains, whatever schema the class was generated from.
void MoveClassesTo(TarnDesign* schema) {
  for (TarnType* t : TarnTypeRegistry::all()) {
    if (t->name() == nullptr) continue;
    TarnDomain* d = FindDomainInSchema(schema, t->name());
    if (d == nullptr || t->boundDomain() == d) continue;
    TARN().message("class %s: create as schema %s (originally %s)", t->name(), Named(schema->name()),
                   Named(t->schemaName()));
    t->bindDomain(d);
    d->bindType(t);
  }
}
}  // namespace

void RegisterDomainName(TarnDesign* schema, TarnDomain* domain) {
  if (schema == nullptr || domain == nullptr || domain->name() == nullptr) return;
  DictionaryOfTarnObject* names = schema->nameTable();
  if (names->find(domain->name()) < 0) names->add(domain->name(), domain);
}

TarnDomain* FindDomainInSchema(TarnDesign* schema, const char* name) {
  if (schema == nullptr || name == nullptr) return nullptr;
  DictionaryOfTarnObject* names = schema->nameTable();
  bool old = names->setNoCase(true);
  TarnObject* hit = names->lookup(name);
  names->setNoCase(old);
  return hit != nullptr ? typecast<TarnDomain>(hit) : nullptr;
}

TarnDomain* FindDomainInDesign(TarnDesign* design, const char* name) {
  if (name == nullptr || *name == '\0') return nullptr;
  if (design != nullptr && design->schemas()->count() > 0) {
    ListOfTarnDesign* schemas = design->schemas();
    for (uint32_t i = 0; i < schemas->count(); ++i)
      if (TarnDomain* d = FindDomainInSchema(schemas->get(i), name)) return d;
  }
  if (design != nullptr && design->isSchemaDesign())
    if (TarnDomain* d = FindDomainInSchema(design, name)) return d;
  if (TarnDomain* d = FindDomainInSchema(TARN().systemDesign(), name)) return d;
  // A class record by its name, unless it was generated from a schema the
  // design does not use: an IFC2x3 file must not make IFC2x2 instances of
  // the entities IFC2x3 dropped.
  if (TarnType* t = TarnTypeRegistry::find(name)) {
    if (t->schemaName() != nullptr && design != nullptr && design->schemas()->count() > 0) {
      bool uses = false;
      ListOfTarnDesign* schemas = design->schemas();
      for (uint32_t i = 0; i < schemas->count() && !uses; ++i) {
        TarnDesign* s = schemas->get(i);
        uses = s != nullptr && s->name() != nullptr && EqualNoCase(s->name(), t->schemaName());
      }
      if (!uses) return nullptr;
    }
    return t->domain();
  }
  return nullptr;
}

bool SchemaHasCompiledClasses(TarnDesign* schema) {
  if (schema == nullptr || schema->name() == nullptr) return false;
  if (schema == TARN().systemDesign()) return true;
  // The answer per schema name, kept: the registry's generated classes do
  // not change once it is closed.
  static std::unordered_map<std::string, bool> known;
  std::string key = schema->name();
  for (char& c : key) c = FoldCase(c);
  auto found = known.find(key);
  if (found != known.end()) return found->second;
  bool any = false;
  for (TarnType* t : TarnTypeRegistry::all())
    any = any || (t->schemaName() != nullptr && EqualNoCase(t->schemaName(), key.c_str()));
  if (TarnTypeRegistry::closed()) known.emplace(key, any);
  return any;
}

TarnDesign* FindSchemaDesign(const char* name) {
  if (name == nullptr) return nullptr;
  TarnDesign* system = TARN().systemDesign();
  if (system != nullptr && system->name() != nullptr && EqualNoCase(system->name(), name)) return system;
  return TARN().findSchema(name);
}

void ResolveClassDomain(TarnType& type) {
  if (type.boundDomain() != nullptr || g_bootstrapping) return;
  const char* schemaName = type.schemaName();
  TarnDesign* schema = nullptr;
  if (TARN().state() == TarnInterface::kUninitialized) {
    if (type.name() == nullptr) TARN().warning("Class Name is NULL.");
    std::fprintf(stdout,
                 "Database operation detected before TARN interface object was\ninitialized. "
                 "Check for database operations within a static object\nconstructor or within a "
                 "default constructor.\nFatal error. Generating Core Dump ...\n");
    std::fflush(stdout);
    std::abort();
  }
  schema = schemaName != nullptr ? FindSchemaDesign(schemaName) : TARN().systemDesign();
  if (schema == nullptr) {
    if (type.name() == nullptr) TARN().warning("Class Name is NULL.");
    else TARN().error("Couldn't open schema '%s'\n", Named(schemaName));
    TARN().error("Could not acquire domain %s[%s]\n", Named(type.name()), Named(schemaName));
    return;
  }
  TarnDomain* domain = FindDomainInSchema(schema, type.name());
  if (domain == nullptr) {
    TARN().warning("TarnDomain '%s[%s]' not found", Named(type.name()), Named(schema->name()));
    return;
  }
  type.bindDomain(domain);
  if (domain->boundType() == nullptr) domain->bindType(&type);
  for (const TarnDeclaredAttribute& a : type.declaredAttributes()) {
    bool found = false;
    uint32_t n = domain->listOfAttribute()->count();
    for (uint32_t i = 0; i < n && !found; ++i)
      found = EqualNoCase(domain->listOfAttribute()->get(i)->name(), a.name);
    if (!found)
      TARN().warning("No match for '(%s) %s::%s' in entity %s, ignored.",
                     a.slotType != nullptr ? a.slotType->name() : "<no-type>", Named(type.name()),
                     a.name, Named(domain->name()));
  }
}

void ActivateSchemaDomains(TarnDesign* schema) {
  if (schema == nullptr) return;
  std::vector<TarnDomain*> domains;
  std::vector<TarnRefined*> refinements;
  for (TarnSection* s : schema->sections())
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        if (TarnDomain* d = dynamic_cast<TarnDomain*>(o)) domains.push_back(d);
        else if (TarnRefined* r = dynamic_cast<TarnRefined*>(o)) refinements.push_back(r);
      }
  // Attributes redeclared DERIVE are written as '*' in the redeclaring
  // entity and its subtypes.
  for (TarnRefined* r : refinements)
    if (r->refined_by != nullptr && r->refined_att != nullptr && r->refined_to == nullptr)
      r->refined_by->addDerivedRedeclaration(r->refined_att->name());
  // Compiled classes of this schema take their domains first, so that
  // activation computes their slot positions.
  const char* schemaName = schema->name();
  if (!g_integratedModel.empty() && schemaName != nullptr && EqualNoCase(schemaName, g_integratedModel.c_str()))
    MoveClassesTo(schema);
  for (TarnType* t : TarnTypeRegistry::all()) {
    if (t->schemaName() == nullptr || schemaName == nullptr || !EqualNoCase(t->schemaName(), schemaName))
      continue;
    if (t->boundDomain() != nullptr) continue;
    if (TarnDomain* d = FindDomainInSchema(schema, t->name())) {
      t->bindDomain(d);
      if (d->boundType() == nullptr) d->bindType(t);
    }
  }
  for (TarnDomain* d : domains) d->activateDomain();
}

}  // namespace korva
