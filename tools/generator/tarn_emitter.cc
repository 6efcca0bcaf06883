#include "generator/tarn_emitter.h"

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

#include "express/aggregates.h"
#include "generator/type_map.h"

namespace korva::generator {

using express::DeclKind;
using express::TypeDesc;

namespace {

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += "''";
    else out += c;
  }
  return out + "'";
}

struct Object {
  std::string domain;                                       // meta domain of the object
  std::vector<std::pair<std::string, std::string>> values;  // attribute, written value
};

class Emitter {
 public:
  int add(const std::string& domain) {
    objects_.push_back({domain, {}});
    return static_cast<int>(objects_.size());
  }
  Object& at(int n) { return objects_[static_cast<size_t>(n - 1)]; }
  static std::string Ref(int n) { return "<0-" + std::to_string(n) + ">"; }
  static std::string Meta(const std::string& name) { return "<1-\"" + name + "\">"; }

  // A domain of this schema by name (made on first mention), or a meta one.
  std::string domainRef(const std::string& name) {
    auto it = domains_.find(name);
    if (it != domains_.end()) return Ref(it->second);
    return Meta(name);
  }
  int newDomain(const std::string& name) {
    int n = add("TarnDomain");
    domains_[name] = n;
    order_.push_back(name);
    at(n).values = {{"name", Quote(name)}, {"listOfSuper", "()"}, {"listOfAttribute", "()"}};
    return n;
  }
  bool has(const std::string& name) const { return domains_.count(name) != 0; }
  int domain(const std::string& name) const { return domains_.at(name); }

  void setSupers(int d, const std::vector<std::string>& refs) { at(d).values[1].second = List(refs); }
  int attribute(int owner, const std::string& name, const std::string& domainRef) {
    int a = add("TarnAttribute");
    at(a).values = {{"name", Quote(name)}, {"domain", domainRef}};
    attributes_[owner].push_back(Ref(a));
    return a;
  }
  void finishAttributes() {
    for (auto& [owner, refs] : attributes_) at(owner).values[2].second = List(refs);
  }

  static std::string List(const std::vector<std::string>& items) {
    std::string s = "(";
    for (size_t i = 0; i < items.size(); ++i) s += (i ? ", " : "") + items[i];
    return s + ")";
  }

  std::string text(const std::string& designName, int nameTable) const {
    std::ostringstream o;
    o << "Format = \"tarn_r3.0\"\n\nTARN_OIDS (\n\t(0 = " << designName << ")\n\t(1 = corbel3_0)\n)\n\n"
      << "TARN_DESIGN (TarnDesign\n\tname: " << Quote(designName) << "\n\troot: $\n\tkeyword_table: $\n"
      << "\tname_table: " << Ref(nameTable) << "\n\tschemas: ()\n)\n\nSTEP_OBJECTS (\n";
    for (size_t i = 0; i < objects_.size(); ++i) {
      o << "\t(" << Ref(static_cast<int>(i + 1)) << " " << objects_[i].domain;
      for (const auto& [name, value] : objects_[i].values) o << "\n\t\t" << name << ": " << value;
      o << "\n\t)\n";
    }
    o << ")\n";
    return o.str();
  }

  const std::vector<std::string>& domainOrder() const { return order_; }

 private:
  std::vector<Object> objects_;
  std::map<std::string, int> domains_;
  std::vector<std::string> order_;
  std::map<int, std::vector<std::string>> attributes_;
};

// The domain an attribute of this type has, made when it is a new aggregate.
std::string AttributeDomain(Emitter& e, const TypeDesc& type);

void EnsureAggregate(Emitter& e, const TypeDesc& aggregate) {
  const std::string name = AggregateDomainName(aggregate);
  if (IsMetaAggregate(name) || e.has(name)) return;
  int d = e.newDomain(name);
  e.setSupers(d, {Emitter::Meta(DescribeAggregate(aggregate).domainBase)});
  e.attribute(d, "element", AttributeDomain(e, *aggregate.element));
}

