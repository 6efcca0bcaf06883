// Building export: one call writes one complete IFC2x2 file.
//
// Each export makes a new design, builds the spatial skeleton (owner history,
// units, world placement, contexts, project, site, building, storeys and
// their containment relationships), hangs the building elements into it,
// aggregates storeys, building and site, saves the design as an ISO 10303-21
// file in the host's directory and discards it.  Every export except the
// faceted one (ExportOpenFile) then shuts the interface object down, which
// ends logging; nothing survives the call.
//
// The five exported forms differ only in details, listed by BuildingForm.
// The host's per-element arrays are read from index 1 (element 0 is never
// read); the coordinate arrays are read at the indices the host names.
//
// Hostile input never crashes an export:
//   - a null or empty file name, or a null directory: nothing is made and no
//     file is written;
//   - a null array that the counts say is needed (the storey elevations for
//     a positive storey count, the coordinate, depth and placement arrays for
//     any element, a kind's start, point-count and storey arrays for a
//     positive count of that kind, every array of the faceted export for a
//     positive object count): no file is written;
//   - a negative count: taken as 0, the file is still complete;
//   - an element whose start index is negative, or a faceted object whose
//     first face or one of whose vertex indices is negative: that element or
//     object is skipped;
//   - an element naming a storey outside 1 to the storey count: written, but
//     contained in no storey;
//   - a null header text (description, originating system, author,
//     organization, authorization, application name): written as an empty
//     text;
//   - an SI prefix index outside EXA..ATTO: the units get no prefix; a unit
//     name index outside the IfcSIUnitName enumeration: METRE is used.
// Each of these is reported as a warning through the interface object's
// reporter (standard output and the log file), naming the exported function.
// Warnings never end the process.  The interface object is shut down at the
// end of the call whether or not a file was written (except ExportOpenFile).
#ifndef KORVA_EXPORT_BUILDING_EXPORT_H
#define KORVA_EXPORT_BUILDING_EXPORT_H

#include <vector>

#include "ifc2x2/ifc2x2.h"

