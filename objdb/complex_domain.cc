#include "objdb/complex_domain.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/text.h"

namespace korva {

std::vector<TarnDomain*> ComplexLeaves(const std::vector<TarnDomain*>& domains) {
  std::vector<TarnDomain*> leaves;
  for (TarnDomain* d : domains) {
    if (d == nullptr || std::find(leaves.begin(), leaves.end(), d) != leaves.end()) continue;
    bool super = false;
    for (TarnDomain* other : domains)
      if (other != nullptr && other != d && other->typeIsA(d)) super = true;
    if (!super) leaves.push_back(d);
  }
  std::sort(leaves.begin(), leaves.end(), [](TarnDomain* a, TarnDomain* b) {
    const char* x = a->name();
    const char* y = b->name();
    for (; *x && *y; ++x, ++y)
      if (FoldCase(*x) != FoldCase(*y)) return FoldCase(*x) < FoldCase(*y);
    return *x == '\0' && *y != '\0';
  });
  return leaves;
}

TarnDomain* FindAndOrDomain(const std::vector<TarnDomain*>& domains, TarnDesign* schema) {
  std::vector<TarnDomain*> leaves = ComplexLeaves(domains);
  if (leaves.empty()) return nullptr;
  if (leaves.size() == 1) return leaves.front();
  for (TarnDomain* sub : leaves.front()->subtypes()) {
    if (!sub->isComplex()) continue;
    if (schema != nullptr && sub->design() != schema) continue;
    ListOfTarnDomain* supers = sub->listOfSuper();
    if (supers->count() != leaves.size()) continue;
    bool all = true;
    for (TarnDomain* leaf : leaves) all = all && supers->contains(leaf);
    if (all) return sub;
  }
  return nullptr;
}

TarnDomain* MakeAndOrDomain(const std::vector<TarnDomain*>& domains, TarnDesign* schema) {
  std::vector<TarnDomain*> leaves = ComplexLeaves(domains);
  if (leaves.size() < 2) return leaves.empty() ? nullptr : leaves.front();
  std::string name;
  for (TarnDomain* leaf : leaves) name += (name.empty() ? "" : "_and_") + std::string(leaf->name());
  TarnDesign* home = schema != nullptr && schema->isSchemaDesign() ? schema : leaves.front()->design();
  if (home == nullptr) return nullptr;
  TarnDomain* domainOfDomains = TarnDomain::classType.domain();
  TarnDomain* made = new (home->dflt_section(), domainOfDomains, &TarnDomain::classType) TarnDomain();
  made->setName(name.c_str());
  made->setComplex(true);
  for (TarnDomain* leaf : leaves) made->addSuper(leaf);
  RegisterDomainName(home, made);
  made->activateDomain();
  return made;
}

}  // namespace korva
