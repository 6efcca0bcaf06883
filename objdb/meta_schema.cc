#include "objdb/meta_schema.h"

#include <vector>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/process_state.h"
#include "objdb/union.h"

namespace korva {

const char* const kMetaSchemaName = "corbel3_0";
const char* const kMetaExtensionsName = "corbel_extensions";

namespace {

class MetaBuilder {
 public:
  explicit MetaBuilder(TarnDesign* design) : design_(design), section_(design->dflt_section()) {}

  // The domain of domains first: it describes itself.
  void start() {
    domainDomain_ = new (section_, nullptr, &TarnDomain::classType) TarnDomain();
    section_->extent(domainDomain_, true)->link(domainDomain_);
    finish(domainDomain_, "TarnDomain", 0, &TarnDomain::classType);
  }

  TarnDomain* domain(const char* name, int node, TarnType* type, TarnDomain* super = nullptr) {
    TarnDomain* d = new (section_, domainDomain_, &TarnDomain::classType) TarnDomain();
    finish(d, name, node, type);
    if (super != nullptr) d->addSuper(super);
    return d;
  }

  void attribute(TarnDomain* owner, const char* name, TarnDomain* type) {
    TarnAttribute* a = new (section_, attributeDomain_, &TarnAttribute::classType) TarnAttribute();
    a->setName(name);
    a->setDomain(type);
    owner->addAttribute(a);
  }

  void alias(const char* name, TarnDomain* d) { design_->nameTable()->add(name, d); }

  void setAttributeDomain(TarnDomain* d) { attributeDomain_ = d; }
  TarnDomain* domainDomain() const { return domainDomain_; }
  const std::vector<TarnDomain*>& all() const { return all_; }

 private:
  void finish(TarnDomain* d, const char* name, int node, TarnType* type) {
    d->setName(name);
    if (node != 0) d->setNodeType(node);
    if (type != nullptr) {
      d->bindType(type);
      if (type->boundDomain() == nullptr) type->bindDomain(d);
    }
    RegisterDomainName(design_, d);
    all_.push_back(d);
  }

