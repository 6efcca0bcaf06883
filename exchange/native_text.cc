#include "exchange/native_text.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/union.h"

namespace korva {
namespace {

IOTarn g_handler;

// One value as written.
struct Value {
  enum Kind { kNull, kString, kInteger, kReal, kLogical, kEnum, kOid, kList } kind = kNull;
  std::string text;   // string, enumeration, or the name of a by-name identifier
  long long integer = 0;
  double real = 0.0;
  int design = 0;     // identifiers: design number
  int object = 0;     // identifiers: object number (0 with a name)
  std::vector<Value> items;
};

struct Item {
  int number = 0;
  std::string domain;
  std::vector<std::pair<std::string, Value>> values;
  TarnObject* object = nullptr;
};

class Parser {
 public:
  explicit Parser(const std::string& text) : p_(text.c_str()), end_(text.c_str() + text.size()) {}

  bool ok() const { return ok_; }
  int line() const { return line_; }

  void skip() {
    while (p_ < end_) {
      if (*p_ == '\n') ++line_;
      if (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n') ++p_;
      else break;
    }
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
    if (ok_) TARN().error("%s", message);
    ok_ = false;
  }

  bool oid(Value* v) {
    // '<' already consumed: d-n or d-"name"
    v->kind = Value::kOid;
    v->design = static_cast<int>(std::strtol(p_, const_cast<char**>(&p_), 10));
    if (p_ >= end_ || *p_ != '-') {
      fail("Bad Object Identifier.");
      return false;
    }
    ++p_;
    if (p_ < end_ && *p_ == '"') {
      const char* s = ++p_;
      while (p_ < end_ && *p_ != '"') ++p_;
      v->text.assign(s, p_);
      if (p_ < end_) ++p_;
    } else {
      v->object = static_cast<int>(std::strtol(p_, const_cast<char**>(&p_), 10));
    }
    if (p_ >= end_ || *p_ != '>') {
      fail("Corrupted Object Identifier");
      return false;
    }
    ++p_;
    return true;
  }

  bool value(Value* v) {
    skip();
    if (p_ >= end_) {
      fail("Closing parenthesis not found.");
      return false;
    }
    char c = *p_;
    if (c == '$') {
      ++p_;
      v->kind = Value::kNull;
      return true;
    }
    if (c == '\'') {
      ++p_;
      v->kind = Value::kString;
      while (p_ < end_) {
        if (*p_ == '\'') {
          if (p_ + 1 < end_ && p_[1] == '\'') {
            v->text += '\'';
            p_ += 2;
            continue;
          }
          ++p_;
          return true;
        }
        if (*p_ == '\n') ++line_;
        v->text += *p_++;
      }
      fail("Closing parenthesis not found.");
      return false;
    }
    if (c == '<') {
      ++p_;
      return oid(v);
    }
    if (c == '(') {
      ++p_;
      v->kind = Value::kList;
      if (accept(')')) return true;
      do {
        v->items.emplace_back();
        if (!value(&v->items.back())) return false;
      } while (accept(','));
      return expect(')', "Closing parenthesis not found.");
    }
    if (c == '.') {
      ++p_;
      const char* s = p_;
      while (p_ < end_ && *p_ != '.') ++p_;
      v->kind = Value::kEnum;
      v->text.assign(s, p_);
      if (p_ < end_) ++p_;
      return true;
    }
    if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) {
      const char* s = p_;
      char* stop = nullptr;
      long long i = std::strtoll(s, &stop, 10);
      if (stop < end_ && (*stop == '.' || *stop == 'e' || *stop == 'E')) {
        v->kind = Value::kReal;
        v->real = std::strtod(s, &stop);
      } else {
        v->kind = Value::kInteger;
        v->integer = i;
      }
      p_ = stop;
      return true;
    }
    std::string w = word();
    if (w == "TRUE" || w == "FALSE" || w == "UNKNOWN") {
      v->kind = Value::kLogical;
      v->integer = w == "TRUE" ? 1 : w == "FALSE" ? 0 : 2;
      return true;
    }
    fail("bad type");
    return false;
  }

