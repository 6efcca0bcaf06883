#include "export/building_export.h"

#include <cstdio>

#include "ifc2x2/globalid.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {
namespace building {
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

const int kOwnerHistoryCreationDate = 11223344;
const double kContextPrecision = 1e-05;

const char* Text(const char* text) { return text != nullptr ? text : ""; }

template <class T>
T* New(TarnDesign* design) {
  return typecast<T>(design->newInstance(T::classType.name()));
}

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y) {
  IfcCartesianPoint* p = New<IfcCartesianPoint>(design);
  if (p != nullptr) {
    p->Coordinates()->add(x);
    p->Coordinates()->add(y);
  }
  return p;
}

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z) {
  IfcCartesianPoint* p = NewPoint(design, x, y);
  if (p != nullptr) p->Coordinates()->add(z);
  return p;
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y) {
  IfcDirection* d = New<IfcDirection>(design);
  if (d != nullptr) {
    d->DirectionRatios()->add(x);
    d->DirectionRatios()->add(y);
  }
  return d;
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y, double z) {
  IfcDirection* d = NewDirection(design, x, y);
  if (d != nullptr) d->DirectionRatios()->add(z);
  return d;
}

IfcAxis2Placement3D* NewAxes(TarnDesign* design, IfcCartesianPoint* location, IfcDirection* axis,
                             IfcDirection* reference) {
  IfcAxis2Placement3D* a = New<IfcAxis2Placement3D>(design);
  if (a != nullptr) {
    a->Location(location);
    a->Axis(axis);
    a->RefDirection(reference);
  }
  return a;
}

IfcAxis2Placement* NewPlacementSelect(TarnDesign* design, IfcAxis2Placement3D* axes) {
  IfcAxis2Placement* select = New<IfcAxis2Placement>(design);
  if (select != nullptr) select->_IfcAxis2Placement3D(axes);
  return select;
}

