#include "import/analysis_import.h"

#include "import/analysis_domains.h"
#include "import/analysis_members.h"
#include "import/analysis_reading.h"
#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "import/material_import.h"
#include "import/profile_import.h"
#include "import/unit_import.h"
#include "objdb/back_pointers.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/extent_walk.h"

namespace korva {
namespace {

// The kinds a census counts.  Each is an entity compared exactly (its
// subtypes are kinds of their own or are not counted), but for the varying
// linear action, which is counted and read as a linear action, and the
// extended material properties, whose table is told by the properties
// they hold.
enum Kind {
  kModel,
  kGeneralMaterial,
  kSteelMaterial,
  kConcreteMaterial,
  kProfile,
  kCurveMember,
  kSurfaceMember,
  kPointConnection,
  kLoadGroup,
  kPointAction,
  kLinearAction,
  kKinds,
  kNoKind = kKinds,
  kProject,
  kExtendedMaterial
};

struct KindEntity {
  Entity entity;
  Kind kind;
};

const KindEntity kKindEntities[] = {
    {Entity::kStructuralAnalysisModel, kModel},
    {Entity::kGeneralMaterialProperties, kGeneralMaterial},
    {Entity::kMechanicalMaterialProperties, kGeneralMaterial},
    {Entity::kMechanicalSteelMaterialProperties, kSteelMaterial},
    {Entity::kMechanicalConcreteMaterialProperties, kConcreteMaterial},
    {Entity::kExtendedMaterialProperties, kExtendedMaterial},
    {Entity::kStructuralProfileProperties, kProfile},
    {Entity::kStructuralCurveMember, kCurveMember},
    {Entity::kStructuralSurfaceMember, kSurfaceMember},
    {Entity::kStructuralPointConnection, kPointConnection},
    {Entity::kStructuralLoadGroup, kLoadGroup},
    {Entity::kStructuralPointAction, kPointAction},
    {Entity::kStructuralLinearAction, kLinearAction},
    {Entity::kStructuralLinearActionVarying, kLinearAction},
    {Entity::kProject, kProject},
};

// The kind of the instances of one domain, by the domains of its
// dictionary.
Kind KindOfDomain(const AnalysisDomains& domains, TarnDomain* domain) {
  if (domain == nullptr) return kNoKind;
  for (const KindEntity& k : kKindEntities)
    if (domains.domain(k.entity) == domain) return k.kind;
  return kNoKind;
}

Kind KindOf(const AnalysisDomains& domains, TarnObject* instance) {
  return KindOfDomain(domains, instance->domain());
}

// The table the values of an instance of kind `kind` go to; extended
// material properties are told apart by the names of their properties.
Kind TableOf(TarnObject* instance, Kind kind) {
  if (kind != kExtendedMaterial) return kind;
  switch (ExtendedMaterialTable(instance)) {
    case MaterialTable::kSteel: return kSteelMaterial;
    case MaterialTable::kConcrete: return kConcreteMaterial;
    case MaterialTable::kGeneral: return kGeneralMaterial;
    default: return kNoKind;
  }
}

// Calls visit(instance, kind) for every entity instance of the design's
// data sections whose type is IfcProject or one of the kinds, in the order a
// walk over the design meets them.  All instances of an extent share its
// domain, so the kind is found once per extent, not once per instance.
template <class Visit>
void ForEachKindInstance(TarnDesign* design, Visit visit) {
  if (design == nullptr) return;
  const AnalysisDomains& domains = AnalysisDomains::Of(design);
  ForEachDataExtent(design, [&](TarnExtent* e) {
    TarnDomain* domain = e->domain();
    if (domain == nullptr || !domain->isEntity()) return;
    const Kind kind = KindOfDomain(domains, domain);
    if (kind == kNoKind) return;
    for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
      const Kind table = TableOf(o, kind);
      if (table != kNoKind) visit(o, table);
    }
  });
}

// Counts the kinds of a design, sets the availability flag and reads the
// units of every project met.
void Census(TarnDesign* design, int counts[kKinds]) {
  AnalysisImportState& state = AnalysisImport();
  state.available = 0;
  AllocateUnits(0, &state);
  for (int k = 0; k < kKinds; ++k) counts[k] = 0;
  ForEachKindInstance(design, [&](TarnObject* instance, Kind kind) {
    if (kind == kProject) {
      ReadProjectUnits(instance, &state);
      return;
    }
    if (kind == kModel) state.available = -1;
    ++counts[kind];
  });
}

// Reads one instance of the model, material and profile kinds into the
// next record of its table; false for other kinds.
bool FillProperties(TarnObject* instance, Kind kind) {
  AnalysisImportState& state = AnalysisImport();
  switch (kind) {
    case kModel: ReadAnalysisModel(instance, state.models.next()); return true;
    case kGeneralMaterial: ReadGeneralMaterial(instance, state.generalMaterials.next()); return true;
    case kSteelMaterial: ReadSteelMaterial(instance, state.steelMaterials.next()); return true;
    case kConcreteMaterial: ReadConcreteMaterial(instance, state.concreteMaterials.next()); return true;
    case kProfile: ReadProfileProperties(instance, state.profiles.next()); return true;
    default: return false;
  }
}

template <class Table>
void AllocateFromCounter(Table* table) {
  table->allocate(table->counter());
}

void AllocatePropertyTables() {
  AnalysisImportState& state = AnalysisImport();
  AllocateFromCounter(&state.models);
  AllocateFromCounter(&state.generalMaterials);
  AllocateFromCounter(&state.steelMaterials);
  AllocateFromCounter(&state.concreteMaterials);
  AllocateFromCounter(&state.profiles);
}

// The members and point connections that the group assignments of the
// analysis model put into it, in the order of the assignments and of
// their related objects.
void FillModelMembers(TarnObject* model) {
  AnalysisImportState& state = AnalysisImport();
  const AnalysisDomains& domains = AnalysisDomains::Of(model);
  const TarnReferrers referrers = Referrers(model);
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* assignment = referrers.get(i);
    if (!domains.isExactly(assignment, Entity::kRelAssignsToGroup)) continue;
    TarnAggregate* related = ReadAggregate(assignment, "RelatedObjects");
    for (uint32_t j = 0; related != nullptr && j < related->count(); ++j) {
      TarnObject* item = ElementObject(related, j);
      if (item == nullptr) continue;
      switch (KindOf(domains, item)) {
        case kCurveMember: ReadCurveMember(item, state.curveMembers.next()); break;
        case kSurfaceMember: ReadSurfaceMember(item, state.surfaceMembers.next()); break;
        case kPointConnection: ReadPointConnection(item, state.pointConnections.next()); break;
        default: break;
      }
    }
  }
}

