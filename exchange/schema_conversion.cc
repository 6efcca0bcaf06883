#include "exchange/schema_conversion.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

#include "exchange/conversion_rules.h"
#include "exchange/file_schema.h"
#include "exchange/part21_writer.h"
#include "objdb/complex_domain.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"
#include "objdb/select_path.h"
#include "objdb/text.h"
#include "objdb/union.h"

namespace korva {

// --- report ----------------------------------------------------------------------

std::string ConversionReport::summary() const {
  std::string line = from + " -> " + to + ": " + std::to_string(instances) + " instances of " +
                     std::to_string(types) + " types mapped";
  if (renamedTypes > 0) line += ", " + std::to_string(renamedTypes) + " types renamed";
  if (ruled > 0) line += ", " + std::to_string(ruled) + " values by rule";
  uint64_t lost = 0;
  for (const ConversionLoss& l : losses) lost += l.numbers.size();
  if (losses.empty()) line += ", nothing lost";
  else line += ", " + std::to_string(losses.size()) + " kinds of loss in " + std::to_string(lost) + " instances";
  return line;
}

std::vector<std::string> ConversionReport::lossLines(size_t numbersPerLine) const {
  std::vector<std::string> lines;
  for (const ConversionLoss& l : losses) {
    std::string line = l.type + ": " + l.what + " (";
    const size_t shown = l.numbers.size() < numbersPerLine ? l.numbers.size() : numbersPerLine;
    for (size_t i = 0; i < shown; ++i) line += (i > 0 ? ", #" : "#") + std::to_string(l.numbers[i]);
    if (l.numbers.size() > shown) line += " and " + std::to_string(l.numbers.size() - shown) + " more";
    lines.push_back(line + ")");
  }
  return lines;
}

TarnDesign* ConversionTarget(const char* fileSchemaName) {
  const char* name = BuildFileSchemaName(fileSchemaName);
  if (name == nullptr) return nullptr;
  for (const IfcSchemaName& s : IfcSchemasOfThisBuild())
    if (EqualNoCase(s.fileName, name)) return FindSchemaDesign(s.dictionary);
  return nullptr;
}

TarnDesign* IfcSchemaOf(TarnDesign* design) {
  if (design == nullptr) return nullptr;
  ListOfTarnDesign* schemas = design->schemas();
  for (uint32_t i = 0; i < schemas->count(); ++i) {
    TarnDesign* s = schemas->get(i);
    if (s != nullptr && s->name() != nullptr && !EqualNoCase(s->name(), "header_section_schema") &&
        s != TARN().systemDesign())
      return s;
  }
  return nullptr;
}

namespace {

// --- slots -----------------------------------------------------------------------

bool IntegerNode(int n) {
  return n == kNodeInt || n == kNodeLong || n == kNodeUInt || n == kNodeULong || n == kNodeShort ||
         n == kNodeUShort || n == kNodeByte || n == kNodeChar || n == kNodeOID;
}

int32_t ReadEnum(const void* slot, uint32_t width) {
  if (width == 1) return *static_cast<const int8_t*>(slot);
  if (width == 2) return *static_cast<const int16_t*>(slot);
  int32_t v;
  std::memcpy(&v, slot, sizeof v);
  return v;
}

void WriteEnum(void* slot, int32_t value, uint32_t width) {
  if (width == 1) *static_cast<int8_t*>(slot) = static_cast<int8_t>(value);
  else if (width == 2) *static_cast<int16_t*>(slot) = static_cast<int16_t>(value);
  else std::memcpy(slot, &value, sizeof value);
}

// Whether a slot of `type` holds its unset marker.
bool SlotIsUnset(const void* slot, const TarnType* type) {
  const int n = type->nodeType();
  if (IsObjectNode(n) || n == kNodeString) {
    const void* p;
    std::memcpy(&p, slot, sizeof p);
    return p == nullptr || IsUnresolved(p);
  }
  switch (n) {
    case kNodeDouble: {
      double v;
      std::memcpy(&v, slot, sizeof v);
      return v == kUnsetReal;
    }
    case kNodeFloat: {
      float v;
      std::memcpy(&v, slot, sizeof v);
      return v == static_cast<float>(kUnsetReal);
    }
    case kNodeBoolean: case kNodeLogical:
      return *static_cast<const uint8_t*>(slot) == kUnsetBoolean;
    case kNodeEnum:
      return ReadEnum(slot, type->recordSize()) == kUnsetEnum;
    case kNodeBinary:
      return static_cast<const BINARY*>(slot)->text == nullptr;
    default:
      break;
  }
  if (IntegerNode(n)) {
    int32_t v = 0;
    std::memcpy(&v, slot, type->recordSize() < 4 ? type->recordSize() : 4);
    return type->recordSize() >= 4 && v == kUnsetInteger;
  }
  return false;
}

TarnObject* HeldObject(const void* slot, const TarnType* type) {
  void* held;
  std::memcpy(&held, slot, sizeof held);
  if (held == nullptr || IsUnresolved(held)) return nullptr;
  return type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
}

// --- plans -----------------------------------------------------------------------

// How one value is carried from a source slot to a target slot.
enum class Carry : uint8_t {
  kCopy,       // the same primitive kind: the bytes
  kString,     // text copied into the target design
  kEnum,       // enumerator by name
  kPrimitive,  // another primitive kind: converted
  kObject,     // entity reference, select or aggregate on both sides
  kIntoSelect, // a plain value into a select member of its type
  kFromSelect, // a select member into a plain value of its type
  kMismatch,   // nothing the target type can hold
};

struct Slot {
  const TarnType* type = nullptr;
  TarnDomain* domain = nullptr;  // the attribute's (or element's) domain
};

struct Field {
  TarnAttribute* source = nullptr;
  TarnAttribute* target = nullptr;
  Slot from, to;
  Carry carry = Carry::kMismatch;
  const std::vector<int32_t>* enums = nullptr;
  int32_t fixedEnum = kUnsetEnum;  // a default rule's enumerator
  // The target slot's unset marker as TarnObject::unset writes it (new
  // instances of best-fit classes start zeroed, not unset).
  unsigned char unset[sizeof(BINARY)] = {};
  uint32_t width = 0;
};

// Bytes of a slot of `type`.
uint32_t SlotWidth(const TarnType* type) {
  const int n = type->nodeType();
  if (IsObjectNode(n) || n == kNodeString) return sizeof(void*);
  if (n == kNodeBinary) return sizeof(BINARY);
  return type->recordSize() <= sizeof(BINARY) ? type->recordSize() : 0;
}

// Records in `f` the unset marker of its target slot in `instance` (a new
// instance, whose slot it writes).
void LearnUnset(Field& f, TarnObject* instance) {
  f.width = SlotWidth(f.to.type);
  instance->unset(f.target);
  const void* slot = instance->slotAddress(f.target, 0);
  if (slot != nullptr && f.width > 0) std::memcpy(f.unset, slot, f.width);
  else f.width = 0;
}

struct DomainPlan {
  TarnDomain* target = nullptr;  // null: no counterpart
  bool planned = false;          // the fields are known (from a first instance)
  std::vector<Field> fields;
  std::vector<TarnAttribute*> unmatched;  // source attributes without counterpart
  std::vector<TarnAttribute*> dropped;    // left out by a rule
  std::vector<Field> defaults;            // target attributes set by a rule
  std::vector<Field> blanks;              // target attributes without source: unset
};

// The elements of the aggregates of one source domain.
struct ListPlan {
  bool planned = false;
  Field element;
};

// --- pairing, shared by the conversion and the view ------------------------------

// The target entity of a source entity: by a rename rule, else by name; a
// complex instance's by the counterparts of its leaves.
TarnDomain* CounterpartEntity(TarnDomain* domain, TarnDesign* target, const std::string& from, const std::string& to,
                              bool* renamed) {
  if (domain == nullptr) return nullptr;
  if (domain->isComplex()) {
    std::vector<TarnDomain*> leaves;
    ListOfTarnDomain* supers = domain->listOfSuper();
    for (uint32_t i = 0; i < supers->count(); ++i) {
      TarnDomain* leaf = supers->get(i);
      if (leaf == nullptr || leaf->design() == TARN().systemDesign()) continue;
      TarnDomain* c = CounterpartEntity(leaf, target, from, to, renamed);
      if (c == nullptr) return nullptr;
      leaves.push_back(c);
    }
    if (TarnDomain* d = FindAndOrDomain(leaves, target)) return d;
    return MakeAndOrDomain(leaves, target);
  }
  const char* name = domain->name();
  if (const ConversionRule* r = FindConversionRule(ConversionRule::kRenameEntity, from.c_str(), to.c_str(), domain,
                                                   nullptr);
      r != nullptr && EqualNoCase(r->entity, domain->name())) {
    name = r->value;
    *renamed = true;
  }
  TarnDomain* d = FindDomainInSchema(target, name);
  return d != nullptr && d->isEntity() ? d : nullptr;
}

// Which source attribute each target attribute takes, by name (or a rename
// rule): positions in the complete attribute lists.
struct Pairing {
  std::vector<int> sourceOf;                  // per target attribute; -1: none
  std::vector<int> dropped;                   // source attributes a rule leaves out
  std::vector<int> unmatched;                 // source attributes without counterpart
  std::vector<const ConversionRule*> rules;   // per target attribute: a default rule
};

bool Stored(TarnAttribute* a) { return !a->isDerived() && a->hasSlot(); }

Pairing PairAttributes(TarnDomain* from, TarnDomain* to, const std::string& fromName, const std::string& toName) {
  Pairing p;
  const std::vector<TarnAttribute*>& source = from->allAttributes();
  const std::vector<TarnAttribute*>& target = to->allAttributes();
  std::vector<bool> used(source.size(), false);
  p.sourceOf.assign(target.size(), -1);
  p.rules.assign(target.size(), nullptr);
  for (size_t k = 0; k < target.size(); ++k) {
    if (!Stored(target[k])) continue;
    for (size_t i = 0; i < source.size() && p.sourceOf[k] < 0; ++i) {
      if (used[i] || !Stored(source[i])) continue;
      const char* name = source[i]->name();
      if (from != to)
        if (const ConversionRule* r = FindConversionRule(ConversionRule::kRenameAttribute, fromName.c_str(),
                                                         toName.c_str(), from, name))
          name = r->value;
      if (EqualNoCase(name, target[k]->name())) {
        p.sourceOf[k] = static_cast<int>(i);
        used[i] = true;
      }
    }
    if (p.sourceOf[k] < 0)
      p.rules[k] = FindConversionRule(ConversionRule::kDefault, fromName.c_str(), toName.c_str(), from,
                                      target[k]->name());
  }
  for (size_t i = 0; i < source.size(); ++i) {
    if (used[i] || !Stored(source[i])) continue;
    if (FindConversionRule(ConversionRule::kDropAttribute, fromName.c_str(), toName.c_str(), from,
                           source[i]->name()))
      p.dropped.push_back(static_cast<int>(i));
    else
      p.unmatched.push_back(static_cast<int>(i));
  }
  return p;
}

class Converter {
 public:
  Converter(TarnDesign* source, TarnDesign* sourceSchema, TarnDesign* targetSchema, ConversionReport* report)
      : source_(source), sourceSchema_(sourceSchema), targetSchema_(targetSchema), report_(report) {
    from_ = FileSchemaName(sourceSchema->name());
    to_ = FileSchemaName(targetSchema->name());
    report_->from = from_;
    report_->to = to_;
  }

