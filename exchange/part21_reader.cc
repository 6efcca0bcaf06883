#include "exchange/part21_reader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/file_schema.h"
#include "exchange/iostep.h"
#include "exchange/part21_tokenizer.h"
#include "objdb/complex_domain.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/error_category.h"
#include "objdb/interface.h"
#include "objdb/select_path.h"
#include "objdb/text.h"
#include "objdb/union.h"

namespace korva {
namespace {

const TarnErrorCategory& Msg() { return ExchangeMessages(); }

// Destroys an instance made by the reader (its memory stays with the
// design's arena).
void Destroy(TarnObject* object) {
  if (object->inArena()) object->~TarnObject();
  else delete object;
}

// A reference to an instance not yet read, waiting in its number's node.
struct Pending {
  TarnObject* owner;    // instance, aggregate or select holding the slot
  TarnAttribute* att;   // attribute or element attribute; null for a select
  int index;            // element position (0 for an attribute)
  int line;             // where the reference was written
  int next;             // the entry of the same node made before this one, or -1
  uint32_t number;      // the number referred to
};

// One instance number met in the file.  The instance's domain is kept here
// (as its index in the reader's table of domains) so that checking a
// reference to it does not touch the instance itself.
struct Node {
  TarnObject* object = nullptr;
  uint32_t domain = 0;  // 0: none
  int first = -1;       // the latest pending entry, or -1
};

// The part of a referenced instance that a slot holds is at a fixed distance
// from its TarnObject part for all instances of one domain (they are all of
// the domain's class).  A few (domain, distance) pairs met last are kept per
// slot, so that most references are stored without a cast.
struct CastMemo {
  static constexpr int kSize = 4;
  TarnDomain* domain[kSize] = {nullptr, nullptr, nullptr, nullptr};
  std::ptrdiff_t delta[kSize] = {0, 0, 0, 0};
  int next = 0;
};

// How the reader stores a value itself, without the late-bound putValue
// path: the slot's class and the value's kind are known from the attribute.
// kGeneric: through putValue, as any other value.
enum class Direct : uint8_t { kGeneric, kInteger, kReal, kString, kEnum, kBoolean, kReference, kAggregate };

// The elements of the aggregates of one domain.
struct ListPlan {
  TarnAttribute* element = nullptr;
  Direct kind = Direct::kGeneric;  // kInteger, kReal, kString or kReference
  uint32_t size = 0;               // bytes per element record
  const TarnType* elementType = nullptr;
  TarnDomain* want = nullptr;      // the element attribute's domain
  CastMemo memo;
  // The aggregates of one domain are all of its class: the distance from
  // the TarnObject part to the TarnAggregate part, once known.
  bool castKnown = false;
  std::ptrdiff_t toAggregate = 0;
};

// One attribute of an entity domain: where its slot is in an instance.
struct SlotPlan {
  Direct kind = Direct::kGeneric;
  bool overflow = false;     // in the overflow block rather than the object
  uint32_t width = 0;        // bytes of an enumeration slot
  std::ptrdiff_t offset = 0;
  const TarnType* type = nullptr;  // the slot's type
  TarnDomain* want = nullptr;      // the attribute's domain
  ListPlan* list = nullptr;        // kAggregate: the aggregate domain's plan
  CastMemo memo;                   // kReference and kAggregate
};

// An entity name met in the file: its domain (null when unknown) and, once
// an instance has been made, the plan of its attributes.
struct Known {
  TarnDomain* domain = nullptr;
  bool planned = false;
  std::vector<SlotPlan> slots;  // parallel to domain->allAttributes(); empty: all generic
};

class Reader {
 public:
  Reader(Part21Tokenizer& tokens, const char* name) : t_(tokens), name_(name != nullptr ? name : "") {}

  TarnDesign* run();

 private:
  // --- frame -----------------------------------------------------------------
  bool header();
  void headerEntry();
  bool headerChecks();
  bool data();
  bool parameterisedSections();
  void statements();
  void entityBody(uint32_t number);
  void complexInstance(uint32_t number);
  void skipStatement();
  TarnDesign* fail();
  void finish();

  // --- instances and values --------------------------------------------------
  TarnDomain* lookup(const char* name, size_t length, bool report);
  Known* known(const char* name, size_t length, bool report);
  TarnObject* create(TarnDomain* domain, uint32_t number);
  // `plan` (may be null) holds the slots of `object`'s attributes when
  // `attributes` is its domain's complete list.
  bool attributeList(TarnObject* object, const std::vector<TarnAttribute*>& attributes, Known* plan);
  // Reads the current value into `att` of `owner` (element `index` of an
  // aggregate owner).  True when a value (or a reference waiting for its
  // instance) went into the slot; false when it was unset, skipped or
  // refused, so that an aggregate does not advance past it.
  bool value(TarnObject* owner, TarnAttribute* att, int index, int inner);
  bool reference(TarnObject* owner, TarnAttribute* att, int index, uint32_t number);
  bool selectValue(TarnObject* owner, TarnAttribute* att, int index, TarnDomain* select, int inner);
  // `slot` and `plan`, when given, are the owner's slot for the aggregate.
  // True when the aggregate was made and stored.
  bool aggregateValue(TarnObject* owner, TarnAttribute* att, int index, TarnDomain* domain, char* slot = nullptr,
                      SlotPlan* plan = nullptr);
  // --- direct stores ---------------------------------------------------------
  void plan(Known* k, TarnObject* object);
  ListPlan* listPlan(TarnDomain* domain, TarnAggregate* list);
  void directValue(TarnObject* owner, char* base, char* overflow, TarnAttribute* att, SlotPlan& p, int inner);
  // The referenced instance as the slot's class `type` holds it (null when
  // the cast fails, which TypecastRaw reports).
  void* cast(CastMemo& memo, TarnObject* object, TarnDomain* domain, const TarnType* type);
  uint32_t domainIndex(TarnDomain* domain);
  TarnDomain* domainOf(const Node& nd) const { return domainTable_[nd.domain]; }
  // Elements of a list while they are of the plan's kind.  True when the
  // list is complete (its ')' is current); false when the element or
  // delimiter that is current is left to the generic loop, `*atDelimiter`
  // telling which.
  bool directElements(TarnAggregate* list, ListPlan& lp, int inner, int* position, bool* atDelimiter);
  void pend(TarnObject* owner, TarnAttribute* att, int index, uint32_t number, Node& nd);
  void skipValue(int inner);
  void skipList();
  void wrongToken(const char* kind, TarnAttribute* att, int inner);
  void convert(TarnAttribute* att, const char* from, const char* to);
  // The attribute that messages about the value being read name: the
  // instance's attribute, also for an element of its aggregates or the
  // value of its select.
  const char* named(TarnAttribute* att) const {
    if (named_ != nullptr) return named_->name();
    return att != nullptr ? att->name() : "<no-att>";
  }

