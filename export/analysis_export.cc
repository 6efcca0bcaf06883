#include "export/analysis_export.h"

#include <algorithm>
#include <cstdio>

#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/interface.h"

namespace korva {

using ifcexport::NewEntity;
using ifcexport::NewPoint;
using ifcexport::NewDirection;
using ifcexport::StartRooted;

// --- One export --------------------------------------------------------------

std::unique_ptr<AnalysisModelExport> AnalysisModelExport::Open(const ifcexport::HeaderArguments& args) {
  std::unique_ptr<AnalysisModelExport> e(new AnalysisModelExport());
  if (!ifcexport::StartSkeleton(args, &e->skeleton_)) return nullptr;
  e->generation_ = TARN().generation();
  if (e->skeleton_.design->name() != nullptr) e->name_ = e->skeleton_.design->name();
  if (IfcProject* project = e->skeleton_.project) {
    e->project_ = project;
    if (project->GlobalId() != nullptr) e->projectId_ = project->GlobalId();
  }
  return e;
}

bool AnalysisModelExport::isLive() const {
  TarnInterface& tarn = TARN();
  TarnDesign* d = skeleton_.design;
  if (d == nullptr || tarn.state() != TarnInterface::kInitialized || tarn.generation() != generation_)
    return false;
  // Only pointers are compared until the design is known to exist.
  const std::vector<TarnDesign*> designs = tarn.designs();
  if (std::find(designs.begin(), designs.end(), d) == designs.end() || d->markedForDeletion()) return false;
  // A design deleted and another made at the same address would pass the
  // tests above; it would not hold this project.
  if (project_ == nullptr) return true;
  for (TarnSection* section : d->sections()) {
    if (section->kind() != TarnSection::kData) continue;
    for (TarnExtent* e = section->firstExtent(); e != nullptr; e = e->next()) {
      if (e->first() != project_) continue;
      const char* id = skeleton_.project->GlobalId();
      return projectId_ == (id != nullptr ? id : "");
    }
  }
  return false;
}

void AnalysisModelExport::makeStoreys(int count, const double* elevations) {
  storeys_.clear();
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Stroy%d", i + 1);
    Storey s;
    s.storey = ifcexport::NewStorey(skeleton_, name, &elevations[i + 1]);
    storeys_.push_back(s);
  }
  for (int i = 0; i < count; ++i)
    storeys_[static_cast<size_t>(i)].containment =
        ifcexport::NewStoreyContainment(skeleton_, storeys_[static_cast<size_t>(i)].storey, i + 1);
}

void AnalysisModelExport::addStorey(const char* name, double elevation) {
  Storey s;
  s.storey = ifcexport::NewStorey(skeleton_, name, &elevation);
  s.containment = ifcexport::NewStoreyContainment(skeleton_, s.storey, static_cast<int>(storeys_.size()) + 1);
  storeys_.push_back(s);
}

void AnalysisModelExport::addModel(const char* name, const char* description) {
  TarnDesign* d = skeleton_.design;
  model_ = NewEntity<IfcStructuralAnalysisModel>(d);
  if (model_ != nullptr) {
    StartRooted(skeleton_, model_, name);
    model_->Description(description);
    model_->PredefinedType(IfcAnalysisModelTypeEnum_LOADING_3D);
    model_->OrientationOf2DPlane(skeleton_.worldAxes);
  }
  group_ = NewEntity<IfcRelAssignsToGroup>(d);
  if (group_ != nullptr) {
    StartRooted(skeleton_, group_, nullptr);
    group_->Description("Structural Analysis Model");
    group_->RelatedObjectsType(IfcObjectTypeEnum_NOTDEFINED);
    group_->RelatingGroup(model_);
  }
}

