#include "exchange/native_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/error_category.h"
#include "objdb/interface.h"
#include "objdb/union.h"

namespace korva {
namespace {

IOTarn g_handler;

// Messages of the native formats are exchange-file messages: an error in a
// file ends the read, not the process.
const TarnErrorCategory& Messages() { return ExchangeMessages(); }

// Deeper nesting of inline values than this is refused (and indentation
// stops growing there).
constexpr int kMaxNesting = 255;

// The stored value of attribute `name` of a design (designs keep their
// stored attributes in plain fields, at the positions their domain knows).
void* DesignSlot(TarnDesign* design, const char* name, const TarnType** type) {
  TarnDomain* domain = design->domain();
  TarnAttribute* att = domain != nullptr ? domain->findAttribute(name) : nullptr;
  if (att == nullptr || !att->hasSlot() || att->inOverflow()) return nullptr;
  if (type != nullptr) *type = design->slotType(att);
  return static_cast<char*>(design->baseObject()) + att->offset();
}

TarnObject* HeldObject(const TarnType* type, void* held) {
  if (held == nullptr || IsUnresolved(held)) return nullptr;
  return type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
}

TarnObject* DesignObject(TarnDesign* design, const char* name) {
  const TarnType* type = nullptr;
  void* slot = DesignSlot(design, name, &type);
  return slot != nullptr ? HeldObject(type, *static_cast<void**>(slot)) : nullptr;
}

// Stores an object into a design's field.
void SetDesignObject(TarnDesign* design, const char* name, TarnObject* value) {
  const TarnType* type = nullptr;
  void* slot = DesignSlot(design, name, &type);
  if (slot == nullptr) return;
  *static_cast<void**>(slot) = value != nullptr ? TypecastRaw(value, type) : nullptr;
}

}  // namespace

// --- The order of objects ----------------------------------------------------

bool NativeObjectOrder::SystemDomain(const char* domainName) {
  return domainName != nullptr && std::strncmp(domainName, "Dictionary", 10) == 0;
}

NativeObjectOrder::NativeObjectOrder(TarnDesign* design) {
  struct Group {
    std::vector<TarnObject*> objects;
  };
  std::vector<Group> groups[2];  // system-section domains, then the others
  std::unordered_map<TarnDomain*, size_t> index[2];
  auto add = [&](TarnObject* o, TarnDomain* d) {
    const int target = SystemDomain(d != nullptr ? d->name() : nullptr) ? 0 : 1;
    auto it = index[target].find(d);
    if (it == index[target].end()) {
      it = index[target].emplace(d, groups[target].size()).first;
      groups[target].emplace_back();
    }
    groups[target][it->second].objects.push_back(o);
  };

  std::vector<TarnDomain*> domains;
  std::set<std::pair<TarnDomain*, TarnAttribute*>> refinedHere;
  for (TarnSection* s : design->sections())
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        const int node = o->typePtr()->nodeType();
        if (node == kNodeUnion || node == kNodeAggregate) continue;  // written inline
        if (node != kNodeStructure) {
          unexpected_.push_back(o);
          continue;
        }
        add(o, e->domain());
        if (TarnDomain* d = dynamic_cast<TarnDomain*>(o)) domains.push_back(d);
        if (TarnRefined* r = dynamic_cast<TarnRefined*>(o)) refinedHere.emplace(r->refined_by, r->refined_att);
      }

  // Enumerators held in memory only become attribute records.
  TarnDomain* attributeDomain = TarnAttribute::classType.domain();
  for (TarnDomain* d : domains) {
    if (d->enumerators().empty()) continue;
    auto* own = dynamic_cast<TarnAggregate*>(d->getObject(d->getAttribute("listOfAttribute")));
    if (own != nullptr && own->count() > 0) continue;
    std::vector<TarnObject*>& list = replaced_[d];
    for (const char* name : d->enumerators()) {
      TarnAttribute* a = new TarnAttribute();
      a->setName(name);
      added_.push_back(a);
      list.push_back(a);
      add(a, attributeDomain);
    }
  }
  // DERIVE redeclarations made in code become refinement records.
  TarnDomain* refinedDomain = TarnRefined::classType.domain();
  for (TarnDomain* d : domains) {
    if (!d->isActiveQuiet() || !d->enumerators().empty()) continue;
    for (TarnAttribute* a : d->allAttributes()) {
      if (!a->isDerived()) continue;
      TarnAttribute* original = a->original();
      bool inherited = false;
      for (TarnDomain* s : d->allSupers())
        for (TarnAttribute* b : s->allAttributes())
          inherited = inherited || (b->original() == original && b->isDerived());
      if (inherited || refinedHere.count({d, original}) != 0) continue;
      TarnRefined* r = new TarnRefined();
      r->refined_att = original;
      r->refined_by = d;
      added_.push_back(r);
      add(r, refinedDomain);
    }
  }

  for (auto& target : groups)
    for (Group& g : target)
      for (TarnObject* o : g.objects) {
        objects_.push_back(o);
        numbers_.emplace(o, static_cast<int>(objects_.size()));
      }
}

NativeObjectOrder::~NativeObjectOrder() {
  for (TarnObject* o : added_) delete o;
}

int NativeObjectOrder::number(TarnObject* object) const {
  auto it = numbers_.find(object);
  return it != numbers_.end() ? it->second : 0;
}

const std::vector<TarnObject*>* NativeObjectOrder::replacedList(TarnObject* owner, TarnAttribute* att) const {
  if (replaced_.empty() || att == nullptr || std::strcmp(att->name(), "listOfAttribute") != 0) return nullptr;
  auto it = replaced_.find(owner);
  return it != replaced_.end() ? &it->second : nullptr;
}

// --- Capturing a design ------------------------------------------------------

