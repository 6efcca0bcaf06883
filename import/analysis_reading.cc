#include "import/analysis_reading.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "api/library_state.h"
#include "import/analysis_domains.h"
#include "objdb/back_pointers.h"
#include "objdb/design.h"
#include "objdb/downcast.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"
#include "objdb/union.h"
#include "platform/platform.h"

namespace korva {

void TraceInstance(TarnObject* instance, uint32_t count) {
  // The lines of the type written last are kept, as many copies as fill a
  // few kilobytes: a walk meets the instances of one type one after
  // another, and writing ready lines in blocks costs far less than
  // formatting or writing each.  A name stays where it is while the
  // interface object lives; after a shutdown its storage may hold another.
  static std::string lines;
  static size_t lineSize = 0;
  static const char* lineName = nullptr;
  static unsigned lineGeneration = 0;
  const char* name = instance->domainName();
  LibraryState& state = LibraryState::get();
  if (name != lineName || !state.isLive(lineGeneration)) {
    lines.assign("Name: ").append(name).push_back('\n');
    lineSize = lines.size();
    const size_t copies = std::max<size_t>(1, 4096 / lineSize);
    for (size_t i = 1; i < copies; ++i) lines.append(lines.data(), lineSize);
    lineName = name;
    lineGeneration = state.generation();
  }
  const size_t perBlock = lines.size() / lineSize;
  for (; count >= perBlock; count -= static_cast<uint32_t>(perBlock))
    platform::WriteUnlocked(stdout, lines.data(), lines.size());
  if (count > 0) platform::WriteUnlocked(stdout, lines.data(), count * lineSize);
}

bool IsA(TarnObject* object, const char* entityName) {
  if (object == nullptr) return false;
  TarnDomain* domain = object->domain();
  if (domain == nullptr || !domain->isActiveQuiet()) return false;
  auto named = [entityName](const TarnDomain* d) { return d->name() != nullptr && std::strcmp(d->name(), entityName) == 0; };
  if (named(domain)) return true;
  for (const TarnDomain* super : domain->allSupers())
    if (named(super)) return true;
  return false;
}

int FileIdOf(TarnObject* object) { return object != nullptr ? static_cast<int>(object->instanceNumber()) : 0; }

TarnObject* Selected(TarnObject* value) {
  // Selects of selects are followed; the bound only stops a select that
  // (through others) holds itself.
  for (int depth = 0; value != nullptr && depth < 8; ++depth) {
    // Most values are no select: the class's node kind says so without the
    // cost of a failed cast through the virtual base.
    if (value->typePtr()->nodeType() != kNodeUnion) return value;
    TarnUnion* select = dynamic_cast<TarnUnion*>(value);
    if (select == nullptr) return value;
    TarnAttribute* member = select->attribute();
    if (member == nullptr || !IsObjectNode(select->slotType(member)->nodeType())) return nullptr;
    value = select->getObject(member);
  }
  return nullptr;
}

const std::vector<TarnAttribute*>& AttributesOf(TarnObject* instance) {
  static const std::vector<TarnAttribute*> kNone;
  TarnDomain* domain = instance != nullptr ? instance->domain() : nullptr;
  return domain != nullptr ? domain->allAttributes() : kNone;
}

namespace {

// The attribute `name` of the instance's domain, or null (silently).
TarnAttribute* Find(TarnObject* object, const char* name) {
  TarnDomain* domain = object != nullptr ? object->domain() : nullptr;
  return domain != nullptr ? domain->findAttribute(name) : nullptr;
}

int SlotKind(TarnObject* object, TarnAttribute* attribute) {
  const TarnType* type = object->slotType(attribute);
  return type != nullptr ? type->nodeType() : kNodeUnknown;
}

bool IsNumberKind(int kind) {
  switch (kind) {
    case kNodeInt: case kNodeFloat: case kNodeDouble: case kNodeByte: case kNodeShort:
    case kNodeLong: case kNodeUShort: case kNodeUInt: case kNodeULong: case kNodeChar:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool ReadDouble(TarnObject* object, TarnAttribute* attribute, double* out) {
  if (object == nullptr || attribute == nullptr || !IsNumberKind(SlotKind(object, attribute))) return false;
  if (object->isUnset(attribute)) return false;
  *out = object->getDouble(attribute);
  return true;
}

bool ReadInteger(TarnObject* object, TarnAttribute* attribute, int* out) {
  if (object == nullptr || attribute == nullptr || !IsNumberKind(SlotKind(object, attribute))) return false;
  if (object->isUnset(attribute)) return false;
  *out = object->getInteger(attribute);
  return true;
}

bool ReadEnum(TarnObject* object, TarnAttribute* attribute, int* out) {
  if (object == nullptr || attribute == nullptr || SlotKind(object, attribute) != kNodeEnum) return false;
  if (object->isUnset(attribute)) return false;
  *out = object->getEnum(attribute);
  return true;
}

bool ReadDouble(TarnObject* object, const char* name, double* out) {
  return ReadDouble(object, Find(object, name), out);
}
bool ReadInteger(TarnObject* object, const char* name, int* out) {
  return ReadInteger(object, Find(object, name), out);
}
bool ReadEnum(TarnObject* object, const char* name, int* out) { return ReadEnum(object, Find(object, name), out); }

bool ReadBoolean(TarnObject* object, const char* name, bool* out) {
  TarnAttribute* attribute = Find(object, name);
  if (attribute == nullptr || object->isUnset(attribute)) return false;
  const int kind = SlotKind(object, attribute);
  if (kind != kNodeBoolean && kind != kNodeLogical) return false;
  const TarnBoolean value = object->getBoolean(attribute);
  if (value > 1) return false;
  *out = value == 1;
  return true;
}

const char* ReadString(TarnObject* object, TarnAttribute* attribute) {
  if (object == nullptr || attribute == nullptr || SlotKind(object, attribute) != kNodeString) return nullptr;
  return object->getString(attribute);
}
const char* ReadString(TarnObject* object, const char* name) { return ReadString(object, Find(object, name)); }

TarnObject* ReadObject(TarnObject* object, TarnAttribute* attribute) {
  if (object == nullptr || attribute == nullptr || !IsObjectNode(SlotKind(object, attribute))) return nullptr;
  return Selected(object->getObject(attribute));
}
TarnObject* ReadObject(TarnObject* object, const char* name) { return ReadObject(object, Find(object, name)); }

bool ReadSelectedDouble(TarnObject* object, const char* name, double* out) {
  TarnAttribute* attribute = Find(object, name);
  if (object == nullptr || attribute == nullptr || object->isUnset(attribute)) return false;
  if (IsNumberKind(SlotKind(object, attribute))) return ReadDouble(object, attribute, out);
  if (!IsObjectNode(SlotKind(object, attribute))) return false;
  TarnObject* value = object->getObject(attribute);
  // As Selected, bounded against a select that holds itself.
  for (int depth = 0; value != nullptr && depth < 8; ++depth) {
    if (value->typePtr()->nodeType() != kNodeUnion) return false;
    TarnUnion* select = dynamic_cast<TarnUnion*>(value);
    if (select == nullptr) return false;
    TarnAttribute* member = select->attribute();
    if (member == nullptr) return false;
    const int kind = select->slotType(member)->nodeType();
    if (IsNumberKind(kind)) {
      *out = select->getDouble(member);
      return true;
    }
    if (!IsObjectNode(kind)) return false;
    value = select->getObject(member);
  }
  return false;
}

TarnAggregate* ReadAggregate(TarnObject* object, const char* name) {
  static TarnDowncast<TarnAggregate> asAggregate;
  TarnObject* value = ReadObject(object, name);
  return value != nullptr ? asAggregate(value) : nullptr;
}

double ElementDouble(TarnAggregate* list, uint32_t index) {
  if (list == nullptr || index >= list->count()) return 0.0;
  return list->getDouble(static_cast<int>(index));
}

TarnObject* ElementObject(TarnAggregate* list, uint32_t index) {
  if (list == nullptr || index >= list->count()) return nullptr;
  TarnAttribute* element = list->elementAttribute();
  if (element == nullptr || !IsObjectNode(list->slotType(element)->nodeType())) return nullptr;
  return Selected(list->getObject(static_cast<int>(index)));
}

namespace {

void ReadList(TarnObject* object, const char* name, double xyz[3]) {
  TarnAggregate* list = ReadAggregate(object, name);
  for (uint32_t i = 0; i < 3; ++i) xyz[i] = ElementDouble(list, i);
}

// Applies one IfcAxis2Placement3D: adds its Location, takes its directions.
void Apply(TarnObject* placement, ComposedPlacement* out) {
  double location[3];
  ReadPoint(ReadObject(placement, "Location"), location);
  for (int i = 0; i < 3; ++i) out->start[i] += location[i];
  static const double kZ[3] = {0, 0, 1}, kX[3] = {1, 0, 0};
  TarnObject* axis = ReadObject(placement, "Axis");
  TarnObject* ref = ReadObject(placement, "RefDirection");
  if (axis != nullptr) ReadDirection(axis, out->axis); else std::copy(kZ, kZ + 3, out->axis);
  if (ref != nullptr) ReadDirection(ref, out->ref); else std::copy(kX, kX + 3, out->ref);
}

void ApplyRelative(TarnObject* localPlacement, TarnAttribute* attribute, ComposedPlacement* out) {
  TarnObject* relative = ReadObject(localPlacement, attribute);
  if (AnalysisDomains::Of(relative).isA(relative, Entity::kAxis2Placement3D)) Apply(relative, out);
}

// The placements of a chain met so far.  Chains are short: a few are kept
// in place, so that a member's placement costs no allocation.
class PlacementsSeen {
 public:
  explicit PlacementsSeen(TarnObject* first) { add(first); }
  // Adds `placement`; false when it was met already.
  bool add(TarnObject* placement) {
    if (std::find(near_, near_ + count_, placement) != near_ + count_ ||
        std::find(far_.begin(), far_.end(), placement) != far_.end())
      return false;
    if (count_ < kNear) near_[count_++] = placement;
    else far_.push_back(placement);
    return true;
  }

 private:
  static constexpr size_t kNear = 16;
  TarnObject* near_[kNear];
  size_t count_ = 0;
  std::vector<TarnObject*> far_;
};

}  // namespace

void ReadPoint(TarnObject* point, double xyz[3]) { ReadList(point, "Coordinates", xyz); }
void ReadDirection(TarnObject* direction, double xyz[3]) { ReadList(direction, "DirectionRatios", xyz); }

namespace {
// The chains shared while a SharedPlacementChains lives.
SharedPlacementChains* g_sharedChains = nullptr;
}  // namespace

SharedPlacementChains::SharedPlacementChains() : outer_(g_sharedChains) { g_sharedChains = this; }
SharedPlacementChains::~SharedPlacementChains() { g_sharedChains = outer_; }

const ComposedPlacement* SharedPlacementChains::find(TarnObject* first) const {
  auto it = chains_.find(first);
  return it != chains_.end() ? &it->second : nullptr;
}

ComposedPlacement ComposeMemberPlacement(TarnObject* objectPlacement) {
  ComposedPlacement out;
  if (objectPlacement == nullptr) return out;
  // A chain composed from the start (nothing applied to `out` yet) gives
  // the same sums whoever is below it, so it can be shared; one that loops
  // depends on where it was entered and is not.
  bool fresh = true;
  for (TarnAttribute* a : AttributesOf(objectPlacement)) {
    if (Named(a, "PlacementRelTo")) {
      TarnObject* first = ReadObject(objectPlacement, a);
      const ComposedPlacement* shared =
          fresh && first != nullptr && g_sharedChains != nullptr ? g_sharedChains->find(first) : nullptr;
      if (shared != nullptr) {
        out = *shared;
        fresh = false;
        continue;
      }
      // The ancestors, nearest first; a chain that loops ends where it
      // comes back.
      PlacementsSeen seen(objectPlacement);
      TarnObject* next = first;
      while (next != nullptr && seen.add(next)) {
        TarnObject* current = next;
        next = nullptr;
        for (TarnAttribute* b : AttributesOf(current)) {
          if (Named(b, "PlacementRelTo")) next = ReadObject(current, b);
          else if (Named(b, "RelativePlacement")) ApplyRelative(current, b, &out);
        }
      }
      if (fresh && first != nullptr && next == nullptr && g_sharedChains != nullptr) g_sharedChains->add(first, out);
      fresh = false;
    } else if (Named(a, "RelativePlacement")) {
      ApplyRelative(objectPlacement, a, &out);
      fresh = false;
    }
  }
  return out;
}

void ForEachShapeRepresentation(TarnObject* productRepresentation,
                                const std::function<void(const char*, TarnObject*)>& visit) {
  TarnAggregate* representations = ReadAggregate(productRepresentation, "Representations");
  if (representations == nullptr) return;
  for (uint32_t i = 0; i < representations->count(); ++i) {
    TarnObject* shape = ElementObject(representations, i);
    if (!AnalysisDomains::Of(shape).isA(shape, Entity::kRepresentation)) continue;
    visit(ReadString(shape, "RepresentationType"), ElementObject(ReadAggregate(shape, "Items"), 0));
  }
}

void ForEachRepresentationItem(TarnObject* productRepresentation, const std::function<bool(TarnObject*)>& visit) {
  TarnAggregate* representations = ReadAggregate(productRepresentation, "Representations");
  for (uint32_t i = 0; representations != nullptr && i < representations->count(); ++i) {
    TarnObject* shape = ElementObject(representations, i);
    if (!AnalysisDomains::Of(shape).isA(shape, Entity::kRepresentation)) continue;
    TarnAggregate* items = ReadAggregate(shape, "Items");
    for (uint32_t j = 0; items != nullptr && j < items->count(); ++j)
      if (visit(ElementObject(items, j))) return;
  }
}

TarnReferrers Referrers(TarnObject* object) {
  TarnDesign* design = object != nullptr ? object->design() : nullptr;
  if (design == nullptr || !design->hasBackPointers()) return TarnReferrers();
  return backPointers(object);
}

}  // namespace korva
