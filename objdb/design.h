// Designs: one model in memory (the population of one exchange file, or one
// compiled schema).  A design owns its sections, their extents and every
// instance in them; instances, aggregate blocks and strings are allocated
// from the design's arena and freed together with it.
//
//   section  kind 1 data, 2 header, 3 system; the default (data), header and
//            system sections are made on first request;
//   extent   the instances of one domain in one section, doubly linked in
//            creation order.
//
// Designs are made and destroyed by the interface object (newDesign,
// deleteDesign and the trash); the name table and the schema list live in
// the system section.
#ifndef KORVA_OBJDB_DESIGN_H
#define KORVA_OBJDB_DESIGN_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "objdb/arena.h"
#include "objdb/dictionary.h"
#include "objdb/oid.h"
#include "objdb/tarn_object.h"

namespace korva {

class TarnBackPointerIndex;
class TarnDesign;
class TarnSection;
class file_description;
class file_name;
TARN_OBJECT_AGGREGATE(ListOfTarnDesign, TarnDesign, TarnPtrList)

class TarnExtent {
 public:
  TarnExtent(TarnDomain* domain, TarnSection* section) : domain_(domain), section_(section) {}
  TarnDomain* domain() const { return domain_; }
  TarnSection* section() const { return section_; }
  TarnObject* first() const { return first_; }
  TarnObject* last() const { return last_; }
  uint32_t count() const { return count_; }
  TarnExtent* next() const { return next_; }

  void link(TarnObject* object);    // at the end
  void unlink(TarnObject* object);

  // Storage for a new instance of this extent, from the design's arena.
  // Instances of one extent are carved from chunks of their own, so that a
  // walk of the extent (numbering, writing, the import's passes) reads
  // memory in address order instead of jumping across every other type.
  void* allocate(size_t bytes);

 private:
  friend class TarnSection;
  // Chunks grow from kFirstChunk to kLastChunk; larger records go straight
  // to the arena.
  static constexpr uint32_t kFirstChunk = 1024;
  static constexpr uint32_t kLastChunk = 64 * 1024;
  TarnDomain* domain_;
  TarnSection* section_;
  TarnObject* first_ = nullptr;
  TarnObject* last_ = nullptr;
  uint32_t count_ = 0;
  uint32_t chunk_ = 0;
  uint32_t left_ = 0;
  char* free_ = nullptr;
  TarnExtent* next_ = nullptr;
};

class TarnSection {
 public:
  enum Kind { kData = 1, kHeader = 2, kSystem = 3 };
  TarnSection(TarnDesign* design, int kind) : design_(design), kind_(kind) {}
  ~TarnSection();

  TarnDesign* design() const { return design_; }
  int kind() const { return kind_; }
  // Name and schema name of a parameterised data section (empty otherwise).
  const std::string& name() const { return name_; }
  void setName(const std::string& name) { name_ = name; }
  const std::string& schemaName() const { return schemaName_; }
  void setSchemaName(const std::string& name) { schemaName_ = name; }

  TarnExtent* firstExtent() const { return firstExtent_; }
  // The extent of `domain`, made when `make` is set and it has none.
  TarnExtent* extent(TarnDomain* domain, bool make);
  // Frees an extent that has become empty.
  void dropExtent(TarnExtent* extent);
  uint32_t count() const;
  // Destroys every instance of the section.
  void clear();

 private:
  TarnDesign* design_;
  int kind_;
  std::string name_, schemaName_;
  TarnExtent* firstExtent_ = nullptr;
  TarnExtent* lastExtent_ = nullptr;
  std::unordered_map<const TarnDomain*, TarnExtent*> byDomain_;
  TarnExtent* lastHit_ = nullptr;
};

class TarnDesign : public virtual TarnObject {
  TARN_CLASS(TarnDesign)
 public:
  enum State { kNormal = 0, kBeingRead = 1, kActivating = 2, kActive = 3 };

  explicit TarnDesign(const char* name = nullptr);
  ~TarnDesign() override;

  // Stored attributes.
  const char* name() const { return name_; }
  void setName(const char* name);
  TarnObject* root() const { return root_; }
  void setRoot(TarnObject* root) { root_ = root; }
  DictionaryOfString* keywordTable();
  DictionaryOfTarnObject* nameTable();
  void setNameTable(DictionaryOfTarnObject* table) { names_ = table; }
  ListOfTarnDesign* schemas();

  // File placement.
  const std::string& directory() const { return directory_; }
  void setDirectory(const std::string& d) { directory_ = d; }
  const std::string& extension() const { return extension_; }
  void setExtension(const std::string& e) { extension_ = e; }

