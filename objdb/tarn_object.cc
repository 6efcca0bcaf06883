#include "objdb/tarn_object.h"

#include <cstring>
#include <typeinfo>

#include "objdb/aggregate.h"
#include "objdb/cursor.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/external.h"
#include "objdb/interface.h"
#include "objdb/process_state.h"

namespace korva {
namespace {

// Constructions announced by the placement allocator, waiting for their
// TarnObject constructor.
struct Pending {
  char* begin;
  size_t size;
  TarnExtent* extent;
  TarnDomain* domain;
};
Pending g_pending[kMaxPendingConstructions];
int g_pendingCount = 0;

// Storage for strings and blocks of free-standing instances; lives as long
// as the library is loaded.
Arena& FreeStandingArena() { return TarnProcessState::get().freeStanding(); }

// Holder through which object values converted by getValue are returned.
void* g_objectResult = nullptr;

// Set by the destructor for operator delete: the memory of an instance of a
// design belongs to the design's arena.
bool g_destroyedInArena = false;

}  // namespace

void* TarnObject::allocateInstance(size_t size, TarnSection* section, TarnDomain* domain,
                                   const TarnType* type) {
  if (section == nullptr) return ::operator new(size);
  if (domain == nullptr && type != nullptr) domain = const_cast<TarnType*>(type)->domain();
  if (g_pendingCount >= kMaxPendingConstructions) {
    TARN().report(1053, g_pendingCount + 1);
    return ::operator new(size);  // goes on unrecorded: a free-standing instance
  }
  TarnExtent* extent = domain != nullptr ? section->extent(domain, true) : nullptr;
  void* memory = extent != nullptr ? extent->allocate(size) : section->design()->arena().allocate(size);
  g_pending[g_pendingCount++] = {static_cast<char*>(memory), size, extent, domain};
  return memory;
}

TarnObject::TarnObject() : slot_(kNoIndexSlot), inArena_(0) {
  // Take this object's entry when it is on top of the pending stack.
  if (g_pendingCount > 0) {
    Pending& top = g_pending[g_pendingCount - 1];
    char* self = reinterpret_cast<char*>(this);
    if (self >= top.begin && self < top.begin + top.size) {
      --g_pendingCount;
      inArena_ = 1;
      if (top.extent != nullptr) {
        top.extent->link(this);
        TarnDomain* d = top.domain;
        if (d != nullptr && d->overflowSize() > 0) {
          // Right after the instance in its extent's memory: a walk that
          // reads both touches one place, not two.
          overflow_ = top.extent->allocate(d->overflowSize());
          std::memset(overflow_, 0, d->overflowSize());
        }
      }
    }
  }
}

bool TarnObject::moveTo(TarnSection* section) {
  if (section == nullptr || extent_ == nullptr) return false;
  if (section->design() != extent_->section()->design()) {
    TARN().report(1052, "moveTo()");
    return false;
  }
  if (extent_->section() == section) return true;
  TarnExtent* target = section->extent(extent_->domain(), true);
  TarnCursor::leaving(this);
  extent_->unlink(this);
  target->link(this);
  modified();
  return true;
}

void* TarnObject::operator new(size_t size) { return ::operator new(size); }

void* TarnObject::operator new(size_t size, TarnSection* section, TarnDomain* domain,
                               const TarnType* type) {
  return allocateInstance(size, section, domain, type);
}

void TarnObject::operator delete(void* p) {
  if (!g_destroyedInArena) ::operator delete(p);
  g_destroyedInArena = false;
}

TarnObject::~TarnObject() {
  g_destroyedInArena = inArena_;
  if (extent_ != nullptr) extent_->unlink(this);
  while (managers_ != nullptr) {
    TarnManagerRecord* r = managers_;
    managers_ = r->next;
    delete r;
  }
}

void* TarnObject::baseObject() { return dynamic_cast<void*>(this); }

TarnDomain* TarnObject::domain() {
  if (extent_ != nullptr) return extent_->domain();
  return const_cast<TarnType*>(typePtr())->domain();
}

const char* TarnObject::domainName() {
  TarnDomain* d = domain();
  if (d != nullptr && d->name() != nullptr) return d->name();
  const char* n = typePtr()->name();
  return n != nullptr ? n : "<no-name>";
}

TarnSection* TarnObject::section() const { return extent_ != nullptr ? extent_->section() : nullptr; }

TarnDesign* TarnObject::design() const {
  TarnSection* s = section();
  return s != nullptr ? s->design() : nullptr;
}

ListOfTarnAttribute* TarnObject::attributes() {
  TarnDomain* d = domain();
  return d != nullptr ? d->attributes() : nullptr;
}

bool TarnObject::isa(TarnDomain* d) {
  TarnDomain* mine = domain();
  return mine != nullptr && d != nullptr && mine->typeIsA(d);
}

void TarnObject::modified() {
  if (TarnDesign* d = design()) d->setModified(true);
}

void TarnObject::setOid(TarnOID oid) {
  // A persistent instance is indexed under its identifier in its design.
  TarnDesign* d = design();
  if (oid == oid_ || (d != nullptr && !d->changeOid(this, oid_, oid))) return;
  oid_ = oid;
}

TarnManagerRecord* TarnObject::findManager(int kind) const {
  for (TarnManagerRecord* r = managers_; r != nullptr; r = r->next)
    if (r->kind == kind) return r;
  return nullptr;
}

void TarnObject::attachManager(TarnManagerRecord* record) {
  record->next = managers_;
  managers_ = record;
}

void TarnObject::detachManager(TarnManagerRecord* record) {
  for (TarnManagerRecord** p = &managers_; *p != nullptr; p = &(*p)->next) {
    if (*p == record) {
      *p = record->next;
      record->next = nullptr;
      return;
    }
  }
}

char* TarnObject::copyString(const char* text) {
  if (text == nullptr) return nullptr;
  TarnDesign* d = design();
  return d != nullptr ? d->arena().copy(text) : FreeStandingArena().copy(text);
}

void* TarnObject::allocate(size_t size) {
  TarnDesign* d = design();
  return d != nullptr ? d->arena().allocate(size) : FreeStandingArena().allocate(size);
}

void TarnObject::reportInvalid(const char* method) {
  TARN().error("%s: Invalid method on '%s' object.", method, typePtr()->name());
}

TarnAttribute* TarnObject::getAttribute(const char* name) {
  TarnDomain* d = domain();
  if (d == nullptr) {
    TARN().error("Object of class '%s' has no associated domain.", typePtr()->name());
    return nullptr;
  }
  return d->findAttribute(name);
}

TarnAttribute* TarnObject::getAttribute(const void*) {
  reportInvalid("getAttribute()");
  return nullptr;
}

bool TarnObject::size(uint32_t, int) {
  reportInvalid("size()");
  return false;
}
uint32_t TarnObject::size() { return valueRecordCount(); }
uint32_t TarnObject::capacity() {
  reportInvalid("capacity()");
  return 0;
}
bool TarnObject::capacity(uint32_t) {
  reportInvalid("capacity()");
  return false;
}
uint32_t TarnObject::recordSize() { return typePtr()->recordSize(); }
uint32_t TarnObject::valueRecordCount() { return 1; }
void* TarnObject::data() {
  reportInvalid("data()");
  return nullptr;
}
void TarnObject::findObjects(ListOfTarnObject*, TarnDomain*, bool) {}

void TarnObject::display(std::FILE* out) {
  std::fprintf(out, "%s:", domainName());
  if (number_ != 0) std::fprintf(out, "[%u]", number_);
  std::fprintf(out, "\n");
}

void* TarnObject::slotAddress(TarnAttribute*, int) {
  reportInvalid("slotAddress()");
  return nullptr;
}

void* TarnObject::fieldSlot(TarnAttribute* att) {
  if (!att->hasSlot()) return nullptr;
  if (att->inOverflow()) {
    if (overflow_ == nullptr) {
      TARN().warning("Attempt to find overflow attribute of a non-persistent object");
      return nullptr;
    }
    return static_cast<char*>(overflow_) + att->offset();
  }
  return static_cast<char*>(baseObject()) + att->offset();
}

const TarnType* TarnObject::slotType(TarnAttribute* att) {
  if (att == nullptr) {
    TARN().error("slotType: No Attribute specified");
    return &kUnknownType;
  }
  if (const TarnType* t = att->cachedSlotType()) return t;
  TarnDomain* d = att->domain();
  const TarnType* t = d != nullptr ? d->typeRecord() : nullptr;
  if (t == nullptr) return &kUnknownType;
  att->cacheSlotType(t);
  return t;
}

TarnAttribute* TarnObject::mapAttribute(TarnAttribute* att) {
  if (att == nullptr) {
    TARN().report(1023);
    return nullptr;
  }
  TarnDomain* mine = domain();
  if (mine == nullptr) {
    TARN().error("Object of class '%s' has no associated domain.", typePtr()->name());
    return nullptr;
  }
  if (att->owner() == mine) return att;
  TarnAttribute* mapped = mine->typeAttribute(att);
  if (mapped == nullptr) {
    TarnDomain* owner = att->owner();
    TARN().report(1056, owner != nullptr ? owner->name() : "<no-name>", att->name(), mine->name());
  }
  return mapped;
}

bool TarnObject::resolveSlot(TarnAttribute* att, int index, void* slot) {
  // References into other designs are resolved through the external
  // reference records of the instance.
  if (!isPersistent()) {
    TARN().warning("External reference in a non-persistent object, ignored.");
    return false;
  }
  return ResolveExternalSlot(this, att, index, slot);
}

bool TarnObject::resolveField(const char* attribute, void* slot) {
  return resolveSlot(getAttribute(attribute), 0, slot);
}

bool TarnObject::getValue(TarnAttribute* att, int index, void** out, const TarnType* as) {
  *out = nullptr;
  TarnAttribute* mapped = mapAttribute(att);
  if (mapped == nullptr) return false;
  void* slot = slotAddress(mapped, index);
  if (slot == nullptr) return false;
  const TarnType* type = slotType(mapped);
  if (IsObjectNode(type->nodeType())) {
    void* held = *static_cast<void**>(slot);
    if (IsUnresolved(held) && !resolveSlot(mapped, index, slot)) return false;
    if (as == type) {
      *out = slot;
      return true;
    }
    held = *static_cast<void**>(slot);
    TarnObject* object = type->objectCast != nullptr ? type->objectCast(held)
                                                      : static_cast<TarnObject*>(held);
    g_objectResult = TypecastRaw(object, as);
    *out = &g_objectResult;
    return g_objectResult != nullptr || object == nullptr;
  }
  if (as == type) {
    *out = slot;
    return true;
  }
  *out = ConvertPrimitive(*as, slot, *type, nullptr);
  return *out != nullptr;
}

bool TarnObject::putValue(TarnAttribute* att, int index, const void* in, const TarnType* as) {
  TarnAttribute* mapped = mapAttribute(att);
  if (mapped == nullptr) return false;
  void* slot = slotAddress(mapped, index);
  if (slot == nullptr) return false;
  const TarnType* type = slotType(mapped);
  if (IsObjectNode(type->nodeType())) {
    // A number or a text is no object: what `in` points at is not a
    // reference.
    if (as != nullptr && !IsObjectNode(as->nodeType())) {
      TARN().warning("Cannot typecast primitive type: '%s' to '%s'", as->name() != nullptr ? as->name() : "<no-name>",
                     type->name() != nullptr ? type->name() : "<no-name>");
      return false;
    }
    void* held = *static_cast<void* const*>(in);
    if (IsUnresolved(held)) {
      TARN().warning("Put/Get Value: Rejected due to illegal unresolved reference.");
      return false;
    }
    TarnObject* object = (as != nullptr && as->objectCast != nullptr) ? as->objectCast(held)
                                                                      : static_cast<TarnObject*>(held);
    void* stored = nullptr;
    if (object != nullptr) {
      TarnDomain* target = mapped->domain();
      TarnDomain* have = object->domain();
      if (target != nullptr && have != nullptr && IsObjectNode(target->nodeType()) &&
          target->nodeType() == kNodeStructure && !have->typeIsA(target)) {
        TARN().report(1054, have->name(), target->name());
        return false;
      }
      stored = TypecastRaw(object, type);
      if (stored == nullptr) return false;
    }
    modified();
    *static_cast<void**>(slot) = stored;
    return true;
  }
  const void* value = in;
  if (as != type) {
    value = ConvertPrimitive(*type, in, *as, nullptr);
    if (value == nullptr) return false;
  }
  modified();
  if (type->nodeType() == kNodeString) {
    *static_cast<char**>(slot) = copyString(*static_cast<char* const*>(value));
  } else if (type->nodeType() == kNodeBinary) {
    BINARY b = *static_cast<const BINARY*>(value);
    b.text = copyString(b.text);
    std::memcpy(slot, &b, sizeof b);
  } else {
    std::memcpy(slot, value, type->recordSize());
  }
  return true;
}

// Typed readers and writers.
template <typename T>
static T ReadAs(TarnObject* self, TarnAttribute* att, int index, const TarnType* as) {
  void* out = nullptr;
  if (!self->getValue(att, index, &out, as) || out == nullptr) return T{};
  return *static_cast<T*>(out);
}
#define KORVA_READER(Name, T, TypeRecord)                                 \
  T TarnObject::Name(TarnAttribute* att, int index) {                     \
    return ReadAs<T>(this, att, index, &TypeRecord);                      \
  }
// Values are passed in a buffer wide enough for any slot kind, so that no
// path of putValue reads past a narrow value.
template <typename T>
static bool WriteAs(TarnObject* self, T value, TarnAttribute* att, int index, const TarnType* as) {
  union {
    T value;
    unsigned char bytes[16];
  } buffer{};
  buffer.value = value;
  return self->putValue(att, index, &buffer, as);
}
#define KORVA_WRITER(Name, T, TypeRecord)                                 \
  bool TarnObject::Name(T value, TarnAttribute* att, int index) {         \
    return WriteAs<T>(this, value, att, index, &TypeRecord);              \
  }
KORVA_READER(getObject, TarnObject*, TarnObject::classType)
KORVA_READER(getDouble, double, kDoubleType)
KORVA_READER(getInteger, int, kIntType)
KORVA_READER(getFloat, float, kFloatType)
KORVA_READER(getBoolean, TarnBoolean, kBooleanType)
KORVA_READER(getEnum, int32_t, kEnumType)
KORVA_WRITER(putDouble, double, kDoubleType)
KORVA_WRITER(putInteger, int, kIntType)
KORVA_WRITER(putFloat, float, kFloatType)
KORVA_WRITER(putBoolean, TarnBoolean, kBooleanType)
KORVA_WRITER(putEnum, int32_t, kEnumType)
#undef KORVA_READER
#undef KORVA_WRITER

long TarnObject::getLong(TarnAttribute* att, int index) {
  void* out = nullptr;
  if (!getValue(att, index, &out, &kLongType) || out == nullptr) return 0;
  return *static_cast<int32_t*>(out);
}

bool TarnObject::putLong(long value, TarnAttribute* att, int index) {
  return WriteAs<int32_t>(this, static_cast<int32_t>(value), att, index, &kLongType);
}

const char* TarnObject::getString(TarnAttribute* att, int index) {
  void* out = nullptr;
  if (!getValue(att, index, &out, &kStrType) || out == nullptr) return nullptr;
  return *static_cast<char**>(out);
}

bool TarnObject::putString(const char* value, TarnAttribute* att, int index) {
  return putValue(att, index, &value, &kStrType);
}

bool TarnObject::putObject(TarnObject* value, TarnAttribute* att, int index) {
  return putValue(att, index, &value, &TarnObject::classType);
}

TarnAttribute* TarnObject::lookupByName(const char* name) {
  TarnAttribute* att = getAttribute(name);
  if (att == nullptr) TARN().report(1001, domainName(), name != nullptr ? name : "");
  return att;
}

TarnObject* TarnObject::getObject(const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr ? getObject(att, index) : nullptr;
}
const char* TarnObject::getString(const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr ? getString(att, index) : nullptr;
}
double TarnObject::getDouble(const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr ? getDouble(att, index) : 0.0;
}
int TarnObject::getInteger(const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr ? getInteger(att, index) : 0;
}
bool TarnObject::putObject(TarnObject* value, const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr && putObject(value, att, index);
}
bool TarnObject::putString(const char* value, const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr && putString(value, att, index);
}
bool TarnObject::putDouble(double value, const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr && putDouble(value, att, index);
}
bool TarnObject::putInteger(int value, const char* name, int index) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr && putInteger(value, att, index);
}

