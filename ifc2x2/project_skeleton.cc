#include "ifc2x2/project_skeleton.h"

#include <cstdio>

#include "ifc2x2/geometry_builders.h"
#include "ifc2x2/new_entity.h"
#include "ifc2x2/schema.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {
namespace {

// The older exports write the same identifiers into every file.
const char kProjectId[] = "AAAAAAAAAAAAAAAAAAAAAA";
const char kSiteId[] = "BBBBBBBBBBBBBBBBBBBBBB";
const char kBuildingId[] = "CCCCCCCCCCCCCCCCCCCCCC";
const char kStoreyId[] = "DDDDDDDDDDDDDDDDDDDDDD";
const char kContainmentId[] = "EEEEEEEEEEEEEEEEEEEEEE";
const char kBuildingContainerId[] = "FFFFFFFFFFFFFFFFFFFFFF";
const char kSiteContainerId[] = "GGGGGGGGGGGGGGGGGGGGGG";
const char kProjectContainerId[] = "HHHHHHHHHHHHHHHHHHHHHH";

const int kCreationDate = 11223344;
const double kContextPrecision = 1e-05;

// Name, GlobalId (the fixed one in the older style, else a new one) and
// owner history of a rooted object of the skeleton.
void Root(const ProjectSkeleton& s, IfcRoot* object, const char* name, const char* fixedId) {
  if (object == nullptr) return;
  object->Name(name);
  SetRoot(object, s.ownerHistory, s.fixedIdentifiers ? fixedId : nullptr);
}

// "Plan", "Design", three dimensions, precision 1e-05.
IfcGeometricRepresentationContext* NewContext(TarnDesign* design, IfcAxis2Placement* world, IfcDirection* trueNorth) {
  IfcGeometricRepresentationContext* c = NewEntity<IfcGeometricRepresentationContext>(design);
  if (c != nullptr) {
    c->ContextIdentifier("Plan");
    c->ContextType("Design");
    c->CoordinateSpaceDimension(3);
    c->Precision(kContextPrecision);
    c->WorldCoordinateSystem(world);
    c->TrueNorth(trueNorth);
  }
  return c;
}

void FillHeader(TarnDesign* design, const HeaderArguments& a, NullTexts rule) {
  auto append = [rule](ListOfSTR* list, const char* text) {
    if (const char* t = HostText(text, rule)) list->add(const_cast<char*>(t));
  };
  if (file_description* d = design->header_description()) append(d->description(), a.description);
  file_name* n = design->header_name();
  if (n == nullptr) return;
  if (const char* system = HostText(a.originatingSystem, rule)) n->originating_system(system);
  append(n->author(), a.author);
  append(n->organization(), a.organization);
  if (const char* authorization = HostText(a.authorization, rule)) n->authorisation(authorization);
}

}  // namespace

bool StartProjectSkeleton(const HeaderArguments& args, const SkeletonStyle& style, ProjectSkeleton* out) {
  *out = ProjectSkeleton();
  TarnDesign* d = NewIfcDesign(args.fileName != nullptr ? args.fileName : "", args.directory);
  if (d == nullptr) return false;
  ProjectSkeleton s;
  s.design = d;
  s.fixedIdentifiers = style.fixedIdentifiers;
  FillHeader(d, args, style.nullTexts);

  OwnerHistoryArguments history;
  history.person = args.author;
  history.organization = args.organization;
  history.applicationName = args.applicationName;
  history.version = "9.0";
  history.identifier = "KORVA";
  history.creationDate = kCreationDate;
  history.applicationNameOnly = style.fixedIdentifiers;
  history.nullTexts = style.nullTexts;
  s.ownerHistory = NewOwnerHistory(d, history);
  s.units = NewLengthAndAreaUnits(d, args.prefix, args.unitName, style.unitNameFallback);

  // The world placement: (0,1,0) is made with the others but used by none.
  IfcDirection* x = NewDirection(d, 1.0, 0.0, 0.0);
  NewDirection(d, 0.0, 1.0, 0.0);
  IfcDirection* z = NewDirection(d, 0.0, 0.0, 1.0);
  IfcDirection* north = NewDirection(d, 0.0, 1.0);
  IfcCartesianPoint* origin = NewPoint(d, 0.0, 0.0, 0.0);
  s.worldAxes = NewAxes(d, origin, z, x);
  s.worldPlacement = NewPlacementSelect(d, s.worldAxes);
  s.sharedPlacement = NewLocalPlacement(d, s.worldPlacement, nullptr);
  s.modelContext = NewContext(d, s.worldPlacement, north);

  s.project = NewEntity<IfcProject>(d);
  if (IfcProject* p = s.project) {
    p->RepresentationContexts()->append(s.modelContext);
    p->LongName("Project Vkt");
    p->Phase("1234");
    p->UnitsInContext(s.units);
    Root(s, p, "Default Project", kProjectId);
  }
  s.site = NewEntity<IfcSite>(d);
  s.building = NewEntity<IfcBuilding>(d);
  struct {
    IfcSpatialStructureElement* element;
    const char* name;
    const char* id;
  } const spatial[] = {{s.site, "Default Site", kSiteId}, {s.building, "Default Building", kBuildingId}};
  for (const auto& e : spatial) {
    if (e.element == nullptr) continue;
    Root(s, e.element, e.name, e.id);
    e.element->CompositionType(IfcElementCompositionEnum_ELEMENT);
    e.element->ObjectPlacement(s.sharedPlacement);
  }
  *out = s;
  return true;
}