void AnalysisModelExport::place(IfcProduct* item) {
  TarnDesign* d = skeleton_.design;
  IfcCartesianPoint* origin = NewPoint(d, 0.0, 0.0, 0.0);
  IfcDirection* axis = NewDirection(d, 0.0, 0.0, 1.0);
  IfcDirection* ref = NewDirection(d, 1.0, 0.0, 0.0);
  IfcAxis2Placement3D* axes = NewEntity<IfcAxis2Placement3D>(d);
  if (axes != nullptr) {
    axes->Location(origin);
    axes->Axis(axis);
    axes->RefDirection(ref);
  }
  IfcAxis2Placement* relative = NewEntity<IfcAxis2Placement>(d);
  if (relative != nullptr) relative->_IfcAxis2Placement3D(axes);
  IfcLocalPlacement* placement = NewEntity<IfcLocalPlacement>(d);
  if (placement != nullptr) {
    placement->RelativePlacement(relative);
    placement->PlacementRelTo(skeleton_.sharedPlacement);
  }
  if (item != nullptr) item->ObjectPlacement(placement);
}

void AnalysisModelExport::represent(IfcProduct* item, IfcRepresentationItem* topology,
                                    const char* representationType) {
  TarnDesign* d = skeleton_.design;
  IfcTopologyRepresentation* rep = NewEntity<IfcTopologyRepresentation>(d);
  if (rep != nullptr) {
    if (topology != nullptr) rep->Items()->append(topology);
    rep->ContextOfItems(skeleton_.modelContext);
    rep->RepresentationType(representationType);
  }
  IfcProductRepresentation* product = NewEntity<IfcProductRepresentation>(d);
  if (product != nullptr && rep != nullptr) product->Representations()->append(rep);
  if (item != nullptr) item->Representation(product);
}

int AnalysisModelExport::assign(IfcProduct* item, int storey, IfcStructuralPointConnection* node) {
  if (item == nullptr) return 0;
  if (group_ != nullptr) {
    group_->RelatedObjects()->append(item);
  } else {
    TARN().warning("Analysis-model export: item '%s' is in no analysis model (none was added yet)",
                   item->Name() != nullptr ? item->Name() : "");
  }
  if (storey < 1 || storey > storeyCount()) {
    TARN().warning("Analysis-model export: item '%s' names storey %d of %d; it is contained in no storey",
                   item->Name() != nullptr ? item->Name() : "", storey, storeyCount());
    return 0;
  }
  Storey& s = storeys_[static_cast<size_t>(storey - 1)];
  if (s.containment == nullptr || !s.containment->RelatedElements()->append(item)) return 0;
  s.elements.push_back(node);
  return static_cast<int>(s.elements.size());
}

IfcStructuralPointConnection* AnalysisModelExport::node(int storey, int position) const {
  if (storey < 1 || storey > storeyCount()) return nullptr;
  const Storey& s = storeys_[static_cast<size_t>(storey - 1)];
  if (position < 1 || static_cast<size_t>(position) > s.elements.size()) return nullptr;
  return s.elements[static_cast<size_t>(position - 1)];
}

void AnalysisModelExport::connect(IfcStructuralMember* member, IfcStructuralPointConnection* node,
                                  const char* name) {
  if (member == nullptr || node == nullptr) return;
  IfcRelConnectsStructuralMember* rel = NewEntity<IfcRelConnectsStructuralMember>(skeleton_.design);
  if (rel == nullptr) return;
  StartRooted(skeleton_, rel, name);
  rel->RelatingStructuralMember(member);
  rel->RelatedStructuralConnection(node);
}

IfcVertexPoint* AnalysisModelExport::vertex(double x, double y, double z) {
  IfcCartesianPoint* point = NewPoint(skeleton_.design, x, y, z);
  IfcVertexPoint* v = NewEntity<IfcVertexPoint>(skeleton_.design);
  if (v != nullptr) v->VertexGeometry(point);
  return v;
}

int AnalysisModelExport::addPointConnection(const char* name, int storey, double x, double y, double z) {
  IfcStructuralPointConnection* node = NewEntity<IfcStructuralPointConnection>(skeleton_.design);
  StartRooted(skeleton_, node, name);
  place(node);
  represent(node, vertex(x, y, z), "Vertex");
  return assign(node, storey, node);
}