// "Plan", "Design", three dimensions, precision 1e-05.
IfcGeometricRepresentationContext* NewContext(TarnDesign* design, IfcAxis2Placement* world,
                                              IfcDirection* trueNorth) {
  IfcGeometricRepresentationContext* c = New<IfcGeometricRepresentationContext>(design);
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

// Sets GlobalId (the fixed one, or a new one when `fixed` is null) and the
// owner history of a rooted object.
void Root(const BuildingSkeleton& s, IfcRoot* object, const char* fixed) {
  if (object == nullptr) return;
  char guid[23];
  object->GlobalId(fixed != nullptr ? fixed : NewCompressedGuid(guid, sizeof guid));
  object->OwnerHistory(s.ownerHistory);
}

bool Fixed(const BuildingSkeleton& s) { return s.style == SkeletonStyle::kFixedIdentifiers; }

// Person, organization, person-and-organization, application and owner
// history; the older style makes the application and the
// person-and-organization first and names the application only.
void MakeOwnerHistory(BuildingSkeleton* s, const FileArguments& args) {
  TarnDesign* d = s->design;
  IfcApplication* application = nullptr;
  IfcPersonAndOrganization* user = nullptr;
  if (Fixed(*s)) {
    application = New<IfcApplication>(d);
    user = New<IfcPersonAndOrganization>(d);
  }
  IfcPerson* person = New<IfcPerson>(d);
  if (person != nullptr) {
    person->FamilyName(Text(args.author));
    person->GivenName(Text(args.author));
  }
  IfcOrganization* organization = New<IfcOrganization>(d);
  if (organization != nullptr) organization->Name(Text(args.organization));
  if (!Fixed(*s)) {
    user = New<IfcPersonAndOrganization>(d);
    application = New<IfcApplication>(d);
  }
  if (user != nullptr) {
    user->ThePerson(person);
    user->TheOrganization(organization);
  }
  if (application != nullptr) {
    application->ApplicationFullName(Text(args.applicationName));
    if (!Fixed(*s)) {
      application->ApplicationDeveloper(organization);
      application->Version("9.0");
      application->ApplicationIdentifier("KORVA");
    }
  }
  IfcOwnerHistory* history = New<IfcOwnerHistory>(d);
  if (history != nullptr) {
    history->OwningUser(user);
    history->OwningApplication(application);
    history->ChangeAction(IfcChangeActionEnum_NOCHANGE);
    history->CreationDate(kOwnerHistoryCreationDate);
  }
  s->ownerHistory = history;
}

// Length unit with the host's prefix and name, area unit with the same
// prefix in square metres.
void MakeUnits(BuildingSkeleton* s, const FileArguments& args) {
  TarnDesign* d = s->design;
  const bool hasPrefix = args.prefix >= IfcSIPrefix_EXA && args.prefix <= IfcSIPrefix_ATTO;
  const int name = args.unitName >= 0 && args.unitName <= IfcSIUnitName_WEBER ? args.unitName
                                                                                 : IfcSIUnitName_METRE;
  IfcSIUnit* length = New<IfcSIUnit>(d);
  if (length != nullptr) {
    length->UnitType(IfcUnitEnum_LENGTHUNIT);
    if (hasPrefix) length->Prefix(args.prefix);
    length->Name(name);
  }
  IfcSIUnit* area = New<IfcSIUnit>(d);
  if (area != nullptr) {
    area->UnitType(IfcUnitEnum_AREAUNIT);
    if (hasPrefix) area->Prefix(args.prefix);
    area->Name(IfcSIUnitName_SQUARE_METRE);
  }
  IfcUnitAssignment* assignment = New<IfcUnitAssignment>(d);
  for (IfcSIUnit* unit : {length, area}) {
    IfcUnit* select = New<IfcUnit>(d);
    if (select == nullptr || unit == nullptr || assignment == nullptr) continue;
    select->_IfcNamedUnit(unit);
    assignment->Units()->add(select);
  }
  s->units = assignment;
}

void CopyHeader(TarnDesign* design, const FileArguments& args) {
  if (file_description* description = design->header_description())
    description->description()->add(const_cast<char*>(Text(args.description)));
  if (file_name* name = design->header_name()) {
    name->originating_system(Text(args.originatingSystem));
    name->author()->add(const_cast<char*>(Text(args.author)));
    name->organization()->add(const_cast<char*>(Text(args.organization)));
    name->authorisation(Text(args.authorization));
  }
}

}  // namespace

bool StartBuildingSkeleton(const FileArguments& args, SkeletonStyle style, BuildingSkeleton* out) {
  *out = BuildingSkeleton();
  out->style = style;
  TarnDesign* d = NewIfcDesign(args.fileName, args.directory);
  if (d == nullptr) return false;
  out->design = d;
  CopyHeader(d, args);
  MakeOwnerHistory(out, args);
  MakeUnits(out, args);

  // The world placement: (0,1,0) is made with the others but used by none.
  IfcDirection* x = NewDirection(d, 1.0, 0.0, 0.0);
  NewDirection(d, 0.0, 1.0, 0.0);
  IfcDirection* z = NewDirection(d, 0.0, 0.0, 1.0);
  IfcDirection* north = NewDirection(d, 0.0, 1.0);
  IfcCartesianPoint* origin = NewPoint(d, 0.0, 0.0, 0.0);
  out->worldAxes = NewAxes(d, origin, z, x);
  out->worldPlacement = NewPlacementSelect(d, out->worldAxes);
  out->sharedPlacement = New<IfcLocalPlacement>(d);
  if (out->sharedPlacement != nullptr) out->sharedPlacement->RelativePlacement(out->worldPlacement);

  out->modelContext = NewContext(d, out->worldPlacement, north);

  const bool fixed = style == SkeletonStyle::kFixedIdentifiers;
  out->project = New<IfcProject>(d);
  if (IfcProject* p = out->project) {
    p->RepresentationContexts()->add(out->modelContext);
    p->LongName("Project Vkt");
    p->Phase("1234");
    p->UnitsInContext(out->units);
    p->Name("Default Project");
    Root(*out, p, fixed ? kProjectId : nullptr);
  }
  out->site = New<IfcSite>(d);
  out->building = New<IfcBuilding>(d);
  struct {
    IfcSpatialStructureElement* element;
    const char* name;
    const char* id;
  } const spatial[] = {{out->site, "Default Site", kSiteId}, {out->building, "Default Building", kBuildingId}};
  for (const auto& e : spatial) {
    if (e.element == nullptr) continue;
    e.element->Name(e.name);
    Root(*out, e.element, fixed ? e.id : nullptr);
    e.element->CompositionType(IfcElementCompositionEnum_ELEMENT);
    e.element->ObjectPlacement(out->sharedPlacement);
  }
  return true;
}

