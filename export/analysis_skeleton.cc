#include "export/analysis_skeleton.h"

#include <cstdio>
#include <string>

#include "ifc2x2/globalid.h"
#include "ifc2x2/schema.h"
#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {
namespace ifcexport {

namespace {

const double kPrecision = 1e-05;
const int kCreationDate = 11223344;

// Appends a text to a header list; null texts are not added.
void AppendText(ListOfSTR* list, const char* text) {
  if (list != nullptr && text != nullptr) list->add(const_cast<char*>(text));
}

// Step 2: the host's header values.
void FillHeader(TarnDesign* design, const HeaderArguments& a) {
  if (file_description* d = design->header_description()) AppendText(d->description(), a.description);
  file_name* n = design->header_name();
  if (n == nullptr) return;
  if (a.originatingSystem != nullptr) n->originating_system(a.originatingSystem);
  AppendText(n->author(), a.author);
  AppendText(n->organization(), a.organization);
  if (a.authorization != nullptr) n->authorisation(a.authorization);
}

// Step 3: person, organization, person-and-organization, application and
// owner history, created in that order.
IfcOwnerHistory* MakeOwnerHistory(TarnDesign* d, const HeaderArguments& a) {
  IfcPerson* person = NewEntity<IfcPerson>(d);
  IfcOrganization* organization = NewEntity<IfcOrganization>(d);
  IfcPersonAndOrganization* user = NewEntity<IfcPersonAndOrganization>(d);
  IfcApplication* application = NewEntity<IfcApplication>(d);
  IfcOwnerHistory* history = NewEntity<IfcOwnerHistory>(d);
  if (person != nullptr) {
    person->FamilyName(a.author);
    person->GivenName(a.author);
  }
  if (organization != nullptr) organization->Name(a.organization);
  if (user != nullptr) {
    user->ThePerson(person);
    user->TheOrganization(organization);
  }
  if (application != nullptr) {
    application->ApplicationFullName(a.applicationName);
    application->ApplicationDeveloper(organization);
    application->Version("9.0");
    application->ApplicationIdentifier("KORVA");
  }
  if (history != nullptr) {
    history->OwningUser(user);
    history->OwningApplication(application);
    history->ChangeAction(IfcChangeActionEnum_NOCHANGE);
    history->CreationDate(kCreationDate);
  }
  return history;
}

// Step 4: the length unit and the area unit with the same prefix.
IfcUnitAssignment* MakeUnits(TarnDesign* d, const HeaderArguments& a) {
  IfcSIUnit* length = NewEntity<IfcSIUnit>(d);
  IfcSIUnit* area = NewEntity<IfcSIUnit>(d);
  const bool prefixKnown = a.prefix >= 0 && a.prefix <= IfcSIPrefix_ATTO;
  const bool nameKnown = a.unitName >= 0 && a.unitName <= IfcSIUnitName_WEBER;
  if (!nameKnown) TARN().warning("IFC export: unknown length unit name index %d; the unit name is left unset", a.unitName);
  if (length != nullptr) {
    length->UnitType(IfcUnitEnum_LENGTHUNIT);
    if (prefixKnown) length->Prefix(a.prefix);
    if (nameKnown) length->Name(a.unitName);
  }
  if (area != nullptr) {
    area->UnitType(IfcUnitEnum_AREAUNIT);
    if (prefixKnown) area->Prefix(a.prefix);
    area->Name(IfcSIUnitName_SQUARE_METRE);
  }
  IfcUnit* lengthUnit = NewEntity<IfcUnit>(d);
  IfcUnit* areaUnit = NewEntity<IfcUnit>(d);
  IfcUnitAssignment* assignment = NewEntity<IfcUnitAssignment>(d);
  if (assignment == nullptr) return nullptr;
  if (lengthUnit != nullptr && length != nullptr) {
    lengthUnit->_IfcNamedUnit(length);
    assignment->Units()->append(lengthUnit);
  }
  if (areaUnit != nullptr && area != nullptr) {
    areaUnit->_IfcNamedUnit(area);
    assignment->Units()->append(areaUnit);
  }
  return assignment;
}

}  // namespace

void StartRooted(const Skeleton& s, IfcRoot* object, const char* name) {
  if (object == nullptr) return;
  char id[23];
  object->GlobalId(NewCompressedGuid(id, sizeof id));
  object->OwnerHistory(s.ownerHistory);
  object->Name(name);
}

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z) {
  IfcCartesianPoint* p = NewEntity<IfcCartesianPoint>(design);
  if (p == nullptr) return nullptr;
  ListOfIfcLengthMeasure* c = p->Coordinates();
  c->add(x);
  c->add(y);
  c->add(z);
  return p;
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y, double z) {
  IfcDirection* dir = NewEntity<IfcDirection>(design);
  if (dir == nullptr) return nullptr;
  ListOfdouble* r = dir->DirectionRatios();
  r->add(x);
  r->add(y);
  r->add(z);
  return dir;
}