namespace {

// The node type of an attribute's domain (-1 when it has none).
int AttributeNode(TarnAttribute* att) {
  TarnDomain* domain = att->domain();
  TarnType* type = domain != nullptr ? domain->typeRecord() : nullptr;
  return type != nullptr ? type->nodeType() : -1;
}

// Reads one primitive slot into a value; false when the kind has no
// conversion.  Indexed by node type.
typedef bool (*Capturer)(const void* slot, const TarnType* type, NativeValue* out);

template <typename T>
T Load(const void* slot) {
  T v;
  std::memcpy(&v, slot, sizeof v);
  return v;
}

bool CaptureInteger(long long v, NativeValue* out) {
  out->kind = NativeValue::kInteger;
  out->integer = v;
  return true;
}
bool CaptureInt32(const void* s, const TarnType*, NativeValue* out) {
  int32_t v = Load<int32_t>(s);
  return v == kUnsetInteger || CaptureInteger(v, out);
}
bool CaptureUInt32(const void* s, const TarnType*, NativeValue* out) {
  uint32_t v = Load<uint32_t>(s);
  return v == static_cast<uint32_t>(kUnsetInteger) || CaptureInteger(v, out);
}
bool CaptureOid(const void* s, const TarnType*, NativeValue* out) { return CaptureInteger(Load<uint32_t>(s), out); }
bool CaptureByte(const void* s, const TarnType*, NativeValue* out) { return CaptureInteger(Load<uint8_t>(s), out); }
bool CaptureChar(const void* s, const TarnType*, NativeValue* out) { return CaptureInteger(Load<int8_t>(s), out); }
bool CaptureShort(const void* s, const TarnType*, NativeValue* out) { return CaptureInteger(Load<int16_t>(s), out); }
bool CaptureUShort(const void* s, const TarnType*, NativeValue* out) { return CaptureInteger(Load<uint16_t>(s), out); }
bool CaptureDouble(const void* s, const TarnType*, NativeValue* out) {
  double v = Load<double>(s);
  if (v == kUnsetReal || std::isnan(v)) return true;
  out->kind = NativeValue::kReal;
  out->real = v;
  return true;
}
bool CaptureFloat(const void* s, const TarnType*, NativeValue* out) {
  float v = Load<float>(s);
  if (std::isnan(v)) return true;
  out->kind = NativeValue::kSingle;
  out->real = v;
  return true;
}
bool CaptureLogical(const void* s, const TarnType*, NativeValue* out) {
  uint8_t v = Load<uint8_t>(s);
  if (v > 2) return true;
  out->kind = NativeValue::kLogical;
  out->integer = v;
  return true;
}
bool CaptureText(const char* text, NativeValue* out) {
  if (text == nullptr) return true;
  out->kind = NativeValue::kString;
  out->text = text;
  return true;
}
bool CaptureString(const void* s, const TarnType*, NativeValue* out) { return CaptureText(Load<char*>(s), out); }
bool CaptureBinary(const void* s, const TarnType*, NativeValue* out) { return CaptureText(Load<BINARY>(s).text, out); }
bool CaptureEnum(const void* s, const TarnType* type, NativeValue* out) {
  int32_t v = Load<int32_t>(s);
  if (v == kUnsetEnum) return true;
  if (const char* name = type->enumeratorName(v)) {
    out->kind = NativeValue::kEnum;
    out->text = name;
    return true;
  }
  return CaptureInteger(v, out);
}

const Capturer* CaptureTable() {
  static Capturer table[32] = {};
  if (table[kNodeInt] == nullptr) {
    table[kNodeInt] = &CaptureInt32;
    table[kNodeFloat] = &CaptureFloat;
    table[kNodeBoolean] = &CaptureLogical;
    table[kNodeLogical] = &CaptureLogical;
    table[kNodeString] = &CaptureString;
    table[kNodeOID] = &CaptureOid;
    table[kNodeDouble] = &CaptureDouble;
    table[kNodeByte] = &CaptureByte;
    table[kNodeShort] = &CaptureShort;
    table[kNodeLong] = &CaptureInt32;
    table[kNodeUShort] = &CaptureUShort;
    table[kNodeUInt] = &CaptureUInt32;
    table[kNodeULong] = &CaptureUInt32;
    table[kNodeChar] = &CaptureChar;
    table[kNodeBinary] = &CaptureBinary;
    table[kNodeEnum] = &CaptureEnum;
  }
  return table;
}

class Capture {
 public:
  Capture(TarnDesign* design, NativeImage* image) : design_(design), order_(design), image_(image) {
    image_->designs.emplace_back(0, design->name() != nullptr ? design->name() : "");
    designNumbers_[design] = 0;
  }

  bool ok() const { return ok_; }

  void designRecord(TarnDomain* domain) {
    image_->designDomain = domain->name();
    for (TarnAttribute* att : domain->allAttributes()) {
      if (!att->hasSlot() || att->inOverflow()) continue;
      const TarnType* type = design_->slotType(att);
      void* slot = static_cast<char*>(design_->baseObject()) + att->offset();
      NativeValue v;
      value(type, slot, nullptr, att, 0, &v, 1);
      // The design makes its lists on first request: none is an empty one.
      if (v.kind == NativeValue::kNull && type->nodeType() == kNodeAggregate) v.kind = NativeValue::kList;
      image_->designValues.emplace_back(att->name(), std::move(v));
    }
  }

  void objects() {
    for (size_t i = 0; i < order_.unexpected().size(); ++i) {
      Messages().error("unexpected object type while writing");
      ok_ = false;
    }
    image_->objects.reserve(order_.objects().size());
    for (TarnObject* o : order_.objects()) {
      image_->objects.emplace_back();
      NativeObject& record = image_->objects.back();
      record.number = static_cast<int>(image_->objects.size());
      TarnDomain* domain = o->domain();
      record.domain = domain != nullptr && domain->name() != nullptr ? domain->name() : o->domainName();
      if (domain == nullptr) continue;
      for (TarnAttribute* att : domain->allAttributes()) {
        if (!att->hasSlot() || att->isDerived()) continue;
        NativeValue v;
        if (const std::vector<TarnObject*>* list = order_.replacedList(o, att)) {
          v.kind = NativeValue::kList;
          for (TarnObject* item : *list) {
            v.items.emplace_back();
            reference(item, 2, &v.items.back());
          }
        } else if (void* slot = o->slotAddress(att, 0)) {
          value(o->slotType(att), slot, o, att, 0, &v, 2);
        }
        record.values.emplace_back(att->name(), std::move(v));
      }
    }
  }