IfcBuildingStorey* AddBuildingStorey(BuildingSkeleton* s, const char* name, const char* globalId,
                                     const double* elevation, bool blankTexts) {
  IfcBuildingStorey* storey = New<IfcBuildingStorey>(s->design);
  if (storey == nullptr) return nullptr;
  storey->Name(name);
  Root(*s, storey, globalId);
  storey->CompositionType(IfcElementCompositionEnum_ELEMENT);
  storey->ObjectPlacement(s->sharedPlacement);
  if (elevation != nullptr) storey->Elevation(*elevation);
  if (blankTexts) {
    storey->LongName(" ");
    storey->ObjectType(" ");
    storey->Description(" ");
  }
  s->storeys.push_back(storey);
  return storey;
}

IfcRelContainedInSpatialStructure* AddStoreyContainment(BuildingSkeleton* s, IfcBuildingStorey* storey,
                                                        const char* name, const char* globalId) {
  IfcRelContainedInSpatialStructure* rel = New<IfcRelContainedInSpatialStructure>(s->design);
  if (rel != nullptr) {
    rel->Name(name);
    Root(*s, rel, globalId);
    rel->RelatingStructure(storey);
  }
  s->containments.push_back(rel);
  return rel;
}

IfcGeometricRepresentationContext* AddBodyContext(BuildingSkeleton* s) {
  IfcDirection* north = NewDirection(s->design, 0.0, 1.0);
  s->bodyContext = NewContext(s->design, s->worldPlacement, north);
  if (s->project != nullptr && s->bodyContext != nullptr)
    s->project->RepresentationContexts()->add(s->bodyContext);
  return s->bodyContext;
}

void AggregateBuildingSkeleton(BuildingSkeleton* s) {
  const bool fixed = Fixed(*s);
  IfcRelAggregates* building = New<IfcRelAggregates>(s->design);
  if (building != nullptr) {
    building->Name("Building Container");
    Root(*s, building, fixed ? kBuildingContainerId : nullptr);
    building->RelatingObject(s->building);
    for (IfcBuildingStorey* storey : s->storeys)
      if (storey != nullptr) building->RelatedObjects()->add(storey);
  }
  struct {
    const char* name;
    const char* id;
    IfcObject* whole;
    IfcObject* part;
  } const containers[] = {{"Site Container", kSiteContainerId, s->site, s->building},
                          {"Project Container", kProjectContainerId, s->project, s->site}};
  for (const auto& c : containers) {
    IfcRelAggregates* rel = New<IfcRelAggregates>(s->design);
    if (rel == nullptr) continue;
    rel->Name(c.name);
    Root(*s, rel, fixed ? c.id : nullptr);
    rel->RelatingObject(c.whole);
    if (c.part != nullptr) rel->RelatedObjects()->add(c.part);
  }
}

bool FinishBuildingExport(BuildingSkeleton* s, bool shutDown) {
  bool saved = SaveAndDiscard(s->design);
  *s = BuildingSkeleton();
  if (shutDown) TARN().shutdown();
  return saved;
}

