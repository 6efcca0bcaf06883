#include "objdb/schema_builder.h"

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"

namespace korva {

SchemaBuilder::SchemaBuilder(const char* name) {
  TARN().initialize();
  TarnDesign* current = TARN().design();
  design_ = TARN().newDesign(name);
  TARN().useDesign(current);
  design_->setSchemaDesign(true);
  domainDomain_ = FindDomainInSchema(TARN().systemDesign(), "TarnDomain");
  attributeDomain_ = FindDomainInSchema(TARN().systemDesign(), "TarnAttribute");
}

TarnDomain* SchemaBuilder::find(const char* name) {
  if (TarnDomain* d = FindDomainInSchema(design_, name)) return d;
  return FindDomainInSchema(TARN().systemDesign(), name);
}

TarnDomain* SchemaBuilder::require(const char* name) {
  TarnDomain* d = find(name);
  if (d == nullptr) TARN().report(1005, name);
  return d;
}

TarnDomain* SchemaBuilder::make(const char* name, TarnDomain* super) {
  TarnDomain* d = new (design_->dflt_section(), domainDomain_, &TarnDomain::classType) TarnDomain();
  d->setName(name);
  if (super != nullptr) d->addSuper(super);
  RegisterDomainName(design_, d);
  return d;
}

TarnDomain* SchemaBuilder::entity(const char* name, std::initializer_list<const char*> supers) {
  if (supers.size() == 0) return make(name, require("TarnStructure"));
  TarnDomain* d = nullptr;
  for (const char* s : supers) {
    if (d == nullptr) d = make(name, require(s));
    else d->addSuper(require(s));
  }
  return d;
}

TarnDomain* SchemaBuilder::select(const char* name, std::initializer_list<const char*> members) {
  TarnDomain* d = make(name, require("TarnUnion"));
  for (const char* m : members) attribute(d, (std::string("_") + m).c_str(), m);
  return d;
}

TarnDomain* SchemaBuilder::enumeration(const char* name, std::initializer_list<const char*> enumerators) {
  return enumeration(name, std::vector<std::string>(enumerators.begin(), enumerators.end()));
}

TarnDomain* SchemaBuilder::enumeration(const char* name, const std::vector<std::string>& enumerators) {
  TarnDomain* d = make(name, require("TarnEnum"));
  for (const std::string& e : enumerators) d->enumerators().push_back(design_->copyString(e.c_str()));
  return d;
}

TarnDomain* SchemaBuilder::defined(const char* name, const char* underlying) {
  return make(name, require(underlying));
}

TarnDomain* SchemaBuilder::aggregate(const char* name, AggregateKind kind, const char* element) {
  TarnDomain* e = require(element);
  const bool objects = e != nullptr && IsObjectNode(e->nodeType());
  const bool enums = e != nullptr && e->nodeType() == kNodeEnum;
  static const char* const kGeneric[3][4] = {
      {"TarnList", "TarnSet", "TarnBag", "TarnArray"},
      {"TarnPtrList", "TarnPtrSet", "TarnPtrBag", "TarnPtrArray"},
      {"TarnEnumList", "TarnEnumSet", "TarnEnumBag", "TarnEnumArray"}};
  const char* base = kGeneric[objects ? 1 : enums ? 2 : 0][static_cast<int>(kind) - 1];
  TarnDomain* d = make(name, require(base));
  attribute(d, "element", element);
  return d;
}

TarnAttribute* SchemaBuilder::attribute(TarnDomain* owner, const char* name, const char* type) {
  if (owner == nullptr) return nullptr;
  TarnAttribute* a = new (design_->dflt_section(), attributeDomain_, &TarnAttribute::classType) TarnAttribute();
  a->setName(name);
  a->setDomain(require(type));
  owner->addAttribute(a);
  return a;
}

void SchemaBuilder::derived(TarnDomain* owner, const char* attribute) {
  if (owner != nullptr) owner->addDerivedRedeclaration(attribute);
}

TarnDesign* SchemaBuilder::finish() {
  ActivateSchemaDomains(design_);
  design_->setState(TarnDesign::kActive);
  design_->setModified(false);
  return design_;
}

}  // namespace korva