 private:
  // The value in a slot of `type`; owner/att/index say where it is, so that
  // an unresolved reference can be resolved.
  void value(const TarnType* type, void* slot, TarnObject* owner, TarnAttribute* att, int index, NativeValue* out,
             int depth) {
    const int node = type->nodeType();
    if (IsObjectNode(node)) {
      void* held = *static_cast<void**>(slot);
      TarnObject* o = IsUnresolved(held) && owner != nullptr ? owner->getObject(att, index) : HeldObject(type, held);
      reference(o, depth, out, att);
      return;
    }
    Capturer capture = node >= 0 && node < 32 ? CaptureTable()[node] : nullptr;
    if (capture == nullptr) {
      TarnDomain* od = owner != nullptr ? owner->domain() : nullptr;
      Messages().report(2041, "<Unknown Field>", od != nullptr && od->name() != nullptr ? od->name() : "<no-object>",
                        att != nullptr && att->name() != nullptr ? att->name() : "<no-att>", node);
      ok_ = false;
      return;
    }
    capture(slot, type, out);
  }

  // An object held by a value: an identifier, or inline for selects and
  // aggregates.  `att` is the attribute that holds it; an aggregate held by
  // an attribute of no aggregate type (a name table's values, a generic
  // object attribute) is written with its type, `ListOfSTR(('a', 'b'))`, so
  // that reading can make it again.
  void reference(TarnObject* o, int depth, NativeValue* out, TarnAttribute* att = nullptr) {
    if (o == nullptr) return;
    if (depth > kMaxNesting) {
      Messages().error("Values nested deeper than %d levels.", kMaxNesting);
      ok_ = false;
      return;
    }
    if (int n = order_.number(o)) {
      out->kind = NativeValue::kOid;
      out->object = n;
      return;
    }
    switch (o->typePtr()->nodeType()) {
      case kNodeUnion:
        select(dynamic_cast<TarnUnion*>(o), depth, out);
        return;
      case kNodeAggregate:
        if (att != nullptr && AttributeNode(att) != kNodeAggregate && o->domain() != nullptr) {
          out->kind = NativeValue::kSelect;
          out->text = o->domain()->name();
          out->items.emplace_back();
          aggregate(dynamic_cast<TarnAggregate*>(o), depth + 1, &out->items.back());
          return;
        }
        aggregate(dynamic_cast<TarnAggregate*>(o), depth, out);
        return;
      case kNodeDesign:
        out->kind = NativeValue::kOid;
        out->design = designNumber(dynamic_cast<TarnDesign*>(o));
        return;
      case kNodeStructure:
        break;
      default:
        Messages().error("unexpected object type while writing");
        ok_ = false;
        return;
    }
    TarnDesign* other = o->design();
    if (!o->isPersistent() || other == nullptr || other == design_ || other->markedForDeletion()) {
      Messages().warning("Nonpersistant or deleted object found, written as NULL");
      return;
    }
    out->kind = NativeValue::kOid;
    out->design = designNumber(other);
    if (const char* name = nameIn(other, o)) out->text = name;
    else out->object = numberIn(other, o);
  }

  void select(TarnUnion* u, int depth, NativeValue* out) {
    TarnAttribute* member = u != nullptr ? u->attribute() : nullptr;
    if (member == nullptr) return;
    out->kind = NativeValue::kSelect;
    const char* name = member->name();
    out->text = name[0] == '_' ? name + 1 : name;
    out->items.emplace_back();
    value(u->slotType(member), u->slotAddress(member, 0), u, member, 0, &out->items.back(), depth + 1);
  }

  void aggregate(TarnAggregate* a, int depth, NativeValue* out) {
    if (a == nullptr) return;
    out->kind = NativeValue::kList;
    const TarnType* element = a->elementType();
    TarnPtrAggregate* pointers = dynamic_cast<TarnPtrAggregate*>(a);
    TarnAttribute* elementAtt = a->elementAttribute();
    out->items.resize(a->count());
    for (uint32_t i = 0; i < a->count(); ++i) {
      if (pointers != nullptr) reference(pointers->get(i), depth + 1, &out->items[i], elementAtt);
      else value(element, a->slotAddress(elementAtt, static_cast<int>(i)), a, elementAtt, static_cast<int>(i),
                 &out->items[i], depth + 1);
    }
  }

  int designNumber(TarnDesign* d) {
    auto it = designNumbers_.find(d);
    if (it != designNumbers_.end()) return it->second;
    const int n = static_cast<int>(image_->designs.size());
    designNumbers_.emplace(d, n);
    image_->designs.emplace_back(n, d != nullptr && d->name() != nullptr ? d->name() : "");
    return n;
  }

  // The name under which `o` is entered in the name table of `other`
  // (a domain under its own name when it is entered so), or null.
  const char* nameIn(TarnDesign* other, TarnObject* o) {
    auto* names = dynamic_cast<DictionaryOfTarnObject*>(DesignObject(other, "name_table"));
    if (names == nullptr) return nullptr;
    const char* name = nullptr;
    TarnDomain* domain = dynamic_cast<TarnDomain*>(o);
    if (domain != nullptr && domain->name() != nullptr && names->lookup(domain->name()) == o) {
      name = domain->name();
    } else {
      auto& reverse = reverseNames_[other];
      if (reverse.empty())
        for (uint32_t i = 0; i < names->count(); ++i) reverse.emplace(names->values()->get(i), names->keyAt(i));
      auto it = reverse.find(o);
      if (it != reverse.end()) name = it->second;
    }
    // A name the text format cannot quote is referred to by number.
    return name != nullptr && std::strchr(name, '"') == nullptr ? name : nullptr;
  }