// ---------------------------------------------------------------------------

namespace {

struct KindInfo {
  const char* entity;
  const char* fixedIdWord;  // "VKT_Column" + k in the older exports
  const char* noun;         // in messages
};
const KindInfo kKinds[kElementKinds] = {{"IfcColumn", "VKT_Column", "column"},
                                        {"IfcBeam", "VKT_Beam", "beam"},
                                        {"IfcSlab", "VKT_Slab", "slab"},
                                        {"IfcWallStandardCase", nullptr, "wall"}};  // walls only get new GlobalIds

int KindsWritten(BuildingForm form) {
  switch (form) {
    case BuildingForm::kWithSlabs: return 3;
    case BuildingForm::kWithWalls: return 4;
    default: return 2;
  }
}

// A count the host gave; negative ones are reported and read as 0.
int Count(const char* function, const char* what, int count) {
  if (count >= 0) return count;
  TARN().warning("%s: %s count %d is negative; taken as 0", function, what, count);
  return 0;
}

// Reports a null array that `count` items would read.
bool Present(const char* function, const void* array, const char* what, int count, const char* items) {
  if (array != nullptr || count <= 0) return true;
  TARN().warning("%s: no %s given for %d %s; no file written", function, what, count, items);
  return false;
}

bool NamesFile(const char* function, const FileArguments& args) {
  if (args.fileName == nullptr || args.fileName[0] == '\0') {
    TARN().warning("%s: no file name given; no file written", function);
    return false;
  }
  if (args.directory == nullptr) {
    TARN().warning("%s: no directory given; no file written", function);
    return false;
  }
  return true;
}

void CheckUnits(const char* function, const FileArguments& args) {
  if (args.prefix < IfcSIPrefix_EXA || args.prefix > IfcSIPrefix_ATTO)
    TARN().warning("%s: SI prefix index %d is out of range; the units have no prefix", function,
                   args.prefix);
  if (args.unitName < 0 || args.unitName > IfcSIUnitName_WEBER)
    TARN().warning("%s: SI unit name index %d is out of range; METRE is used", function, args.unitName);
}

// Writes columns, beams, slabs and walls (as many kinds as the form has)
// into the skeleton, each into the containment of its storey.
class ElementWriter {
 public:
  ElementWriter(const char* function, BuildingForm form, BuildingSkeleton* s, const ElementArrays& a)
      : function_(function), form_(form), s_(s), d_(s->design), a_(a) {}

  void writeAll() {
    int e = 0;  // running number of the first element of a kind, minus one
    for (int kind = 0; kind < KindsWritten(form_); ++kind) {
      for (int k = 1; k <= a_.count[kind]; ++k) write(static_cast<ElementKind>(kind), k, e + k);
      e += a_.count[kind];
    }
  }

