#include "objdb/domain.h"

#include <algorithm>
#include <cstring>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "objdb/text.h"
#include "objdb/union.h"

namespace korva {

// --- TarnAttribute -------------------------------------------------------

void TarnAttribute::setName(const char* name) {
  modified();
  name_ = copyString(name);
}

TarnDomain* TarnAttribute::domain() {
  if (IsUnresolved(domain_)) {
    void* slot = &domain_;
    if (!resolveSlot(nullptr, 0, slot)) domain_ = nullptr;
  }
  return domain_;
}

void TarnAttribute::setDomain(TarnDomain* domain) {
  modified();
  domain_ = domain;
  slotType_ = nullptr;
}

// --- TarnDomain ----------------------------------------------------------

void TarnDomain::setName(const char* name) {
  modified();
  name_ = copyString(name);
}

ListOfTarnDomain* TarnDomain::listOfSuper() {
  if (supers_ == nullptr) {
    supers_ = isPersistent() ? new (section(), nullptr, &ListOfTarnDomain::classType) ListOfTarnDomain()
                             : new ListOfTarnDomain();
  }
  return supers_;
}

ListOfTarnAttribute* TarnDomain::listOfAttribute() {
  if (ownAttributes_ == nullptr) {
    ownAttributes_ = isPersistent()
                         ? new (section(), nullptr, &ListOfTarnAttribute::classType) ListOfTarnAttribute()
                         : new ListOfTarnAttribute();
  }
  return ownAttributes_;
}

void TarnDomain::addSuper(TarnDomain* super) {
  if (super == nullptr) return;
  if (state_ == kActive) {
    TARN().error("Domain '%s' is active", name_ != nullptr ? name_ : "<no-name>");
    return;
  }
  listOfSuper()->insert(super, -1);
}

bool TarnDomain::addAttribute(TarnAttribute* attribute) {
  if (attribute == nullptr) return false;
  if (state_ == kActive) {
    TARN().error("Domain '%s' is active", name_ != nullptr ? name_ : "<no-name>");
    return false;
  }
  if (attribute->owner() != nullptr) {
    TARN().warning("%s is already an TarnAttribute in domain %s", attribute->name(),
                   attribute->owner()->name());
    return false;
  }
  listOfAttribute()->insert(attribute, -1);
  attribute->setOwner(this);
  modified();
  return true;
}

void TarnDomain::addDerivedRedeclaration(const char* attributeName) {
  derivedHere_.emplace_back(attributeName);
}

bool TarnDomain::isActive() {
  if (state_ == kActive) return true;
  TARN().error("Domain '%s' is not active", name_ != nullptr ? name_ : "<no-name>");
  return false;
}

TarnDomain* TarnDomain::firstSuper() {
  return supers_ != nullptr && supers_->count() > 0 ? supers_->get(0) : nullptr;
}

int TarnDomain::nodeType() {
  if (nodeType_ != 0) return nodeType_;
  // The kind is the first supertype's, up to a domain that knows its own;
  // a chain that ends, or goes round, leaves the domain without one.
  constexpr int kDeepest = 256;
  TarnDomain* d = this;
  for (int depth = 0; d->nodeType_ == 0; ++depth) {
    TarnDomain* super = d->firstSuper();
    if (super == nullptr || super == d || depth == kDeepest) {
      TARN().error(
          "TarnDomain '%s' has no super types. Static ctors may not\n\thave been called. Check "
          "your application link procedure.\n",
          d->name_ != nullptr ? d->name_ : "<no-name>");
      return 0;
    }
    d = super;
  }
  nodeType_ = d->nodeType_;
  return nodeType_;
}

bool TarnDomain::isPrimitive() {
  TarnType* t = typeRecord();
  if (t == nullptr || t->creator == nullptr) {
    TARN().error("Domain:AssertNonPrimitive: Domain %s is primitive.", name_ != nullptr ? name_ : "<no-name>");
    return true;
  }
  return false;
}

void TarnDomain::activateDomain() {
  if (state_ != kInactive) return;
  state_ = kActivating;
  const uint32_t n = supers_ != nullptr ? supers_->count() : 0;
  for (uint32_t i = 0; i < n; ++i) {
    TarnDomain* s = supers_->get(i);
    if (s == nullptr || s == this) continue;
    s->activateDomain();
    for (TarnDomain* a : s->allSupers_)
      if (std::find(allSupers_.begin(), allSupers_.end(), a) == allSupers_.end()) allSupers_.push_back(a);
    if (std::find(allSupers_.begin(), allSupers_.end(), s) == allSupers_.end()) allSupers_.push_back(s);
    s->subtypes_.push_back(this);
  }
  if (nodeType() == kNodeEnum) {
    // An enumeration lists its enumerators as its own attributes.
    const uint32_t own = ownAttributes_ != nullptr ? ownAttributes_->count() : 0;
    if (enumerators_.empty())
      for (uint32_t i = 0; i < own; ++i) enumerators_.push_back(ownAttributes_->get(i)->name());
    state_ = kActive;
    return;
  }
  buildAttributeList();
  state_ = kActive;
}

void TarnDomain::buildAttributeList() {
  all_.clear();
  for (TarnAttribute* a : copies_) delete a;
  copies_.clear();
  // Inherited attributes first, each original once, then the own ones.
  std::vector<TarnAttribute*> originals;
  std::vector<bool> derived;
  const uint32_t n = supers_ != nullptr ? supers_->count() : 0;
  for (uint32_t i = 0; i < n; ++i) {
    TarnDomain* s = supers_->get(i);
    if (s == nullptr || s == this) continue;
    for (TarnAttribute* a : s->all_) {
      TarnAttribute* o = a->original();
      if (std::find(originals.begin(), originals.end(), o) != originals.end()) continue;
      originals.push_back(o);
      derived.push_back(a->isDerived());
    }
  }
  const uint32_t own = ownAttributes_ != nullptr ? ownAttributes_->count() : 0;
  for (uint32_t i = 0; i < own; ++i) {
    TarnAttribute* a = ownAttributes_->get(i);
    if (a == nullptr) continue;
    if (a->owner() == nullptr) a->setOwner(this);  // read from a file: the list makes the owner
    originals.push_back(a);
    derived.push_back(false);
  }
  for (const std::string& name : derivedHere_)
    for (size_t i = 0; i < originals.size(); ++i)
      if (EqualNoCase(originals[i]->name(), name.c_str())) derived[i] = true;

  // Slot positions come from this domain's class: an ancestor part of the
  // class holds the field its class declares; anything else overflows.
  TarnType* type = nodeType() == kNodeStructure || nodeType() == kNodeDesign ? typeRecord() : nullptr;
  uint32_t overflow = 0;
  for (size_t i = 0; i < originals.size(); ++i) {
    TarnAttribute* o = originals[i];
    TarnAttribute* a = o;
    if (o->owner() != this) {
      // A copy owned by this domain, so that it can carry this class's
      // offset; kept in memory only, never saved with the schema.
      a = new TarnAttribute();
      copies_.push_back(a);
      a->name_ = o->name_;
      a->domain_ = o->domain_;
      a->owner_ = this;
      a->original_ = o;
    }
    a->setDerived(derived[i]);
    a->setOffset(-1, false);
    if (type != nullptr && o->owner() != nullptr) {
      TarnType* declaring = o->owner()->boundType();
      if (declaring != nullptr && !declaring->isPrimitive()) {
        const TarnSuperEntry* part = declaring == type ? nullptr : type->findSuper(declaring);
        if (declaring == type || part != nullptr) {
          std::ptrdiff_t base = part != nullptr ? part->offset : 0;
          for (const TarnDeclaredAttribute& d : declaring->declaredAttributes()) {
            if (EqualNoCase(d.name, o->name())) {
              a->setOffset(base + d.offset, false);
              if (d.slotType != nullptr) a->cacheSlotType(d.slotType);
              break;
            }
          }
        }
      }
    }
    if (!a->hasSlot() && (nodeType() == kNodeStructure || nodeType() == kNodeDesign) && !a->isDerived()) {
      a->setOffset(overflow, true);
      overflow += 8;
    }
    all_.push_back(a);
  }
  overflowSize_ = overflow;
}

TarnDomain::~TarnDomain() {
  for (TarnAttribute* a : copies_) delete a;
  delete allList_;
}

ListOfTarnAttribute* TarnDomain::attributes() {
  if (state_ != kActive) activateDomain();
  if (allList_ == nullptr) {
    allList_ = new ListOfTarnAttribute();
    for (TarnAttribute* a : all_) allList_->insert(a, -1);
  }
  return allList_;
}

TarnAttribute* TarnDomain::findAttribute(const char* name) {
  if (state_ != kActive && !isActive()) return nullptr;
  if (all_.empty()) return nullptr;
  if (name == nullptr || *name == '\0') return all_.front();
  // Most attributes differ from the one sought in the first letter, and
  // the one sought is mostly spelled as the dictionary spells it: the
  // letter-by-letter comparison that ignores case is the last resort.
  const char first = FoldCase(*name);
  for (TarnAttribute* a : all_) {
    const char* n = a->name();
    if (n != nullptr && FoldCase(*n) == first && (std::strcmp(n, name) == 0 || EqualNoCase(n, name))) return a;
  }
  return nullptr;
}

TarnAttribute* TarnDomain::typeAttribute(TarnAttribute* attribute) {
  if (attribute == nullptr) return nullptr;
  if (nodeType() < 17) {
    TARN().warning("TarnDomain::typeAttribute(): domain %s is primitive (has no attributes)",
                   name_ != nullptr ? name_ : "<no-name>");
    return nullptr;
  }
  if (attribute->owner() == this) return attribute;
  TarnAttribute* o = attribute->original();
  for (TarnAttribute* a : all_)
    if (a->original() == o) return a;
  for (TarnAttribute* a : all_)
    if (EqualNoCase(a->name(), attribute->name())) return a;
  return nullptr;
}

bool TarnDomain::typeIsA(const TarnDomain* other) {
  if (other == this) return true;
  if (state_ != kActive && !isActive()) return false;
  return std::find(allSupers_.begin(), allSupers_.end(), other) != allSupers_.end();
}

TarnType* TarnDomain::typeRecord() {
  if (type_ == nullptr) chooseBestFit();
  return type_;
}

void TarnDomain::chooseBestFit() {
  const char* n = name_ != nullptr ? name_ : "<no-name>";
  if (state_ != kActive) activateDomain();
  if (nodeType() == kNodeEnum) {
    // An enumeration gets a class record of its own, with its enumerators.
    TarnType* t = TarnTypeRegistry::adopt(new TarnType(copyString(n), 4, 260, kNodeEnum));
    std::vector<std::string> names;
    TarnDomain* d = this;
    while (d != nullptr && d->enumerators_.empty()) d = d->firstSuper();
    if (d != nullptr)
      for (const char* e : d->enumerators_) names.emplace_back(e);
    t->setEnumerators(std::move(names));
    t->convert = &ConvertPrimitive;
    t->bindDomain(this);
    type_ = t;
    return;
  }
  std::vector<TarnType*> candidates;
  // Nearest first: each direct supertype follows its own ancestors.
  for (auto it = allSupers_.rbegin(); it != allSupers_.rend(); ++it)
    if ((*it)->type_ != nullptr) candidates.push_back((*it)->type_);
  if (candidates.empty()) {
    TARN().warning("\"%s\": No best-fit class available.", n);
    type_ = &TarnObject::classType;
    return;
  }
  const bool compiled = SchemaHasCompiledClasses(design());
  if (compiled && candidates.size() > 1 && candidates[0]->nodeType() == candidates[1]->nodeType() &&
      !candidates[1]->derivesFrom(candidates[0]) && !candidates[0]->derivesFrom(candidates[1]))
    TARN().message("\"%s\": Several possible best-fit classes.", n);
  TarnType* chosen = candidates[0];
  static const char* const kGeneric[] = {"TarnStructure", "TarnUnion", "TarnPtrList",
                                         "TarnPtrSet", "TarnPtrBag", "TarnPtrArray"};
  bool generic = false;
  for (const char* g : kGeneric) generic = generic || std::strcmp(chosen->name(), g) == 0;
  // A schema without compiled classes has best-fit classes throughout:
  // nothing worth telling.
  if (compiled && !generic && !chosen->isPrimitive())
    TARN().message("\"%s\": Best-fit class is \"%s\".", n, chosen->name());
  type_ = chosen;
}

}  // namespace korva
