#include "exchange/part21_writer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/part21_output.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/downcast.h"
#include "objdb/error_category.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"
#include "objdb/meta_schema.h"
#include "objdb/text.h"
#include "objdb/time_stamp.h"
#include "objdb/union.h"

namespace korva {
namespace {

unsigned g_conformanceClass = 1;
unsigned g_specVersion = 2;

const char* const kHeaderTypes[] = {"file_description", "file_name", "file_schema",
                                    "file_population", "section_context", "section_language"};

bool IsHeaderType(const char* name, int first = 0, int last = 5) {
  for (int i = first; i <= last; ++i)
    if (EqualNoCase(name, kHeaderTypes[i])) return true;
  return false;
}

// The instances of an extent lie one after the other in memory (see
// TarnExtent::allocate), but the walk along the extent's links only learns
// the next address from the current instance.  Asking for the memory a few
// instances ahead keeps the walk from waiting on every instance.
inline void PrefetchAhead(const TarnObject* o) {
#if defined(__GNUC__)
  __builtin_prefetch(reinterpret_cast<const char*>(o) + 1024);
#else
  (void)o;
#endif
}

class Writer {
 public:
  Writer(TarnDesign* design, std::FILE* file, const Part21View* view = nullptr)
      : design_(design), out_(file), version_(g_specVersion), view_(view) {}

  bool run() {
    NumberInstances(design_);
    out_.writeKeyword("ISO-10303-21");
    out_.writeEndRecord();
    header();
    if (!out_.failed()) data();
    out_.writeKeyword("END-ISO-10303-21");
    out_.writeEndRecord();
    return !out_.error();
  }

 private:
  // --- header ------------------------------------------------------------
  void header() {
    design_->initialize_header();
    file_name* name = design_->header_name();
    file_description* description = design_->header_description();
    if (name != nullptr) {
      name->preprocessor_version("KS-BUILDER v10");
      char stamp[64];
      name->time_stamp(CurrentTimeStamp(stamp, sizeof stamp) ? stamp : nullptr);
      if (name->author()->count() == 0) name->author()->add(const_cast<char*>(""));
      if (name->organization()->count() == 0) name->organization()->add(const_cast<char*>(""));
    }
    int dataSections = 0;
    bool named = false;
    for (TarnSection* s : design_->sections())
      if (s->kind() == TarnSection::kData) {
        ++dataSections;
        named = named || !s->name().empty();
      }
    if (dataSections > 1 || named || hasHeaderOf(3, 5)) version_ = 3;
    if (description != nullptr) {
      char level[32];
      if (version_ <= 1) std::snprintf(level, sizeof level, "%u", g_conformanceClass);
      else std::snprintf(level, sizeof level, "%u;%u", version_, g_conformanceClass);
      description->implementation_level(level);
      if (description->description()->count() == 0) description->description()->add(const_cast<char*>(""));
    }
    out_.writeKeyword("HEADER");
    out_.writeEndRecord();
    out_.writeKeyword("/* Exchange file written by korvaifc (KS-BUILDER v10) */");
    out_.writeNewline();
    out_.writeKeyword("/* ISO 10303-21 clear text encoding of an EXPRESS-defined population, */");
    out_.writeNewline();
    out_.writeKeyword("/* header section first, then the data section(s). */");
    out_.writeNewline();
    if (version_ == 1) {
      out_.writeKeyword("/* OPTION: using older ISO 10303-21:1994 (E) spec */");
      out_.writeNewline();
    }
    if (g_conformanceClass == 2) {
      out_.writeKeyword("/* OPTION: using Part 21 CC2 (external mappings) */");
      out_.writeNewline();
    }
    out_.writeNewline();
    if (description != nullptr) instance(description, true);
    if (name != nullptr) instance(name, true);
    fileSchema();
    for (int kind = 3; kind <= 5; ++kind) headerObjects([&](TarnObject* o) {
      if (EqualNoCase(o->domainName(), kHeaderTypes[kind])) instance(o, false);
    });
    bool first = true;
    headerObjects([&](TarnObject* o) {
      if (!IsEntity(o) || IsHeaderType(o->domainName())) return;
      if (first) out_.writeNewline();
      first = false;
      instance(o, false);
    });
    out_.writeKeyword("ENDSEC");
    out_.writeEndRecord();
  }