bool TarnObject::isUnset(TarnAttribute* att) {
  TarnAttribute* mapped = mapAttribute(att);
  if (mapped == nullptr) return false;
  void* slot = slotAddress(mapped, 0);
  if (slot == nullptr) return false;
  switch (slotType(mapped)->nodeType()) {
    case kNodeInt: case kNodeByte: case kNodeShort: case kNodeLong: case kNodeUShort:
    case kNodeUInt: case kNodeULong: case kNodeChar:
      return getInteger(mapped) == kUnsetInteger;
    case kNodeFloat: case kNodeDouble:
      return getDouble(mapped) == kUnsetReal;
    case kNodeBoolean: case kNodeLogical:
      return *static_cast<uint8_t*>(slot) == kUnsetBoolean;
    case kNodeString:
      return *static_cast<char**>(slot) == nullptr;
    case kNodeEnum:
      return *static_cast<int32_t*>(slot) == kUnsetEnum;
    case kNodeStructure: case kNodeUnion: case kNodeAggregate: case kNodeDesign:
      return *static_cast<void**>(slot) == nullptr;
    default:
      return false;
  }
}

void TarnObject::unset(TarnAttribute* att) {
  TarnAttribute* mapped = mapAttribute(att);
  if (mapped == nullptr) return;
  void* slot = slotAddress(mapped, 0);
  if (slot == nullptr) return;
  const TarnType* type = slotType(mapped);
  modified();
  switch (type->nodeType()) {
    case kNodeInt: case kNodeLong: case kNodeUInt: case kNodeULong:
      *static_cast<int32_t*>(slot) = kUnsetInteger;
      break;
    case kNodeShort: case kNodeUShort: case kNodeByte: case kNodeChar: {
      // Narrow integer kinds keep the marker truncated to their width.
      int32_t marker = kUnsetInteger;
      std::memcpy(slot, &marker, type->recordSize());
      break;
    }
    case kNodeFloat:
      *static_cast<float*>(slot) = static_cast<float>(kUnsetReal);
      break;
    case kNodeDouble:
      *static_cast<double*>(slot) = kUnsetReal;
      break;
    case kNodeBoolean: case kNodeLogical:
      *static_cast<uint8_t*>(slot) = kUnsetBoolean;
      break;
    case kNodeString:
      *static_cast<char**>(slot) = nullptr;
      break;
    case kNodeEnum:
      *static_cast<int32_t*>(slot) = kUnsetEnum;
      break;
    case kNodeStructure: case kNodeUnion: case kNodeAggregate: case kNodeDesign:
      *static_cast<void**>(slot) = nullptr;
      break;
    default:
      break;
  }
}