  // attribute: value ... up to the closing parenthesis.
  bool attributes(std::vector<std::pair<std::string, Value>>* out) {
    while (!peek(')')) {
      std::string name = word();
      if (name.empty()) {
        fail("Closing parenthesis not found.");
        return false;
      }
      if (!expect(':', "Separating colon missing.")) return false;
      out->emplace_back(name, Value());
      if (!value(&out->back().second)) return false;
    }
    return expect(')', "Closing parenthesis not found.");
  }

 private:
  const char* p_;
  const char* end_;
  int line_ = 1;
  bool ok_ = true;
};

class Reader {
 public:
  Reader(TarnDesign* design, std::map<int, std::string> designs) : design_(design), designs_(std::move(designs)) {}

  TarnObject* object(const Value& v) {
    if (v.kind != Value::kOid) return nullptr;
    if (v.design == 0 && v.text.empty()) {
      auto it = byNumber_.find(v.object);
      if (it == byNumber_.end()) {
        TARN().error("No reference found");
        return nullptr;
      }
      return it->second;
    }
    TarnDesign* other = v.design == 0 ? design_ : otherDesign(v.design);
    if (other == nullptr) return nullptr;
    if (!v.text.empty()) {
      DictionaryOfTarnObject* names = other->nameTable();
      TarnObject* o = names->lookup(v.text.c_str());
      if (o == nullptr) TARN().error("No reference found");
      return o;
    }
    TARN().message("OID <%d-%d> is an external reference, skipping.", v.design, v.object);
    return nullptr;
  }

  TarnDesign* otherDesign(int number) {
    auto it = designs_.find(number);
    if (it == designs_.end()) {
      TARN().error("Bad oid definition.");
      return nullptr;
    }
    return FindSchemaDesign(it->second.c_str());
  }

  void enter(int number, TarnObject* o) { byNumber_[number] = o; }

  // Stores one value into attribute `att` of `target`.
  void put(TarnObject* target, TarnAttribute* att, const Value& v) {
    const TarnType* slot = target->slotType(att);
    switch (v.kind) {
      case Value::kNull:
        break;
      case Value::kString:
        target->putString(v.text.c_str(), att);
        break;
      case Value::kInteger:
        if (slot->nodeType() == kNodeDouble || slot->nodeType() == kNodeFloat)
          target->putDouble(static_cast<double>(v.integer), att);
        else
          target->putInteger(static_cast<int>(v.integer), att);
        break;
      case Value::kReal:
        target->putDouble(v.real, att);
        break;
      case Value::kLogical:
        target->putBoolean(static_cast<TarnBoolean>(v.integer), att);
        break;
      case Value::kEnum: {
        int32_t index = slot->enumeratorValue(v.text.c_str());
        target->putEnum(index, att);
        break;
      }
      case Value::kOid:
        target->putObject(object(v), att);
        break;
      case Value::kList:
        putList(target, att, v);
        break;
    }
  }

  void putList(TarnObject* target, TarnAttribute* att, const Value& v) {
    TarnAggregate* list = nullptr;
    if (TarnDictionary* d = dynamic_cast<TarnDictionary*>(target)) {
      if (std::strcmp(att->name(), "listOfKeys") == 0) list = d->listOfKeys();
      else if (std::strcmp(att->name(), "listOfValues") == 0) list = d->listOfValues();
    }
    if (list == nullptr) {
      TarnObject* held = target->getObject(att);
      if (held == nullptr) {
        TarnDomain* domain = att->domain();
        TarnType* type = domain != nullptr ? domain->typeRecord() : nullptr;
        if (type == nullptr || type->creator == nullptr) return;
        held = type->creator(design_, target->section(), domain);
        target->putObject(held, att);
      }
      list = dynamic_cast<TarnAggregate*>(held);
    }
    if (list == nullptr) return;
    TarnAttribute* element = list->elementAttribute();
    for (const Value& item : v.items) {
      switch (item.kind) {
        case Value::kString: list->putString(item.text.c_str(), -1); break;
        case Value::kInteger: list->putInteger(static_cast<int>(item.integer), -1); break;
        case Value::kReal: list->putDouble(item.real, -1); break;
        case Value::kOid: list->putObject(object(item), -1); break;
        default:
          if (element != nullptr) put(list, element, item);
      }
    }
  }