  template <typename F>
  void headerObjects(F f) {
    TarnSection* h = design_->header_section();
    for (TarnExtent* e = h->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
        if (IsEntity(o)) f(o);
  }

  bool hasHeaderOf(int first, int last) {
    bool found = false;
    headerObjects([&](TarnObject* o) { found = found || IsHeaderType(o->domainName(), first, last); });
    return found;
  }

  void fileSchema() {
    out_.writeKeyword("FILE_SCHEMA ((");
    Part21Separator next;
    if (view_ != nullptr) {
      for (const std::string& name : view_->fileSchemas()) {
        next(out_);
        out_.writeChar('\'');
        out_.writeIdentifier(name.c_str());
        out_.writeChar('\'');
      }
      out_.writeKeyword("))");
      out_.writeEndRecord();
      return;
    }
    ListOfTarnDesign* schemas = design_->schemas();
    for (uint32_t i = 0; i < schemas->count(); ++i) {
      TarnDesign* s = schemas->get(i);
      if (s == nullptr || s == TARN().systemDesign() || s->name() == nullptr) continue;
      if (EqualNoCase(s->name(), kMetaExtensionsName) || EqualNoCase(s->name(), "header_section_schema"))
        continue;
      next(out_);
      out_.writeChar('\'');
      out_.writeIdentifier(s->name());
      out_.writeChar('\'');
    }
    out_.writeKeyword("))");
    out_.writeEndRecord();
  }

  // --- data ----------------------------------------------------------------
  void data() {
    std::vector<TarnSection*> sections;
    for (TarnSection* s : design_->sections())
      if (s->kind() == TarnSection::kData) sections.push_back(s);
    int count = 0;
    for (TarnSection* s : sections) count += s->name().empty() ? 1 : 2;
    const bool extended = count >= 2;
    if (sections.empty()) {
      out_.writeKeyword("DATA");
      out_.writeEndRecord();
      out_.writeKeyword("ENDSEC");
      out_.writeEndRecord();
      return;
    }
    for (TarnSection* s : sections) {
      if (extended) {
        out_.writeKeyword(
            "/* Part 21 Edition 2 Extended Data Section\n"
            " * The DATA sections of this file use the Part 21 Edition 2\n"
            " * extensions: each section names itself and the schema that\n"
            " * governs its instances.  A file may hold one data section\n"
            " * per schema.\n"
            " */");
        out_.writeNewline();
        out_.writeKeyword("DATA");
        out_.writeChar('(');
        if (s->name().empty()) {
          out_.writeKeyword("'',");
        } else {
          out_.writeChar('\'');
          out_.writeKeyword(s->name());
          out_.writeKeyword("',");
        }
        out_.writeKeyword("('");
        out_.writeIdentifier(s->schemaName());
        out_.writeKeyword("'))");
      } else {
        out_.writeKeyword("DATA");
      }
      out_.writeEndRecord();
      for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next()) {
        ExtentPlan plan;
        for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
          PrefetchAhead(o);
          if (!IsEntity(o)) continue;
          out_.writeReference(o->instanceNumber());
          out_.writeChar('=');
          if (plan.state == ExtentPlan::kUnplanned) plan.prepare(o, view_);
          if (plan.state == ExtentPlan::kPlanned) planned(o, plan);
          else instance(o, false);
          if (out_.failed()) return;
        }
      }
      out_.writeKeyword("ENDSEC");
      out_.writeEndRecord();
    }
  }

  static bool IsEntity(TarnObject* o) { return o->typePtr()->nodeType() == kNodeStructure; }