  // Header records (from "header_section_schema"), made on demand:
  // file_description with an empty description and implementation level
  // "1"; file_name with the design's name, the current time stamp, empty
  // author and organization lists, preprocessor "KS-BUILDER v10" and empty
  // originating system and authorisation.  Null when the header schema
  // cannot be found.
  void initialize_header();
  file_description* header_description();
  file_name* header_name();

  // The I/O format used to save the design: the explicit one, else the
  // format of the file extension, else "tarn".  Setting a name that no
  // format carries reports 1026 and keeps the old one.
  const char* format();
  bool format(const char* name);
  // The folder the design is saved in: the explicit one, else the first
  // folder of the search path, else ".".
  std::string fileDirectory();
  void fileDirectory(const std::string& folder) { directory_ = folder; }
  // Writes the design through the format's handler (see TarnInterface::save).
  bool save();

  // Sections, made on demand.
  TarnSection* dflt_section();
  TarnSection* header_section();
  TarnSection* system_section();
  // The setters refuse a section of another design (1052).
  void dflt_section(TarnSection* section);
  void header_section(TarnSection* section);
  void system_section(TarnSection* section);
  // A further data section, appended to the section list.
  TarnSection* newDataSection();
  const std::vector<TarnSection*>& sections() const { return sections_; }

  // Schemas.
  void useSchema(TarnDesign* schema);
  void addSchema(TarnDesign* schema);
  bool useSchema(const char* name);
  bool addSchema(const char* name);
  // The first schema, or the system design when there is none.
  TarnDesign* schema();

  // Instances.
  TarnObject* newInstance(const char* typeName, TarnSection* section = nullptr);
  TarnDomain* findDomain(const char* name);
  // The instance entered under `name` in the name table; null while reading.
  TarnObject* findObject(const char* name);
  void findObjects(ListOfTarnObject* result, TarnDomain* domain, bool subtypes) override;
  // Instances in data sections.
  uint32_t size() override;
  // Deletes all data sections and the name table (header and system stay).
  void emptyYourself();

  // State and flags.
  int state() const { return state_; }
  void setState(int state) { state_ = state; }
  bool isSchemaDesign() const { return schemaDesign_; }
  void setSchemaDesign(bool v) { schemaDesign_ = v; }
  bool markedForDeletion() const { return deleted_; }
  void markForDeletion(bool v) { deleted_ = v; }
  bool isModified() const { return modified_; }
  void setModified(bool v) { modified_ = v; }
  bool hasBackPointers() const { return backPointers_; }
  void setHasBackPointers(bool v) { backPointers_ = v; }
  // The design's back-pointer index (back_pointers.h), made when `make` is
  // set and there is none; null otherwise.
  TarnBackPointerIndex* backPointerIndex(bool make);
  void activate() override;

  // Object identifiers (oid.h).  newOid hands out the next identifier of the
  // allocator of `kind` (0, 1 or 2; 0 on failure).  The index from
  // identifiers to instances is built on first use and kept up to date by
  // TarnObject::setOid and by instances leaving the design.
  TarnOID newOid(int kind = 0);
  TarnObject* findByOid(TarnOID oid);
  // Enters `object` under `oid` instead of `old` (0: none); another instance
  // of the design under `oid` reports 1032 and nothing changes.
  bool changeOid(TarnObject* object, TarnOID old, TarnOID oid);

  // Storage of the design's instances, aggregate blocks and strings.
  Arena& arena() { return arena_; }
  char* copyString(const char* text) { return arena_.copy(text); }

  static void layout(TarnType& type);

 private:
  void addSection(TarnSection* section);
  void buildOidIndex();

  char* name_ = nullptr;
  std::string format_;
  file_description* description_ = nullptr;
  file_name* fileName_ = nullptr;
  TarnObject* root_ = nullptr;
  DictionaryOfString* keywords_ = nullptr;
  DictionaryOfTarnObject* names_ = nullptr;
  ListOfTarnDesign* schemas_ = nullptr;

  std::string directory_, extension_;
  std::vector<TarnSection*> sections_;
  TarnSection* dflt_ = nullptr;
  TarnSection* header_ = nullptr;
  TarnSection* system_ = nullptr;
  int state_ = kNormal;
  bool schemaDesign_ = false;
  bool deleted_ = false;
  bool modified_ = false;
  bool backPointers_ = false;
  Arena arena_;
  TarnOidAllocator oidAllocators_[kOidKinds];
  std::unique_ptr<std::unordered_map<TarnOID, TarnObject*>> oids_;
  std::unique_ptr<TarnBackPointerIndex> backPointerIndex_;
};

TARN_DICTIONARY(DictionaryOfTarnDesign, TarnDesign*, ListOfTarnDesign)

}  // namespace korva

#endif  // KORVA_OBJDB_DESIGN_H
