#include "export/analysis_export.h"

#include <algorithm>
#include <cstdio>

#include "api/library_state.h"
#include "ifc2x2/geometry_builders.h"
#include "ifc2x2/new_entity.h"
#include "ifc2x2/schema.h"
#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/extent_walk.h"
#include "objdb/interface.h"

namespace korva {

namespace {

// The analysis export's skeleton: a new GlobalId for every rooted object,
// null texts and an unknown unit name left unset.
SkeletonStyle Style() {
  SkeletonStyle style;
  style.fixedIdentifiers = false;
  style.nullTexts = NullTexts::kUnset;
  style.unitNameFallback = UnitNameFallback::kUnset;
  return style;
}

}  // namespace

// --- One export --------------------------------------------------------------

std::unique_ptr<AnalysisModelExport> AnalysisModelExport::Open(const HeaderArguments& args) {
  std::unique_ptr<AnalysisModelExport> e(new AnalysisModelExport());
  if (!StartProjectSkeleton(args, Style(), &e->skeleton_)) return nullptr;
  if (!IsSIUnitName(args.unitName))
    TARN().warning("IFC export: unknown length unit name index %d; the unit name is left unset", args.unitName);
  e->generation_ = LibraryState::get().generation();
  if (e->skeleton_.design->name() != nullptr) e->name_ = e->skeleton_.design->name();
  if (IfcProject* project = e->skeleton_.project) {
    e->project_ = project;
    if (project->GlobalId() != nullptr) e->projectId_ = project->GlobalId();
  }
  return e;
}

bool AnalysisModelExport::isLive() const {
  TarnDesign* d = skeleton_.design;
  if (!LibraryState::get().holds({d, generation_})) return false;
  // A design deleted and another made at the same address would pass the
  // test above; it would not hold this project.
  if (project_ == nullptr) return true;
  if (FindDataExtent(d, [&](TarnExtent* e) { return e->first() == project_; }) == nullptr) return false;
  const char* id = skeleton_.project->GlobalId();
  return projectId_ == (id != nullptr ? id : "");
}

void AnalysisModelExport::makeStoreys(int count, const double* elevations) {
  AddNumberedStoreys(&skeleton_, count, elevations, true);
  contents_.assign(skeleton_.storeys.size(), {});
}

void AnalysisModelExport::addStorey(const char* name, double elevation) {
  IfcBuildingStorey* storey = AddStorey(&skeleton_, name, &elevation, true);
  char containment[32];
  std::snprintf(containment, sizeof containment, "StroyStructure%d", storeyCount());
  AddStoreyContainment(&skeleton_, storey, containment);
  contents_.emplace_back();
}

void AnalysisModelExport::addModel(const char* name, const char* description) {
  TarnDesign* d = skeleton_.design;
  model_ = NewEntity<IfcStructuralAnalysisModel>(d);
  if (model_ != nullptr) {
    model_->Name(name);
    SetRoot(model_, skeleton_.ownerHistory);
    model_->Description(description);
    model_->PredefinedType(IfcAnalysisModelTypeEnum_LOADING_3D);
    model_->OrientationOf2DPlane(skeleton_.worldAxes);
  }
  group_ = NewEntity<IfcRelAssignsToGroup>(d);
  if (group_ != nullptr) {
    SetRoot(group_, skeleton_.ownerHistory);
    group_->Description("Structural Analysis Model");
    group_->RelatedObjectsType(IfcObjectTypeEnum_NOTDEFINED);
    group_->RelatingGroup(model_);
  }
}

void AnalysisModelExport::start(IfcProduct* item, const char* name) {
  TarnDesign* d = skeleton_.design;
  if (item != nullptr) {
    item->Name(name);
    SetRoot(item, skeleton_.ownerHistory);
  }
  IfcLocalPlacement* placement = NewLocalPlacement(d, NewOriginAxes(d), skeleton_.sharedPlacement);
  if (item != nullptr) item->ObjectPlacement(placement);
}

int AnalysisModelExport::finish(IfcProduct* item, IfcRepresentationItem* topology, const char* representationType,
                                int storey, IfcStructuralPointConnection* node) {
  IfcProductRepresentation* representation =
      NewTopologyRepresentation(skeleton_.design, topology, representationType, skeleton_.modelContext);
  if (item == nullptr) return 0;
  item->Representation(representation);
  const char* name = item->Name() != nullptr ? item->Name() : "";
  if (group_ != nullptr) {
    group_->RelatedObjects()->append(item);
  } else {
    TARN().warning("Analysis-model export: item '%s' is in no analysis model (none was added yet)", name);
  }
  if (storey < 1 || storey > storeyCount()) {
    TARN().warning("Analysis-model export: item '%s' names storey %d of %d; it is contained in no storey", name,
                   storey, storeyCount());
    return 0;
  }
  IfcRelContainedInSpatialStructure* containment = skeleton_.containments[static_cast<size_t>(storey - 1)];
  if (containment == nullptr || !containment->RelatedElements()->append(item)) return 0;
  std::vector<IfcStructuralPointConnection*>& elements = contents_[static_cast<size_t>(storey - 1)];
  elements.push_back(node);
  return static_cast<int>(elements.size());
}

IfcStructuralPointConnection* AnalysisModelExport::node(int storey, int position) const {
  if (storey < 1 || storey > storeyCount()) return nullptr;
  const std::vector<IfcStructuralPointConnection*>& elements = contents_[static_cast<size_t>(storey - 1)];
  if (position < 1 || static_cast<size_t>(position) > elements.size()) return nullptr;
  return elements[static_cast<size_t>(position - 1)];
}

void AnalysisModelExport::connect(IfcStructuralMember* member, IfcStructuralPointConnection* node,
                                  const char* name) {
  if (member == nullptr || node == nullptr) return;
  IfcRelConnectsStructuralMember* rel = NewEntity<IfcRelConnectsStructuralMember>(skeleton_.design);
  if (rel == nullptr) return;
  rel->Name(name);
  SetRoot(rel, skeleton_.ownerHistory);
  rel->RelatingStructuralMember(member);
  rel->RelatedStructuralConnection(node);
}

int AnalysisModelExport::addPointConnection(const char* name, int storey, double x, double y, double z) {
  IfcStructuralPointConnection* node = NewEntity<IfcStructuralPointConnection>(skeleton_.design);
  start(node, name);
  IfcVertexPoint* vertex = NewVertexPoint(skeleton_.design, x, y, z);
  return finish(node, vertex, "Vertex", storey, node);
}

void AnalysisModelExport::addCurveMember(const char* name, int storey, int startStorey, int endStorey,
                                         int startPosition, int endPosition, const double start[3],
                                         const double end[3]) {
  IfcStructuralCurveMember* member = NewEntity<IfcStructuralCurveMember>(skeleton_.design);
  if (member != nullptr) member->PredefinedType(IfcStructuralCurveTypeEnum_NOTDEFINED);
  this->start(member, name);
  IfcEdge* edge = NewEdge(skeleton_.design, start, end);
  finish(member, edge, "Edge", storey, nullptr);
  connect(member, node(startStorey, startPosition), "1");
  connect(member, node(endStorey, endPosition), "2");
}

void AnalysisModelExport::addSurfaceMember(const char* name, int storey, int count, const int* storeys,
                                           const int* positions, const double* xs, const double* ys,
                                           const double* zs) {
  TarnDesign* d = skeleton_.design;
  count = std::max(count, 0);
  IfcStructuralSurfaceMember* member = NewEntity<IfcStructuralSurfaceMember>(d);
  if (member != nullptr) member->PredefinedType(IfcStructuralSurfaceTypeEnum_NOTDEFINED);
  start(member, name);
  std::vector<IfcCartesianPoint*> corners;
  for (int i = 0; i < count; ++i) corners.push_back(NewPoint(d, xs[i], ys[i], zs[i]));
  finish(member, NewFace(d, corners), "Face", storey, nullptr);
  for (int i = 0; i < count; ++i) {
    char relName[16];
    std::snprintf(relName, sizeof relName, " %d", i + 1);
    connect(member, node(storeys[i], positions[i]), relName);
  }
}

bool AnalysisModelExport::close(const char* fileName, const char* directory) {
  AggregateSpatialStructure(&skeleton_);
  contents_.clear();
  model_ = nullptr;
  group_ = nullptr;
  return FinishProjectSkeleton(&skeleton_, fileName, directory, true);
}

void AnalysisModelExport::discard() {
  TarnDesign* d = skeleton_.design;
  skeleton_ = ProjectSkeleton();
  contents_.clear();
  model_ = nullptr;
  group_ = nullptr;
  DiscardIfcDesign(d);
}

// --- The export in progress ----------------------------------------------------

namespace analysis_export {

namespace {

std::unique_ptr<AnalysisModelExport>& Slot() { return LibraryState::get().analysisExport(); }

// The open export for `call`, or null after reporting that there is none.
AnalysisModelExport* Require(const char* call) {
  AnalysisModelExport* e = Current();
  if (e == nullptr)
    TARN().warning("Analysis-model export: %s ignored: no export is open", call);
  return e;
}

}  // namespace

AnalysisModelExport* Current() {
  std::unique_ptr<AnalysisModelExport>& slot = Slot();
  if (slot && !slot->isLive()) {
    TARN().warning("Analysis-model export: the export of '%s' has ended unsaved: its design is gone",
                   slot->name().c_str());
    slot.reset();
  }
  return slot.get();
}

int OpenFile(const HeaderArguments& args) {
  if (AnalysisModelExport* old = Current()) {
    TARN().warning("Analysis-model export: the unfinished export of '%s' is discarded", old->name().c_str());
    old->discard();
    Slot().reset();
  }
  Slot() = AnalysisModelExport::Open(args);
  if (!Slot())
    TARN().warning("Analysis-model export: '%s' not opened: the IFC2x2 schema cannot be loaded",
                   args.fileName != nullptr ? args.fileName : "");
  return -1;
}

int MakeStoreys(int count, const double* elevations) {
  AnalysisModelExport* e = Require("ExportAnalysisModelBuidling");
  if (e == nullptr) return -1;
  if (count > 0 && elevations == nullptr) {
    TARN().warning("Analysis-model export: ExportAnalysisModelBuidling ignored: %d storeys without elevations",
                   count);
    return -1;
  }
  e->makeStoreys(count, elevations);
  return -1;
}

int AddStorey(const char* name, double elevation) {
  if (AnalysisModelExport* e = Require("ExportAnalysisModelBuidlingOneStory")) e->addStorey(name, elevation);
  return -1;
}

int AddModel(const char* name, const char* description) {
  if (AnalysisModelExport* e = Require("ExportAnalysisModelAddAnalysisModel")) e->addModel(name, description);
  return -1;
}

int AddPointConnection(const char* name, int storey, double x, double y, double z) {
  AnalysisModelExport* e = Require("ExportAnalysisModelAddOnePointConnection");
  return e != nullptr ? e->addPointConnection(name, storey, x, y, z) : 0;
}

int AddCurveMember(const char* name, int storey, int startStorey, int endStorey, int startPosition,
                   int endPosition, double x1, double y1, double z1, double x2, double y2, double z2) {
  AnalysisModelExport* e = Require("ExportAnalysisModelAddOneCurveMember");
  if (e == nullptr) return -1;
  const double start[3] = {x1, y1, z1};
  const double end[3] = {x2, y2, z2};
  e->addCurveMember(name, storey, startStorey, endStorey, startPosition, endPosition, start, end);
  return -1;
}

int AddSurfaceMember(const char* name, int storey, int count, const int* storeys, const int* positions,
                     const double* xs, const double* ys, const double* zs) {
  AnalysisModelExport* e = Require("ExportAnalysisModelAddOneSurfaceMember");
  if (e == nullptr) return -1;
  if (count > 0 && (storeys == nullptr || positions == nullptr || xs == nullptr || ys == nullptr || zs == nullptr)) {
    TARN().warning("Analysis-model export: ExportAnalysisModelAddOneSurfaceMember ignored: "
                   "%d corners and a missing array", count);
    return -1;
  }
  e->addSurfaceMember(name, storey, count, storeys, positions, xs, ys, zs);
  return -1;
}

int CloseFile(const char* fileName, const char* directory) {
  if (Require("ExportAnalysisModelCloseFile") == nullptr) return -1;
  std::unique_ptr<AnalysisModelExport> ending = std::move(Slot());
  ending->close(fileName, directory);
  return -1;
}

}  // namespace analysis_export
}  // namespace korva
