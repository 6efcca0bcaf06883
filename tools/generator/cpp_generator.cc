#include "generator/cpp_generator.h"

#include <algorithm>
#include <functional>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "express/aggregates.h"
#include "generator/type_map.h"

namespace korva::generator {

using express::AggregateClass;
using express::DeclKind;
using express::Entity;
using express::EnumerationType;
using express::SelectType;
using express::TypeDesc;

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Entities ordered so that every supertype comes before its subtypes.
std::vector<const Entity*> TopologicalEntities(const express::Schema& schema) {
  std::vector<const Entity*> order;
  std::set<const Entity*> done;
  std::function<void(const Entity*)> visit = [&](const Entity* e) {
    if (done.count(e)) return;
    done.insert(e);
    for (const Entity* s : e->supertypes) visit(s);
    order.push_back(e);
  };
  for (const Entity* e : schema.entities()) visit(e);
  return order;
}

// The store's typed aggregate class for aggregates whose class is not generated.
void DeclareEntity(std::ostream& h, const Entity& e) {
  h << "class " << e.name << " : ";
  if (e.supertypes.empty()) {
    h << "public virtual TarnStructure";
  } else {
    for (size_t i = 0; i < e.supertypes.size(); ++i)
      h << (i ? ", " : "") << "public virtual " << e.supertypes[i]->name;
  }
  h << " {\n  TARN_CLASS(" << e.name << ")\n\n public:\n  " << e.name << "();\n";
  if (!e.allAttributes.empty()) {
    h << "  " << e.name << "(";
    for (size_t i = 0; i < e.allAttributes.size(); ++i) {
      const auto& slot = e.allAttributes[i];
      FieldInfo f = DescribeField(*slot.type);
      h << (i ? ", " : "") << f.valueType << " " << slot.name();
    }
    h << ");\n";
  }
  for (const auto& a : e.attributes) {
    if (a.redeclares) continue;
    FieldInfo f = DescribeField(a.type);
    h << "  " << f.valueType << " " << a.name << "();\n";
    h << "  void " << a.name << "(" << f.valueType << " value);\n";
  }
  h << "  static void layout(TarnType& type);\n\n protected:\n";
  for (const auto& a : e.attributes) {
    if (a.redeclares) continue;
    FieldInfo f = DescribeField(a.type);
    h << "  " << f.cppType << " " << a.name << "_ = " << f.defaultValue << ";\n";
  }
  h << "};\n\n";
}

void DefineEntity(std::ostream& c, const Entity& e, const std::string& schemaName) {
  const std::string& n = e.name;
  c << n << "::" << n << "() = default;\n\n";
  if (!e.allAttributes.empty()) {
    c << n << "::" << n << "(";
    for (size_t i = 0; i < e.allAttributes.size(); ++i) {
      const auto& slot = e.allAttributes[i];
      c << (i ? ", " : "") << DescribeField(*slot.type).valueType << " " << slot.name();
    }
    c << ") {\n";
    for (const auto& slot : e.allAttributes) {
      if (slot.attribute->redeclares) continue;
      c << "  this->" << slot.owner->name << "::" << slot.name() << "(" << slot.name() << ");\n";
    }
    c << "}\n\n";
  }
  for (const auto& a : e.attributes) {
    if (a.redeclares) continue;
    FieldInfo f = DescribeField(a.type);
    const std::string field = a.name + "_";
    c << f.valueType << " " << n << "::" << a.name << "() {\n";
    switch (f.kind) {
      case FieldKind::Entity: case FieldKind::Select:
        c << "  ResolveField(this, \"" << a.name << "\", &" << field << ");\n"
          << "  return IsUnresolved(" << field << ") ? nullptr : " << field << ";\n";
        break;
      case FieldKind::Aggregate:
        c << "  if (" << field << " == nullptr && isPersistent()) " << a.name << "(NewAggregate<"
          << f.className << ">(this));\n"
          << "  ResolveField(this, \"" << a.name << "\", &" << field << ");\n"
          << "  return IsUnresolved(" << field << ") ? nullptr : " << field << ";\n";
        break;
      default:
        c << "  return " << field << ";\n";
    }
    c << "}\n\n";
    c << "void " << n << "::" << a.name << "(" << f.valueType << " value) {\n  modified();\n";
    if (f.kind == FieldKind::String)
      c << "  " << field << " = copyString(value);\n";
    else
      c << "  " << field << " = value;\n";
    c << "}\n\n";
  }
  // Layout: ancestor parts, the direct supertype, own fields.
  c << "void " << n << "::layout(TarnType& type) {\n  DeclareSupers<" << n << ", TarnObject, TarnStructure";
  for (const Entity* a : e.ancestors) c << ", " << a->name;
  c << ">(type);\n";
  if (!e.supertypes.empty()) c << "  type.setDirectSuper(&" << e.supertypes[0]->name << "::classType);\n";
  bool any = false;
  for (const auto& a : e.attributes) any = any || !a.redeclares;
  if (any) c << "  " << n << "* p = dynamic_cast<" << n << "*>(type.prototype());\n";
  for (const auto& a : e.attributes) {
    if (a.redeclares) continue;
    FieldInfo f = DescribeField(a.type);
    c << "  type.declareAttribute(\"" << a.name << "\", " << f.slotType << ", FieldOffset(p, &p->"
      << a.name << "_));\n";
  }
  c << "}\n";
  c << "TARN_DEFINE_CLASS(" << n << ", \"" << n << "\", 0, kNodeStructure, \"" << schemaName << "\", &"
    << n << "::layout)\n\n";
}

void DeclareSelect(std::ostream& h, const SelectType& s) {
  h << "class " << s.name << " : public TarnUnion {\n  TARN_CLASS(" << s.name << ")\n\n public:\n";
  for (const express::Declaration* m : s.members) {
    TypeDesc t;
    t.kind = TypeDesc::Kind::Named;
    t.name = m->name;
    t.target = m;
    FieldInfo f = DescribeField(t);
    h << "  bool is" << m->name << "() { return isMember(\"_" << m->name << "\"); }\n";
    h << "  " << f.valueType << " _" << m->name << "();\n";
    h << "  void _" << m->name << "(" << f.valueType << " value);\n";
  }
  h << "  static void layout(TarnType& type);\n};\n\n";
}

void DefineSelect(std::ostream& c, const SelectType& s, const std::string& schemaName) {
  for (const express::Declaration* m : s.members) {
    TypeDesc t;
    t.kind = TypeDesc::Kind::Named;
    t.name = m->name;
    t.target = m;
    FieldInfo f = DescribeField(t);
    const std::string member = "\"_" + m->name + "\"";
    c << f.valueType << " " << s.name << "::_" << m->name << "() {\n";
    switch (f.kind) {
      case FieldKind::Entity: case FieldKind::Select: case FieldKind::Aggregate:
        c << "  return typecast<" << f.className << ">(SelectObject(this, " << member << "));\n";
        break;
      case FieldKind::String:
        c << "  return SelectString(this, " << member << ");\n";
        break;
      case FieldKind::Real:
        c << "  return SelectReal(this, " << member << ");\n";
        break;
      default:
        c << "  return static_cast<" << f.valueType << ">(SelectInteger(this, " << member << "));\n";
    }
    c << "}\n\n";
    c << "void " << s.name << "::_" << m->name << "(" << f.valueType << " value) {\n";
    switch (f.kind) {
      case FieldKind::Entity: case FieldKind::Select: case FieldKind::Aggregate:
        c << "  SetSelectObject(this, " << member << ", value);\n";
        break;
      case FieldKind::String:
        c << "  SetSelectString(this, " << member << ", value);\n";
        break;
      case FieldKind::Real:
        c << "  SetSelectReal(this, " << member << ", value);\n";
        break;
      case FieldKind::Enumeration:
        c << "  SetSelectEnum(this, " << member << ", value);\n";
        break;
      default:
        c << "  SetSelectInteger(this, " << member << ", value, " << f.slotType << ");\n";
    }
    c << "}\n\n";
  }
  c << "void " << s.name << "::layout(TarnType& type) { DeclareSupers<" << s.name
    << ", TarnObject, TarnUnion>(type); }\n";
  c << "TARN_DEFINE_CLASS(" << s.name << ", \"" << s.name << "\", 0, kNodeUnion, \"" << schemaName
    << "\", &" << s.name << "::layout)\n\n";
}

struct AggregateInfo {
  AggregateClass c;
  AggregateBase base;
  std::string generic;  // the kind's generic class among the ancestors
};

void DeclareAggregate(std::ostream& h, const AggregateInfo& a) {
  std::string base = a.base.objects
                         ? "TarnObjectAggregate<" + a.base.elementClass + ", " + a.base.cppBase + ">"
                         : a.base.cppBase;
  h << "class " << a.c.name << " : public " << base << " {\n  TARN_CLASS(" << a.c.name
    << ")\n\n public:\n  static void layout(TarnType& type);\n};\n\n";
}

void DefineAggregate(std::ostream& c, const AggregateInfo& a, const std::string& schemaName) {
  c << "void " << a.c.name << "::layout(TarnType& type) { DeclareSupers<" << a.c.name
    << ", TarnObject, TarnAggregate, " << a.generic;
  if (!a.base.objects && a.base.cppBase != a.generic) c << ", " << a.base.cppBase;
  c << ">(type); }\n";
  c << "TARN_DEFINE_CLASS(" << a.c.name << ", \"" << a.c.name << "\", 0, kNodeAggregate, \""
    << schemaName << "\", &" << a.c.name << "::layout)\n\n";
}

bool WriteFile(const std::string& path, const std::string& text) {
  // Leave an unchanged file alone so that rebuilds stay incremental.
  std::ifstream old(path, std::ios::binary);
  if (old) {
    std::stringstream s;
    s << old.rdbuf();
    if (s.str() == text) return true;
  }
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) {
    std::cerr << "expressc: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

bool GenerateCpp(const express::Schema& schema, const CppOptions& o) {
  const std::vector<const Entity*> entities = TopologicalEntities(schema);
  std::vector<AggregateInfo> aggregates;
  for (const AggregateClass& c : express::aggregateClasses(schema)) {
    // Rebuild a description of the aggregate from the class.
    TypeDesc t;
    t.kind = TypeDesc::Kind::Aggregate;
    t.aggregate = c.kind;
    auto element = std::make_shared<TypeDesc>();
    if (c.element != nullptr) {
      element->kind = TypeDesc::Kind::Named;
      element->name = c.element->name;
      element->target = c.element;
    } else {
      // A nested aggregate class: its elements are objects of that class.
      element->kind = TypeDesc::Kind::Named;
      element->name = c.elementName;
    }
    t.element = element;
    AggregateInfo info{c, {}, ""};
    if (c.element != nullptr) {
      info.base = DescribeAggregate(t);
    } else {
      info.base.objects = true;
      info.base.cppBase = std::string("TarnPtr") + express::aggregateClassPrefix(c.kind);
      info.base.elementClass = c.elementName;
    }
    info.generic = info.base.objects ? info.base.cppBase
                   : info.base.cppBase.rfind("TarnEnum", 0) == 0
                       ? info.base.cppBase
                       : std::string("Tarn") + express::aggregateClassPrefix(c.kind);
    aggregates.push_back(info);
  }
  // Nested aggregate classes after their element classes.
  std::stable_sort(aggregates.begin(), aggregates.end(), [](const AggregateInfo& a, const AggregateInfo& b) {
    return (a.c.element == nullptr) < (b.c.element == nullptr);
  });

  std::ostringstream h;
  const std::string guard = "KORVA_GENERATED_" + Upper(o.baseName) + "_H";
  h << "// Generated by expressc from the EXPRESS schema " << schema.name << ". Do not edit.\n"
    << "#ifndef " << guard << "\n#define " << guard << "\n\n"
    << "#include \"objdb/binding_support.h\"\n\nnamespace korva {\n\n";
  for (const Entity* e : entities) h << "class " << e->name << ";\n";
  for (const SelectType* s : schema.selects()) h << "class " << s->name << ";\n";
  for (const AggregateInfo& a : aggregates) h << "class " << a.c.name << ";\n";
  h << "\n// Enumerations: type records and enumerator indices.\n";
  for (const EnumerationType* e : schema.enumerations()) {
    h << "extern TarnType " << e->name << "_type;\n";
    for (size_t i = 0; i < e->items.size(); ++i)
      h << "constexpr int32_t " << e->name << "_" << e->items[i] << " = " << i << ";\n";
  }
  h << "\n";
  for (const AggregateInfo& a : aggregates) DeclareAggregate(h, a);
  for (const SelectType* s : schema.selects()) DeclareSelect(h, *s);
  for (const Entity* e : entities) DeclareEntity(h, *e);
  h << "}  // namespace korva\n\n#endif  // " << guard << "\n";
  if (!WriteFile(o.outputDir + "/" + o.baseName + ".h", h.str())) return false;

  // Definitions spread over the units in a stable order.
  struct Item { std::string name; std::function<void(std::ostream&)> emit; };
  std::vector<Item> items;
  for (const EnumerationType* e : schema.enumerations()) {
    items.push_back({e->name, [e, &o](std::ostream& c) {
      c << "static const TarnEnumerator " << e->name << "_items[] = {";
      for (size_t i = 0; i < e->items.size(); ++i)
        c << (i ? ", " : "") << "{\"" << Upper(e->items[i]) << "\", " << i << "}";
      c << "};\nTarnType " << e->name << "_type(\"" << e->name << "\", 4, 260, kNodeEnum, \""
        << o.schemaName << "\");\nstatic TarnTypePtr " << e->name << "_holder(&" << e->name
        << "_type, [](TarnType& t) { t.setEnumerators(" << e->name << "_items, " << e->items.size()
        << "); t.convert = &ConvertPrimitive; });\n\n";
    }});
  }
  for (const AggregateInfo& a : aggregates)
    items.push_back({a.c.name, [&a, &o](std::ostream& c) { DefineAggregate(c, a, o.schemaName); }});
  for (const SelectType* s : schema.selects())
    items.push_back({s->name, [s, &o](std::ostream& c) { DefineSelect(c, *s, o.schemaName); }});
  for (const Entity* e : entities)
    items.push_back({e->name, [e, &o](std::ostream& c) { DefineEntity(c, *e, o.schemaName); }});
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.name < b.name; });
  const size_t per = (items.size() + static_cast<size_t>(o.units) - 1) / static_cast<size_t>(o.units);
  for (int u = 0; u < o.units; ++u) {
    std::ostringstream c;
    c << "// Generated by expressc from the EXPRESS schema " << schema.name << ". Do not edit.\n"
      << "#include \"" << o.baseName << ".h\"\n\nnamespace korva {\n\n";
    for (size_t i = static_cast<size_t>(u) * per; i < std::min(items.size(), static_cast<size_t>(u + 1) * per); ++i)
      items[i].emit(c);
    c << "}  // namespace korva\n";
    if (!WriteFile(o.outputDir + "/" + o.baseName + "_" + std::to_string(u + 1) + ".cc", c.str())) return false;
  }
  return true;
}

}  // namespace korva::generator