  int numberIn(TarnDesign* other, TarnObject* o) {
    std::unique_ptr<NativeObjectOrder>& order = otherOrders_[other];
    if (order == nullptr) order = std::make_unique<NativeObjectOrder>(other);
    return order->number(o);
  }

  TarnDesign* design_;
  NativeObjectOrder order_;
  NativeImage* image_;
  bool ok_ = true;
  std::unordered_map<TarnDesign*, int> designNumbers_;
  std::unordered_map<TarnDesign*, std::unordered_map<TarnObject*, const char*>> reverseNames_;
  std::unordered_map<TarnDesign*, std::unique_ptr<NativeObjectOrder>> otherOrders_;
};

}  // namespace

bool CaptureNativeImage(TarnDesign* design, NativeForm form, NativeImage* image) {
  *image = NativeImage();
  if (design == nullptr) return false;
  TarnDomain* domain = design->domain();
  if (domain == nullptr || domain->name() == nullptr) {
    Messages().error("Could not find the design's domain.");
    return false;
  }
  if (domain->design() == design) {
    const char* name = design->name() != nullptr ? design->name() : "";
    if (form == NativeForm::kText) Messages().error("Design \"%s\" contains its own domain.", name);
    else Messages().error("The domain of [%s] must be in a different design", name);
    return false;
  }
  Capture capture(design, image);
  capture.designRecord(domain);
  capture.objects();
  return capture.ok();
}

// --- Making a design of an image ---------------------------------------------

namespace {

// Stores the unset marker of a value kind.
void StoreUnset(const TarnType* type, void* slot) {
  switch (type->nodeType()) {
    case kNodeInt: case kNodeLong: case kNodeUInt: case kNodeULong: {
      int32_t v = kUnsetInteger;
      std::memcpy(slot, &v, sizeof v);
      break;
    }
    case kNodeDouble: {
      double v = kUnsetReal;
      std::memcpy(slot, &v, sizeof v);
      break;
    }
    case kNodeBoolean: case kNodeLogical:
      *static_cast<uint8_t*>(slot) = kUnsetBoolean;
      break;
    case kNodeEnum: {
      int32_t v = kUnsetEnum;
      std::memcpy(slot, &v, sizeof v);
      break;
    }
    default:
      break;  // zero: no value
  }
}

class Builder {
 public:
  Builder(TarnDesign* design, const NativeImage& image) : design_(design) {
    for (const auto& [number, name] : image.designs) designs_[number] = name;
  }

  bool known(int number) const { return byNumber_.count(number) != 0; }
  void enter(int number, TarnObject* o) { byNumber_.emplace(number, o); }

  TarnObject* object(const NativeValue& v) {
    if (v.kind != NativeValue::kOid) return nullptr;
    if (v.design == 0 && v.text.empty()) {
      if (v.object == 0) return design_;
      auto it = byNumber_.find(v.object);
      if (it == byNumber_.end()) {
        Messages().error("No reference found");
        return nullptr;
      }
      return it->second;
    }
    TarnDesign* other = v.design == 0 ? design_ : otherDesign(v.design);
    if (other == nullptr) return nullptr;
    if (!v.text.empty()) {
      TarnObject* o = nullptr;
      if (auto* names = dynamic_cast<DictionaryOfTarnObject*>(DesignObject(other, "name_table")))
        o = names->lookup(v.text.c_str());
      if (o == nullptr) Messages().error("No reference found");
      return o;
    }
    if (v.object == 0) return other;
    std::unique_ptr<NativeObjectOrder>& order = orders_[other];
    if (order == nullptr) order = std::make_unique<NativeObjectOrder>(other);
    const auto& objects = order->objects();
    if (v.object > 0 && static_cast<size_t>(v.object) <= objects.size() && objects[v.object - 1]->isPersistent())
      return objects[v.object - 1];
    Messages().message("OID <%d-%d> is an external reference, skipping.", v.design, v.object);
    return nullptr;
  }

  TarnDesign* otherDesign(int number) {
    auto it = designs_.find(number);
    if (it == designs_.end()) {
      Messages().error("Bad oid definition.");
      return nullptr;
    }
    TarnDesign* d = FindSchemaDesign(it->second.c_str());
    if (d == nullptr) d = TARN().findDesign(it->second.c_str());
    if (d == nullptr) Messages().report(2011, it->second.c_str());
    return d;
  }

  // Stores `v` into attribute `att` of `target`; index -1 appends to the
  // aggregate `target`.
  void put(TarnObject* target, TarnAttribute* att, const NativeValue& v, int index) {
    const TarnType* slot = target->slotType(att);
    const int node = slot->nodeType();
    switch (v.kind) {
      case NativeValue::kNull:
        if (index < 0) appendUnset(dynamic_cast<TarnAggregate*>(target));
        else target->unset(att);
        break;
      case NativeValue::kString:
        target->putString(v.text.c_str(), att, index);
        break;
      case NativeValue::kInteger:
        if (node == kNodeDouble || node == kNodeFloat) target->putDouble(static_cast<double>(v.integer), att, index);
        else if (node == kNodeEnum) target->putEnum(static_cast<int32_t>(v.integer), att, index);
        else target->putInteger(static_cast<int>(v.integer), att, index);
        break;
      case NativeValue::kReal:
      case NativeValue::kSingle:
        if (node == kNodeFloat) target->putFloat(static_cast<float>(v.real), att, index);
        else target->putDouble(v.real, att, index);
        break;
      case NativeValue::kLogical:
        target->putBoolean(static_cast<TarnBoolean>(v.integer), att, index);
        break;
      case NativeValue::kEnum:
        putEnum(target, att, slot, v.text, index);
        break;
      case NativeValue::kOid:
        target->putObject(object(v), att, index);
        break;
      case NativeValue::kList:
        putList(target, att, v, index);
        break;
      case NativeValue::kSelect:
        putSelect(target, att, v, index);
        break;
    }
  }