std::string AttributeDomain(Emitter& e, const TypeDesc& type) {
  switch (type.kind) {
    case TypeDesc::Kind::Simple:
      return Emitter::Meta(SimpleDomainName(type.simple));
    case TypeDesc::Kind::Aggregate:
      EnsureAggregate(e, type);
      return e.domainRef(AggregateDomainName(type));
    case TypeDesc::Kind::Named:
      return e.domainRef(type.target != nullptr ? type.target->name : type.name);
  }
  return Emitter::Meta("Undefined");
}

}  // namespace

bool EmitTarnSchema(const express::Schema& schema, const std::string& designName, const std::string& path) {
  Emitter e;
  std::map<std::pair<std::string, std::string>, int> attributeObjects;  // (entity, attribute)
  const int nameTable = e.add("DictionaryOfTarnObject");
  // Every named type first, so that references between them are local.
  for (const auto& d : schema.declarations()) e.newDomain(d->name);
  for (const auto& d : schema.declarations()) {
    const int dom = e.domain(d->name);
    switch (d->kind) {
      case DeclKind::Entity: {
        const auto* ent = static_cast<const express::Entity*>(d.get());
        std::vector<std::string> supers;
        for (const express::Entity* s : ent->supertypes) supers.push_back(e.domainRef(s->name));
        if (supers.empty()) supers.push_back(Emitter::Meta("TarnStructure"));
        e.setSupers(dom, supers);
        for (const auto& a : ent->attributes)
          if (!a.redeclares) attributeObjects[{ent->name, a.name}] = e.attribute(dom, a.name, AttributeDomain(e, a.type));
        break;
      }
      case DeclKind::Select: {
        const auto* sel = static_cast<const express::SelectType*>(d.get());
        e.setSupers(dom, {Emitter::Meta("TarnUnion")});
        for (const express::Declaration* m : sel->members) e.attribute(dom, "_" + m->name, e.domainRef(m->name));
        break;
      }
      case DeclKind::Enumeration: {
        const auto* en = static_cast<const express::EnumerationType*>(d.get());
        e.setSupers(dom, {Emitter::Meta("TarnEnum")});
        for (const std::string& item : en->items) e.attribute(dom, item, "$");
        break;
      }
      case DeclKind::DefinedType: {
        const auto* def = static_cast<const express::DefinedType*>(d.get());
        e.setSupers(dom, {AttributeDomain(e, def->underlying)});
        break;
      }
    }
  }
  // Aggregates used only by derived and inverse attributes still get domains.
  for (const express::AggregateType& a : express::distinctAggregateTypes(schema)) EnsureAggregate(e, *a.desc);
  e.finishAttributes();

  // Attributes redeclared DERIVE: refined_att is the attribute as declared,
  // refined_by the redeclaring entity; no refined_to.
  for (const express::Entity* ent : schema.entities()) {
    for (const auto& der : ent->derived) {
      if (!der.redeclares || der.redeclares->declaredIn == nullptr || der.redeclares->attribute == nullptr)
        continue;
      auto it = attributeObjects.find({der.redeclares->declaredIn->name, der.redeclares->attribute->name});
      if (it == attributeObjects.end()) continue;
      int r = e.add("TarnRefined");
      e.at(r).values = {{"refined_att", Emitter::Ref(it->second)},
                        {"refined_by", e.domainRef(ent->name)},
                        {"refined_to", "$"}};
    }
  }

  std::vector<std::string> keys, values;
  for (const std::string& name : e.domainOrder()) {
    keys.push_back(Quote(name));
    values.push_back(e.domainRef(name));
  }
  e.at(nameTable).values = {{"listOfKeys", Emitter::List(keys)}, {"listOfValues", Emitter::List(values)}};

  std::ofstream out(path, std::ios::binary);
  out << e.text(designName, nameTable);
  if (!out) {
    std::cerr << "expressc: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace korva::generator