// The counters of the kinds that both the building import and the
// analysis-model census fill.
void StoreSharedCounts(const int counts[kKinds]) {
  AnalysisImportState& state = AnalysisImport();
  state.models.setCounter(counts[kModel]);
  state.generalMaterials.setCounter(counts[kGeneralMaterial]);
  state.steelMaterials.setCounter(counts[kSteelMaterial]);
  state.concreteMaterials.setCounter(counts[kConcreteMaterial]);
  state.profiles.setCounter(counts[kProfile]);
  state.curveMembers.setCounter(counts[kCurveMember]);
  state.pointConnections.setCounter(counts[kPointConnection]);
}

// One pass of the model fill over the whole design: every entity instance
// is traced, and `read` is called for the instances of the extents whose
// domain `wanted` accepts, each right after its trace line.
template <class Wanted, class Read>
void FillPass(TarnDesign* design, Wanted wanted, Read read) {
  ForEachEntityExtent(design, [&](TarnExtent* e) {
    if (!wanted(e->domain())) {
      TraceInstance(e->first(), e->count());
      return;
    }
    for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
      PrefetchFollowing(o);
      TraceInstance(o);
      read(o);
    }
  });
}

}  // namespace

void CountAnalysisKinds(TarnDesign* design) {
  int counts[kKinds];
  Census(design, counts);
  StoreSharedCounts(counts);
}

void FillAnalysisKinds(TarnDesign* design) {
  AnalysisImportState& state = AnalysisImport();
  SharedPlacementChains chains;
  AllocatePropertyTables();
  AllocateFromCounter(&state.curveMembers);
  AllocateFromCounter(&state.pointConnections);
  ForEachKindInstance(design, [&](TarnObject* instance, Kind kind) {
    if (FillProperties(instance, kind)) return;
    if (kind == kCurveMember) ReadCurveMember(instance, state.curveMembers.next());
    else if (kind == kPointConnection) ReadPointConnection(instance, state.pointConnections.next());
  });
}

void CensusAnalysisModels(TarnDesign* design) {
  int counts[kKinds];
  Census(design, counts);
  StoreSharedCounts(counts);
  AnalysisImportState& state = AnalysisImport();
  state.surfaceMembers.setCounter(counts[kSurfaceMember]);
  state.loadGroups.setCounter(counts[kLoadGroup]);
  state.pointActions.setCounter(counts[kPointAction]);
  state.linearActions.setCounter(counts[kLinearAction]);
  ResetBuildingCounters(0);

  AllocatePropertyTables();
  ForEachKindInstance(design, [](TarnObject* instance, Kind kind) { FillProperties(instance, kind); });
}

void FillAnalysisModel(TarnDesign* design, int modelFileId) {
  ResetBuildingCounters(-1);
  AnalysisImportState& state = AnalysisImport();
  // Capacities come from the census counts; a table grows when a member
  // is grouped into the model more than once.
  AllocateFromCounter(&state.curveMembers);
  AllocateFromCounter(&state.surfaceMembers);
  AllocateFromCounter(&state.pointConnections);
  AllocateFromCounter(&state.loadGroups);
  AllocateFromCounter(&state.pointActions);
  AllocateFromCounter(&state.linearActions);
  if (design == nullptr) return;

  computeBackPointers(design);
  SharedPlacementChains chains;
  const AnalysisDomains& domains = AnalysisDomains::Of(design);
  FillPass(design, [&](TarnDomain* d) { return modelFileId != 0 && domains.domainIsA(d, Entity::kStructuralAnalysisModel); },
           [&](TarnObject* instance) {
             if (FileIdOf(instance) == modelFileId) FillModelMembers(instance);
           });
  FillPass(design, [&](TarnDomain* d) { return KindOfDomain(domains, d) == kLoadGroup; },
           [&](TarnObject* instance) { ReadLoadGroup(instance, state.loadGroups.next()); });
  FillPass(design, [&](TarnDomain* d) { return KindOfDomain(domains, d) == kPointAction; },
           [&](TarnObject* instance) { ReadPointAction(instance, state.pointActions.next()); });
  FillPass(design, [&](TarnDomain* d) { return KindOfDomain(domains, d) == kLinearAction; },
           [&](TarnObject* instance) { ReadLinearAction(instance, state.linearActions.next()); });
}

}  // namespace korva