 private:
  void putEnum(TarnObject* target, TarnAttribute* att, const TarnType* slot, const std::string& text, int index) {
    const int node = slot->nodeType();
    if (node == kNodeBoolean || node == kNodeLogical) {
      static const char* const kNames[][2] = {{"F", "FALSE"}, {"T", "TRUE"}, {"U", "UNKNOWN"}};
      for (int b = 0; b < 3; ++b)
        if (text == kNames[b][0] || text == kNames[b][1]) {
          target->putBoolean(static_cast<TarnBoolean>(b), att, index);
          return;
        }
      Messages().message("Unknown enum \"%s\" for boolean in attribute \"%s\".", text.c_str(), att->name());
      return;
    }
    int32_t value = slot->enumeratorValue(text.c_str());
    if (value < 0) {
      Messages().report(2008, text.c_str(), slot->name(), att->name());
      return;
    }
    target->putEnum(value, att, index);
  }

  // Makes an aggregate or select instance for a value of `att`: of the
  // attribute's domain, unless that class does not fit the slot.
  // A new value of kind `node` (an aggregate or a select) for attribute
  // `att` of `target`; null, with nothing made, when the attribute holds
  // values of another kind.
  TarnObject* make(TarnObject* target, TarnAttribute* att, int node) {
    TarnDomain* domain = att->domain();
    TarnType* type = domain != nullptr ? domain->typeRecord() : nullptr;
    const TarnType* slot = target->slotType(att);
    if ((type == nullptr || !type->derivesFrom(slot)) && slot->creator != nullptr && IsObjectNode(slot->nodeType()))
      type = const_cast<TarnType*>(slot);
    if (type == nullptr || type->creator == nullptr || type->nodeType() != node) return nullptr;
    TarnSection* section = target->section() != nullptr ? target->section() : design_->dflt_section();
    return type->creator(design_, section, domain);
  }

  void putList(TarnObject* target, TarnAttribute* att, const NativeValue& v, int index) {
    TarnAggregate* list = nullptr;
    bool made = false;
    if (auto* d = dynamic_cast<TarnDictionary*>(target)) {
      if (std::strcmp(att->name(), "listOfKeys") == 0) list = d->listOfKeys();
      else if (std::strcmp(att->name(), "listOfValues") == 0) list = d->listOfValues();
    }
    if (list == nullptr) {
      TarnObject* o = make(target, att, kNodeAggregate);
      list = o != nullptr ? dynamic_cast<TarnAggregate*>(o) : nullptr;
      if (list == nullptr) {
        Messages().error("bad type");
        return;
      }
      made = true;
    }
    TarnAttribute* element = list->elementAttribute();
    if (element != nullptr)
      for (const NativeValue& item : v.items) put(list, element, item, -1);
    // Filled first: a store into a slot of another aggregate class copies.
    if (made) target->putObject(list, att, index);
  }

  void putSelect(TarnObject* target, TarnAttribute* att, const NativeValue& v, int index) {
    if (AttributeNode(att) != kNodeUnion) {
      putTypedAggregate(target, att, v, index);
      return;
    }
    TarnObject* o = make(target, att, kNodeUnion);
    TarnUnion* u = o != nullptr ? dynamic_cast<TarnUnion*>(o) : nullptr;
    if (u == nullptr || v.items.empty()) {
      Messages().error("bad type");
      return;
    }
    TarnDomain* domain = u->domain();
    TarnAttribute* member = domain != nullptr ? domain->findAttribute(("_" + v.text).c_str()) : nullptr;
    if (member == nullptr && domain != nullptr) member = domain->findAttribute(v.text.c_str());
    if (member == nullptr) {
      Messages().report(2039, v.text.c_str());
      return;
    }
    u->putAttribute(member);
    put(u, member, v.items.front(), 0);
    target->putObject(u, att, index);
  }

  // `ListOfX((...))` in a slot of no aggregate type: an aggregate of the
  // named type.
  void putTypedAggregate(TarnObject* target, TarnAttribute* att, const NativeValue& v, int index) {
    TarnDomain* domain = v.items.size() == 1 && v.items.front().kind == NativeValue::kList
                             ? FindDomainInDesign(design_, v.text.c_str())
                             : nullptr;
    TarnType* type = domain != nullptr ? domain->typeRecord() : nullptr;
    if (type == nullptr || type->nodeType() != kNodeAggregate || type->creator == nullptr) {
      Messages().error("bad type");
      return;
    }
    TarnSection* section = target->section() != nullptr ? target->section() : design_->dflt_section();
    auto* list = dynamic_cast<TarnAggregate*>(type->creator(design_, section, domain));
    if (list == nullptr) {
      Messages().error("bad type");
      return;
    }
    if (TarnAttribute* element = list->elementAttribute())
      for (const NativeValue& item : v.items.front().items) put(list, element, item, -1);
    target->putObject(list, att, index);
  }

  void appendUnset(TarnAggregate* list) {
    if (list == nullptr) return;
    const uint32_t n = list->count();
    if (!list->size(n + 1, -1)) return;
    StoreUnset(list->elementType(), list->slotAddress(nullptr, static_cast<int>(n)));
  }

  TarnDesign* design_;
  std::map<int, std::string> designs_;
  std::unordered_map<int, TarnObject*> byNumber_;
  std::unordered_map<TarnDesign*, std::unique_ptr<NativeObjectOrder>> orders_;
};

}  // namespace