bool TarnObject::isUnset(const char* name) {
  TarnAttribute* att = lookupByName(name);
  return att != nullptr && isUnset(att);
}

void TarnObject::unset(const char* name) {
  if (TarnAttribute* att = lookupByName(name)) unset(att);
}

void* TypecastRaw(TarnObject* object, const TarnType* to) {
  if (object == nullptr) return nullptr;
  void* full = object->baseObject();
  TarnType* from = const_cast<TarnType*>(object->typePtr());
  if (from == to) return full;
  if (to == nullptr) return nullptr;
  if (const TarnSuperEntry* e = from->findSuper(to)) return static_cast<char*>(full) + e->offset;
  // Aggregates of one kind copy into a new aggregate of the target class.
  if (from->nodeType() == kNodeAggregate && to->nodeType() == kNodeAggregate && to->creator) {
    TarnAggregate* source = dynamic_cast<TarnAggregate*>(object);
    TarnObject* made = to->creator(object->design(), object->section(), nullptr);
    TarnAggregate* target = dynamic_cast<TarnAggregate*>(made);
    if (source != nullptr && target != nullptr && source->kind() == target->kind()) {
      for (uint32_t i = 0; i < source->count(); ++i) {
        void* value = nullptr;
        TarnAttribute* element = source->elementAttribute();
        if (source->getValue(element, static_cast<int>(i), &value, source->elementType()))
          target->putElement(value, -1);
      }
      return TypecastRaw(target, to);
    }
    delete made;
  }
  TARN().warning("Cannot typecast object of type: '%s' to '%s'", object->domainName(),
                 to->name() != nullptr ? to->name() : "<no-name>");
  return nullptr;
}

}  // namespace korva