bool StartSkeleton(const HeaderArguments& a, Skeleton* out) {
  *out = Skeleton();
  // Step 1: the design, with the IFC2x2 dictionary loaded.
  TarnDesign* d = NewIfcDesign(a.fileName != nullptr ? a.fileName : "", nullptr);
  if (d == nullptr) return false;
  Skeleton s;
  s.design = d;
  FillHeader(d, a);
  s.ownerHistory = MakeOwnerHistory(d, a);
  s.units = MakeUnits(d, a);

  // Step 5: world placement.  The (0,1,0) direction is part of the frame
  // but nothing refers to it.
  IfcDirection* xAxis = NewDirection(d, 1.0, 0.0, 0.0);
  NewDirection(d, 0.0, 1.0, 0.0);
  IfcDirection* zAxis = NewDirection(d, 0.0, 0.0, 1.0);
  IfcDirection* north = NewEntity<IfcDirection>(d);
  if (north != nullptr) {
    north->DirectionRatios()->add(0.0);
    north->DirectionRatios()->add(1.0);
  }
  IfcCartesianPoint* origin = NewPoint(d, 0.0, 0.0, 0.0);
  s.worldAxes = NewEntity<IfcAxis2Placement3D>(d);
  if (s.worldAxes != nullptr) {
    s.worldAxes->Location(origin);
    s.worldAxes->Axis(zAxis);
    s.worldAxes->RefDirection(xAxis);
  }
  s.worldPlacement = NewEntity<IfcAxis2Placement>(d);
  if (s.worldPlacement != nullptr) s.worldPlacement->_IfcAxis2Placement3D(s.worldAxes);
  s.sharedPlacement = NewEntity<IfcLocalPlacement>(d);
  if (s.sharedPlacement != nullptr) s.sharedPlacement->RelativePlacement(s.worldPlacement);

  // Step 6: the model context.
  s.modelContext = NewEntity<IfcGeometricRepresentationContext>(d);
  if (s.modelContext != nullptr) {
    s.modelContext->ContextIdentifier("Plan");
    s.modelContext->ContextType("Design");
    s.modelContext->CoordinateSpaceDimension(3);
    s.modelContext->Precision(kPrecision);
    s.modelContext->TrueNorth(north);
    s.modelContext->WorldCoordinateSystem(s.worldPlacement);
  }

  // Step 7: the project.
  s.project = NewEntity<IfcProject>(d);
  if (s.project != nullptr) {
    if (s.modelContext != nullptr) s.project->RepresentationContexts()->append(s.modelContext);
    s.project->LongName("Project Vkt");
    s.project->Phase("1234");
    s.project->UnitsInContext(s.units);
    StartRooted(s, s.project, "Default Project");
  }

  // Step 8: site and building.
  s.site = NewEntity<IfcSite>(d);
  if (s.site != nullptr) {
    StartRooted(s, s.site, "Default Site");
    s.site->CompositionType(IfcElementCompositionEnum_ELEMENT);
    s.site->ObjectPlacement(s.sharedPlacement);
  }
  s.building = NewEntity<IfcBuilding>(d);
  if (s.building != nullptr) {
    StartRooted(s, s.building, "Default Building");
    s.building->CompositionType(IfcElementCompositionEnum_ELEMENT);
    s.building->ObjectPlacement(s.sharedPlacement);
  }
  *out = s;
  return true;
}