IfcBuildingStorey* AddStorey(ProjectSkeleton* s, const char* name, const double* elevation, bool blankTexts) {
  IfcBuildingStorey* storey = NewEntity<IfcBuildingStorey>(s->design);
  if (storey != nullptr) {
    Root(*s, storey, name, kStoreyId);
    storey->CompositionType(IfcElementCompositionEnum_ELEMENT);
    storey->ObjectPlacement(s->sharedPlacement);
    if (elevation != nullptr) storey->Elevation(*elevation);
    if (blankTexts) {
      storey->LongName(" ");
      storey->ObjectType(" ");
      storey->Description(" ");
    }
  }
  s->storeys.push_back(storey);
  return storey;
}

IfcRelContainedInSpatialStructure* AddStoreyContainment(ProjectSkeleton* s, IfcBuildingStorey* storey,
                                                        const char* name) {
  IfcRelContainedInSpatialStructure* rel = NewEntity<IfcRelContainedInSpatialStructure>(s->design);
  if (rel != nullptr) {
    Root(*s, rel, name, kContainmentId);
    rel->RelatingStructure(storey);
  }
  s->containments.push_back(rel);
  return rel;
}

void AddNumberedStoreys(ProjectSkeleton* s, int count, const double* elevations, bool blankTexts) {
  s->storeys.clear();
  s->containments.clear();
  char name[32];
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "Stroy%d", i + 1);
    AddStorey(s, name, &elevations[i + 1], blankTexts);
  }
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "StroyStructure%d", i + 1);
    AddStoreyContainment(s, s->storeys[static_cast<size_t>(i)], name);
  }
}

IfcGeometricRepresentationContext* AddBodyContext(ProjectSkeleton* s) {
  IfcDirection* north = NewDirection(s->design, 0.0, 1.0);
  s->bodyContext = NewContext(s->design, s->worldPlacement, north);
  if (s->project != nullptr && s->bodyContext != nullptr) s->project->RepresentationContexts()->append(s->bodyContext);
  return s->bodyContext;
}

void AggregateSpatialStructure(ProjectSkeleton* s) {
  IfcRelAggregates* building = NewEntity<IfcRelAggregates>(s->design);
  if (building != nullptr) {
    Root(*s, building, "Building Container", kBuildingContainerId);
    building->RelatingObject(s->building);
    for (IfcBuildingStorey* storey : s->storeys)
      if (storey != nullptr) building->RelatedObjects()->append(storey);
  }
  struct {
    const char* name;
    const char* id;
    IfcObject* whole;
    IfcObject* part;
  } const containers[] = {{"Site Container", kSiteContainerId, s->site, s->building},
                          {"Project Container", kProjectContainerId, s->project, s->site}};
  for (const auto& c : containers) {
    IfcRelAggregates* rel = NewEntity<IfcRelAggregates>(s->design);
    if (rel == nullptr) continue;
    Root(*s, rel, c.name, c.id);
    rel->RelatingObject(c.whole);
    if (c.part != nullptr) rel->RelatedObjects()->append(c.part);
  }
}

bool FinishProjectSkeleton(ProjectSkeleton* s, const char* fileName, const char* directory, bool shutDown) {
  TarnDesign* d = s->design;
  *s = ProjectSkeleton();
  const bool saved = SaveIfcDesignAs(d, fileName, directory, false, SaveSchema::kConfigured);
  DiscardIfcDesign(d);
  if (shutDown) TARN().shutdown();
  return saved;
}

}  // namespace korva