  // What every instance of one extent shares: its upper-case type name and,
  // per attribute, where the value lies in the instance and its type.  Made
  // from the extent's first entity, so that the instances that follow are
  // written without looking the attributes up again.  Complex instances and
  // instances without a domain take the general path.
  struct ExtentPlan {
    enum State { kUnplanned, kPlanned, kGeneral };
    struct Field {
      TarnAttribute* attribute;
      const TarnType* type;
      std::ptrdiff_t offset;
      bool inOverflow;
      bool derived;
    };
    State state = kUnplanned;
    std::string opening;  // "IFCWALL("
    std::vector<Field> fields;

    void prepare(TarnObject* first, const Part21View* view) {
      TarnDomain* d = first->domain();
      if (d == nullptr || d->isComplex()) {
        state = kGeneral;
        return;
      }
      std::string name;
      std::vector<int> positions;
      if (view != nullptr && view->layout(d, &name, &positions)) {
        for (char c : name) opening += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        opening += '(';
        const std::vector<TarnAttribute*>& all = d->allAttributes();
        for (int i : positions) {
          if (i < 0 || static_cast<size_t>(i) >= all.size()) {
            fields.push_back({nullptr, nullptr, 0, false, i == Part21View::kDerived});
            continue;
          }
          TarnAttribute* a = all[static_cast<size_t>(i)];
          Field f{a, nullptr, a->offset(), a->inOverflow(), a->isDerived()};
          if (!f.derived && a->hasSlot()) f.type = first->slotType(a);
          fields.push_back(f);
        }
        state = kPlanned;
        return;
      }
      for (const char* c = d->name(); *c != '\0'; ++c)
        opening += (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 32) : *c;
      opening += '(';
      for (TarnAttribute* a : d->allAttributes()) {
        Field f{a, nullptr, a->offset(), a->inOverflow(), a->isDerived()};
        if (!f.derived && a->hasSlot()) f.type = first->slotType(a);
        fields.push_back(f);
      }
      state = kPlanned;
    }
  };

  void planned(TarnObject* o, const ExtentPlan& plan) {
    out_.writeText(plan.opening);
    char* base = static_cast<char*>(o->baseObject());
    char* overflow = static_cast<char*>(o->overflow());
    Part21Separator next;
    for (const ExtentPlan::Field& f : plan.fields) {
      next(out_);
      if (f.derived) {
        out_.writeDerived();
      } else if (f.type == nullptr || f.attribute == nullptr) {
        out_.writeNull();
      } else if (f.inOverflow && overflow == nullptr) {
        value(o, f.attribute);
      } else {
        slotValue(o, f.attribute, f.type, (f.inOverflow ? overflow : base) + f.offset);
      }
    }
    out_.closeTyped();
    out_.writeEndRecord();
  }

  // NAME(values); annotated: each value on its own line after /* name */.
  void instance(TarnObject* o, bool annotated) {
    TarnDomain* d = o->domain();
    if (d != nullptr && d->isComplex()) {
      complexInstance(o, d);
      return;
    }
    out_.openTyped(o->domainName());
    Part21Separator next;
    if (d != nullptr) {
      for (TarnAttribute* a : d->allAttributes()) {
        next(out_);
        if (annotated) out_.writeAttributeLabel(a->name());
        if (a->isDerived()) out_.writeDerived();
        else value(o, a);
      }
    }
    out_.closeTyped();
    out_.writeEndRecord();
  }

