// The frame every IFC export writes around its model: the design and its
// file header, the owner history, the units, the world placement, the
// model context, project, site and building, storeys with their
// containment relationships, the aggregation of the spatial structure, and
// the save that discards the design.
//
// Everything is created in the order the written file shows it: the writer
// numbers instances by type, in the order each type first appears, and by
// creation within a type.
#ifndef KORVA_IFC2X2_PROJECT_SKELETON_H
#define KORVA_IFC2X2_PROJECT_SKELETON_H

#include <vector>

#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/owner_history.h"
#include "ifc2x2/units.h"

namespace korva {

// What the host says about the file, its author and its units.  The texts
// belong to the host.
struct HeaderArguments {
  const char* fileName = nullptr;           // design name; "x.ifc" names x, saved with ".ifc"
  const char* directory = nullptr;          // folder it is saved in; null: the design's own
  const char* description = nullptr;        // FILE_DESCRIPTION entry
  const char* originatingSystem = nullptr;  // FILE_NAME originating system
  const char* author = nullptr;             // FILE_NAME author, IfcPerson names
  const char* organization = nullptr;       // FILE_NAME organization, IfcOrganization name
  const char* authorization = nullptr;      // FILE_NAME authorisation
  const char* applicationName = nullptr;    // IfcApplication ApplicationFullName
  int prefix = -1;                          // IfcSIPrefix index of length and area units
  int unitName = IfcSIUnitName_METRE;       // IfcSIUnitName index of the length unit
};

// How a skeleton is written.
struct SkeletonStyle {
  // The older building exports' skeleton: the application with its full
  // name only, made first (ownerhistory.h), and the same 22-letter
  // identifiers in every file for project, site, building, storeys,
  // containments and aggregations.  Otherwise the full application
  // ("9.0", "KORVA") and a new GlobalId for every rooted object.
  bool fixedIdentifiers = false;
  NullTexts nullTexts = NullTexts::kEmpty;  // header texts and owner history texts
  UnitNameFallback unitNameFallback = UnitNameFallback::kMetre;
};

// The objects later objects refer to; they live as long as the design.
struct ProjectSkeleton {
  TarnDesign* design = nullptr;
  bool fixedIdentifiers = false;
  IfcOwnerHistory* ownerHistory = nullptr;
  IfcUnitAssignment* units = nullptr;
  IfcAxis2Placement3D* worldAxes = nullptr;      // origin, Z up, X along (1,0,0)
  IfcAxis2Placement* worldPlacement = nullptr;   // select holding worldAxes
  IfcLocalPlacement* sharedPlacement = nullptr;  // of site, building and storeys
  IfcGeometricRepresentationContext* modelContext = nullptr;
  IfcGeometricRepresentationContext* bodyContext = nullptr;  // null unless made
  IfcProject* project = nullptr;
  IfcSite* site = nullptr;
  IfcBuilding* building = nullptr;
  std::vector<IfcBuildingStorey*> storeys;
  std::vector<IfcRelContainedInSpatialStructure*> containments;  // one per storey
};

// Makes the design named after args.fileName, fills the file header (the
// host's texts after the empty ones the header starts with), and creates
// the owner history (NOCHANGE, created 11223344), the units, the world
// placement (directions (1,0,0), (0,1,0) unused, (0,0,1), true north (0,1),
// origin) and the shared placement, the model context ("Plan", "Design",
// 3, 1e-05), the project ("Default Project", "Project Vkt", "1234") with
// the model context and the units, and site and building ("Default Site",
// "Default Building", composition ELEMENT, the shared placement).  False,
// with `out` holding no design, when the IFC2x2 schema cannot be loaded
// (the reporter has said why).
bool StartProjectSkeleton(const HeaderArguments& args, const SkeletonStyle& style, ProjectSkeleton* out);

// A storey placed by the shared placement, composition ELEMENT, appended
// to s->storeys.  `elevation` null leaves Elevation as constructed (0.0);
// `blankTexts` sets LongName, ObjectType and Description to " ".
IfcBuildingStorey* AddStorey(ProjectSkeleton* s, const char* name, const double* elevation, bool blankTexts);

// The containment relationship of `storey`, appended to s->containments.
// Its RelatedElements is made by the first element put into it.
IfcRelContainedInSpatialStructure* AddStoreyContainment(ProjectSkeleton* s, IfcBuildingStorey* storey,
                                                        const char* name);

// Replaces the storey and containment lists by `count` storeys "Stroy1",
// "Stroy2", ... with the elevations elevations[1..count] (element 0 is not
// read), then their containments "StroyStructure1", ...  A count of 0 or
// less leaves both lists empty.
void AddNumberedStoreys(ProjectSkeleton* s, int count, const double* elevations, bool blankTexts);

// The second context ("Plan", "Design", 3, 1e-05, its own true north
// (0,1)), added to the project after the model context.
IfcGeometricRepresentationContext* AddBodyContext(ProjectSkeleton* s);

// "Building Container" (every storey in order; with none, RelatedObjects
// stays unset), "Site Container" (the building), "Project Container" (the
// site).
void AggregateSpatialStructure(ProjectSkeleton* s);

// Saves the design as `fileName` in `directory` (SaveIfcDesignAs: null
// keeps the design's own name and folder; a name without extension takes
// the format's), discards it and, with `shutDown`, shuts the interface
// object down.  The skeleton is emptied.  False when the save failed (the
// writer has reported why).
bool FinishProjectSkeleton(ProjectSkeleton* s, const char* fileName, const char* directory, bool shutDown);

}  // namespace korva

#endif  // KORVA_IFC2X2_PROJECT_SKELETON_H