  TarnDesign* run();
  // Carries the instances of the source into `target`, an existing design
  // of the target schema (see CarryInstances).
  bool runInto(TarnDesign* target, const InstancePairs& known, InstancePairs* made);

 private:
  // --- instances
  void header();
  void collect();
  void fill(TarnObject* from, TarnObject* to, DomainPlan& plan);
  TarnObject* create(TarnDomain* domain, TarnSection* section);
  DomainPlan& planOf(TarnDomain* domain);
  TarnDomain* counterpart(TarnDomain* domain, bool* renamed);
  void planFields(DomainPlan& plan, TarnDomain* from, TarnObject* fromInstance, TarnObject* toInstance);
  TarnObject* converted(TarnObject* from) const {
    const uint32_t m = from->traversalMark();
    return m > 0 && m <= sources_.size() && sources_[m - 1] == from ? targets_[m - 1] : nullptr;
  }

  // --- values
  void planCarry(Field& f);
  // Carries one value; false (with the loss noted) when it cannot.
  bool carry(const Field& f, const void* from, void* to, TarnObject* owner);
  bool carryPrimitive(const Slot& from, const void* in, const Slot& to, void* out, TarnObject* owner,
                      const std::vector<int32_t>* enums);
  TarnObject* object(TarnObject* value, TarnDomain* want);
  TarnObject* list(TarnAggregate* value, TarnDomain* want);
  TarnObject* select(TarnUnion* value, TarnDomain* want);
  // A new select of `select` whose member (through nested selects) is of
  // `type`; the innermost select and its member in `*member`.
  TarnUnion* newSelect(TarnDomain* select, TarnDomain* type, bool entity, TarnUnion** inner,
                       TarnAttribute** member);
  // The innermost select of a source select value (whose member holds
  // the value itself); null when no member is chosen.
  TarnUnion* leaf(TarnUnion* value);
  const std::vector<int32_t>* enumMap(const TarnType* from, const TarnType* to);
  TarnDomain* typeCounterpart(TarnDomain* domain);