void AnalysisModelExport::addCurveMember(const char* name, int storey, int startStorey, int endStorey,
                                         int startPosition, int endPosition, const double start[3],
                                         const double end[3]) {
  TarnDesign* d = skeleton_.design;
  IfcStructuralCurveMember* member = NewEntity<IfcStructuralCurveMember>(d);
  if (member != nullptr) {
    StartRooted(skeleton_, member, name);
    member->PredefinedType(IfcStructuralCurveTypeEnum_NOTDEFINED);
  }
  place(member);
  IfcVertexPoint* from = vertex(start[0], start[1], start[2]);
  IfcVertexPoint* to = vertex(end[0], end[1], end[2]);
  IfcEdge* edge = NewEntity<IfcEdge>(d);
  if (edge != nullptr) {
    edge->EdgeStart(from);
    edge->EdgeEnd(to);
  }
  represent(member, edge, "Edge");
  assign(member, storey, nullptr);
  connect(member, node(startStorey, startPosition), "1");
  connect(member, node(endStorey, endPosition), "2");
}

void AnalysisModelExport::addSurfaceMember(const char* name, int storey, int count, const int* storeys,
                                           const int* positions, const double* xs, const double* ys,
                                           const double* zs) {
  TarnDesign* d = skeleton_.design;
  count = std::max(count, 0);
  IfcStructuralSurfaceMember* member = NewEntity<IfcStructuralSurfaceMember>(d);
  if (member != nullptr) {
    StartRooted(skeleton_, member, name);
    member->PredefinedType(IfcStructuralSurfaceTypeEnum_NOTDEFINED);
  }
  place(member);
  IfcPolyLoop* loop = NewEntity<IfcPolyLoop>(d);
  std::vector<IfcCartesianPoint*> corners;
  for (int i = 0; i < count; ++i) corners.push_back(NewPoint(d, xs[i], ys[i], zs[i]));
  if (loop != nullptr) {
    ListOfIfcCartesianPoint* polygon = loop->Polygon();
    for (IfcCartesianPoint* p : corners)
      if (p != nullptr) polygon->append(p);
  }
  IfcFaceOuterBound* bound = NewEntity<IfcFaceOuterBound>(d);
  if (bound != nullptr) {
    bound->Bound(loop);
    bound->Orientation(kTrue);
  }
  IfcFace* face = NewEntity<IfcFace>(d);
  if (face != nullptr && bound != nullptr) face->Bounds()->append(bound);
  represent(member, face, "Face");
  assign(member, storey, nullptr);
  for (int i = 0; i < count; ++i) {
    char relName[16];
    std::snprintf(relName, sizeof relName, " %d", i + 1);
    connect(member, node(storeys[i], positions[i]), relName);
  }
}

bool AnalysisModelExport::close(const char* fileName, const char* directory) {
  std::vector<IfcBuildingStorey*> storeys;
  for (const Storey& s : storeys_) storeys.push_back(s.storey);
  ifcexport::AggregateSpatialStructure(skeleton_, storeys);
  storeys_.clear();
  model_ = nullptr;
  group_ = nullptr;
  return ifcexport::SaveAndShutDown(&skeleton_, fileName, directory);
}

void AnalysisModelExport::discard() {
  TarnDesign* d = skeleton_.design;
  skeleton_ = ifcexport::Skeleton();
  storeys_.clear();
  model_ = nullptr;
  group_ = nullptr;
  if (d == nullptr) return;
  d->emptyYourself();
  TARN().deleteDesign(d);
  TARN().emptyTrash();
}

// --- The export in progress ----------------------------------------------------