namespace {

// Whether the chain of first supertypes of `domain` reaches a domain of
// another design without ending or going round in `design`, which holds at
// most `domains` domains.
bool SupertypesLeave(TarnDomain* domain, TarnDesign* design, size_t domains) {
  for (size_t steps = 0; steps <= domains; ++steps) {
    TarnDomain* super = domain->firstSuper();
    if (super == nullptr || super == domain) return false;
    if (super->design() != design) return true;
    domain = super;
  }
  return false;
}

}  // namespace

TarnDesign* BuildNativeDesign(const NativeImage& image, const char* name) {
  // A design read before anything else in the process starts the database,
  // as every other operation does.
  TARN().initialize();
  // The design object's domain must be a known kind of design.
  TarnDomain* designDomain = FindDomainInDesign(nullptr, image.designDomain.c_str());
  if (designDomain == nullptr) {
    Messages().error("Domain \"%s\" not found.", image.designDomain.c_str());
    return nullptr;
  }
  if (!designDomain->typeIsA(TarnDesign::classType.domain())) {
    Messages().error("Domain \"%s\" is not a type of TarnDesign.", image.designDomain.c_str());
    return nullptr;
  }
  TarnDesign* current = TARN().design();
  TarnDesign* design = TARN().newDesign(name);
  TARN().useDesign(current);
  design->setState(TarnDesign::kBeingRead);
  Builder builder(design, image);
  // The schemas first: the objects' domains are found through them.
  for (const auto& [attName, value] : image.designValues)
    if (attName == "schemas" && value.kind == NativeValue::kList)
      for (const NativeValue& s : value.items)
        if (s.kind == NativeValue::kOid && s.design != 0)
          if (TarnDesign* d = builder.otherDesign(s.design)) design->addSchema(d);

  std::vector<TarnObject*> made(image.objects.size(), nullptr);
  bool schema = false;
  for (size_t i = 0; i < image.objects.size(); ++i) {
    const NativeObject& item = image.objects[i];
    TarnDomain* domain = FindDomainInDesign(design, item.domain.c_str());
    if (domain == nullptr) {
      Messages().error("Unknown domain \"%s\".", item.domain.c_str());
      continue;
    }
    TarnType* type = domain->typeRecord();
    if (type == nullptr || type->creator == nullptr || type->nodeType() != kNodeStructure) {
      Messages().error("Expecting an object type");
      continue;
    }
    if (builder.known(item.number)) {
      Messages().message("Object <0-%d> already defined, skipping.", item.number);
      continue;
    }
    TarnSection* section =
        NativeObjectOrder::SystemDomain(item.domain.c_str()) ? design->system_section() : design->dflt_section();
    TarnObject* o = type->creator(design, section, domain);
    builder.enter(item.number, o);
    made[i] = o;
    schema = schema || domain->boundType() == &TarnDomain::classType;
  }
  for (size_t i = 0; i < image.objects.size(); ++i) {
    TarnObject* o = made[i];
    if (o == nullptr) continue;
    for (const auto& [attName, value] : image.objects[i].values) {
      TarnAttribute* att = o->getAttribute(attName.c_str());
      if (att == nullptr) {
        Messages().message("\"%s\" is not an attribute in \"%s\", skipping value", attName.c_str(),
                           image.objects[i].domain.c_str());
        continue;
      }
      builder.put(o, att, value, 0);
    }
  }
  for (const auto& [attName, value] : image.designValues) {
    if (value.kind != NativeValue::kOid) continue;
    TarnObject* held = builder.object(value);
    // The design's tables and root are its own objects: it destroys its
    // tables with itself, and must never take another design's.
    if (held != nullptr && held != design && held->design() != design) {
      Messages().message("OID <%d-%d> is an external reference, skipping.", value.design, value.object);
      continue;
    }
    if (attName == "name_table") {
      if (auto* names = dynamic_cast<DictionaryOfTarnObject*>(held)) design->setNameTable(names);
    } else if (attName == "root") {
      design->setRoot(held);
    } else if (attName == "keyword_table") {
      if (auto* keywords = dynamic_cast<DictionaryOfString*>(held)) SetDesignObject(design, "keyword_table", keywords);
    }
  }
  design->setState(TarnDesign::kNormal);
  // Every domain has a supertype, and its chain of first supertypes leaves
  // the design (the roots have the meta-schema's); a domain without one, or
  // in a loop of them, could not be activated, and the design is refused as
  // damaged, whatever kind of domain object (a defined type, say) holds it.
  for (TarnObject* o : made)
    if (auto* domain = dynamic_cast<TarnDomain*>(o))
      if (!SupertypesLeave(domain, design, made.size())) {
        Messages().error("Domain \"%s\" has no supertype.", domain->name() != nullptr ? domain->name() : "<no-name>");
        TARN().deleteDesign(design);
        return nullptr;
      }
  design->setSchemaDesign(schema);
  design->activate();
  return design;
}