namespace korva {
namespace building {

// Arguments 1 to 10, the same in every building export (and, without the
// directory, in the analysis-model export).  The texts belong to the host.
struct FileArguments {
  const char* fileName = nullptr;           // design name; "model.ifc" saves model.ifc
  const char* directory = nullptr;          // folder the file is saved in
  const char* description = nullptr;        // FILE_DESCRIPTION entry
  const char* originatingSystem = nullptr;  // FILE_NAME originating system
  const char* author = nullptr;             // FILE_NAME author, IfcPerson names
  const char* organization = nullptr;       // FILE_NAME organization, IfcOrganization
  const char* authorization = nullptr;      // FILE_NAME authorisation
  const char* applicationName = nullptr;    // IfcApplication.ApplicationFullName
  int prefix = -1;                          // IfcSIPrefix index (length and area)
  int unitName = IfcSIUnitName_METRE;       // IfcSIUnitName index (length)
};

// ---------------------------------------------------------------------------
// The spatial skeleton, shared with any export that writes the same frame.

// The two styles of skeleton.  kFixedIdentifiers is that of the four older
// exports: IfcApplication with its full name only, created after the
// person-and-organization; fixed 22-letter GlobalIds for project, site,
// building, storeys, containments and aggregations.  kGeneratedIdentifiers
// is the current one: person, organization, person-and-organization, full
// IfcApplication ("9.0", "KORVA"), a new GlobalId for every rooted object.
enum class SkeletonStyle { kFixedIdentifiers, kGeneratedIdentifiers };

// The objects later objects refer to; they live as long as the design.
struct BuildingSkeleton {
  SkeletonStyle style = SkeletonStyle::kGeneratedIdentifiers;
  TarnDesign* design = nullptr;
  IfcOwnerHistory* ownerHistory = nullptr;
  IfcUnitAssignment* units = nullptr;
  IfcAxis2Placement3D* worldAxes = nullptr;      // origin, Z up, X along (1,0,0)
  IfcAxis2Placement* worldPlacement = nullptr;   // select holding worldAxes
  IfcLocalPlacement* sharedPlacement = nullptr;  // site, building, storeys
  IfcGeometricRepresentationContext* modelContext = nullptr;
  IfcGeometricRepresentationContext* bodyContext = nullptr;  // null unless made
  IfcProject* project = nullptr;
  IfcSite* site = nullptr;
  IfcBuilding* building = nullptr;
  std::vector<IfcBuildingStorey*> storeys;
  std::vector<IfcRelContainedInSpatialStructure*> containments;  // one per storey
};

// Makes the design named after args.fileName (saved later into
// args.directory; a null directory leaves the design's own folder), fills
// the file header from the texts, and creates owner history, units, world
// and shared placement, model context, project, site and building.  False,
// with `out` holding no design, when the IFC2x2 schema cannot be loaded (the
// reporter has said why).  Null texts count as empty.
bool StartBuildingSkeleton(const FileArguments& args, SkeletonStyle style, BuildingSkeleton* out);

// A storey placed by the shared placement, composition ELEMENT, appended to
// s->storeys.  `globalId` null means a new GlobalId; `elevation` null leaves
// Elevation as constructed (0.0); `blankTexts` sets LongName, ObjectType and
// Description to " ".
IfcBuildingStorey* AddBuildingStorey(BuildingSkeleton* s, const char* name, const char* globalId,
                                     const double* elevation, bool blankTexts);

// The containment relationship of `storey`, appended to s->containments.
// Its RelatedElements is made by the first element put into it.
IfcRelContainedInSpatialStructure* AddStoreyContainment(BuildingSkeleton* s, IfcBuildingStorey* storey,
                                                        const char* name, const char* globalId);

// The second context ("Plan", "Design", 3, 1e-05, its own true north (0,1)),
// added to the project after the model context; the context of element
// bodies.
IfcGeometricRepresentationContext* AddBodyContext(BuildingSkeleton* s);

// "Building Container" (every storey in order; with none, RelatedObjects
// stays unset), "Site Container" (the building), "Project Container" (the
// site), with fixed or new GlobalIds by the skeleton's style.
void AggregateBuildingSkeleton(BuildingSkeleton* s);

// Saves the design in its folder under its name, deletes it and empties the
// trash; with `shutDown`, then shuts the interface object down.  The
// skeleton is cleared.  False when the save failed (reported by the writer).
bool FinishBuildingExport(BuildingSkeleton* s, bool shutDown);

// ---------------------------------------------------------------------------
// The five exports.

// What distinguishes the extruded exports.
enum class BuildingForm {
  kNew,           // ExportOpenFileNew: one storey "AB"; columns, beams
  kWithStoreys,   // ExportOpenFileWithStoryes: storeys; columns, beams
  kWithSlabs,     // ExportOpenFileWithStoryesAndSlabs: + slabs
  kWithWalls,     // ExportOpenFileWithStoryesAndSlabsWalls: + walls, new GlobalIds
};

// The element kinds, in the order they are written and numbered.
enum ElementKind { kColumn = 0, kBeam = 1, kSlab = 2, kWall = 3, kElementKinds = 4 };

// The host's element arrays.  Per kind: count, start index into x/y, point
// count and storey number of element k at [k].  Depth and placement arrays
// are indexed by the running number e (columns, then beams, slabs, walls).
struct ElementArrays {
  int count[kElementKinds] = {0, 0, 0, 0};
  const int* start[kElementKinds] = {nullptr, nullptr, nullptr, nullptr};
  const int* points[kElementKinds] = {nullptr, nullptr, nullptr, nullptr};
  const int* storey[kElementKinds] = {nullptr, nullptr, nullptr, nullptr};
  const double* x = nullptr;
  const double* y = nullptr;
  const double* depth = nullptr;
  const double* location[3] = {nullptr, nullptr, nullptr};
  const double* axis[3] = {nullptr, nullptr, nullptr};
  const double* reference[3] = {nullptr, nullptr, nullptr};
};

// One of the four extruded exports.  `storeyCount` and `elevations` are not
// read by kNew.  Counts of kinds that `form` does not write are ignored.
void ExportExtrudedBuilding(const char* function, BuildingForm form, const FileArguments& args,
                            int storeyCount, const double* elevations, const ElementArrays& elements);

// The host's arrays of the faceted export: vertices, four vertex indices per
// face, and per object (from 1) its first face and face count.
struct FacetArrays {
  int objectCount = 0;
  const double* x = nullptr;
  const double* y = nullptr;
  const double* z = nullptr;
  const int* vertex[4] = {nullptr, nullptr, nullptr, nullptr};
  const int* firstFace = nullptr;
  const int* faceCount = nullptr;
};

// ExportOpenFile: one storey, one proxy with a faceted brep per object.  The
// interface object stays initialised.
void ExportFacetedBuilding(const FileArguments& args, const FacetArrays& facets);

}  // namespace building
}  // namespace korva

#endif  // KORVA_EXPORT_BUILDING_EXPORT_H
