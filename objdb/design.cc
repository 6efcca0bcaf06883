#include "objdb/design.h"

#include <algorithm>
#include <cstring>

#include "objdb/back_pointers.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {

// --- TarnExtent ------------------------------------------------------------

void TarnExtent::link(TarnObject* object) {
  object->extent_ = this;
  object->prev_ = last_;
  object->next_ = nullptr;
  if (last_ != nullptr) last_->next_ = object;
  else first_ = object;
  last_ = object;
  ++count_;
  object->mark_ = 0;
  section_->design()->setModified(true);
}

void* TarnExtent::allocate(size_t bytes) {
  bytes = (bytes + 15) & ~static_cast<size_t>(15);
  if (bytes > left_) {
    Arena& arena = section_->design()->arena();
    if (bytes > kLastChunk / 4) return arena.allocate(bytes);
    chunk_ = chunk_ == 0 ? kFirstChunk : std::min(2 * chunk_, kLastChunk);
    while (chunk_ < bytes) chunk_ *= 2;
    free_ = static_cast<char*>(arena.allocate(chunk_));
    left_ = chunk_;
  }
  char* result = free_;
  free_ += bytes;
  left_ -= static_cast<uint32_t>(bytes);
  return result;
}

void TarnExtent::unlink(TarnObject* object) {
  if (object->prev_ != nullptr) object->prev_->next_ = object->next_;
  else first_ = object->next_;
  if (object->next_ != nullptr) object->next_->prev_ = object->prev_;
  else last_ = object->prev_;
  object->prev_ = object->next_ = nullptr;
  object->extent_ = nullptr;
  --count_;
  if (object->oid_ != 0) section_->design()->changeOid(object, object->oid_, 0);
}

// --- TarnSection -----------------------------------------------------------

TarnSection::~TarnSection() { clear(); }

TarnExtent* TarnSection::extent(TarnDomain* domain, bool make) {
  if (lastHit_ != nullptr && lastHit_->domain() == domain) return lastHit_;
  auto it = byDomain_.find(domain);
  if (it != byDomain_.end()) return lastHit_ = it->second;
  if (!make) return nullptr;
  TarnExtent* e = new TarnExtent(domain, this);
  if (lastExtent_ != nullptr) lastExtent_->next_ = e;
  else firstExtent_ = e;
  lastExtent_ = e;
  byDomain_.emplace(domain, e);
  return lastHit_ = e;
}

void TarnSection::dropExtent(TarnExtent* extent) {
  TarnExtent* prev = nullptr;
  for (TarnExtent* e = firstExtent_; e != nullptr; prev = e, e = e->next_) {
    if (e != extent) continue;
    if (prev != nullptr) prev->next_ = e->next_;
    else firstExtent_ = e->next_;
    if (lastExtent_ == e) lastExtent_ = prev;
    byDomain_.erase(e->domain());
    if (lastHit_ == e) lastHit_ = nullptr;
    delete e;
    return;
  }
}

uint32_t TarnSection::count() const {
  uint32_t n = 0;
  for (TarnExtent* e = firstExtent_; e != nullptr; e = e->next_) n += e->count();
  return n;
}

void TarnSection::clear() {
  // Destructors only: the memory belongs to the design's arena.
  for (TarnExtent* e = firstExtent_; e != nullptr;) {
    while (TarnObject* o = e->first()) {
      if (o->inArena()) o->~TarnObject();
      else delete o;
    }
    TarnExtent* next = e->next_;
    delete e;
    e = next;
  }
  firstExtent_ = lastExtent_ = lastHit_ = nullptr;
  byDomain_.clear();
}

// --- TarnDesign ------------------------------------------------------------

TarnDesign::TarnDesign(const char* name) {
  if (name != nullptr) name_ = arena_.copy(name);
}

TarnDesign::~TarnDesign() {
  // Data first: dictionaries and lists of the system section may be
  // referred to by nothing else then.
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) delete *it;
  sections_.clear();
}