  // --- statements ------------------------------------------------------------
  // An instance statement is read whole before its instance is bound to its
  // number, so that a statement that turns out bad can be taken back.
  void beginStatement();
  // Binds `object` to `number` (a data instance), or, when the statement
  // met a number that does not fit, destroys `object` and everything made
  // for it.
  void endStatement(uint32_t number, TarnObject* object, bool data);
  // After the statement's attribute list (`listed`: read up to its ')'):
  // expects ';' and ends the statement while the ';' is current, so that
  // the messages of binding carry the statement's line; otherwise skips the
  // rest of the statement and then ends it.
  void closeStatement(uint32_t number, TarnObject* object, bool data, bool listed);
  // Whether the number of the current entity reference fits; if not, it is
  // reported and the statement will be dropped.
  bool numberFits();
  void made(TarnObject* object) { made_.push_back(object); }
  void bind(uint32_t number, TarnObject* object);
  bool compatible(TarnObject* object, TarnDomain* domain);
  TarnUnion* newSelect(TarnDomain* domain);
  void storeInSelect(TarnUnion* outer, const std::vector<TarnAttribute*>& path, TarnObject* object);
  TarnUnion* innermost(TarnUnion* outer, const std::vector<TarnAttribute*>& path);

  Node& node(uint32_t number) {
    if (number < kDenseLimit) {
      const uint32_t page = number >> kPageBits;
      if (page >= pages_.size()) pages_.resize(page + 1);
      if (pages_[page] == nullptr) pages_[page].reset(new Node[kPageSize]);
      return pages_[page][number & (kPageSize - 1)];
    }
    return sparse_[number];
  }
  static bool Frame(int token) {
    return token == kP21Data || token == kP21EndSec || token == kP21EndIso || token == kP21Header ||
           token == kP21Iso || token == kP21EntityDeclaration || token == kP21EndOfFile;
  }

  // Numbers below the limit have their nodes in pages of 64 KB made on
  // first use (nothing is moved as the numbers grow, and a small file makes
  // one small page); the others in a hash table.
  static constexpr uint32_t kDenseLimit = 1u << 24;
  static constexpr uint32_t kPageBits = 12;
  static constexpr uint32_t kPageSize = 1u << kPageBits;