// --- The text form -------------------------------------------------------------

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : p_(text.c_str()), end_(text.c_str() + text.size()) {}

  bool ok() const { return ok_; }

  void skip() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n')) ++p_;
  }
  bool accept(char c) {
    skip();
    if (p_ < end_ && *p_ == c) {
      ++p_;
      return true;
    }
    return false;
  }
  bool expect(char c, const char* message) {
    if (accept(c)) return true;
    fail(message);
    return false;
  }
  bool peek(char c) {
    skip();
    return p_ < end_ && *p_ == c;
  }
  bool atEnd() {
    skip();
    return p_ >= end_;
  }
  std::string word() {
    skip();
    const char* s = p_;
    while (p_ < end_ && (std::isalnum(static_cast<unsigned char>(*p_)) || *p_ == '_' || *p_ == '.' || *p_ == '-'))
      ++p_;
    return std::string(s, p_);
  }
  bool keyword(const char* k, const char* message) {
    if (word() == k) return true;
    fail(message);
    return false;
  }
  void fail(const char* message) {
    if (ok_) Messages().error("%s", message);
    ok_ = false;
  }

  // After '<': d-n or d-"name".
  bool oid(NativeValue* v) {
    v->kind = NativeValue::kOid;
    if (!number(&v->design) || p_ >= end_ || *p_ != '-') {
      fail("Bad Object Identifier.");
      return false;
    }
    ++p_;
    if (p_ < end_ && *p_ == '"') {
      const char* s = ++p_;
      while (p_ < end_ && *p_ != '"' && *p_ != '\n') ++p_;
      if (p_ >= end_ || *p_ != '"') {
        fail("Corrupted Object Identifier");
        return false;
      }
      v->text.assign(s, p_);
      ++p_;
    } else if (!number(&v->object)) {
      fail("Bad Object Identifier.");
      return false;
    }
    if (p_ >= end_ || *p_ != '>') {
      fail("Corrupted Object Identifier");
      return false;
    }
    ++p_;
    return true;
  }

  bool value(NativeValue* v, int depth) {
    skip();
    if (p_ >= end_) {
      fail("Closing parenthesis not found.");
      return false;
    }
    if (depth > kMaxNesting) {
      fail("bad type");
      return false;
    }
    const char c = *p_;
    if (c == '$') {
      ++p_;
      v->kind = NativeValue::kNull;
      return true;
    }
    if (c == '\'') return string(v);
    if (c == '<') {
      ++p_;
      return oid(v);
    }
    if (c == '(') {
      ++p_;
      v->kind = NativeValue::kList;
      if (accept(')')) return true;
      do {
        v->items.emplace_back();
        if (!value(&v->items.back(), depth + 1)) return false;
      } while (accept(','));
      return expect(')', "Closing parenthesis not found.");
    }
    if (c == '.') {
      const char* s = ++p_;
      while (p_ < end_ && *p_ != '.' && *p_ != '\n') ++p_;
      if (p_ >= end_ || *p_ != '.') {
        fail("bad type");
        return false;
      }
      v->kind = NativeValue::kEnum;
      v->text.assign(s, p_);
      ++p_;
      return true;
    }
    if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) return numeric(v);
    std::string w = word();
    if (w == "TRUE" || w == "FALSE" || w == "UNKNOWN") {
      v->kind = NativeValue::kLogical;
      v->integer = w == "TRUE" ? 1 : w == "FALSE" ? 0 : 2;
      return true;
    }
    if (!w.empty() && peek('(')) {
      ++p_;
      v->kind = NativeValue::kSelect;
      v->text = w;
      v->items.emplace_back();
      return value(&v->items.back(), depth + 1) && expect(')', "Closing parenthesis not found.");
    }
    fail("bad type");
    return false;
  }

  // attribute: value ... up to the closing parenthesis.
  bool attributes(NativeValues* out) {
    while (!peek(')')) {
      std::string name = word();
      if (name.empty()) {
        fail("Closing parenthesis not found.");
        return false;
      }
      if (!expect(':', "Separating colon missing.")) return false;
      out->emplace_back(name, NativeValue());
      if (!value(&out->back().second, 0)) return false;
    }
    return expect(')', "Closing parenthesis not found.");
  }

 private:
  bool number(int* out) {
    if (p_ >= end_ || !std::isdigit(static_cast<unsigned char>(*p_))) return false;
    long long n = 0;
    while (p_ < end_ && std::isdigit(static_cast<unsigned char>(*p_))) {
      n = n * 10 + (*p_++ - '0');
      if (n > INT32_MAX) return false;
    }
    *out = static_cast<int>(n);
    return true;
  }

  bool string(NativeValue* v) {
    ++p_;
    v->kind = NativeValue::kString;
    const char* run = p_;
    while (p_ < end_) {
      if (*p_ == '\'') {
        v->text.append(run, p_);
        if (p_ + 1 < end_ && p_[1] == '\'') {
          v->text += '\'';
          p_ += 2;
          run = p_;
          continue;
        }
        ++p_;
        return true;
      }
      ++p_;
    }
    fail("Closing parenthesis not found.");
    return false;
  }

  bool numeric(NativeValue* v) {
    char* stop = nullptr;
    const char* s = p_;
    long long i = std::strtoll(s, &stop, 10);
    if (stop == s) {
      fail("bad type");
      return false;
    }
    if (stop < end_ && (*stop == '.' || *stop == 'e' || *stop == 'E')) {
      v->kind = NativeValue::kReal;
      v->real = std::strtod(s, &stop);
    } else {
      v->kind = NativeValue::kInteger;
      v->integer = i;
    }
    p_ = stop;
    return true;
  }

  const char* p_;
  const char* end_;
  bool ok_ = true;
};

// Text of a real: "%.15g" (singles "%.7g") with a point added to what
// would read as an integer; infinities as out-of-range exponents.
void AppendReal(std::string* out, double v, bool single) {
  if (std::isinf(v)) {
    out->append(v < 0 ? "-1e9999" : "1e9999");
    return;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, single ? "%.7g" : "%.15g", v);
  out->append(buffer);
  if (std::strpbrk(buffer, ".e") == nullptr) out->append(".0");
}

void AppendIndent(std::string* out, int level) { out->append(static_cast<size_t>(std::min(level, kMaxNesting)), '\t'); }

bool Composite(const NativeValue& v) { return v.kind == NativeValue::kList || v.kind == NativeValue::kSelect; }