TarnBackPointerIndex* TarnDesign::backPointerIndex(bool make) {
  if (backPointerIndex_ == nullptr && make) backPointerIndex_ = std::make_unique<TarnBackPointerIndex>();
  return backPointerIndex_.get();
}

void TarnDesign::setName(const char* name) { name_ = name != nullptr ? arena_.copy(name) : nullptr; }

void TarnDesign::addSection(TarnSection* section) { sections_.push_back(section); }

TarnSection* TarnDesign::dflt_section() {
  if (dflt_ == nullptr) addSection(dflt_ = new TarnSection(this, TarnSection::kData));
  return dflt_;
}

TarnSection* TarnDesign::header_section() {
  if (header_ == nullptr) addSection(header_ = new TarnSection(this, TarnSection::kHeader));
  return header_;
}

TarnSection* TarnDesign::system_section() {
  if (system_ == nullptr) addSection(system_ = new TarnSection(this, TarnSection::kSystem));
  return system_;
}

namespace {
bool Foreign(TarnDesign* self, TarnSection* s, const char* which) {
  if (s != nullptr && s->design() != self) {
    TARN().report(1052, which);
    return true;
  }
  return false;
}
}  // namespace

void TarnDesign::dflt_section(TarnSection* s) {
  if (!Foreign(this, s, "dflt_section()")) dflt_ = s;
}
void TarnDesign::header_section(TarnSection* s) {
  if (!Foreign(this, s, "header_section()")) header_ = s;
}
void TarnDesign::system_section(TarnSection* s) {
  if (!Foreign(this, s, "system_section()")) system_ = s;
}

TarnSection* TarnDesign::newDataSection() {
  TarnSection* s = new TarnSection(this, TarnSection::kData);
  addSection(s);
  if (dflt_ == nullptr) dflt_ = s;
  return s;
}

DictionaryOfString* TarnDesign::keywordTable() {
  if (keywords_ == nullptr)
    keywords_ = new (system_section(), nullptr, &DictionaryOfString::classType) DictionaryOfString();
  return keywords_;
}

DictionaryOfTarnObject* TarnDesign::nameTable() {
  if (names_ == nullptr)
    names_ = new (system_section(), nullptr, &DictionaryOfTarnObject::classType) DictionaryOfTarnObject();
  return names_;
}

ListOfTarnDesign* TarnDesign::schemas() {
  if (schemas_ == nullptr)
    schemas_ = new (system_section(), nullptr, &ListOfTarnDesign::classType) ListOfTarnDesign();
  return schemas_;
}

void TarnDesign::useSchema(TarnDesign* schema) {
  ListOfTarnDesign* list = schemas();
  list->emptyYourself();
  if (schema != nullptr) list->insert(schema, -1);
}

void TarnDesign::addSchema(TarnDesign* schema) {
  if (schema != nullptr) schemas()->addIfAbsent(schema);
}

bool TarnDesign::useSchema(const char* name) {
  TarnDesign* s = FindSchemaDesign(name);
  if (s == nullptr) {
    TARN().report(1008, name != nullptr ? name : "<null>");
    return false;
  }
  useSchema(s);
  return true;
}

bool TarnDesign::addSchema(const char* name) {
  TarnDesign* s = FindSchemaDesign(name);
  if (s == nullptr) {
    TARN().report(1008, name != nullptr ? name : "<null>");
    return false;
  }
  addSchema(s);
  return true;
}

TarnDesign* TarnDesign::schema() {
  if (schemas_ != nullptr && schemas_->count() > 0) return schemas_->get(0);
  return TARN().systemDesign();
}

TarnDomain* TarnDesign::findDomain(const char* name) { return FindDomainInDesign(this, name); }

TarnObject* TarnDesign::newInstance(const char* typeName, TarnSection* section) {
  if (typeName == nullptr || *typeName == '\0') return nullptr;
  TarnDomain* domain = findDomain(typeName);
  if (domain == nullptr) {
    TARN().report(1005, typeName);
    return nullptr;
  }
  if (!domain->isActive() || domain->isPrimitive()) return nullptr;
  TarnType* type = domain->typeRecord();
  if (type->creator == nullptr) {
    TARN().report(1024, type->name());
    return nullptr;
  }
  return type->creator(this, section != nullptr ? section : dflt_section(), domain);
}