 private:
  TarnDesign* design_;
  std::map<int, std::string> designs_;
  std::unordered_map<int, TarnObject*> byNumber_;
};

// Objects of the dictionary kinds belong in the system section.
bool SystemObject(const std::string& domain) { return domain.rfind("Dictionary", 0) == 0; }

}  // namespace

TarnDesign* IOTarn::ReadText(const std::string& text, const char* name) {
  Parser p(text);
  if (!p.keyword("TARN_OIDS", "\"TARN_OIDS\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return nullptr;
  std::map<int, std::string> designs;
  while (p.accept('(')) {
    Value n;
    if (!p.value(&n) || n.kind != Value::kInteger || !p.expect('=', "Bad oid definition.")) return nullptr;
    designs[static_cast<int>(n.integer)] = p.word();
    if (!p.expect(')', "Closing paren missing.")) return nullptr;
  }
  if (!p.expect(')', "Closing paren missing.")) return nullptr;
  if (!p.keyword("TARN_DESIGN", "\"TARN_DESIGN\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return nullptr;
  std::string designDomain = p.word();
  if (designDomain.empty()) {
    p.fail("Design domain missing.");
    return nullptr;
  }
  std::vector<std::pair<std::string, Value>> designValues;
  if (!p.attributes(&designValues)) return nullptr;
  if (!p.keyword("STEP_OBJECTS", "\"STEP_OBJECTS\" keyword missing.") || !p.expect('(', "Opening paren missing."))
    return nullptr;
  std::vector<Item> items;
  while (p.accept('(')) {
    Item item;
    if (!p.expect('<', "Object identifier missing.")) return nullptr;
    Value id;
    if (!p.oid(&id)) return nullptr;
    item.number = id.object;
    item.domain = p.word();
    if (item.domain.empty()) {
      p.fail("Domain name missing.");
      return nullptr;
    }
    if (!p.attributes(&item.values)) return nullptr;
    items.push_back(std::move(item));
  }
  if (!p.expect(')', "Closing parenthesis not found.")) return nullptr;

  // Make the design, then every object, then fill their values.
  TarnDesign* current = TARN().design();
  TarnDesign* design = TARN().newDesign(name);
  TARN().useDesign(current);
  design->setState(TarnDesign::kBeingRead);
  Reader reader(design, designs);
  bool schema = false;
  for (Item& item : items) {
    TarnDomain* domain = FindDomainInDesign(design, item.domain.c_str());
    if (domain == nullptr) {
      TARN().error("Unknown domain \"%s\".", item.domain.c_str());
      continue;
    }
    TarnType* type = domain->typeRecord();
    if (type == nullptr || type->creator == nullptr) {
      TARN().error("Expecting an object type");
      continue;
    }
    TarnSection* section = SystemObject(item.domain) ? design->system_section() : design->dflt_section();
    item.object = type->creator(design, section, domain);
    reader.enter(item.number, item.object);
    schema = schema || domain->boundType() == &TarnDomain::classType;
  }
  for (Item& item : items) {
    if (item.object == nullptr) continue;
    for (const auto& [attName, value] : item.values) {
      TarnAttribute* att = item.object->getAttribute(attName.c_str());
      if (att == nullptr) {
        TARN().message("\"%s\" is not an attribute in \"%s\", skipping value", attName.c_str(),
                       item.domain.c_str());
        continue;
      }
      reader.put(item.object, att, value);
    }
  }
  for (const auto& [attName, value] : designValues) {
    if (attName == "name_table" && value.kind == Value::kOid) {
      if (auto* names = typecast<DictionaryOfTarnObject>(reader.object(value))) design->setNameTable(names);
    } else if (attName == "root" && value.kind == Value::kOid) {
      design->setRoot(reader.object(value));
    } else if (attName == "schemas" && value.kind == Value::kList) {
      for (const Value& s : value.items)
        if (s.kind == Value::kOid)
          if (TarnDesign* d = reader.otherDesign(s.design)) design->addSchema(d);
    }
  }
  design->setSchemaDesign(schema);
  design->setState(TarnDesign::kNormal);
  design->activate();
  return design;
}

TarnDesign* IOTarn::readContents(std::FILE* in, const char* name) {
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
  return ReadText(text, name);
}

bool IOTarn::writeContents(TarnDesign*, std::FILE*) {
  TARN().error("format() is not defined!");
  return false;
}

}  // namespace korva
