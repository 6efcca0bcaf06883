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
//   - an element whose start index is negative, or whose points run past
//     the largest index (start + point count above INT_MAX), or a faceted
//     object whose first face or one of whose vertex indices is negative or
//     whose faces run past the largest index: that element or object is
//     skipped;
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

#include "ifc2x2/project_skeleton.h"

namespace korva {
namespace building {

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
void ExportExtrudedBuilding(const char* function, BuildingForm form, const HeaderArguments& args,
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
void ExportFacetedBuilding(const HeaderArguments& args, const FacetArrays& facets);

}  // namespace building
}  // namespace korva

#endif  // KORVA_EXPORT_BUILDING_EXPORT_H