 private:
  void write(ElementKind kind, int k, int e) {
    const int first = a_.start[kind][k];
    const int n = a_.points[kind][k];
    if (n <= 0) return;
    if (first < 0) {
      TARN().warning("%s: %s %d starts at point %d; it is skipped", function_, kKinds[kind].noun, k, first);
      return;
    }

    // Closed plan polygon: the first point stands again at the end.
    IfcPolyline* outline = New<IfcPolyline>(d_);
    if (outline != nullptr) {
      ListOfIfcCartesianPoint* points = outline->Points();
      for (int j = first; j < first + n; ++j) points->add(NewPoint(d_, a_.x[j], a_.y[j]));
      points->add(points->first());
    }
    IfcArbitraryClosedProfileDef* profile = New<IfcArbitraryClosedProfileDef>(d_);
    if (profile != nullptr) {
      profile->ProfileType(IfcProfileTypeEnum_AREA);
      profile->OuterCurve(outline);
    }

    // Extruded along the element's own Z axis.
    IfcExtrudedAreaSolid* solid = New<IfcExtrudedAreaSolid>(d_);
    if (solid != nullptr) {
      solid->ExtrudedDirection(NewDirection(d_, 0.0, 0.0, 1.0));
      solid->Depth(a_.depth[e]);
      solid->SweptArea(profile);
      IfcCartesianPoint* origin = NewPoint(d_, 0.0, 0.0, 0.0);
      IfcDirection* z = NewDirection(d_, 0.0, 0.0, 1.0);
      IfcDirection* x = NewDirection(d_, 1.0, 0.0, 0.0);
      solid->Position(NewAxes(d_, origin, z, x));
    }

    IfcShapeRepresentation* body = New<IfcShapeRepresentation>(d_);
    if (body != nullptr) {
      body->RepresentationIdentifier("Body");
      body->RepresentationType("SweptSolid");
      body->Items()->add(solid);
      if (form_ == BuildingForm::kWithWalls) body->ContextOfItems(s_->bodyContext);
    }
    IfcProductDefinitionShape* shape = New<IfcProductDefinitionShape>(d_);
    if (shape != nullptr) shape->Representations()->add(body);

    IfcBuildingElement* element = typecast<IfcBuildingElement>(d_->newInstance(kKinds[kind].entity));
    if (element == nullptr) return;
    char id[32];
    if (form_ == BuildingForm::kWithWalls) {
      element->GlobalId(NewCompressedGuid(id, 23));
    } else {
      std::snprintf(id, sizeof id, "%s%d", kKinds[kind].fixedIdWord, k);
      element->GlobalId(id);
    }
    element->Representation(shape);

    // Placed by the host's axes, unchanged, relative to the shared placement.
    IfcCartesianPoint* location = NewPoint(d_, a_.location[0][e], a_.location[1][e], a_.location[2][e]);
    IfcDirection* axis = NewDirection(d_, a_.axis[0][e], a_.axis[1][e], a_.axis[2][e]);
    IfcDirection* reference = NewDirection(d_, a_.reference[0][e], a_.reference[1][e], a_.reference[2][e]);
    IfcAxis2Placement* relative = NewPlacementSelect(d_, NewAxes(d_, location, axis, reference));
    IfcLocalPlacement* placement = New<IfcLocalPlacement>(d_);
    if (placement != nullptr) {
      placement->RelativePlacement(relative);
      placement->PlacementRelTo(s_->sharedPlacement);
    }
    element->ObjectPlacement(placement);

    if (IfcRelContainedInSpatialStructure* rel = containment(kind, k)) rel->RelatedElements()->add(element);
    element->OwnerHistory(s_->ownerHistory);
  }

  IfcRelContainedInSpatialStructure* containment(ElementKind kind, int k) {
    if (form_ == BuildingForm::kNew) return s_->containments.empty() ? nullptr : s_->containments[0];
    const int storey = a_.storey[kind][k];
    if (storey < 1 || static_cast<size_t>(storey) > s_->containments.size()) {
      TARN().warning("%s: %s %d names storey %d of %d; it is in no storey", function_, kKinds[kind].noun, k,
                     storey, static_cast<int>(s_->containments.size()));
      return nullptr;
    }
    return s_->containments[static_cast<size_t>(storey) - 1];
  }