  // (\nA(own values)\nB(own values)\n): each leaf type of an AND/OR
  // instance, sorted by name, with the attributes that type declares.
  void complexInstance(TarnObject* o, TarnDomain* d) {
    std::vector<TarnDomain*> leaves;
    ListOfTarnDomain* supers = d->listOfSuper();
    for (uint32_t i = 0; i < supers->count(); ++i)
      if (TarnDomain* leaf = supers->get(i); leaf != nullptr && leaf->design() != TARN().systemDesign())
        leaves.push_back(leaf);
    std::sort(leaves.begin(), leaves.end(), [](TarnDomain* a, TarnDomain* b) {
      for (const char *x = a->name(), *y = b->name();; ++x, ++y) {
        if (FoldCase(*x) != FoldCase(*y) || *x == '\0') return FoldCase(*x) < FoldCase(*y);
      }
    });
    out_.writeChar('(');
    out_.writeNewline();
    for (TarnDomain* leaf : leaves) {
      out_.openTyped(leaf->name());
      Part21Separator next;
      ListOfTarnAttribute* own = leaf->listOfAttribute();
      for (uint32_t i = 0; i < own->count(); ++i) {
        TarnAttribute* a = d->typeAttribute(own->get(i));
        next(out_);
        if (a == nullptr || a->isDerived()) out_.writeDerived();
        else value(o, a);
      }
      out_.closeTyped();
      out_.writeNewline();
    }
    out_.writeChar(')');
    out_.writeEndRecord();
  }

  // The value of attribute `a` (or of element `index` of an aggregate).
  void value(TarnObject* o, TarnAttribute* a, int index = 0) {
    void* slot = o->slotAddress(a, index);
    const TarnType* type = o->slotType(a);
    if (slot == nullptr) {
      out_.writeNull();
      return;
    }
    slotValue(o, a, type, slot);
  }

  void slotValue(TarnObject* owner, TarnAttribute* a, const TarnType* type, void* slot) {
    switch (type->nodeType()) {
      case kNodeInt: case kNodeLong:
        out_.writeInteger(*static_cast<int32_t*>(slot));
        return;
      case kNodeShort: out_.writeInteger(*static_cast<int16_t*>(slot)); return;
      case kNodeUShort: out_.writeInteger(*static_cast<uint16_t*>(slot)); return;
      case kNodeUInt: case kNodeULong: case kNodeOID:
        out_.writeInteger(static_cast<int32_t>(*static_cast<uint32_t*>(slot)));
        return;
      case kNodeByte: out_.writeInteger(*static_cast<uint8_t*>(slot)); return;
      case kNodeChar: out_.writeInteger(*static_cast<int8_t*>(slot)); return;
      case kNodeDouble: out_.writeReal(*static_cast<double*>(slot)); return;
      case kNodeFloat: out_.writeSingleReal(*static_cast<float*>(slot)); return;
      case kNodeBoolean: case kNodeLogical: out_.writeLogical(*static_cast<uint8_t*>(slot)); return;
      case kNodeString: out_.writeString(*static_cast<char**>(slot)); return;
      case kNodeBinary: {
        const BINARY* b = static_cast<const BINARY*>(slot);
        if (b->text == nullptr) {
          ExchangeMessages().report(2015, owner->domainName(), "BINARY", "STR");
          out_.writeNull();
        } else {
          out_.writeBinary(b->text);
        }
        return;
      }
      case kNodeEnum: {
        int32_t index = *static_cast<int32_t*>(slot);
        if (index == -1) {
          out_.writeNull();
          return;
        }
        const char* name = type->enumeratorName(index);
        if (name == nullptr) {
          ExchangeMessages().report(2015, owner->domainName(), type->name(), "string");
          out_.writeNull();
        } else {
          out_.writeEnumeration(name);
        }
        return;
      }
      default:
        break;
    }
    if (!IsObjectNode(type->nodeType())) {
      out_.writeNull();
      return;
    }
    void* held = *static_cast<void**>(slot);
    if (held == nullptr || IsUnresolved(held)) {
      out_.writeNull();
      return;
    }
    TarnObject* object = type->objectCast != nullptr ? type->objectCast(held) : static_cast<TarnObject*>(held);
    objectValue(owner, a, object);
  }