namespace analysis_export {

namespace {

std::unique_ptr<AnalysisModelExport>& Slot() {
  static std::unique_ptr<AnalysisModelExport> current;
  return current;
}

// The open export for `call`, or null after reporting that there is none.
AnalysisModelExport* Require(const char* call) {
  AnalysisModelExport* e = Current();
  if (e == nullptr)
    TARN().warning("Analysis-model export: %s ignored: no export is open", call);
  return e;
}

// Runs `body`, turning a failed allocation into a report and `neutral`.
template <typename Body>
int Guarded(const char* call, int neutral, Body body) {
  try {
    return body();
  } catch (...) {
    try {
      TARN().warning("Analysis-model export: %s failed: out of memory", call);
    } catch (...) {
    }
    return neutral;
  }
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

int OpenFile(const ifcexport::HeaderArguments& args) {
  return Guarded("ExportAnalysisModelOpenFile", -1, [&] {
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
  });
}

int MakeStoreys(int count, const double* elevations) {
  return Guarded("ExportAnalysisModelBuidling", -1, [&] {
    AnalysisModelExport* e = Require("ExportAnalysisModelBuidling");
    if (e == nullptr) return -1;
    if (count > 0 && elevations == nullptr) {
      TARN().warning("Analysis-model export: ExportAnalysisModelBuidling ignored: %d storeys without elevations",
                     count);
      return -1;
    }
    e->makeStoreys(count, elevations);
    return -1;
  });
}

int AddStorey(const char* name, double elevation) {
  return Guarded("ExportAnalysisModelBuidlingOneStory", -1, [&] {
    if (AnalysisModelExport* e = Require("ExportAnalysisModelBuidlingOneStory")) e->addStorey(name, elevation);
    return -1;
  });
}

int AddModel(const char* name, const char* description) {
  return Guarded("ExportAnalysisModelAddAnalysisModel", -1, [&] {
    if (AnalysisModelExport* e = Require("ExportAnalysisModelAddAnalysisModel")) e->addModel(name, description);
    return -1;
  });
}

int AddPointConnection(const char* name, int storey, double x, double y, double z) {
  return Guarded("ExportAnalysisModelAddOnePointConnection", 0, [&] {
    AnalysisModelExport* e = Require("ExportAnalysisModelAddOnePointConnection");
    return e != nullptr ? e->addPointConnection(name, storey, x, y, z) : 0;
  });
}

int AddCurveMember(const char* name, int storey, int startStorey, int endStorey, int startPosition,
                   int endPosition, double x1, double y1, double z1, double x2, double y2, double z2) {
  return Guarded("ExportAnalysisModelAddOneCurveMember", -1, [&] {
    AnalysisModelExport* e = Require("ExportAnalysisModelAddOneCurveMember");
    if (e == nullptr) return -1;
    const double start[3] = {x1, y1, z1};
    const double end[3] = {x2, y2, z2};
    e->addCurveMember(name, storey, startStorey, endStorey, startPosition, endPosition, start, end);
    return -1;
  });
}

int AddSurfaceMember(const char* name, int storey, int count, const int* storeys, const int* positions,
                     const double* xs, const double* ys, const double* zs) {
  return Guarded("ExportAnalysisModelAddOneSurfaceMember", -1, [&] {
    AnalysisModelExport* e = Require("ExportAnalysisModelAddOneSurfaceMember");
    if (e == nullptr) return -1;
    if (count > 0 && (storeys == nullptr || positions == nullptr || xs == nullptr || ys == nullptr || zs == nullptr)) {
      TARN().warning("Analysis-model export: ExportAnalysisModelAddOneSurfaceMember ignored: "
                     "%d corners and a missing array", count);
      return -1;
    }
    e->addSurfaceMember(name, storey, count, storeys, positions, xs, ys, zs);
    return -1;
  });
}

int CloseFile(const char* fileName, const char* directory) {
  return Guarded("ExportAnalysisModelCloseFile", -1, [&] {
    AnalysisModelExport* e = Require("ExportAnalysisModelCloseFile");
    if (e == nullptr) return -1;
    std::unique_ptr<AnalysisModelExport> ending = std::move(Slot());
    ending->close(fileName, directory);
    return -1;
  });
}

}  // namespace analysis_export
}  // namespace korva