  const char* function_;
  BuildingForm form_;
  BuildingSkeleton* s_;
  TarnDesign* d_;
  const ElementArrays& a_;
};

// Whether the arrays the counts call for are there; `a` holds counts that
// are no longer negative.
bool ElementArraysPresent(const char* function, BuildingForm form, const ElementArrays& a) {
  int total = 0;
  for (int kind = 0; kind < KindsWritten(form); ++kind) {
    const int n = a.count[kind];
    total += n;
    const char* noun = kKinds[kind].noun;
    char what[64];
    std::snprintf(what, sizeof what, "%s start indices", noun);
    if (!Present(function, a.start[kind], what, n, "elements")) return false;
    std::snprintf(what, sizeof what, "%s point counts", noun);
    if (!Present(function, a.points[kind], what, n, "elements")) return false;
    if (form != BuildingForm::kNew) {
      std::snprintf(what, sizeof what, "%s storey numbers", noun);
      if (!Present(function, a.storey[kind], what, n, "elements")) return false;
    }
  }
  static const char* const kAxes[3] = {"X", "Y", "Z"};
  if (!Present(function, a.x, "X coordinates", total, "elements") ||
      !Present(function, a.y, "Y coordinates", total, "elements") ||
      !Present(function, a.depth, "depths", total, "elements"))
    return false;
  for (int i = 0; i < 3; ++i) {
    char what[64];
    std::snprintf(what, sizeof what, "location %s values", kAxes[i]);
    if (!Present(function, a.location[i], what, total, "elements")) return false;
    std::snprintf(what, sizeof what, "axis %s values", kAxes[i]);
    if (!Present(function, a.axis[i], what, total, "elements")) return false;
    std::snprintf(what, sizeof what, "reference %s values", kAxes[i]);
    if (!Present(function, a.reference[i], what, total, "elements")) return false;
  }
  return true;
}

// The one storey "AB" and its containment "AA" of ExportOpenFile and
// ExportOpenFileNew.
void AddSingleStorey(BuildingSkeleton* s) {
  IfcBuildingStorey* storey = AddBuildingStorey(s, "AB", kStoreyId, nullptr, true);
  AddStoreyContainment(s, storey, "AA", kContainmentId);
}

}  // namespace

void ExportExtrudedBuilding(const char* function, BuildingForm form, const FileArguments& args,
                            int storeyCount, const double* elevations, const ElementArrays& elements) {
  ElementArrays a = elements;
  bool ready = NamesFile(function, args);
  if (ready) {
    if (form != BuildingForm::kNew) storeyCount = Count(function, "storey", storeyCount);
    for (int kind = 0; kind < KindsWritten(form); ++kind)
      a.count[kind] = Count(function, kKinds[kind].noun, a.count[kind]);
    for (int kind = KindsWritten(form); kind < kElementKinds; ++kind) a.count[kind] = 0;
    ready = (form == BuildingForm::kNew || Present(function, elevations, "storey elevations", storeyCount,
                                                    "storeys")) &&
            ElementArraysPresent(function, form, a);
  }
  BuildingSkeleton s;
  if (ready) CheckUnits(function, args);
  const SkeletonStyle style =
      form == BuildingForm::kWithWalls ? SkeletonStyle::kGeneratedIdentifiers : SkeletonStyle::kFixedIdentifiers;
  if (ready && StartBuildingSkeleton(args, style, &s)) {
    if (form == BuildingForm::kNew) {
      AddSingleStorey(&s);
    } else {
      // Storeys first, then their containments; every storey shares the
      // placement, its height is only its elevation.
      const bool current = form == BuildingForm::kWithWalls;
      char name[32];
      for (int i = 0; i < storeyCount; ++i) {
        std::snprintf(name, sizeof name, "Stroy%d", i + 1);
        AddBuildingStorey(&s, name, current ? nullptr : kStoreyId, &elevations[i + 1], current);
      }
      for (int i = 0; i < storeyCount; ++i) {
        std::snprintf(name, sizeof name, "StroyStructure%d", i + 1);
        AddStoreyContainment(&s, s.storeys[static_cast<size_t>(i)], name, current ? nullptr : kContainmentId);
      }
      if (current) AddBodyContext(&s);
    }
    ElementWriter(function, form, &s, a).writeAll();
    AggregateBuildingSkeleton(&s);
    FinishBuildingExport(&s, true);
    return;
  }
  TARN().shutdown();
}