  // --- losses
  void lose(const std::string& what);
  void loseInstance(TarnObject* instance, const std::string& what);

  TarnDesign* source_;
  TarnDesign* sourceSchema_;
  TarnDesign* targetSchema_;
  ConversionReport* report_;
  std::string from_, to_;
  TarnDesign* target_ = nullptr;
  TarnSection* section_ = nullptr;
  TarnObject* current_ = nullptr;  // the source instance being filled (for losses)
  std::vector<TarnObject*> sources_, targets_;
  std::vector<uint32_t> marks_;
  // Source instances that stand for instances already in the target.
  std::unordered_map<TarnObject*, TarnObject*> known_;
  // The source instances of one extent share a plan.
  struct Run {
    size_t begin, end;
    DomainPlan* plan;
  };
  std::vector<Run> runs_;
  std::unordered_map<TarnDomain*, DomainPlan> plans_;
  std::unordered_map<TarnDomain*, std::unordered_map<TarnDomain*, ListPlan>> lists_;  // source, target
  std::unordered_map<TarnDomain*, TarnDomain*> types_;
  std::map<std::pair<const TarnType*, const TarnType*>, std::vector<int32_t>> enums_;
  std::map<std::string, size_t> lossIndex_;
};

TarnDesign* Converter::run() {
  TarnDesign* current = TARN().design();
  const std::string name = source_->name() != nullptr ? source_->name() : "unnamed";
  // A name of its own while it is made (the interface's table knows designs
  // by the name they were made with), then the source's.
  target_ = TARN().newDesign((name + "_as_" + targetSchema_->name()).c_str(), targetSchema_);
  TARN().useDesign(current);
  if (target_ == nullptr) return nullptr;
  target_->setName(name.c_str());
  target_->setExtension(source_->extension());
  target_->fileDirectory(source_->fileDirectory());
  target_->format(source_->format());
  section_ = target_->dflt_section();
  header();
  collect();
  for (const Run& run : runs_)
    for (size_t i = run.begin; i < run.end; ++i) {
      if (targets_[i] == nullptr) continue;
      current_ = sources_[i];
      fill(sources_[i], targets_[i], *run.plan);
    }
  current_ = nullptr;
  for (size_t i = 0; i < sources_.size(); ++i) sources_[i]->setTraversalMark(marks_[i]);
  return target_;
}

bool Converter::runInto(TarnDesign* target, const InstancePairs& known, InstancePairs* made) {
  target_ = target;
  section_ = target_->dflt_section();
  for (const auto& pair : known) known_.emplace(pair.first, pair.second);
  collect();
  for (const Run& run : runs_)
    for (size_t i = run.begin; i < run.end; ++i) {
      if (targets_[i] == nullptr || known_.count(sources_[i]) != 0) continue;
      current_ = sources_[i];
      fill(sources_[i], targets_[i], *run.plan);
      if (made != nullptr) made->emplace_back(sources_[i], targets_[i]);
    }
  current_ = nullptr;
  for (size_t i = 0; i < sources_.size(); ++i) sources_[i]->setTraversalMark(marks_[i]);
  return report_->complete();
}

// The header records but FILE_SCHEMA, which follows the target's schemas.
void Converter::header() {
  target_->initialize_header();
  TarnSection* into = target_->header_section();
  for (TarnExtent* e = source_->header_section()->firstExtent(); e != nullptr; e = e->next())
    for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
      TarnDomain* d = o->domain();
      if (d == nullptr || o->typePtr()->nodeType() != kNodeStructure || d->name() == nullptr) continue;
      if (EqualNoCase(d->name(), "file_schema")) continue;
      TarnObject* made = nullptr;
      if (EqualNoCase(d->name(), "file_description")) made = target_->header_description();
      else if (EqualNoCase(d->name(), "file_name")) made = target_->header_name();
      else made = create(d, into);
      if (made == nullptr) continue;
      DomainPlan& plan = plans_[d];
      plan.target = d;
      current_ = o;
      fill(o, made, plan);
    }
  current_ = nullptr;
}

// Makes the target instance of every source instance, in design order, and
// marks each source instance with its position (the marks are put back).
void Converter::collect() {
  for (TarnSection* s : source_->sections()) {
    if (s->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next()) {
      TarnObject* first = e->first();
      if (first == nullptr || first->typePtr()->nodeType() != kNodeStructure) continue;
      DomainPlan& plan = planOf(first->domain());
      runs_.push_back({sources_.size(), sources_.size(), &plan});
      for (TarnObject* o = first; o != nullptr; o = o->nextInExtent()) {
        TarnObject* made = nullptr;
        auto stands = known_.find(o);
        if (stands != known_.end()) {
          made = stands->second;
        } else if (plan.target != nullptr) {
          made = create(plan.target, section_);
          if (made != nullptr) {
            made->setInstanceNumber(o->instanceNumber());
            ++report_->instances;
          }
        } else {
          loseInstance(o, "has no counterpart in " + to_);
        }
        sources_.push_back(o);
        targets_.push_back(made);
        marks_.push_back(o->traversalMark());
        o->setTraversalMark(static_cast<uint32_t>(sources_.size()));
      }
      runs_.back().end = sources_.size();
    }
  }
}

TarnObject* Converter::create(TarnDomain* domain, TarnSection* section) {
  TarnType* type = domain->typeRecord();
  if (type == nullptr || type->creator == nullptr) return nullptr;
  return type->creator(target_, section, domain);
}

DomainPlan& Converter::planOf(TarnDomain* domain) {
  auto found = plans_.find(domain);
  if (found != plans_.end()) return found->second;
  DomainPlan& plan = plans_[domain];
  bool renamed = false;
  plan.target = counterpart(domain, &renamed);
  if (plan.target != nullptr) {
    ++report_->types;
    if (renamed) ++report_->renamedTypes;
  }
  return plan;
}

TarnDomain* Converter::counterpart(TarnDomain* domain, bool* renamed) {
  return CounterpartEntity(domain, targetSchema_, from_, to_, renamed);
}

// Pairs the target attributes with source attributes by name (or a rule)
// and decides how each value is carried.  Slot types come from instances.
void Converter::planFields(DomainPlan& plan, TarnDomain* from, TarnObject* fromInstance, TarnObject* toInstance) {
  plan.planned = true;
  TarnDomain* to = plan.target;
  const Pairing pairs = PairAttributes(from, to, from_, to_);
  const std::vector<TarnAttribute*>& source = from->allAttributes();
  const std::vector<TarnAttribute*>& target = to->allAttributes();
  for (size_t k = 0; k < target.size(); ++k) {
    TarnAttribute* t = target[k];
    if (!Stored(t)) continue;
    Field f;
    f.target = t;
    f.to = {toInstance->slotType(t), t->domain()};
    LearnUnset(f, toInstance);
    if (pairs.sourceOf[k] < 0) {
      const ConversionRule* r = pairs.rules[k];
      if (r != nullptr && f.to.type->nodeType() == kNodeEnum) f.fixedEnum = f.to.type->enumeratorValue(r->value);
      if (f.fixedEnum != kUnsetEnum) plan.defaults.push_back(f);
      else if (f.width > 0) plan.blanks.push_back(f);
      continue;
    }
    f.source = source[static_cast<size_t>(pairs.sourceOf[k])];
    f.from = {fromInstance->slotType(f.source), f.source->domain()};
    planCarry(f);
    plan.fields.push_back(f);
  }
  for (int i : pairs.dropped) plan.dropped.push_back(source[static_cast<size_t>(i)]);
  for (int i : pairs.unmatched) plan.unmatched.push_back(source[static_cast<size_t>(i)]);
}

void Converter::planCarry(Field& f) {
  const int a = f.from.type->nodeType();
  const int b = f.to.type->nodeType();
  const bool selectFrom = f.from.domain != nullptr && f.from.domain->nodeType() == kNodeUnion;
  const bool selectTo = f.to.domain != nullptr && f.to.domain->nodeType() == kNodeUnion;
  if (IsObjectNode(a) && IsObjectNode(b)) f.carry = Carry::kObject;
  else if (IsObjectNode(a)) f.carry = selectFrom ? Carry::kFromSelect : Carry::kMismatch;
  else if (IsObjectNode(b)) f.carry = selectTo ? Carry::kIntoSelect : Carry::kMismatch;
  else if (a == kNodeEnum && b == kNodeEnum) {
    f.carry = Carry::kEnum;
    f.enums = enumMap(f.from.type, f.to.type);
  } else if (a == kNodeString && b == kNodeString) f.carry = Carry::kString;
  else if (a == b && f.from.type->recordSize() == f.to.type->recordSize() && a != kNodeBinary)
    f.carry = Carry::kCopy;
  else f.carry = Carry::kPrimitive;
}

const std::vector<int32_t>* Converter::enumMap(const TarnType* from, const TarnType* to) {
  auto key = std::make_pair(from, to);
  auto found = enums_.find(key);
  if (found != enums_.end()) return &found->second;
  std::vector<int32_t>& map = enums_[key];
  for (int i = 0; i < from->enumeratorCount(); ++i) {
    const TarnEnumerator& e = from->enumerator(i);
    const int32_t v = e.value;
    if (v < 0) continue;
    if (map.size() <= static_cast<size_t>(v)) map.resize(static_cast<size_t>(v) + 1, kUnsetEnum);
    map[static_cast<size_t>(v)] = to->enumeratorValue(e.name);
  }
  return &map;
}

void Converter::fill(TarnObject* from, TarnObject* to, DomainPlan& plan) {
  if (!plan.planned) planFields(plan, from->domain(), from, to);
  char* fromBase = static_cast<char*>(from->baseObject());
  char* fromOverflow = static_cast<char*>(from->overflow());
  char* toBase = static_cast<char*>(to->baseObject());
  char* toOverflow = static_cast<char*>(to->overflow());
  for (const Field& f : plan.fields) {
    TarnAttribute* s = f.source;
    TarnAttribute* t = f.target;
    const char* in = s->inOverflow() ? fromOverflow : fromBase;
    char* out = t->inOverflow() ? toOverflow : toBase;
    in = in != nullptr ? in + s->offset() : static_cast<const char*>(from->slotAddress(s, 0));
    out = out != nullptr ? out + t->offset() : static_cast<char*>(to->slotAddress(t, 0));
    if (out == nullptr) {
      if (in != nullptr && !SlotIsUnset(in, f.from.type))
        lose(std::string("attribute ") + s->name() + " has no place in the new instance");
      continue;
    }
    if (in == nullptr || SlotIsUnset(in, f.from.type) || !carry(f, in, out, to)) std::memcpy(out, f.unset, f.width);
  }
  for (const Field& f : plan.blanks) {
    char* out = f.target->inOverflow() ? toOverflow : toBase;
    out = out != nullptr ? out + f.target->offset() : static_cast<char*>(to->slotAddress(f.target, 0));
    if (out != nullptr) std::memcpy(out, f.unset, f.width);
  }
  for (const Field& f : plan.defaults) {
    char* out = f.target->inOverflow() ? toOverflow : toBase;
    if (out != nullptr) WriteEnum(out + f.target->offset(), f.fixedEnum, f.to.type->recordSize());
    ++report_->ruled;
  }
  for (TarnAttribute* s : plan.dropped) {
    const char* in = s->inOverflow() ? fromOverflow : fromBase;
    if (in != nullptr && !SlotIsUnset(in + s->offset(), from->slotType(s))) ++report_->ruled;
  }
  for (TarnAttribute* s : plan.unmatched) {
    const char* in = s->inOverflow() ? fromOverflow : fromBase;
    if (in != nullptr && !SlotIsUnset(in + s->offset(), from->slotType(s)))
      lose(std::string("attribute ") + s->name() + " has no counterpart in " + to_);
  }
}

// --- values ----------------------------------------------------------------------

bool Converter::carry(const Field& f, const void* in, void* out, TarnObject* owner) {
  switch (f.carry) {
    case Carry::kCopy:
      std::memcpy(out, in, f.from.type->recordSize());
      return true;
    case Carry::kString: {
      const char* text;
      std::memcpy(&text, in, sizeof text);
      char* copy = text != nullptr ? owner->copyString(text) : nullptr;
      std::memcpy(out, &copy, sizeof copy);
      return true;
    }
    case Carry::kEnum: case Carry::kPrimitive:
      return carryPrimitive(f.from, in, f.to, out, owner, f.enums);
    case Carry::kObject: {
      TarnObject* value = HeldObject(in, f.from.type);
      if (value == nullptr) return true;
      TarnObject* made = object(value, f.to.domain);
      if (made == nullptr) return false;
      void* stored = TypecastRaw(made, f.to.type);
      std::memcpy(out, &stored, sizeof stored);
      return stored != nullptr;
    }
    case Carry::kIntoSelect: {
      TarnDomain* type = typeCounterpart(f.from.domain);
      TarnUnion* inner = nullptr;
      TarnAttribute* member = nullptr;
      TarnUnion* made = type != nullptr ? newSelect(f.to.domain, type, false, &inner, &member) : nullptr;
      if (made == nullptr) break;
      if (!carryPrimitive(f.from, in, {inner->slotType(member), member->domain()}, inner->valueSlot(), inner,
                          nullptr))
        return false;
      void* stored = TypecastRaw(made, f.to.type);
      std::memcpy(out, &stored, sizeof stored);
      return true;
    }
    case Carry::kFromSelect: {
      TarnObject* value = HeldObject(in, f.from.type);
      TarnUnion* u = value != nullptr ? dynamic_cast<TarnUnion*>(value) : nullptr;
      TarnUnion* l = u != nullptr ? leaf(u) : nullptr;
      if (l == nullptr) return true;
      TarnAttribute* member = l->attribute();
      TarnDomain* type = typeCounterpart(member->domain());
      if (type != f.to.domain && !(type != nullptr && f.to.domain != nullptr &&
                                   type->nodeType() == f.to.domain->nodeType() && type->isPrimitive()))
        break;
      return carryPrimitive({l->slotType(member), member->domain()}, l->valueSlot(), f.to, out, owner, nullptr);
    }
    case Carry::kMismatch:
      break;
  }
  lose(std::string("attribute ") + f.source->name() + ": a " +
       (f.from.domain != nullptr ? f.from.domain->name() : f.from.type->name()) + " value cannot be a " +
       (f.to.domain != nullptr ? f.to.domain->name() : f.to.type->name()) + " in " + to_);
  return false;
}

bool Converter::carryPrimitive(const Slot& from, const void* in, const Slot& to, void* out, TarnObject* owner,
                               const std::vector<int32_t>* enums) {
  const int a = from.type->nodeType();
  const int b = to.type->nodeType();
  if (a == kNodeEnum && b == kNodeEnum) {
    const int32_t v = ReadEnum(in, from.type->recordSize());
    if (enums == nullptr) enums = enumMap(from.type, to.type);
    const int32_t mapped = v >= 0 && static_cast<size_t>(v) < enums->size() ? (*enums)[static_cast<size_t>(v)]
                                                                            : kUnsetEnum;
    if (mapped == kUnsetEnum && v != kUnsetEnum) {
      const char* name = from.type->enumeratorName(v);
      lose(std::string("enumerator ") + (name != nullptr ? name : "?") + " of " +
           (from.domain != nullptr ? from.domain->name() : from.type->name()) + " has no counterpart in " + to_);
      return false;
    }
    WriteEnum(out, mapped, to.type->recordSize());
    return true;
  }
  if (a == kNodeString && b == kNodeString) {
    const char* text;
    std::memcpy(&text, in, sizeof text);
    char* copy = text != nullptr ? owner->copyString(text) : nullptr;
    std::memcpy(out, &copy, sizeof copy);
    return true;
  }
  if (a == b && from.type->recordSize() == to.type->recordSize() && a != kNodeBinary) {
    std::memcpy(out, in, from.type->recordSize());
    return true;
  }
  if (a == kNodeLogical && b == kNodeBoolean && *static_cast<const uint8_t*>(in) == kUnknown) {
    lose("an UNKNOWN logical value has no counterpart in a BOOLEAN attribute");
    return false;
  }
  if ((a == kNodeLogical || a == kNodeBoolean) && (b == kNodeLogical || b == kNodeBoolean)) {
    *static_cast<uint8_t*>(out) = *static_cast<const uint8_t*>(in);
    return true;
  }
  if (a == kNodeBinary && b == kNodeBinary) {
    const BINARY* bin = static_cast<const BINARY*>(in);
    BINARY copy{bin->text != nullptr ? owner->copyString(bin->text) : nullptr, bin->bits};
    std::memcpy(out, &copy, sizeof copy);
    return true;
  }
  if (!IsObjectNode(a) && !IsObjectNode(b) && a != kNodeString && b != kNodeString && a != kNodeEnum &&
      b != kNodeEnum && ConvertPrimitive(*to.type, in, *from.type, out) != nullptr)
    return true;
  lose(std::string("a ") + (from.domain != nullptr ? from.domain->name() : from.type->name()) +
       " value cannot be a " + (to.domain != nullptr ? to.domain->name() : to.type->name()) + " in " + to_);
  return false;
}

// The target value of a source entity reference, select or aggregate, for
// a slot whose type is `want`.
TarnObject* Converter::object(TarnObject* value, TarnDomain* want) {
  switch (value->typePtr()->nodeType()) {
    case kNodeStructure: {
      TarnObject* made = converted(value);
      if (made == nullptr) return nullptr;  // the referenced instance is reported itself
      if (want == nullptr) return made;
      if (want->nodeType() == kNodeUnion) {
        TarnUnion* inner = nullptr;
        TarnAttribute* member = nullptr;
        TarnUnion* u = newSelect(want, made->domain(), true, &inner, &member);
        if (u == nullptr) {
          lose(std::string("a reference to ") + made->domainName() + " is no " + want->name() + " in " + to_);
          return nullptr;
        }
        inner->putObject(made, member);
        return u;
      }
      if (want->isEntity() && !made->domain()->typeIsA(want)) {
        lose(std::string("a reference to ") + made->domainName() + " is no " + want->name() + " in " + to_);
        return nullptr;
      }
      return made;
    }
    case kNodeUnion:
      return select(dynamic_cast<TarnUnion*>(value), want);
    case kNodeAggregate:
      return list(dynamic_cast<TarnAggregate*>(value), want);
    default:
      return nullptr;
  }
}

TarnObject* Converter::list(TarnAggregate* value, TarnDomain* want) {
  if (value == nullptr) return nullptr;
  if (want == nullptr || want->nodeType() != kNodeAggregate) {
    lose(std::string("an aggregate cannot be a ") + (want != nullptr ? want->name() : "value") + " in " + to_);
    return nullptr;
  }
  TarnObject* made = create(want, section_);
  TarnAggregate* into = made != nullptr ? dynamic_cast<TarnAggregate*>(made) : nullptr;
  if (into == nullptr) return nullptr;
  ListPlan& lp = lists_[value->domain()][want];
  if (!lp.planned) {
    lp.planned = true;
    TarnAttribute* s = value->elementAttribute();
    TarnAttribute* t = into->elementAttribute();
    lp.element.source = s;
    lp.element.target = t;
    lp.element.from = {value->slotType(nullptr), s != nullptr ? s->domain() : nullptr};
    lp.element.to = {into->slotType(nullptr), t != nullptr ? t->domain() : nullptr};
    planCarry(lp.element);
  }
  const uint32_t n = value->count();
  if (n == 0) return into;
  // Element records are written in place: the target has n zeroed records,
  // and the ones that cannot be carried are closed up.
  if (!into->capacity(n) || !into->size(n, -1)) return into;
  const Field& f = lp.element;
  const char* in = static_cast<const char*>(value->data());
  char* out = static_cast<char*>(into->data());
  const size_t inStep = value->elementSize();
  const size_t outStep = into->elementSize();
  uint32_t kept = 0;
  for (uint32_t i = 0; i < n; ++i, in += inStep) {
    if (SlotIsUnset(in, f.from.type) && IsObjectNode(f.from.type->nodeType())) continue;
    if (carry(f, in, out + kept * outStep, into)) ++kept;
  }
  if (kept < n) into->size(kept, -1);
  into->dropIndex();
  return into;
}

TarnUnion* Converter::leaf(TarnUnion* value) {
  TarnUnion* u = value;
  for (int depth = 0; u != nullptr && depth < 16; ++depth) {
    TarnAttribute* m = u->attribute();
    if (m == nullptr) return nullptr;
    const TarnType* type = u->slotType(m);
    if (!IsObjectNode(type->nodeType())) return u;
    TarnObject* held = HeldObject(u->valueSlot(), type);
    if (held == nullptr || held->typePtr()->nodeType() != kNodeUnion) return u;
    u = dynamic_cast<TarnUnion*>(held);
  }
  return nullptr;
}

TarnObject* Converter::select(TarnUnion* value, TarnDomain* want) {
  TarnUnion* l = value != nullptr ? leaf(value) : nullptr;
  if (l == nullptr) return nullptr;
  TarnAttribute* member = l->attribute();
  const TarnType* type = l->slotType(member);
  if (IsObjectNode(type->nodeType())) {
    TarnObject* held = HeldObject(l->valueSlot(), type);
    if (held == nullptr) return nullptr;
    if (held->typePtr()->nodeType() == kNodeStructure) return object(held, want);
    // An aggregate through a defined type (a member of its own).
    TarnDomain* memberType = typeCounterpart(member->domain());
    TarnUnion* inner = nullptr;
    TarnAttribute* into = nullptr;
    TarnUnion* u = want != nullptr && want->nodeType() == kNodeUnion && memberType != nullptr
                       ? newSelect(want, memberType, false, &inner, &into)
                       : nullptr;
    TarnObject* made = u != nullptr ? object(held, into->domain()) : nullptr;
    if (made == nullptr) {
      if (u == nullptr) lose(std::string("a ") + member->domain()->name() + " value has no place in " + to_);
      return nullptr;
    }
    inner->putObject(made, into);
    return u;
  }
  // A plain value of a defined type.
  TarnDomain* memberType = typeCounterpart(member->domain());
  if (want == nullptr || want->nodeType() != kNodeUnion || memberType == nullptr) {
    lose(std::string("a ") + member->domain()->name() + " value has no place in " + to_);
    return nullptr;
  }
  TarnUnion* inner = nullptr;
  TarnAttribute* into = nullptr;
  TarnUnion* u = newSelect(want, memberType, false, &inner, &into);
  if (u == nullptr) {
    lose(std::string("a ") + member->domain()->name() + " value is no member of " + want->name() + " in " + to_);
    return nullptr;
  }
  if (!carryPrimitive({type, member->domain()}, l->valueSlot(), {inner->slotType(into), into->domain()},
                      inner->valueSlot(), inner, nullptr))
    return nullptr;
  return u;
}


TarnUnion* Converter::newSelect(TarnDomain* select, TarnDomain* type, bool entity, TarnUnion** inner,
                                TarnAttribute** member) {
  std::vector<TarnAttribute*> path;
  if (select == nullptr || !SelectPath(select, type, entity, &path)) return nullptr;
  TarnObject* made = create(select, section_);
  TarnUnion* outer = made != nullptr ? dynamic_cast<TarnUnion*>(made) : nullptr;
  TarnUnion* u = outer;
  for (size_t i = 0; i + 1 < path.size() && u != nullptr; ++i) {
    TarnObject* next = create(path[i]->domain(), section_);
    TarnUnion* nested = next != nullptr ? dynamic_cast<TarnUnion*>(next) : nullptr;
    if (nested == nullptr) return nullptr;
    u->putObject(nested, path[i]);
    u = nested;
  }
  if (u == nullptr) return nullptr;
  u->putAttribute(path.back());
  *inner = u;
  *member = path.back();
  return outer;
}

// The target type of the same name as a source defined type, enumeration
// or aggregate type (null when the target has none).
TarnDomain* Converter::typeCounterpart(TarnDomain* domain) {
  if (domain == nullptr) return nullptr;
  auto found = types_.find(domain);
  if (found != types_.end()) return found->second;
  TarnDomain* d = domain->design() == sourceSchema_ ? FindDomainInSchema(targetSchema_, domain->name()) : domain;
  types_[domain] = d;
  return d;
}

// --- losses ----------------------------------------------------------------------

void Converter::lose(const std::string& what) {
  if (current_ != nullptr) loseInstance(current_, what);
}

void Converter::loseInstance(TarnObject* instance, const std::string& what) {
  const std::string type = instance->domainName() != nullptr ? instance->domainName() : "?";
  const std::string key = type + '\n' + what;
  auto found = lossIndex_.find(key);
  size_t i;
  if (found == lossIndex_.end()) {
    i = report_->losses.size();
    lossIndex_.emplace(key, i);
    report_->losses.push_back({type, what, {}});
  } else {
    i = found->second;
  }
  std::vector<uint32_t>& numbers = report_->losses[i].numbers;
  if (numbers.empty() || numbers.back() != instance->instanceNumber() || instance->instanceNumber() == 0)
    numbers.push_back(instance->instanceNumber());
}

}  // namespace

