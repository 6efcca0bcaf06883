// The data dictionary: one TarnDomain per EXPRESS type (entity, select,
// enumeration, defined, aggregate or primitive), one TarnAttribute per
// attribute, TarnDefType and TarnRefined for defined types and refined
// attributes.  They are ordinary structures described by the meta-schema
// "corbel3_0" ("corbel_extensions"), kept in schema designs.
//
// A domain is created inactive; activation resolves its supertypes and
// builds, in memory, its complete attribute list (inherited attributes
// first, each with the slot position of this domain's class) and the list
// of all its supertypes.  Lookups need an active domain.
#ifndef KORVA_OBJDB_DOMAIN_H
#define KORVA_OBJDB_DOMAIN_H

#include <string>
#include <vector>

#include "objdb/aggregate.h"
#include "objdb/structure.h"

namespace korva {

class TarnDomain;
class TarnAttribute;

TARN_OBJECT_AGGREGATE(ListOfTarnDomain, TarnDomain, TarnPtrList)
TARN_OBJECT_AGGREGATE(ListOfTarnAttribute, TarnAttribute, TarnPtrList)
TARN_OBJECT_AGGREGATE(ListOfTarnStructure, TarnStructure, TarnPtrList)

class TarnAttribute : public TarnStructure {
  TARN_CLASS(TarnAttribute)
  friend class TarnDomain;

 public:
  TarnAttribute() = default;

  // Stored attributes.
  const char* name() const { return name_; }
  void setName(const char* name);
  // The attribute's type; resolved when it still names an object not in memory.
  TarnDomain* domain();
  void setDomain(TarnDomain* domain);

  // In memory.
  TarnDomain* owner() const { return owner_; }
  void setOwner(TarnDomain* owner) { owner_ = owner; }
  std::ptrdiff_t offset() const { return offset_; }
  void setOffset(std::ptrdiff_t offset, bool inOverflow) { offset_ = offset; overflow_ = inOverflow; }
  bool inOverflow() const { return overflow_; }
  bool hasSlot() const { return offset_ >= 0; }
  // Written as '*': a derived redeclaration in the owning domain.
  bool isDerived() const { return derived_; }
  void setDerived(bool derived) { derived_ = derived; }
  // The attribute this one stands for in a subtype's complete list.
  TarnAttribute* original() { return original_ != nullptr ? original_ : this; }
  void setOriginal(TarnAttribute* original) { original_ = original; }
  // The type of the slot, computed on first use.
  const TarnType* cachedSlotType() const { return slotType_; }
  void cacheSlotType(const TarnType* type) { slotType_ = type; }

  static void layout(TarnType& type);

 private:
  char* name_ = nullptr;
  TarnDomain* domain_ = nullptr;
  TarnDomain* owner_ = nullptr;
  TarnAttribute* original_ = nullptr;
  const TarnType* slotType_ = nullptr;
  std::ptrdiff_t offset_ = -1;
  bool overflow_ = false;
  bool derived_ = false;
};

class TarnDomain : public TarnStructure {
  TARN_CLASS(TarnDomain)
 public:
  enum State { kInactive = 0, kActivating = 2, kActive = 3 };

  TarnDomain() = default;
  ~TarnDomain() override;

  // Stored attributes.
  const char* name() const { return name_; }
  void setName(const char* name);
  ListOfTarnDomain* listOfSuper();            // direct supertypes, made on demand
  ListOfTarnAttribute* listOfAttribute();     // own attributes, made on demand

  // Adds a direct supertype (inactive domains only).
  void addSuper(TarnDomain* super);
  // Appends an attribute this domain declares: only while inactive ("Domain
  // '%s' is active"), and only an attribute without owner ("%s is already an
  // TarnAttribute in domain %s").
  bool addAttribute(TarnAttribute* attribute);