void ExportFacetedBuilding(const FileArguments& args, const FacetArrays& facets) {
  const char* const function = "ExportOpenFile";
  if (!NamesFile(function, args)) return;
  const int objects = Count(function, "object", facets.objectCount);
  const char* const kArrays[] = {"vertex X coordinates", "vertex Y coordinates", "vertex Z coordinates",
                                 "first vertex indices", "second vertex indices", "third vertex indices",
                                 "fourth vertex indices", "first faces", "face counts"};
  const void* const arrays[] = {facets.x,         facets.y,         facets.z,
                                facets.vertex[0], facets.vertex[1], facets.vertex[2],
                                facets.vertex[3], facets.firstFace, facets.faceCount};
  for (size_t i = 0; i < sizeof arrays / sizeof arrays[0]; ++i)
    if (!Present(function, arrays[i], kArrays[i], objects, "objects")) return;
  CheckUnits(function, args);

  BuildingSkeleton s;
  if (!StartBuildingSkeleton(args, SkeletonStyle::kFixedIdentifiers, &s)) return;
  AddSingleStorey(&s);
  TarnDesign* d = s.design;
  for (int k = 1; k <= objects; ++k) {
    const int first = facets.firstFace[k];
    const int count = facets.faceCount[k];
    if (count <= 0) continue;
    bool indicesValid = first >= 0;
    for (int j = first; indicesValid && j < first + count; ++j)
      for (const int* index : facets.vertex) indicesValid = indicesValid && index[j] >= 0;
    if (!indicesValid) {
      TARN().warning("%s: object %d has a negative face or vertex index; it is skipped", function, k);
      continue;
    }

    // Four new points per face, even where faces share a vertex.
    std::vector<IfcFace*> faces;
    for (int j = first; j < first + count; ++j) {
      std::vector<IfcCartesianPoint*> corners;
      for (const int* index : facets.vertex) {
        const int v = index[j];
        corners.push_back(NewPoint(d, facets.x[v], facets.y[v], facets.z[v]));
      }
      IfcPolyLoop* loop = New<IfcPolyLoop>(d);
      if (loop != nullptr)
        for (IfcCartesianPoint* p : corners) loop->Polygon()->add(p);
      IfcFaceOuterBound* bound = New<IfcFaceOuterBound>(d);
      if (bound != nullptr) {
        bound->Bound(loop);
        bound->Orientation(1);
      }
      IfcFace* face = New<IfcFace>(d);
      if (face != nullptr) face->Bounds()->add(bound);
      faces.push_back(face);
    }
    IfcClosedShell* shell = New<IfcClosedShell>(d);
    if (shell != nullptr)
      for (IfcFace* f : faces) shell->CfsFaces()->add(f);
    IfcFacetedBrep* brep = New<IfcFacetedBrep>(d);
    if (brep != nullptr) brep->Outer(shell);

    IfcShapeRepresentation* body = New<IfcShapeRepresentation>(d);
    if (body != nullptr) {
      body->RepresentationIdentifier("Body");
      body->RepresentationType("Brep");
      body->Items()->add(brep);
    }
    IfcProductDefinitionShape* shape = New<IfcProductDefinitionShape>(d);
    if (shape != nullptr) shape->Representations()->add(body);

    IfcBuildingElementProxy* proxy = New<IfcBuildingElementProxy>(d);
    if (proxy == nullptr) continue;
    char id[32];
    std::snprintf(id, sizeof id, "VKT_CHECK%d", k);
    proxy->CompositionType(IfcElementCompositionEnum_ELEMENT);
    proxy->GlobalId(id);
    proxy->ObjectPlacement(s.sharedPlacement);
    proxy->Representation(shape);
    if (IfcRelContainedInSpatialStructure* rel = s.containments[0]) rel->RelatedElements()->add(proxy);
  }
  AggregateBuildingSkeleton(&s);
  FinishBuildingExport(&s, false);
}

}  // namespace building
}  // namespace korva