  void objectValue(TarnObject* owner, TarnAttribute* a, TarnObject* object) {
    switch (object->typePtr()->nodeType()) {
      case kNodeStructure:
        if (object->design() != design_) {
          ExchangeMessages().report(2049, a != nullptr ? a->name() : "<no-att>",
                                    static_cast<int>(owner->instanceNumber()));
          out_.writeNull();
        } else {
          out_.writeReference(object->instanceNumber());
        }
        return;
      case kNodeUnion:
        select(owner, a, asUnion_(object));
        return;
      case kNodeAggregate:
        aggregate(asAggregate_(object));
        return;
      default:
        out_.writeKeyword("$ /* non-entity object */");
    }
  }

  void aggregate(TarnAggregate* list) {
    if (list == nullptr) {
      out_.writeNull();
      return;
    }
    out_.openAggregate();
    Part21Separator next;
    const TarnType* element = list->slotType(nullptr);
    const uint32_t count = list->count();
    if (count > 0) {
      char* record = static_cast<char*>(list->data());
      const std::size_t step = list->elementSize();
      for (uint32_t i = 0; i < count; ++i, record += step) {
        next(out_);
        slotValue(list, nullptr, element, record);
      }
    }
    out_.closeAggregate();
  }

  // A select value: references alone, other values typed by their defined
  // type (or the member's domain); nested selects are followed.
  void select(TarnObject* owner, TarnAttribute* a, TarnUnion* u) {
    if (u == nullptr || u->attribute() == nullptr || u->design() != design_) {
      out_.writeNull();
      return;
    }
    TarnAttribute* member = u->attribute();
    TarnDomain* domain = member->domain();
    const TarnType* type = u->slotType(member);
    void* slot = u->valueSlot();
    if (IsObjectNode(type->nodeType())) {
      void* held = *static_cast<void**>(slot);
      TarnObject* object = held == nullptr || IsUnresolved(held) ? nullptr : static_cast<TarnObject*>(held);
      if (object == nullptr) {
        out_.writeNull();
        return;
      }
      const int kind = object->typePtr()->nodeType();
      if (kind == kNodeStructure || kind == kNodeUnion) {
        objectValue(owner, a, object);
        return;
      }
      // An aggregate held through a defined type.
      out_.openTyped(domain != nullptr ? domain->name() : object->domainName());
      objectValue(owner, a, object);
      out_.closeTyped();
      return;
    }
    out_.openTyped(domain != nullptr ? domain->name() : type->name());
    slotValue(u, member, type, slot);
    out_.closeTyped();
  }

  TarnDesign* design_;
  Part21Output out_;
  unsigned version_;
  TarnDowncast<TarnUnion> asUnion_;
  TarnDowncast<TarnAggregate> asAggregate_;
  const Part21View* view_;
};

}  // namespace

void NumberInstances(TarnDesign* design) {
  uint32_t n = 10;
  for (TarnSection* s : design->sections()) {
    if (s->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        PrefetchAhead(o);
        if (o->typePtr()->nodeType() == kNodeStructure) o->setInstanceNumber(n++);
      }
  }
}

bool Part21Writer::Write(TarnDesign* design, std::FILE* file) { return Writer(design, file).run(); }

bool Part21Writer::Write(TarnDesign* design, std::FILE* file, const Part21View& view) {
  return Writer(design, file, &view).run();
}

bool Part21Writer::setConformanceClass(unsigned value) {
  if (value < 1 || value > 2) {
    TARN().warning("Invalid Part 21 conformance class '%d'", static_cast<int>(value));
    return false;
  }
  g_conformanceClass = value;
  return true;
}

bool Part21Writer::setSpecVersion(unsigned value) {
  if (value < 1 || value > 3) {
    TARN().warning("Invalid Part 21 spec version '%d'", static_cast<int>(value));
    return false;
  }
  g_specVersion = value;
  return true;
}

unsigned Part21Writer::conformanceClass() { return g_conformanceClass; }
unsigned Part21Writer::specVersion() { return g_specVersion; }

}  // namespace korva