  // State and activation.
  int state() const { return state_; }
  bool isActive();                 // reports "Domain '%s' is not active" when not
  bool isActiveQuiet() const { return state_ == kActive; }
  void activateDomain();           // resolves supertypes, builds the lists
  bool isPrimitive();              // no creator for instances
  int nodeType();                  // computed from the first supertype on first use
  void setNodeType(int nodeType) { nodeType_ = nodeType; }
  bool isEntity() { return nodeType() == kNodeStructure; }

  // The class of this domain's instances: the compiled class, else a
  // best-fit class chosen on first use.
  TarnType* typeRecord();
  TarnType* boundType() const { return type_; }
  void bindType(TarnType* type) { type_ = type; }

  // Complete attribute list, inherited first (built at activation).
  const std::vector<TarnAttribute*>& allAttributes() const { return all_; }
  ListOfTarnAttribute* attributes();
  // Every supertype, direct and indirect (built at activation).
  const std::vector<TarnDomain*>& allSupers() const { return allSupers_; }
  std::vector<TarnDomain*>& subtypes() { return subtypes_; }
  TarnDomain* firstSuper();

  // Attribute lookup by name, without regard to case; null or empty: the
  // first attribute.
  TarnAttribute* findAttribute(const char* name);
  // This domain's entry for `attribute` (the same one, its copy for an
  // inherited attribute, or one of the same name).
  TarnAttribute* typeAttribute(TarnAttribute* attribute);
  // True when `other` is this domain or one of its supertypes.
  bool typeIsA(const TarnDomain* other);

  // Enumerators of an enumeration domain, index = value.
  std::vector<const char*>& enumerators() { return enumerators_; }
  // Complex AND/OR domain.
  bool isComplex() const { return complex_; }
  void setComplex(bool complex) { complex_ = complex; }
  // Marks an inherited attribute as redeclared DERIVE in this domain (and
  // so in its subtypes): the exchange-file writer writes '*' for it.
  void addDerivedRedeclaration(const char* attributeName);
  // Size of the overflow block of best-fit instances (0: none).
  uint32_t overflowSize() const { return overflowSize_; }

  static void layout(TarnType& type);

 private:
  void buildAttributeList();
  void chooseBestFit();

  char* name_ = nullptr;
  ListOfTarnDomain* supers_ = nullptr;
  ListOfTarnAttribute* ownAttributes_ = nullptr;
  int state_ = kInactive;
  int nodeType_ = 0;
  TarnType* type_ = nullptr;
  bool complex_ = false;
  uint32_t overflowSize_ = 0;
  std::vector<TarnAttribute*> all_;
  std::vector<TarnAttribute*> copies_;
  ListOfTarnAttribute* allList_ = nullptr;
  std::vector<TarnDomain*> allSupers_;
  std::vector<TarnDomain*> subtypes_;
  std::vector<const char*> enumerators_;
  std::vector<std::string> derivedHere_;
};

// A defined type's record: its name, the domain it is stored as and the
// EXPRESS definition it refers to.
class TarnDefType : public TarnStructure {
  TARN_CLASS(TarnDefType)
 public:
  char* name = nullptr;
  TarnDomain* tarn_def = nullptr;
  TarnDefType* express_def = nullptr;
  static void layout(TarnType& type);
};

// A refined attribute: `refined_att` redeclared in `refined_by` with type
// `refined_to` (none for a derived redeclaration).
class TarnRefined : public TarnStructure {
  TARN_CLASS(TarnRefined)
 public:
  TarnAttribute* refined_att = nullptr;
  TarnDomain* refined_by = nullptr;
  TarnDomain* refined_to = nullptr;
  static void layout(TarnType& type);
};

TARN_OBJECT_AGGREGATE(ListOfTarnDefType, TarnDefType, TarnPtrList)
TARN_OBJECT_AGGREGATE(ListOfTarnRefined, TarnRefined, TarnPtrList)

}  // namespace korva

#endif  // KORVA_OBJDB_DOMAIN_H