  Part21Tokenizer& t_;
  std::string name_;
  TarnDesign* design_ = nullptr;
  TarnDesign* headerSchema_ = nullptr;
  TarnSection* section_ = nullptr;
  unsigned version_ = 0;
  unsigned conformance_ = 0;
  uint32_t headerNumber_ = 1;
  std::vector<std::unique_ptr<Node[]>> pages_;
  std::unordered_map<uint32_t, Node> sparse_;
  std::vector<Pending> pending_;
  std::vector<uint32_t> awaited_;  // numbers a reference waited for (repeats possible)
  std::vector<uint32_t> scopes_;
  std::deque<std::string> names_;  // storage of the keys below
  std::unordered_map<std::string_view, Known> domains_;
  std::string_view lastName_;      // the name looked up last and its entry
  Known* lastKnown_ = nullptr;
  std::unordered_map<TarnDomain*, ListPlan> listPlans_;
  std::vector<unsigned char> scratch_;  // element records of the list being read
  std::vector<TarnDomain*> domainTable_{nullptr};  // Node::domain indexes
  std::unordered_map<TarnDomain*, uint32_t> domainIndexes_;
  TarnDomain* lastIndexed_ = nullptr;
  uint32_t lastIndex_ = 0;
  std::vector<int> order_;  // pending entries of one node, latest first
  TarnAttribute* named_ = nullptr;
  // The statement being read: where its pending references start, the
  // aggregates and selects made for it, and whether it is to be dropped.
  size_t statementPending_ = 0;
  std::vector<TarnObject*> made_;
  bool dropStatement_ = false;
};

// --- frame -------------------------------------------------------------------

TarnDesign* Reader::run() {
  TarnDesign* current = TARN().design();
  design_ = TARN().newDesign(name_.c_str());
  TARN().useDesign(current);
  design_->setState(TarnDesign::kBeingRead);
  headerSchema_ = FindSchemaDesign("header_section_schema");
  if (headerSchema_ == nullptr) Msg().warning("Cound not find header_section_schema!");
  else design_->addSchema(headerSchema_);
  t_.next();
  if (!t_.expect(kP21Iso) || !t_.expect(kP21Semicolon)) return fail();
  if (!header()) return fail();
  if (!data()) return fail();
  if (!t_.expect(kP21EndIso) || !t_.expect(kP21Semicolon)) return fail();
  finish();
  return design_;
}

TarnDesign* Reader::fail() {
  t_.endReading();
  TarnDesign* d = design_;
  design_ = nullptr;
  d->setState(TarnDesign::kNormal);
  d->emptyYourself();
  TARN().deleteDesign(d);
  TARN().emptyTrash();
  return nullptr;
}

void Reader::finish() {
  design_->setState(TarnDesign::kNormal);
  // Numbers referred to but never defined: among those that were ever
  // waited for.
  std::vector<uint32_t> unresolved;
  for (uint32_t n : awaited_) {
    const Node& nd = node(n);
    if (nd.object == nullptr && nd.first >= 0) unresolved.push_back(n);
  }
  std::sort(unresolved.begin(), unresolved.end());
  unresolved.erase(std::unique(unresolved.begin(), unresolved.end()), unresolved.end());
  for (uint32_t n : unresolved) Msg().warning("Unresolved reference to instance #%d.", static_cast<int>(n));
  t_.reportCounters();
  t_.endReading();
  design_->activate();
}

bool Reader::header() {
  if (!t_.expect(kP21Header) || !t_.expect(kP21Semicolon)) return false;
  section_ = design_->header_section();
  // Any frame token ends the entries (skipStatement stops in front of them):
  // ENDSEC as it should, anything else fails the expectation below.
  while (!Frame(t_.token())) headerEntry();
  if (!t_.expect(kP21EndSec) || !t_.expect(kP21Semicolon)) return false;
  return headerChecks();
}

void Reader::headerEntry() {
  if (t_.token() == kP21Keyword) {
    TarnDomain* d = lookup(t_.text(), t_.textLength(), true);
    if (d == nullptr) {
      skipStatement();
      return;
    }
    TarnObject* o = create(d, headerNumber_++);
    t_.next();
    if (o == nullptr) {
      skipStatement();
      return;
    }
    beginStatement();
    closeStatement(0, o, false, attributeList(o, d->allAttributes(), nullptr));
    return;
  }
  if (t_.token() == kP21UserKeyword) {
    Msg().report(2040, t_.text());
  } else {
    Msg().error("Bad header entry.");
  }
  skipStatement();
}

bool Reader::headerChecks() {
  TarnObject* records[3] = {nullptr, nullptr, nullptr};
  static const char* const kRecords[3] = {"file_description", "file_name", "file_schema"};
  static const char* const kUpper[3] = {"FILE_DESCRIPTION", "FILE_NAME", "FILE_SCHEMA"};
  TarnSection* h = design_->header_section();
  for (TarnExtent* e = h->firstExtent(); e != nullptr; e = e->next())
    for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
      for (int i = 0; i < 3; ++i)
        if (o->typePtr()->nodeType() == kNodeStructure && EqualNoCase(o->domainName(), kRecords[i])) {
          if (records[i] == nullptr || records[i]->instanceNumber() > o->instanceNumber()) {
            if (records[i] != nullptr) Msg().report(2021, kUpper[i]);
            else records[i] = o;
          } else {
            Msg().report(2021, kUpper[i]);
          }
        }
  // Schemas first: a missing one fails the read.
  if (records[2] != nullptr) {
    TarnAggregate* ids = dynamic_cast<TarnAggregate*>(records[2]->getObject("schema_identifiers"));
    const uint32_t n = ids != nullptr ? ids->count() : 0;
    for (uint32_t i = 0; i < n; ++i) {
      const char* id = ids->getString(static_cast<int>(i));
      TarnDesign* schema = id != nullptr ? FindFileSchema(id) : nullptr;
      if (schema == nullptr) {
        Msg().report(2011, id != nullptr ? id : "<null>");
        ReportReadableSchemas();
        return false;
      }
      design_->addSchema(schema);
    }
  }
  bool ordered = true;
  for (int i = 0; i < 3; ++i) {
    if (records[i] == nullptr) Msg().report(2025, kUpper[i]);
    else if (records[i]->instanceNumber() != static_cast<uint32_t>(i + 1)) ordered = false;
  }
  if (!ordered) Msg().report(2023);
  bool any = false;
  ListOfTarnDesign* schemas = design_->schemas();
  for (uint32_t i = 0; i < schemas->count(); ++i) any = any || schemas->get(i) != headerSchema_;
  if (!any) Msg().report(2034);
  // Implementation level "v;c" or "c".
  if (records[0] != nullptr) {
    const char* level = records[0]->getString("implementation_level");
    if (level != nullptr) {
      const char* semi = std::strchr(level, ';');
      if (semi != nullptr) {
        version_ = static_cast<unsigned>(std::atoi(level));
        conformance_ = static_cast<unsigned>(std::atoi(semi + 1));
      } else {
        version_ = 1;
        conformance_ = static_cast<unsigned>(std::atoi(level));
      }
      if (version_ == 0 || conformance_ == 0) {
        Msg().error("Urecognized implementation level '%s'", level);
        if (version_ == 0) version_ = 2;
        if (conformance_ == 0) conformance_ = 1;
      }
    }
  }
  return true;
}

bool Reader::data() {
  if (t_.token() != kP21Data) return t_.expect(kP21Data);
  t_.next();
  if (t_.token() == kP21OpenParen) return parameterisedSections();
  if (!t_.expect(kP21Semicolon)) return false;
  section_ = design_->dflt_section();
  statements();
  return t_.expect(kP21EndSec) && t_.expect(kP21Semicolon);
}

bool Reader::parameterisedSections() {
  for (;;) {
    section_ = design_->newDataSection();
    t_.next();  // past '('
    std::string sectionName;
    if (t_.token() == kP21String) {
      sectionName = t_.text();
      t_.next();
    } else {
      t_.expect(kP21String);
      Msg().warning("expecting a data section name");
    }
    std::string schemaName;
    if (t_.expect(kP21Comma) && t_.expect(kP21OpenParen) && t_.token() == kP21String) {
      schemaName = t_.text();
      t_.next();
    } else {
      if (t_.token() != kP21String) t_.expect(kP21String);
      Msg().warning("expecting a list of schemas");
      if (t_.token() == kP21String) t_.next();
    }
    section_->setName(sectionName);
    section_->setSchemaName(schemaName);
    if (!t_.expect(kP21CloseParen) || !t_.expect(kP21CloseParen) || !t_.expect(kP21Semicolon)) return false;
    statements();
    if (!t_.expect(kP21EndSec) || !t_.expect(kP21Semicolon)) return false;
    if (t_.token() != kP21Data) return true;
    t_.next();
    if (t_.token() != kP21OpenParen) return t_.expect(kP21OpenParen);
  }
}

void Reader::statements() {
  for (;;) {
    switch (t_.token()) {
      case kP21EndIso: case kP21EndSec: case kP21EndOfFile:
        return;
      case kP21EntityDeclaration:
      case kP21EntityReference: {
        if (t_.token() == kP21EntityReference) Msg().error("Missing equal sign.");
        if (!numberFits()) {
          Msg().report(2007);
          t_.next();  // skipStatement() would stop in front of a declaration
          skipStatement();
          break;
        }
        uint32_t n = t_.instanceNumber();
        t_.next();
        entityBody(n);
        break;
      }
      case kP21EndScope: {
        if (scopes_.empty()) {
          Msg().report(2019);
          skipStatement();
          break;
        }
        uint32_t n = scopes_.back();
        scopes_.pop_back();
        t_.next();
        if (t_.token() == kP21Slash) {  // export list
          do t_.next(); while (t_.token() != kP21Slash && !Frame(t_.token()) && t_.token() != kP21Semicolon);
          if (t_.token() == kP21Slash) t_.next();
        }
        entityBody(n);
        break;
      }
      default:
        Msg().report(2043, "entity declaration", t_.foundText());
        // A stray DATA, HEADER or ISO-10303-21 is passed over; skipStatement
        // would stop in front of it for good.
        if (Frame(t_.token())) t_.next();
        else skipStatement();
    }
  }
}

void Reader::entityBody(uint32_t number) {
  Node& nd = node(number);
  if (nd.object != nullptr) {
    Msg().report(2018, static_cast<int>(number));
    skipStatement();
    return;
  }
  const int token = t_.token();
  const bool name = token == kP21Keyword || token == kP21Data || token == kP21Header || token == kP21EndSec ||
                    token == kP21EndScope || token == kP21Iso || token == kP21EndIso;
  if (name) {
    Known* k = known(t_.text(), t_.textLength(), true);
    TarnDomain* d = k != nullptr ? k->domain : nullptr;
    if (d == nullptr) {
      skipStatement();
      return;
    }
    TarnObject* o = create(d, number);
    t_.next();
    if (o == nullptr) {
      skipStatement();
      return;
    }
    beginStatement();
    if (!k->planned) plan(k, o);
    closeStatement(number, o, true, attributeList(o, d->allAttributes(), k));
    return;
  }
  if (token == kP21OpenParen) {
    complexInstance(number);
    return;
  }
  if (token == kP21Scope) {
    scopes_.push_back(number);
    t_.next();
    return;
  }
  if (token == kP21UserKeyword) {
    Msg().report(2040, t_.text());
  } else {
    Msg().report(2044, "keyword", "'('", t_.foundText());
    Msg().report(2007);
  }
  skipStatement();
}

void Reader::complexInstance(uint32_t number) {
  // First pass: the names, their lists skipped by depth, all recorded.
  t_.startRecording();
  const int outer = t_.depth();  // after the opening '('
  std::vector<TarnDomain*> domains;
  std::vector<std::string> names;
  bool ok = true;
  t_.next();
  while (ok && !(t_.token() == kP21CloseParen && t_.depth() == outer - 1)) {
    const int token = t_.token();
    if (token == kP21Keyword) {
      names.emplace_back(t_.text());
      TarnDomain* d = lookup(t_.text(), t_.textLength(), true);
      if (d == nullptr) ok = false;
      else domains.push_back(d);
      t_.next();
      if (t_.token() != kP21OpenParen) {
        Msg().report(2035);
        ok = false;
        break;
      }
      const int listDepth = t_.depth();
      do {
        t_.next();
        const int tk = t_.token();
        if (tk == kP21Semicolon || tk == kP21EntityDeclaration || tk == kP21EndIso || tk == kP21Iso ||
            tk == kP21EndOfFile) {
          Msg().error("Bad attribute list for %s.", names.back().c_str());
          t_.stopRecording();
          skipStatement();
          return;
        }
      } while (!(t_.token() == kP21CloseParen && t_.depth() == listDepth - 1));
      t_.next();
    } else if (token == kP21UserKeyword) {
      Msg().report(2040, t_.text());
      ok = false;
    } else {
      Msg().report(2036);
      ok = false;
    }
  }
  t_.stopRecording();
  if (!ok) {
    skipStatement();
    return;
  }
  TarnDomain* complex = FindAndOrDomain(domains, nullptr);
  if (complex == nullptr) {
    Msg().report(2026);
    if (names.size() > 1) {
      std::string list;
      for (const std::string& n : names) list += n + " ";
      Msg().warning("Add the following to your working set:\n\tANDOR( %s)", list.c_str());
    }
    skipStatement();
    return;
  }
  if (conformance_ == 1 && !complex->isComplex()) Msg().warning("Entity incorrectly written using an external mapping.");
  // Second pass over the recorded tokens.
  TarnObject* o = create(complex, number);
  if (o == nullptr) {
    skipStatement();
    return;
  }
  beginStatement();
  t_.replay();
  t_.next();  // the first name
  for (size_t i = 0; i < domains.size(); ++i) {
    std::vector<TarnAttribute*> own;
    ListOfTarnAttribute* declared = domains[i]->listOfAttribute();
    for (uint32_t k = 0; k < declared->count(); ++k)
      if (TarnAttribute* a = complex->typeAttribute(declared->get(k))) own.push_back(a);
    t_.next();  // '('
    if (!attributeList(o, own, nullptr)) break;
  }
  closeStatement(number, o, true, t_.expect(kP21CloseParen));
}

void Reader::skipStatement() {
  for (;;) {
    const int token = t_.token();
    if (token == kP21Semicolon) {
      t_.next();
      return;
    }
    if (Frame(token)) return;
    t_.next();
  }
}

// --- instances and values ---------------------------------------------------------

TarnDomain* Reader::lookup(const char* name, size_t length, bool report) {
  return known(name, length, report)->domain;
}

Known* Reader::known(const char* name, size_t length, bool report) {
  std::string_view key(name, length);
  // Instances of one type often come in runs.
  if (lastKnown_ == nullptr || key != lastName_) {
    auto it = domains_.find(key);
    if (it == domains_.end()) {
      TarnDomain* d = FindDomainInDesign(design_, name);
      if (d != nullptr && !d->isEntity()) d = nullptr;
      names_.emplace_back(name, length);
      it = domains_.emplace(std::string_view(names_.back()), Known()).first;
      it->second.domain = d;
    }
    lastName_ = it->first;
    lastKnown_ = &it->second;
  }
  if (lastKnown_->domain == nullptr && report) Msg().report(2006, name);
  return lastKnown_;
}

TarnObject* Reader::create(TarnDomain* domain, uint32_t number) {
  TarnType* type = domain->typeRecord();
  if (type == nullptr || type->creator == nullptr) {
    TARN().report(1024, type != nullptr ? type->name() : domain->name());
    return nullptr;
  }
  TarnObject* o = type->creator(design_, section_, domain);
  if (o != nullptr) o->setInstanceNumber(number);
  return o;
}

bool Reader::attributeList(TarnObject* object, const std::vector<TarnAttribute*>& attributes, Known* plan) {
  if (t_.token() != kP21OpenParen) {
    Msg().report(2035);
    return false;
  }
  const int inner = t_.depth();
  t_.next();
  size_t count = 0;
  SlotPlan* slots = plan != nullptr && !plan->slots.empty() ? plan->slots.data() : nullptr;
  char* base = slots != nullptr ? static_cast<char*>(object->baseObject()) : nullptr;
  char* overflow = slots != nullptr ? static_cast<char*>(object->overflow()) : nullptr;
  if (!(t_.token() == kP21CloseParen && t_.depth() == inner - 1)) {
    for (;;) {
      if (count < attributes.size()) {
        named_ = attributes[count];
        if (slots != nullptr) directValue(object, base, overflow, attributes[count], slots[count], inner);
        else value(object, attributes[count], 0, inner);
        named_ = nullptr;
      } else {
        skipValue(inner);
      }
      ++count;
      if (t_.token() == kP21Comma && t_.depth() == inner) {
        t_.next();
        continue;
      }
      if (t_.token() == kP21CloseParen && t_.depth() == inner - 1) break;
      // A missing delimiter ends the list; the rest is skipped.
      while (!(t_.token() == kP21CloseParen && t_.depth() == inner - 1) && t_.token() != kP21Semicolon &&
             !Frame(t_.token()))
        t_.next();
      break;
    }
  }
  if (count != attributes.size())
    Msg().report(2046, static_cast<int>(attributes.size()), attributes.size() == 1 ? "" : "s",
                 static_cast<int>(count));
  return t_.expect(kP21CloseParen);
}

void Reader::skipValue(int inner) {
  while (!(t_.token() == kP21Comma && t_.depth() == inner) &&
         !(t_.token() == kP21CloseParen && t_.depth() == inner - 1) && t_.token() != kP21Semicolon &&
         !Frame(t_.token()))
    t_.next();
}

void Reader::wrongToken(const char* kind, TarnAttribute* att, int inner) {
  Msg().report(2014, kind, named(att));
  skipValue(inner);
}

void Reader::convert(TarnAttribute* att, const char* from, const char* to) {
  Msg().report(2017, named(att), from, to);
}

bool Reader::value(TarnObject* owner, TarnAttribute* att, int index, int inner) {
  const int token = t_.token();
  // An element of an aggregate is put in, never left unset: a value that
  // does not fit is skipped and the aggregate does not grow.
  const bool element = owner->typePtr()->nodeType() == kNodeAggregate;
  if (token == kP21Dollar || token == kP21Star) {
    if (!element) owner->unset(att);
    t_.next();
    return false;
  }
  TarnDomain* domain = att->domain();
  const TarnType* slot = owner->slotType(att);
  const int kind = domain != nullptr ? domain->nodeType() : slot->nodeType();
  bool stored = false;
  switch (kind) {
    case kNodeInt: case kNodeByte: case kNodeShort: case kNodeLong: case kNodeUShort: case kNodeUInt:
    case kNodeULong: case kNodeChar:
      if (token == kP21Integer) {
        stored = owner->putInteger(t_.integerValue(), att, index);
      } else if (token == kP21Real) {
        convert(att, "real", "integer");
        stored = owner->putInteger(static_cast<int>(t_.realValue()), att, index);
      } else {
        wrongToken("integer", att, inner);
        return false;
      }
      break;
    case kNodeDouble: case kNodeFloat:
      if (token == kP21Real) {
        stored = owner->putDouble(t_.realValue(), att, index);
      } else if (token == kP21Integer) {
        convert(att, "integer", "real");
        stored = owner->putDouble(t_.realValue(), att, index);
      } else {
        wrongToken("real", att, inner);
        return false;
      }
      break;
    case kNodeBoolean: case kNodeLogical: {
      const char* what = kind == kNodeBoolean ? "boolean" : "logical";
      TarnBoolean v = kUnsetBoolean;
      if (token == kP21Enumeration) {
        const char* e = t_.text();
        char c = static_cast<char>(e[0] & ~0x20);
        if (e[0] != '\0' && e[1] == '\0' && (c == 'T' || c == 'F' || c == 'U')) {
          v = c == 'T' ? 1 : c == 'F' ? 0 : 2;
        } else {
          Msg().report(2008, e, what, named(att));
        }
      } else if (token == kP21Integer) {
        convert(att, "integer", what);
        int i = t_.integerValue();
        v = (kind == kNodeLogical && i == 2) ? 2 : (i != 0 ? 1 : 0);
      } else {
        wrongToken(what, att, inner);
        return false;
      }
      if (element && v == kUnsetBoolean) break;  // no truth value: the element is skipped
      stored = owner->putBoolean(v, att, index);
      break;
    }
    case kNodeString:
      if (token != kP21String) {
        wrongToken("string", att, inner);
        return false;
      }
      stored = owner->putString(t_.text(), att, index);
      break;
    case kNodeBinary: {
      if (token != kP21Binary) {
        wrongToken("binary", att, inner);
        return false;
      }
      const char* text = t_.text();
      stored = owner->putValue(att, index, &text, &kStrType);
      if (!stored) Msg().report(2014, "binary", named(att));
      break;
    }
    case kNodeEnum: {
      if (token != kP21Enumeration) {
        wrongToken("enumeration", att, inner);
        return false;
      }
      const uint32_t width = slot->recordSize();
      if (width != 1 && width != 2 && width != 4) {
        Msg().report(2022, static_cast<int>(width), 1, 2, 4);
        break;
      }
      int32_t i = slot->enumeratorValue(t_.text());
      if (i < 0) {
        Msg().report(2008, t_.text(), domain != nullptr ? domain->name() : slot->name(), named(att));
        if (!element) owner->unset(att);
      } else {
        stored = owner->putEnum(i, att, index);
      }
      break;
    }
    case kNodeStructure: case kNodeObject: case kNodeDesign:
      if (token != kP21EntityReference) {
        wrongToken("entity", att, inner);
        return false;
      }
      if (numberFits()) stored = reference(owner, att, index, t_.instanceNumber());
      break;
    case kNodeUnion:
      return selectValue(owner, att, index, domain, inner);
    case kNodeAggregate:
      if (token != kP21OpenParen) {
        wrongToken("aggregate", att, inner);
        return false;
      }
      return aggregateValue(owner, att, index, domain);
    default:
      skipValue(inner);
      return false;
  }
  t_.next();
  return stored;
}

bool Reader::compatible(TarnObject* object, TarnDomain* domain) {
  TarnDomain* have = object->domain();
  return domain == nullptr || have == nullptr || !domain->isEntity() || have->typeIsA(domain);
}

bool Reader::reference(TarnObject* owner, TarnAttribute* att, int index, uint32_t number) {
  Node& nd = node(number);
  if (nd.object != nullptr) {
    TarnDomain* want = att->domain();
    if (!compatible(nd.object, want)) {
      Msg().report(2047, static_cast<int>(number), nd.object->domainName(), want != nullptr ? want->name() : "?");
      return false;
    }
    return owner->putObject(nd.object, att, index);
  }
  // Not read yet: the slot stays empty (an aggregate keeps the position).
  if (owner->typePtr()->nodeType() == kNodeAggregate && !owner->putObject(nullptr, att, index)) return false;
  pend(owner, att, index, number, nd);
  return true;
}

void Reader::pend(TarnObject* owner, TarnAttribute* att, int index, uint32_t number, Node& nd) {
  if (nd.first < 0) awaited_.push_back(number);
  pending_.push_back({owner, att, index, t_.line(), nd.first, number});
  nd.first = static_cast<int>(pending_.size() - 1);
}

void Reader::closeStatement(uint32_t number, TarnObject* object, bool data, bool listed) {
  if (listed && t_.token() == kP21Semicolon) {
    endStatement(number, object, data);
    t_.next();
    return;
  }
  if (listed) t_.expect(kP21Semicolon);
  skipStatement();
  endStatement(number, object, data);
}

bool Reader::numberFits() {
  if (t_.instanceNumberFits()) return true;
  Msg().error("Instance number %s is too large.", t_.text());
  dropStatement_ = true;
  return false;
}

void Reader::beginStatement() {
  statementPending_ = pending_.size();
  made_.clear();
  dropStatement_ = false;
}

void Reader::endStatement(uint32_t number, TarnObject* object, bool data) {
  if (!dropStatement_) {
    if (data) bind(number, object);
    return;
  }
  Msg().report(2007);
  // The references the statement left waiting are the latest of their
  // numbers' lists: taken off, newest first.
  for (size_t i = pending_.size(); i-- > statementPending_;) node(pending_[i].number).first = pending_[i].next;
  pending_.resize(statementPending_);
  // What the statement made, newest first, then its instance.  Their
  // storage stays in the design's arena.
  for (auto m = made_.rbegin(); m != made_.rend(); ++m) Destroy(*m);
  made_.clear();
  Destroy(object);
  dropStatement_ = false;
}

uint32_t Reader::domainIndex(TarnDomain* domain) {
  if (domain == nullptr) return 0;
  if (domain != lastIndexed_) {
    auto it = domainIndexes_.find(domain);
    if (it == domainIndexes_.end()) {
      it = domainIndexes_.emplace(domain, static_cast<uint32_t>(domainTable_.size())).first;
      domainTable_.push_back(domain);
    }
    lastIndexed_ = domain;
    lastIndex_ = it->second;
  }
  return lastIndex_;
}

void Reader::bind(uint32_t number, TarnObject* object) {
  Node& nd = node(number);
  nd.object = object;
  nd.domain = domainIndex(object->domain());
  if (nd.first < 0) return;
  // The references waiting for this instance, in the order they were read.
  order_.clear();
  for (int i = nd.first; i >= 0; i = pending_[static_cast<size_t>(i)].next) order_.push_back(i);
  nd.first = -1;
  for (auto e = order_.rbegin(); e != order_.rend(); ++e) {
    const Pending& p = pending_[static_cast<size_t>(*e)];
    if (p.att == nullptr) {  // an untyped reference held by a select
      TarnUnion* u = dynamic_cast<TarnUnion*>(p.owner);
      std::vector<TarnAttribute*> path;
      if (u != nullptr && SelectPath(u->domain(), object->domain(), true, &path)) {
        storeInSelect(u, path, object);
      } else {
        Msg().report(2048, static_cast<int>(number), p.line, object->domainName(),
                     u != nullptr ? u->domainName() : "?");
      }
      continue;
    }
    TarnDomain* want = p.att->domain();
    if (!compatible(object, want)) {
      Msg().report(2048, static_cast<int>(number), p.line, object->domainName(), want != nullptr ? want->name() : "?");
      continue;
    }
    p.owner->putObject(object, p.att, p.index);
  }
}

TarnUnion* Reader::newSelect(TarnDomain* domain) {
  TarnType* type = domain->typeRecord();
  if (type == nullptr || type->creator == nullptr) return nullptr;
  TarnObject* object = type->creator(design_, section_, domain);
  if (object == nullptr) return nullptr;
  made(object);
  return dynamic_cast<TarnUnion*>(object);
}

TarnUnion* Reader::innermost(TarnUnion* outer, const std::vector<TarnAttribute*>& path) {
  TarnUnion* u = outer;
  for (size_t i = 0; i + 1 < path.size() && u != nullptr; ++i) {
    TarnUnion* inner = newSelect(path[i]->domain());
    if (inner == nullptr) return nullptr;
    u->putObject(inner, path[i]);
    u = inner;
  }
  return u;
}

void Reader::storeInSelect(TarnUnion* outer, const std::vector<TarnAttribute*>& path, TarnObject* object) {
  if (TarnUnion* u = innermost(outer, path)) u->putObject(object, path.back());
}

bool Reader::selectValue(TarnObject* owner, TarnAttribute* att, int index, TarnDomain* select, int inner) {
  const int token = t_.token();
  // A select goes into its slot only with its value; one left without is
  // taken back with whatever was made for it.
  const size_t mark = made_.size();
  auto unmade = [this, mark] {
    while (made_.size() > mark) {
      Destroy(made_.back());
      made_.pop_back();
    }
    return false;
  };
  if (token == kP21Keyword) {
    // A typed value: TYPE(value), the type being a member of the select or
    // of a select nested in it.
    const std::string typeName = t_.text();
    TarnDomain* type = FindDomainInDesign(design_, typeName.c_str());
    if (type == nullptr) {
      Msg().error("Unknown type %s", typeName.c_str());
      skipValue(inner);
      return false;
    }
    std::vector<TarnAttribute*> path;
    if (!SelectPath(select, type, type->isEntity(), &path)) {
      Msg().error("Type %s is inappropriate for select.", typeName.c_str());
      skipValue(inner);
      return false;
    }
    t_.next();
    if (t_.token() != kP21OpenParen) {
      Msg().report(2028, named(att));
      skipValue(inner);
      return false;
    }
    const int typedInner = t_.depth();
    t_.next();
    TarnUnion* outer = newSelect(select);
    TarnUnion* u = outer != nullptr ? innermost(outer, path) : nullptr;
    bool stored = false;
    if (u != nullptr) stored = value(u, path.back(), 0, typedInner);
    else skipValue(typedInner);
    stored = stored && owner->putObject(outer, att, index);
    if (!stored) unmade();
    if (!t_.expect(kP21CloseParen)) {
      Msg().report(2029, named(att));
      skipValue(inner);
    }
    return stored;
  }
  if (token == kP21EntityReference) {
    if (!numberFits()) {
      t_.next();
      return false;
    }
    const uint32_t number = t_.instanceNumber();
    Node& nd = node(number);
    std::vector<TarnAttribute*> path;
    if (nd.object != nullptr && !SelectPath(select, nd.object->domain(), true, &path)) {
      Msg().error("Type %s is inappropriate for select.", nd.object->domainName());
      t_.next();
      return false;
    }
    TarnUnion* outer = newSelect(select);
    if (outer == nullptr || !owner->putObject(outer, att, index)) {
      skipValue(inner);
      return unmade();
    }
    if (nd.object != nullptr) storeInSelect(outer, path, nd.object);
    else pend(outer, nullptr, 0, number, nd);
    t_.next();
    return true;
  }
  if (version_ < 2) {
    // Older files: an untyped value picks the first member of its kind.
    int wanted = token == kP21String ? kNodeString : token == kP21Real ? kNodeDouble
               : token == kP21Integer ? kNodeInt : token == kP21Enumeration ? kNodeEnum : 0;
    for (TarnAttribute* m : select->allAttributes()) {
      TarnDomain* md = m->domain();
      if (wanted != 0 && md != nullptr && md->nodeType() == wanted) {
        TarnUnion* outer = newSelect(select);
        if (outer == nullptr) break;
        if (value(outer, m, 0, inner) && owner->putObject(outer, att, index)) return true;
        return unmade();
      }
    }
  }
  Msg().error("Could not determine type of select value.");
  skipValue(inner);
  return false;
}

bool Reader::aggregateValue(TarnObject* owner, TarnAttribute* att, int index, TarnDomain* domain, char* slot,
                            SlotPlan* plan) {
  TarnType* type = domain != nullptr ? domain->typeRecord() : nullptr;
  ListPlan* lp = plan != nullptr ? plan->list : nullptr;
  if (lp == nullptr && domain != nullptr) {
    auto found = listPlans_.find(domain);
    if (found != listPlans_.end()) lp = &found->second;
  }
  TarnAggregate* list = nullptr;
  if (type != nullptr && type->creator != nullptr) {
    TarnObject* object = type->creator(design_, section_, domain);
    if (object != nullptr) made(object);
    if (object != nullptr && lp != nullptr && lp->castKnown) {
      list = reinterpret_cast<TarnAggregate*>(reinterpret_cast<char*>(object) + lp->toAggregate);
    } else if ((list = dynamic_cast<TarnAggregate*>(object)) != nullptr) {
      if (lp == nullptr) lp = listPlan(domain, list);
      lp->castKnown = true;
      lp->toAggregate = reinterpret_cast<char*>(list) - reinterpret_cast<char*>(object);
    }
  }
  const int inner = t_.depth();  // after '('
  bool stored = false;
  if (list == nullptr) {
    // nothing to hold the elements
  } else if (slot != nullptr) {
    // As putObject would: the slot holds the list as the slot's class.
    if (void* held = cast(plan->memo, list, domain, plan->type)) {
      *reinterpret_cast<void**>(slot) = held;
      stored = true;
    }
  } else {
    stored = owner->putObject(list, att, index);
  }
  if (!stored) {
    skipList();
    return false;
  }
  if (lp == nullptr) lp = listPlan(domain, list);
  TarnAttribute* element = lp->element;
  if (plan != nullptr) plan->list = lp;
  t_.next();
  int position = 0;
  if (t_.token() == kP21CloseParen && t_.depth() == inner - 1) {
    t_.next();
    return true;
  }
  bool atDelimiter = false;
  if (lp->kind != Direct::kGeneric && directElements(list, *lp, inner, &position, &atDelimiter)) {
    t_.next();
    return true;
  }
  for (;; atDelimiter = false) {
    // An element that cannot be stored is skipped: the list is one shorter.
    if (!atDelimiter) {
      if (element == nullptr || t_.token() == kP21Dollar) skipValue(inner);
      else if (value(list, element, position, inner)) ++position;
    }
    if (t_.token() == kP21Comma && t_.depth() == inner) {
      t_.next();
      continue;
    }
    if (t_.token() == kP21CloseParen && t_.depth() == inner - 1) {
      t_.next();
      return true;
    }
    Msg().report(2001, position - 1, named(att));
    while (!(t_.token() == kP21CloseParen && t_.depth() == inner - 1) && t_.token() != kP21Semicolon &&
           !Frame(t_.token()))
      t_.next();
    if (t_.token() == kP21CloseParen) t_.next();
    return true;
  }
}

void Reader::skipList() {
  const int inner = t_.depth();
  while (!(t_.token() == kP21CloseParen && t_.depth() == inner - 1) && t_.token() != kP21Semicolon &&
         !Frame(t_.token()))
    t_.next();
  if (t_.token() == kP21CloseParen) t_.next();
}

// --- direct stores ----------------------------------------------------------------
//
// An entity instance's attribute slots are at fixed offsets in its class (or
// in its overflow block), and each attribute of the domain's complete list
// belongs to the domain itself.  For the common kinds of value the reader
// writes the slot as putValue would, without the attribute mapping, the
// virtual slot lookups and the conversions; every other case, and every
// token that is not the plain form of its kind, goes through value().

namespace {

bool IntegerKind(int kind) {
  switch (kind) {
    case kNodeInt: case kNodeByte: case kNodeShort: case kNodeLong: case kNodeUShort: case kNodeUInt:
    case kNodeULong: case kNodeChar:
      return true;
    default:
      return false;
  }
}

bool ReferenceKind(int kind) { return kind == kNodeStructure || kind == kNodeObject || kind == kNodeDesign; }

// What TarnObject::unset writes into a slot of `type`.
void StoreUnset(char* slot, const TarnType* type) {
  switch (type->nodeType()) {
    case kNodeInt: case kNodeLong: case kNodeUInt: case kNodeULong: {
      const int32_t marker = kUnsetInteger;
      std::memcpy(slot, &marker, sizeof marker);
      break;
    }
    case kNodeShort: case kNodeUShort: case kNodeByte: case kNodeChar: {
      const int32_t marker = kUnsetInteger;
      std::memcpy(slot, &marker, type->recordSize());
      break;
    }
    case kNodeFloat: {
      const float marker = static_cast<float>(kUnsetReal);
      std::memcpy(slot, &marker, sizeof marker);
      break;
    }
    case kNodeDouble: {
      const double marker = kUnsetReal;
      std::memcpy(slot, &marker, sizeof marker);
      break;
    }
    case kNodeBoolean: case kNodeLogical:
      *reinterpret_cast<uint8_t*>(slot) = kUnsetBoolean;
      break;
    case kNodeString: {
      const char* none = nullptr;
      std::memcpy(slot, &none, sizeof none);
      break;
    }
    case kNodeEnum: {
      const int32_t marker = kUnsetEnum;
      std::memcpy(slot, &marker, sizeof marker);
      break;
    }
    case kNodeStructure: case kNodeUnion: case kNodeAggregate: case kNodeDesign: {
      const void* none = nullptr;
      std::memcpy(slot, &none, sizeof none);
      break;
    }
    default:
      break;
  }
}

// The enumerator `value` in a slot of `width` bytes (1, 2 or 4).
void StoreEnum(char* slot, int32_t value, uint32_t width) {
  if (width == 1) {
    const int8_t v = static_cast<int8_t>(value);
    std::memcpy(slot, &v, 1);
  } else if (width == 2) {
    const int16_t v = static_cast<int16_t>(value);
    std::memcpy(slot, &v, 2);
  } else {
    std::memcpy(slot, &value, 4);
  }
}

// T, F or U (any case) as a boolean or logical value; kUnsetBoolean for any
// other text.
TarnBoolean TruthValue(const char* e) {
  const char c = static_cast<char>(e[0] & ~0x20);
  if (e[0] != '\0' && e[1] == '\0' && (c == 'T' || c == 'F' || c == 'U')) return c == 'T' ? 1 : c == 'F' ? 0 : 2;
  return kUnsetBoolean;
}

}  // namespace

void Reader::plan(Known* k, TarnObject* object) {
  k->planned = true;
  TarnDomain* d = k->domain;
  // Instances whose extent is not their domain's, or whose attributes are
  // mapped, keep the generic path.
  if (object->domain() != d) return;
  const std::vector<TarnAttribute*>& attributes = d->allAttributes();
  std::vector<SlotPlan> slots(attributes.size());
  for (size_t i = 0; i < attributes.size(); ++i) {
    TarnAttribute* att = attributes[i];
    SlotPlan& p = slots[i];
    if (att->owner() != d || !att->hasSlot()) continue;
    const TarnType* type = object->slotType(att);
    TarnDomain* ad = att->domain();
    const int kind = ad != nullptr ? ad->nodeType() : type->nodeType();
    p.offset = att->offset();
    p.overflow = att->inOverflow();
    p.type = type;
    p.want = ad;
    if (IntegerKind(kind)) {
      if (type == &kIntType) p.kind = Direct::kInteger;
    } else if (kind == kNodeDouble || kind == kNodeFloat) {
      if (type == &kDoubleType) p.kind = Direct::kReal;
    } else if (kind == kNodeString) {
      if (type == &kStrType) p.kind = Direct::kString;
    } else if (kind == kNodeEnum) {
      p.width = type->recordSize();
      if (type->nodeType() == kNodeEnum && (p.width == 1 || p.width == 2 || p.width == 4)) p.kind = Direct::kEnum;
    } else if (kind == kNodeBoolean || kind == kNodeLogical) {
      if (type->nodeType() == kNodeBoolean || type->nodeType() == kNodeLogical) p.kind = Direct::kBoolean;
    } else if (ReferenceKind(kind)) {
      if (IsObjectNode(type->nodeType())) p.kind = Direct::kReference;
    } else if (kind == kNodeAggregate) {
      if (ad != nullptr && IsObjectNode(type->nodeType())) p.kind = Direct::kAggregate;
    }
  }
  k->slots.swap(slots);
}

ListPlan* Reader::listPlan(TarnDomain* domain, TarnAggregate* list) {
  auto found = listPlans_.find(domain);
  if (found != listPlans_.end()) return &found->second;
  ListPlan& lp = listPlans_[domain];
  lp.element = list->elementAttribute();
  TarnAttribute* element = lp.element;
  // Elements whose attribute would be mapped keep the generic path.
  if (element == nullptr || list->domain() != domain || element->owner() != domain) return &lp;
  const TarnType* type = list->slotType(element);
  TarnDomain* ed = element->domain();
  const int kind = ed != nullptr ? ed->nodeType() : type->nodeType();
  const uint32_t size = list->recordSize();
  lp.elementType = type;
  lp.want = ed;
  if (IntegerKind(kind)) {
    if (type == &kIntType && size == sizeof(int32_t)) lp.kind = Direct::kInteger;
  } else if (kind == kNodeDouble || kind == kNodeFloat) {
    if (type == &kDoubleType && size == sizeof(double)) lp.kind = Direct::kReal;
  } else if (kind == kNodeString) {
    if (type == &kStrType && size == sizeof(char*)) lp.kind = Direct::kString;
  } else if (ReferenceKind(kind)) {
    if (IsObjectNode(type->nodeType()) && size == sizeof(void*)) lp.kind = Direct::kReference;
  }
  lp.size = size;
  return &lp;
}

void* Reader::cast(CastMemo& memo, TarnObject* object, TarnDomain* domain, const TarnType* type) {
  if (domain != nullptr)
    for (int i = 0; i < CastMemo::kSize; ++i)
      if (memo.domain[i] == domain) return reinterpret_cast<char*>(object) + memo.delta[i];
  void* stored = TypecastRaw(object, type);
  if (stored != nullptr && domain != nullptr) {
    memo.domain[memo.next] = domain;
    memo.delta[memo.next] = static_cast<char*>(stored) - reinterpret_cast<char*>(object);
    memo.next = (memo.next + 1) % CastMemo::kSize;
  }
  return stored;
}

void Reader::directValue(TarnObject* owner, char* base, char* overflow, TarnAttribute* att, SlotPlan& p,
                         int inner) {
  char* slot = p.overflow ? overflow : base;
  if (p.kind == Direct::kGeneric || slot == nullptr) {
    value(owner, att, 0, inner);
    return;
  }
  slot += p.offset;
  const int token = t_.token();
  if (token == kP21Dollar || token == kP21Star) {
    StoreUnset(slot, p.type);
    t_.next();
    return;
  }
  switch (p.kind) {
    case Direct::kInteger:
      if (token != kP21Integer) break;
      {
        const int32_t v = t_.integerValue();
        std::memcpy(slot, &v, sizeof v);
      }
      t_.next();
      return;
    case Direct::kReal:
      if (token != kP21Real) break;
      {
        const double v = t_.realValue();
        std::memcpy(slot, &v, sizeof v);
      }
      t_.next();
      return;
    case Direct::kString:
      if (token != kP21String) break;
      {
        // The token holds no NUL byte: its length is the text's.
        const size_t n = t_.textLength() + 1;
        char* copy = static_cast<char*>(design_->arena().allocate(n, 1));
        std::memcpy(copy, t_.text(), n);
        std::memcpy(slot, &copy, sizeof copy);
      }
      t_.next();
      return;
    case Direct::kEnum:
      if (token != kP21Enumeration) break;
      {
        const int32_t i = p.type->enumeratorValue(t_.text());
        if (i < 0) break;  // reported by value()
        StoreEnum(slot, i, p.width);
      }
      t_.next();
      return;
    case Direct::kBoolean:
      if (token != kP21Enumeration) break;
      {
        const TarnBoolean v = TruthValue(t_.text());
        if (v == kUnsetBoolean) break;
        *reinterpret_cast<uint8_t*>(slot) = v;
      }
      t_.next();
      return;
    case Direct::kReference: {
      if (token != kP21EntityReference || !t_.instanceNumberFits()) break;
      const uint32_t number = t_.instanceNumber();
      Node& nd = node(number);
      TarnDomain* have = domainOf(nd);
      if (nd.object == nullptr) {
        pend(owner, att, 0, number, nd);
      } else if (p.want != nullptr && have != nullptr && p.want->isEntity() && !have->typeIsA(p.want)) {
        Msg().report(2047, static_cast<int>(number), nd.object->domainName(), p.want->name());
      } else if (void* stored = cast(p.memo, nd.object, have, p.type)) {
        std::memcpy(slot, &stored, sizeof stored);
      }
      t_.next();
      return;
    }
    case Direct::kAggregate:
      if (token != kP21OpenParen) break;
      aggregateValue(owner, att, 0, p.want, slot, &p);
      return;
    case Direct::kGeneric:
      break;
  }
  value(owner, att, 0, inner);
}

bool Reader::directElements(TarnAggregate* list, ListPlan& lp, int inner, int* position, bool* atDelimiter) {
  size_t used = 0;  // bytes of records collected
  int at = *position;
  bool complete = false;
  for (;;) {
    if (scratch_.size() < used + sizeof(double)) scratch_.resize(std::max<size_t>(256, scratch_.size() * 2));
    unsigned char* record = scratch_.data() + used;
    const int token = t_.token();
    bool taken = true;
    bool skipped = false;
    switch (lp.kind) {
      case Direct::kInteger:
        if (token == kP21Integer) {
          const int32_t v = t_.integerValue();
          std::memcpy(record, &v, sizeof v);
        } else {
          taken = false;
        }
        break;
      case Direct::kReal:
        if (token == kP21Real) {
          const double v = t_.realValue();
          std::memcpy(record, &v, sizeof v);
        } else {
          taken = false;
        }
        break;
      case Direct::kString:
        if (token == kP21String) {
          const size_t n = t_.textLength() + 1;
          char* copy = static_cast<char*>(design_->arena().allocate(n, 1));
          std::memcpy(copy, t_.text(), n);
          std::memcpy(record, &copy, sizeof copy);
        } else {
          taken = false;
        }
        break;
      case Direct::kReference:
        if (token == kP21EntityReference && t_.instanceNumberFits()) {
          const uint32_t number = t_.instanceNumber();
          Node& nd = node(number);
          TarnDomain* have = domainOf(nd);
          void* held = nullptr;
          std::memcpy(record, &held, sizeof held);
          if (nd.object == nullptr) {
            // Held empty until the instance is read, as reference() does.
            pend(list, lp.element, at, number, nd);
          } else if (lp.want != nullptr && have != nullptr && lp.want->isEntity() && !have->typeIsA(lp.want)) {
            Msg().report(2047, static_cast<int>(number), nd.object->domainName(), lp.want->name());
            skipped = true;
          } else if ((held = cast(lp.memo, nd.object, have, lp.elementType)) != nullptr) {
            std::memcpy(record, &held, sizeof held);
          } else {
            skipped = true;
          }
        } else {
          taken = false;
        }
        break;
      default:
        taken = false;
    }
    if (!taken) {
      *atDelimiter = false;
      break;
    }
    // A reference that is refused is skipped: no record for it.
    if (!skipped) {
      used += lp.size;
      ++at;
    }
    t_.next();
    if (t_.token() == kP21Comma && t_.depth() == inner) {
      t_.next();
      continue;
    }
    if (t_.token() == kP21CloseParen && t_.depth() == inner - 1) {
      complete = true;
    } else {
      *atDelimiter = true;
    }
    break;
  }
  // The records collected go in at once, into a block of their size.
  const uint32_t count = static_cast<uint32_t>(used / lp.size);
  if (count > 0 && list->capacity(list->count() + count) && list->size(list->count() + count, -1))
    std::memcpy(static_cast<char*>(list->data()) + static_cast<size_t>(*position) * lp.size, scratch_.data(), used);
  *position = at;
  return complete;
}

TarnDesign* ReadStep(std::FILE* in, const char* name) {
  return Part21Reader::Read(in, name, CurrentReadPath());
}

struct Installer {
  Installer() { IOSTEP::setReader(&ReadStep); }
} g_installer;

}  // namespace

TarnDesign* Part21Reader::Read(std::FILE* in, const char* name, const char* fileName) {
  Part21Tokenizer tokens(in, fileName);
  return Reader(tokens, name).run();
}

TarnDesign* Part21Reader::ReadText(const char* data, std::size_t size, const char* name, const char* fileName) {
  Part21Tokenizer tokens(data, size, fileName);
  return Reader(tokens, name).run();
}

}  // namespace korva