void AppendValue(std::string* out, const NativeValue& v, int level) {
  char buffer[64];
  switch (v.kind) {
    case NativeValue::kNull:
      out->push_back('$');
      break;
    case NativeValue::kString:
      out->push_back('\'');
      for (char c : v.text) {
        if (c == '\'') out->push_back('\'');
        out->push_back(c);
      }
      out->push_back('\'');
      break;
    case NativeValue::kInteger:
      std::snprintf(buffer, sizeof buffer, "%lld", v.integer);
      out->append(buffer);
      break;
    case NativeValue::kReal:
    case NativeValue::kSingle:
      AppendReal(out, v.real, v.kind == NativeValue::kSingle);
      break;
    case NativeValue::kLogical:
      out->append(v.integer == 1 ? "TRUE" : v.integer == 0 ? "FALSE" : "UNKNOWN");
      break;
    case NativeValue::kEnum:
      out->push_back('.');
      out->append(v.text);
      out->push_back('.');
      break;
    case NativeValue::kOid:
      if (!v.text.empty()) std::snprintf(buffer, sizeof buffer, "<%d-\"", v.design);
      else std::snprintf(buffer, sizeof buffer, "<%d-%d>", v.design, v.object);
      out->append(buffer);
      if (!v.text.empty()) {
        out->append(v.text);
        out->append("\">");
      }
      break;
    case NativeValue::kSelect:
      out->append(v.text);
      out->push_back('(');
      if (!v.items.empty()) AppendValue(out, v.items.front(), level);
      out->push_back(')');
      break;
    case NativeValue::kList: {
      bool nested = false;
      for (const NativeValue& item : v.items) nested = nested || Composite(item);
      out->push_back('(');
      for (size_t i = 0; i < v.items.size(); ++i) {
        if (nested) {
          if (i != 0) out->push_back(',');
          out->push_back('\n');
          AppendIndent(out, level + 1);
        } else if (i != 0) {
          out->append(", ");
        }
        AppendValue(out, v.items[i], level + 1);
      }
      if (nested) {
        out->push_back('\n');
        AppendIndent(out, level);
      }
      out->push_back(')');
      break;
    }
  }
}

}  // namespace

std::string IOTarn::FormatText(const NativeImage& image) {
  std::string out;
  out.reserve(64 * 1024);
  out.append("Format = \"tarn_r3.0\"\n\nTARN_OIDS (\n");
  char buffer[32];
  for (const auto& [number, name] : image.designs) {
    std::snprintf(buffer, sizeof buffer, "\t(%d = ", number);
    out.append(buffer);
    out.append(name);
    out.append(")\n");
  }
  out.append(")\n\nTARN_DESIGN (");
  out.append(image.designDomain);
  for (const auto& [name, value] : image.designValues) {
    out.append("\n\t");
    out.append(name);
    out.append(": ");
    AppendValue(&out, value, 1);
  }
  out.append("\n)\n\nSTEP_OBJECTS (\n");
  for (const NativeObject& o : image.objects) {
    std::snprintf(buffer, sizeof buffer, "\t(<0-%d> ", o.number);
    out.append(buffer);
    out.append(o.domain);
    for (const auto& [name, value] : o.values) {
      out.append("\n\t\t");
      out.append(name);
      out.append(": ");
      AppendValue(&out, value, 2);
    }
    out.append("\n\t)\n");
  }
  out.append(")\n");
  return out;
}

bool IOTarn::ParseText(const std::string& text, NativeImage* image) {
  *image = NativeImage();
  Parser p(text);
  if (!p.keyword("TARN_OIDS", "\"TARN_OIDS\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return false;
  while (p.accept('(')) {
    const std::string number = p.word();
    const bool digits = !number.empty() && number.size() < 10 &&
                        number.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || !p.accept('=')) {
      p.fail("Bad oid definition.");
      return false;
    }
    std::string name = p.word();
    if (name.empty()) {
      p.fail("Bad oid definition.");
      return false;
    }
    image->designs.emplace_back(std::atoi(number.c_str()), name);
    if (!p.expect(')', "Closing paren missing.")) return false;
  }
  if (!p.expect(')', "Closing paren missing.")) return false;
  if (!p.keyword("TARN_DESIGN", "\"TARN_DESIGN\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return false;
  image->designDomain = p.word();
  if (image->designDomain.empty()) {
    p.fail("Design domain missing.");
    return false;
  }
  if (!p.attributes(&image->designValues)) return false;
  if (!p.keyword("STEP_OBJECTS", "\"STEP_OBJECTS\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return false;
  while (!p.peek(')')) {
    if (p.atEnd()) {
      p.fail("Closing parenthesis not found.");
      return false;
    }
    if (!p.accept('(')) {
      p.fail("Must be an object definition.");
      return false;
    }
    NativeObject item;
    if (!p.expect('<', "Object identifier missing.")) return false;
    NativeValue id;
    if (!p.oid(&id)) return false;
    if (id.design != 0 || !id.text.empty() || id.object <= 0) {
      p.fail("Bad Object Identifier.");
      return false;
    }
    item.number = id.object;
    item.domain = p.word();
    if (item.domain.empty()) {
      p.fail("Domain name missing.");
      return false;
    }
    if (!p.attributes(&item.values)) return false;
    image->objects.push_back(std::move(item));
  }
  return p.expect(')', "Closing parenthesis not found.");
}

TarnDesign* IOTarn::ReadText(const std::string& text, const char* name) {
  size_t start = 0;
  if (text.compare(0, 6, "Format") == 0) {
    start = text.find('\n');
    start = start == std::string::npos ? text.size() : start + 1;
  }
  NativeImage image;
  if (!ParseText(start == 0 ? text : text.substr(start), &image)) return nullptr;
  return BuildNativeDesign(image, name);
}

bool IOTarn::WriteText(TarnDesign* design, std::string* out) {
  NativeImage image;
  if (!CaptureNativeImage(design, NativeForm::kText, &image)) return false;
  *out = FormatText(image);
  return true;
}

TarnDesign* IOTarn::readContents(std::FILE* in, const char* name) {
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
  TarnDesign* design = ReadText(text, name);
  // Saved again, the design keeps the format it was read in.
  if (design != nullptr) design->format(mainName());
  return design;
}

bool IOTarn::writeContents(TarnDesign* design, std::FILE* out) {
  std::string text;
  if (!WriteText(design, &text)) return false;
  return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::ferror(out) == 0;
}

}  // namespace korva