TarnObject* TarnDesign::findObject(const char* name) {
  if (state_ == kBeingRead || names_ == nullptr) return nullptr;
  return names_->lookup(name);
}

// --- Object identifiers ------------------------------------------------------

TarnOID TarnDesign::newOid(int kind) {
  return kind >= 0 && kind < kOidKinds ? oidAllocators_[kind].next(kind) : 0;
}

TarnObject* TarnDesign::findByOid(TarnOID oid) {
  if (oid == 0) return nullptr;
  if (!oids_) buildOidIndex();
  auto it = oids_->find(oid);
  return it != oids_->end() ? it->second : nullptr;
}

void TarnDesign::buildOidIndex() {
  oids_ = std::make_unique<std::unordered_map<TarnOID, TarnObject*>>();
  for (TarnSection* s : sections_)
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
        if (o->oid_ != 0 && !oids_->emplace(o->oid_, o).second)
          TARN().report(1032, name_ != nullptr ? name_ : "");
}

bool TarnDesign::changeOid(TarnObject* object, TarnOID old, TarnOID oid) {
  if (!oids_) {
    if (oid == 0) return true;  // nothing indexed yet, nothing to forget
    buildOidIndex();
  }
  if (oid != 0) {
    auto it = oids_->find(oid);
    if (it != oids_->end() && it->second != object) {
      TARN().report(1032, name_ != nullptr ? name_ : "");
      return false;
    }
  }
  auto it = old != 0 ? oids_->find(old) : oids_->end();
  if (it != oids_->end() && it->second == object) oids_->erase(it);
  if (oid != 0) (*oids_)[oid] = object;
  return true;
}

void TarnDesign::findObjects(ListOfTarnObject* result, TarnDomain* domain, bool subtypes) {
  for (TarnSection* s : sections_) {
    if (s->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next()) {
      if (e->domain() != domain && !(subtypes && e->domain()->typeIsA(domain))) continue;
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) result->insert(o, -1);
    }
  }
}

uint32_t TarnDesign::size() {
  uint32_t n = 0;
  for (TarnSection* s : sections_)
    if (s->kind() == TarnSection::kData) n += s->count();
  return n;
}

void TarnDesign::emptyYourself() {
  // The referrers of the data sections go with them.
  discardBackPointers(this);
  for (auto it = sections_.begin(); it != sections_.end();) {
    if ((*it)->kind() == TarnSection::kData) {
      delete *it;
      it = sections_.erase(it);
    } else {
      ++it;
    }
  }
  dflt_ = nullptr;
  if (names_ != nullptr) {
    TarnObject* n = names_;
    names_ = nullptr;
    // Only a table of this design's own is this design's to destroy.
    if (n->design() != this && n->design() != nullptr) return;
    if (n->inArena()) n->~TarnObject();
    else delete n;
  }
}

void TarnDesign::activate() {
  if (state_ == kBeingRead) {
    TARN().error("activate() called while design being read.");
    return;
  }
  if (state_ == kActivating || state_ == kActive) return;
  if (schemaDesign_) ActivateSchemaDomains(this);
  state_ = kActivating;
  for (TarnSection* s : sections_)
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next()) {
      // The instances of an extent share their domain's class, so the
      // first one tells whether the extent has anything to do.
      if (e->first() == nullptr || !e->first()->typePtr()->activates) continue;
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) o->activate();
    }
  state_ = kActive;
  // The header records read from a file become the design's header links.
  if (header_ != nullptr) {
    for (TarnExtent* e = header_->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        if (file_name* n = dynamic_cast<file_name*>(o)) {
          if (fileName_ == nullptr || fileName_ == n) fileName_ = n;
          else TARN().report(1009, "file_name");
        } else if (file_description* d = dynamic_cast<file_description*>(o)) {
          if (description_ == nullptr || description_ == d) description_ = d;
          else TARN().report(1009, "file_description");
        }
      }
  }
  modified_ = false;
}

}  // namespace korva