  TarnDesign* design_;
  TarnSection* section_;
  TarnDomain* domainDomain_ = nullptr;
  TarnDomain* attributeDomain_ = nullptr;
  std::vector<TarnDomain*> all_;
};

// Links objects made before their domain existed into its extent.
void Adopt(TarnSection* section, TarnObject* o, TarnDomain* d) {
  if (o != nullptr && !o->isPersistent()) section->extent(d, true)->link(o);
}

// Lends a design's arena to the instances that belong to no design, until
// end() or the end of the scope.
class LentArena {
 public:
  explicit LentArena(Arena* arena) { TarnProcessState::get().lendFreeStanding(arena); }
  ~LentArena() { end(); }
  void end() { TarnProcessState::get().lendFreeStanding(nullptr); }
};

}  // namespace

TarnDesign* GenerateMetaSchema() {
  SetBootstrapping(true);
  TarnDesign* design = new TarnDesign(kMetaSchemaName);
  design->setSchemaDesign(true);
  // Until they are adopted below, the name table and the domains' lists
  // have no extent and so no design: what they hold goes to the design's
  // arena all the same, and not to the process's free-standing storage,
  // which would keep it after the design is gone.
  LentArena lent(&design->arena());
  MetaBuilder m(design);
  m.start();

  // Primitive types.
  TarnDomain* string = m.domain("String", kNodeString, &kStrType);
  TarnDomain* integer = m.domain("Integer", kNodeInt, &kIntType);
  TarnDomain* boolean = m.domain("Boolean", kNodeBoolean, &kBooleanType);
  TarnDomain* real = m.domain("Float", kNodeDouble, &kDoubleType);
  m.domain("BOOL", kNodeBoolean, &kBooleanType);
  m.domain("LOGICAL", kNodeLogical, &kLogicalType);
  m.domain("TarnBoolean", kNodeBoolean, &kBooleanType);
  m.domain("TarnLogical", kNodeLogical, &kLogicalType);
  m.domain("TarnInteger", kNodeInt, &kIntType);
  m.domain("TarnReal", kNodeDouble, &kDoubleType);
  m.domain("Number", kNodeDouble, &kDoubleType);
  m.domain("Binary", kNodeBinary, &kBinaryType);
  m.domain("TarnEnum", kNodeEnum, &kEnumType);

  // Object kinds.
  TarnDomain* object = m.domain("TarnObject", kNodeObject, &TarnObject::classType);
  m.domain("Undefined", kNodeObject, nullptr);
  TarnDomain* structure = m.domain("TarnStructure", kNodeStructure, &TarnStructure::classType, object);
  TarnDomain* unionDomain = m.domain("TarnUnion", kNodeUnion, &TarnUnion::classType, object);
  TarnDomain* aggregate = m.domain("TarnAggregate", kNodeAggregate, &TarnAggregate::classType, object);
  TarnDomain* design_d = m.domain("TarnDesign", kNodeDesign, &TarnDesign::classType, object);
  TarnDomain* domain = m.domainDomain();
  domain->addSuper(structure);
  TarnDomain* attribute = m.domain("TarnAttribute", 0, &TarnAttribute::classType, structure);
  m.setAttributeDomain(attribute);
  TarnDomain* defType = m.domain("TarnDefType", 0, &TarnDefType::classType, structure);
  TarnDomain* refined = m.domain("TarnRefined", 0, &TarnRefined::classType, structure);
  TarnDomain* dictionary = m.domain("TarnDictionary", 0, &TarnDictionary::classType, structure);

  // Generic aggregates.
  TarnDomain* list = m.domain("TarnList", 0, &TarnList::classType, aggregate);
  TarnDomain* set = m.domain("TarnSet", 0, &TarnSet::classType, aggregate);
  TarnDomain* bag = m.domain("TarnBag", 0, &TarnBag::classType, aggregate);
  TarnDomain* array = m.domain("TarnArray", 0, &TarnArray::classType, aggregate);
  TarnDomain* ptrList = m.domain("TarnPtrList", 0, &TarnPtrList::classType, aggregate);
  TarnDomain* ptrSet = m.domain("TarnPtrSet", 0, &TarnPtrSet::classType, aggregate);
  TarnDomain* ptrBag = m.domain("TarnPtrBag", 0, &TarnPtrBag::classType, aggregate);
  TarnDomain* ptrArray = m.domain("TarnPtrArray", 0, &TarnPtrArray::classType, aggregate);
  m.domain("TarnEnumList", 0, &TarnEnumList::classType, aggregate);
  m.domain("TarnEnumSet", 0, &TarnEnumSet::classType, aggregate);
  m.domain("TarnEnumBag", 0, &TarnEnumBag::classType, aggregate);
  m.domain("TarnEnumArray", 0, &TarnEnumArray::classType, aggregate);

  // Typed aggregates of primitives, under their schema names, with the
  // class names as aliases.
  struct Typed { const char* name; TarnType* type; TarnDomain* super; TarnDomain* element; };
  const Typed typed[] = {
      {"ListOfString", &ListOfSTR::classType, list, string},
      {"ListOfInteger", &ListOfint::classType, list, integer},
      {"ListOfBoolean", &ListOfTarnBoolean::classType, list, boolean},
      {"ListOfFloat", &ListOfdouble::classType, list, real},
      {"SetOfString", &SetOfSTR::classType, set, string},
      {"SetOfInteger", &SetOfint::classType, set, integer},
      {"SetOfBoolean", &SetOfTarnBoolean::classType, set, boolean},
      {"SetOfFloat", &SetOfdouble::classType, set, real},
      {"BagOfString", &BagOfSTR::classType, bag, string},
      {"BagOfInteger", &BagOfint::classType, bag, integer},
      {"BagOfBoolean", &BagOfTarnBoolean::classType, bag, boolean},
      {"BagOfFloat", &BagOfdouble::classType, bag, real},
      {"ArrayOfString", &ArrayOfSTR::classType, array, string},
      {"ArrayOfInteger", &ArrayOfint::classType, array, integer},
      {"ArrayOfBoolean", &ArrayOfTarnBoolean::classType, array, boolean},
      {"ArrayOfFloat", &ArrayOfdouble::classType, array, real},
      {"ListOfTarnObject", &ListOfTarnObject::classType, ptrList, object},
      {"SetOfTarnObject", &SetOfTarnObject::classType, ptrSet, object},
      {"BagOfTarnObject", &BagOfTarnObject::classType, ptrBag, object},
      {"ArrayOfTarnObject", &ArrayOfTarnObject::classType, ptrArray, object},
      {"ListOfTarnDomain", &ListOfTarnDomain::classType, ptrList, domain},
      {"ListOfTarnAttribute", &ListOfTarnAttribute::classType, ptrList, attribute},
      {"ListOfTarnStructure", &ListOfTarnStructure::classType, ptrList, structure},
      {"ListOfTarnDesign", &ListOfTarnDesign::classType, ptrList, design_d},
      {"ListOfTarnDefType", &ListOfTarnDefType::classType, ptrList, defType},
      {"ListOfTarnRefined", &ListOfTarnRefined::classType, ptrList, refined},
      {"ListOfTarnUnion", &ListOfTarnUnion::classType, ptrList, unionDomain},
  };
  std::vector<TarnDomain*> typedDomains;
  for (const Typed& t : typed) {
    TarnDomain* d = m.domain(t.name, 0, t.type, t.super);
    m.attribute(d, "element", t.element);
    if (std::string(t.name) != t.type->name()) m.alias(t.type->name(), d);
    typedDomains.push_back(d);
  }
  // Other float element widths share the double domains' shape.
  m.alias("ListOffloat", m.domain("ListOfReal32", 0, &ListOffloat::classType, list));

  // Stored attributes of the dictionary classes and designs.
  m.attribute(domain, "name", string);
  m.attribute(domain, "listOfSuper", typedDomains[20]);
  m.attribute(domain, "listOfAttribute", typedDomains[21]);
  m.attribute(attribute, "name", string);
  m.attribute(attribute, "domain", domain);
  m.attribute(defType, "name", string);
  m.attribute(defType, "tarn_def", domain);
  m.attribute(defType, "express_def", defType);
  m.attribute(refined, "refined_att", attribute);
  m.attribute(refined, "refined_by", domain);
  m.attribute(refined, "refined_to", domain);
  m.attribute(dictionary, "listOfKeys", typedDomains[0]);
  m.attribute(dictionary, "listOfValues", typedDomains[16]);
  TarnDomain* dictOfString = nullptr;
  TarnDomain* dictOfObject = nullptr;
  const std::pair<const char*, TarnType*> dictionaries[] = {
      {"DictionaryOfTarnObject", &DictionaryOfTarnObject::classType},
      {"DictionaryOfString", &DictionaryOfString::classType},
      {"DictionaryOfInteger", &DictionaryOfInteger::classType},
      {"DictionaryOfFloat", &DictionaryOfFloat::classType},
      {"DictionaryOfBoolean", &DictionaryOfBoolean::classType},
      {"DictionaryOfTarnDesign", &DictionaryOfTarnDesign::classType},
  };
  for (const auto& d : dictionaries) {
    TarnDomain* made = m.domain(d.first, 0, d.second, dictionary);
    if (d.second == &DictionaryOfString::classType) dictOfString = made;
    if (d.second == &DictionaryOfTarnObject::classType) dictOfObject = made;
  }
  m.attribute(design_d, "name", string);
  m.attribute(design_d, "root", object);
  m.attribute(design_d, "keyword_table", dictOfString);
  m.attribute(design_d, "name_table", dictOfObject);
  m.attribute(design_d, "schemas", typedDomains[23]);

  // Objects made before their domains existed join their extents now.
  TarnSection* section = design->dflt_section();
  for (TarnDomain* d : m.all()) {
    Adopt(section, d->listOfSuper(), typedDomains[20]);
    Adopt(section, d->listOfAttribute(), typedDomains[21]);
  }
  TarnSection* system = design->system_section();
  Adopt(system, design->nameTable(), dictOfObject);
  Adopt(system, design->nameTable()->listOfKeys(), typedDomains[0]);
  Adopt(system, design->nameTable()->listOfValues(), typedDomains[16]);
  lent.end();

  for (TarnDomain* d : m.all()) d->activateDomain();
  design->setState(TarnDesign::kActive);
  design->setModified(false);
  SetBootstrapping(false);
  return design;
}

void UnbindClassesOf(TarnDesign* schema) {
  for (TarnType* t : TarnTypeRegistry::all()) {
    TarnDomain* d = t->boundDomain();
    if (d != nullptr && d->design() == schema) t->bindDomain(nullptr);
  }
}

}  // namespace korva