TarnDesign* ConvertDesign(TarnDesign* source, TarnDesign* target, ConversionReport* report) {
  ConversionReport scratch;
  if (report == nullptr) report = &scratch;
  *report = ConversionReport();
  TarnDesign* from = IfcSchemaOf(source);
  if (from == nullptr || target == nullptr) return nullptr;
  return Converter(source, from, target, report).run();
}

bool CarryInstances(TarnDesign* source, TarnDesign* target, const InstancePairs& known, InstancePairs* made,
                    ConversionReport* report) {
  ConversionReport scratch;
  if (report == nullptr) report = &scratch;
  *report = ConversionReport();
  TarnDesign* from = IfcSchemaOf(source);
  TarnDesign* to = IfcSchemaOf(target);
  if (from == nullptr || to == nullptr) return false;
  return Converter(source, from, to, report).runInto(target, known, made);
}

// --- the view --------------------------------------------------------------------

namespace {

// The enumerators of an enumeration domain (an enumeration defined as
// another has its enumerators).
const std::vector<const char*>* EnumeratorsOf(TarnDomain* d) {
  for (int depth = 0; d != nullptr && depth < 8; ++depth, d = d->firstSuper())
    if (!d->enumerators().empty()) return &d->enumerators();
  return nullptr;
}

class View : public Part21View {
 public:
  View(TarnDesign* sourceSchema, TarnDesign* targetSchema)
      : targetSchema_(targetSchema), from_(FileSchemaName(sourceSchema->name())),
        to_(FileSchemaName(targetSchema->name())) {}

