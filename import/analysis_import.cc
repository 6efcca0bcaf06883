#include "import/analysis_import.h"

#include <cstring>

#include "ifc2x2/ifc2x2.h"
#include "import/analysis_members.h"
#include "import/analysis_reading.h"
#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "import/material_import.h"
#include "import/profile_import.h"
#include "import/unit_import.h"
#include "objdb/back_pointers.h"

namespace korva {
namespace {

// The kinds a census counts, by exact type name.
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
  kNoKind = kKinds
};

const char* const kTypeNames[kKinds] = {
    "IfcStructuralAnalysisModel",
    "IfcGeneralMaterialProperties",
    "IfcMechanicalSteelMaterialProperties",
    "IfcMechanicalConcreteMaterialProperties",
    "IfcStructuralProfileProperties",
    "IfcStructuralCurveMember",
    "IfcStructuralSurfaceMember",
    "IfcStructuralPointConnection",
    "IfcStructuralLoadGroup",
    "IfcStructuralPointAction",
    "IfcStructuralLinearAction",
};

Kind KindOfName(const char* name) {
  if (name == nullptr) return kNoKind;
  for (int k = 0; k < kKinds; ++k)
    if (std::strcmp(name, kTypeNames[k]) == 0) return static_cast<Kind>(k);
  return kNoKind;
}

Kind KindOf(TarnObject* instance) {
  TarnDomain* domain = instance->domain();
  return KindOfName(domain != nullptr ? domain->name() : nullptr);
}

// Calls visit(instance, kind) for every entity instance of the design's
// data sections whose type is IfcProject or one of the kinds, in the order a
// walk over the design meets them.  All instances of an extent share its
// type, so the type is compared once per extent, not once per instance.
template <class Visit>
void ForEachKindInstance(TarnDesign* design, Visit visit) {
  if (design == nullptr) return;
  for (TarnSection* section : design->sections()) {
    if (section->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = section->firstExtent(); e != nullptr; e = e->next()) {
      TarnDomain* domain = e->domain();
      if (domain == nullptr || !domain->isEntity()) continue;
      const bool project = domain->name() != nullptr && std::strcmp(domain->name(), "IfcProject") == 0;
      const Kind kind = project ? kNoKind : KindOfName(domain->name());
      if (!project && kind == kNoKind) continue;
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) visit(o, kind);
    }
  }
}

// Counts the kinds of a design, sets the availability flag and reads the
// units of every project met.
void Census(TarnDesign* design, int counts[kKinds]) {
  AnalysisImportState& state = AnalysisImport();
  state.available = 0;
  AllocateUnits(0, &state);
  for (int k = 0; k < kKinds; ++k) counts[k] = 0;
  ForEachKindInstance(design, [&](TarnObject* instance, Kind kind) {
    if (kind == kNoKind) {  // an IfcProject
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
    case kConcreteMaterial: state.concreteMaterials.next(); return true;  // counted, not read
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
  const TarnReferrers referrers = Referrers(model);
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* assignment = referrers.get(i);
    if (!IsType(assignment, "IfcRelAssignsToGroup")) continue;
    TarnAggregate* related = ReadAggregate(assignment, "RelatedObjects");
    for (uint32_t j = 0; related != nullptr && j < related->count(); ++j) {
      TarnObject* item = ElementObject(related, j);
      if (item == nullptr) continue;
      switch (KindOf(item)) {
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
  ForEachInstance(design, [&](TarnObject* instance) {
    TraceInstance(instance);
    if (modelFileId != 0 && FileIdOf(instance) == modelFileId && AsA<IfcStructuralAnalysisModel>(instance) != nullptr)
      FillModelMembers(instance);
  });
  ForEachInstance(design, [&](TarnObject* instance) {
    TraceInstance(instance);
    if (KindOf(instance) == kLoadGroup) ReadLoadGroup(instance, state.loadGroups.next());
  });
  ForEachInstance(design, [&](TarnObject* instance) {
    TraceInstance(instance);
    if (KindOf(instance) == kPointAction) ReadPointAction(instance, state.pointActions.next());
  });
  ForEachInstance(design, [&](TarnObject* instance) {
    TraceInstance(instance);
    if (KindOf(instance) == kLinearAction) ReadLinearAction(instance, state.linearActions.next());
  });
}

}  // namespace korva