IfcBuildingStorey* NewStorey(const Skeleton& s, const char* name, const double* elevation) {
  IfcBuildingStorey* storey = NewEntity<IfcBuildingStorey>(s.design);
  if (storey == nullptr) return nullptr;
  StartRooted(s, storey, name);
  storey->CompositionType(IfcElementCompositionEnum_ELEMENT);
  storey->ObjectPlacement(s.sharedPlacement);
  if (elevation != nullptr) storey->Elevation(*elevation);
  storey->LongName(" ");
  storey->ObjectType(" ");
  storey->Description(" ");
  return storey;
}

IfcRelContainedInSpatialStructure* NewStoreyContainment(const Skeleton& s, IfcBuildingStorey* storey,
                                                        int number) {
  IfcRelContainedInSpatialStructure* rel = NewEntity<IfcRelContainedInSpatialStructure>(s.design);
  if (rel == nullptr) return nullptr;
  char name[32];
  std::snprintf(name, sizeof name, "StroyStructure%d", number);
  StartRooted(s, rel, name);
  rel->RelatingStructure(storey);
  return rel;
}

void AggregateSpatialStructure(const Skeleton& s, const std::vector<IfcBuildingStorey*>& storeys) {
  IfcRelAggregates* building = NewEntity<IfcRelAggregates>(s.design);
  if (building != nullptr) {
    StartRooted(s, building, "Building Container");
    building->RelatingObject(s.building);
    for (IfcBuildingStorey* storey : storeys)
      if (storey != nullptr) building->RelatedObjects()->append(storey);
  }
  IfcRelAggregates* site = NewEntity<IfcRelAggregates>(s.design);
  if (site != nullptr) {
    StartRooted(s, site, "Site Container");
    site->RelatingObject(s.site);
    if (s.building != nullptr) site->RelatedObjects()->append(s.building);
  }
  IfcRelAggregates* project = NewEntity<IfcRelAggregates>(s.design);
  if (project != nullptr) {
    StartRooted(s, project, "Project Container");
    project->RelatingObject(s.project);
    if (s.site != nullptr) project->RelatedObjects()->append(s.site);
  }
}

bool SaveAndShutDown(Skeleton* s, const char* fileName, const char* directory) {
  TarnDesign* d = s->design;
  *s = Skeleton();
  if (d == nullptr) return false;
  if (directory != nullptr) d->fileDirectory(directory);
  // The file may be named differently from the design: the design takes the
  // file's name only while it is written, so that the interface object's
  // name table, which knows it by its first name, stays right.
  const std::string designName = d->name() != nullptr ? d->name() : "";
  const std::string designExtension = d->extension();
  const DesignPath file = SplitDesignPath(fileName != nullptr ? fileName : "");
  const bool renamed = !file.name.empty();
  if (renamed) {
    d->setName(file.name.c_str());
    d->setExtension(file.extension);
    if (directory == nullptr && !file.folder.empty()) d->fileDirectory(file.folder);
  }
  const bool saved = SaveIfcDesign(d);
  if (renamed) {
    d->setName(designName.c_str());
    d->setExtension(designExtension);
  }
  d->emptyYourself();
  TARN().deleteDesign(d);
  TARN().emptyTrash();
  TARN().shutdown();
  return saved;
}

}  // namespace ifcexport
}  // namespace korva