  std::vector<std::string> fileSchemas() const override { return {to_}; }
  bool layout(TarnDomain* domain, std::string* typeName, std::vector<int>* attributes) const override {
    auto found = layouts_.find(domain);
    if (found == layouts_.end()) return false;
    *typeName = found->second.name;
    *attributes = found->second.attributes;
    return true;
  }

  // The layout of a source entity; false when its values may be written
  // otherwise in the target.
  bool add(TarnDomain* domain, bool* renamed) {
    if (layouts_.count(domain) > 0) return true;
    if (domain == nullptr || domain->isComplex()) return false;
    TarnDomain* target = CounterpartEntity(domain, targetSchema_, from_, to_, renamed);
    if (target == nullptr) return false;
    const Pairing pairs = PairAttributes(domain, target, from_, to_);
    if (!pairs.dropped.empty() || !pairs.unmatched.empty()) return false;
    Layout layout{target->name(), {}};
    const std::vector<TarnAttribute*>& source = domain->allAttributes();
    const std::vector<TarnAttribute*>& all = target->allAttributes();
    for (size_t k = 0; k < all.size(); ++k) {
      if (all[k]->isDerived()) {
        layout.attributes.push_back(kDerived);
        continue;
      }
      if (pairs.rules[k] != nullptr) return false;
      const int i = pairs.sourceOf[k];
      if (i >= 0 && !alike(source[static_cast<size_t>(i)]->domain(), all[k]->domain())) return false;
      layout.attributes.push_back(i >= 0 ? i : kUnset);
    }
    layouts_.emplace(domain, std::move(layout));
    return true;
  }

 private:
  struct Layout {
    std::string name;
    std::vector<int> attributes;
  };

  // Whether every value of type `a` is written in the target, as a value
  // of type `b`, as the source writes it.
  bool alike(TarnDomain* a, TarnDomain* b) {
    if (a == nullptr || b == nullptr) return false;
    auto key = std::make_pair(a, b);
    auto found = alike_.find(key);
    if (found != alike_.end()) return found->second;
    alike_[key] = false;  // a type that refers back to itself is decided by its other members
    const bool result = decide(a, b);
    alike_[key] = result;
    return result;
  }

  bool decide(TarnDomain* a, TarnDomain* b) {
    const int na = a->nodeType(), nb = b->nodeType();
    if (a->isEntity()) {
      bool renamed = false;
      TarnDomain* c = CounterpartEntity(a, targetSchema_, from_, to_, &renamed);
      if (c == nullptr) return false;
      if (b->isEntity()) return c->typeIsA(b);
      std::vector<TarnAttribute*> path;
      return nb == kNodeUnion && SelectPath(b, c, true, &path);
    }
    if (na == kNodeUnion) {
      if (nb != kNodeUnion) return false;
      for (TarnAttribute* m : a->allAttributes()) {
        TarnDomain* md = m->domain();
        if (md == nullptr) return false;
        if (md->nodeType() == kNodeUnion) {
          if (!alike(md, b)) return false;
          continue;
        }
        // A member is written by its own type: the target select must have
        // a member of that name, holding its values alike.
        bool renamed = false;
        TarnDomain* c = md->isEntity() ? CounterpartEntity(md, targetSchema_, from_, to_, &renamed)
                                       : FindDomainInSchema(targetSchema_, md->name());
        std::vector<TarnAttribute*> path;
        if (c == nullptr || !SelectPath(b, c, md->isEntity(), &path) || !alike(md, c)) return false;
      }
      return true;
    }
    if (na == kNodeAggregate) {
      if (nb != kNodeAggregate || a->allAttributes().empty() || b->allAttributes().empty()) return false;
      return alike(a->allAttributes().front()->domain(), b->allAttributes().front()->domain());
    }
    if (na == kNodeEnum) {
      const std::vector<const char*>* ea = EnumeratorsOf(a);
      const std::vector<const char*>* eb = EnumeratorsOf(b);
      if (nb != kNodeEnum || ea == nullptr || eb == nullptr) return false;
      for (const char* e : *ea)
        if (std::find_if(eb->begin(), eb->end(), [&](const char* x) { return EqualNoCase(x, e); }) == eb->end())
          return false;
      return true;
    }
    // Plain values: the same kind (a BOOLEAN is a LOGICAL too).
    return na == nb || (na == kNodeBoolean && nb == kNodeLogical);
  }

  TarnDesign* targetSchema_;
  std::string from_, to_;
  std::unordered_map<TarnDomain*, Layout> layouts_;
  std::map<std::pair<TarnDomain*, TarnDomain*>, bool> alike_;
};

}  // namespace

std::unique_ptr<Part21View> ConversionView(TarnDesign* source, TarnDesign* target, ConversionReport* report) {
  ConversionReport scratch;
  if (report == nullptr) report = &scratch;
  *report = ConversionReport();
  TarnDesign* from = IfcSchemaOf(source);
  if (from == nullptr || target == nullptr) return nullptr;
  auto view = std::make_unique<View>(from, target);
  report->from = FileSchemaName(from->name());
  report->to = FileSchemaName(target->name());
  std::unordered_map<TarnDomain*, bool> counted;
  for (TarnSection* s : source->sections()) {
    if (s->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next()) {
      TarnObject* first = e->first();
      if (first == nullptr || first->typePtr()->nodeType() != kNodeStructure) continue;
      TarnDomain* d = first->domain();
      bool renamed = false;
      if (!view->add(d, &renamed)) {
        *report = ConversionReport();
        return nullptr;
      }
      if (counted.emplace(d, true).second) {
        ++report->types;
        if (renamed) ++report->renamedTypes;
      }
      report->instances += e->count();
    }
  }
  return view;
}

}  // namespace korva
