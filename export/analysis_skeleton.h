// The frame every IFC export writes around its model: the design and its
// header, the owner history, the units, the world placement, the model
// context, project, site and building, storeys with their containment
// relationships, the aggregation of the spatial structure, and the save that
// discards the design and shuts the interface object down.
//
// Everything is created in the order the written file shows it: the writer
// numbers instances by type, in the order each type first appears, and by
// creation within a type.
#ifndef KORVA_EXPORT_ANALYSIS_SKELETON_H
#define KORVA_EXPORT_ANALYSIS_SKELETON_H

#include <vector>

#include "ifc2x2/ifc2x2.h"

namespace korva {
namespace ifcexport {

// What the host says about the file, its author and its units.
struct HeaderArguments {
  const char* fileName = nullptr;           // design name; "x.ifc" names x, saved with ".ifc"
  const char* description = nullptr;        // FILE_DESCRIPTION entry
  const char* originatingSystem = nullptr;  // FILE_NAME originating system
  const char* author = nullptr;             // FILE_NAME author, IfcPerson names
  const char* organization = nullptr;       // FILE_NAME organization, IfcOrganization name
  const char* authorization = nullptr;      // FILE_NAME authorisation
  const char* applicationName = nullptr;    // IfcApplication.ApplicationFullName
  int prefix = -1;                          // IfcSIPrefix index of length and area units
  int unitName = IfcSIUnitName_METRE;       // IfcSIUnitName index of the length unit
};

// The objects that later objects refer to.  Pointers live as long as the
// design does.
struct Skeleton {
  TarnDesign* design = nullptr;
  IfcOwnerHistory* ownerHistory = nullptr;
  IfcUnitAssignment* units = nullptr;
  IfcAxis2Placement3D* worldAxes = nullptr;     // at the origin, Z up, X east
  IfcAxis2Placement* worldPlacement = nullptr;  // select holding worldAxes
  IfcLocalPlacement* sharedPlacement = nullptr; // of site, building, storeys
  IfcGeometricRepresentationContext* modelContext = nullptr;
  IfcProject* project = nullptr;
  IfcSite* site = nullptr;
  IfcBuilding* building = nullptr;
};

// Makes the design and everything up to the building: the header values,
// person, organization, person-and-organization, application and owner
// history (in that order), the length and area units, the world placement
// and the shared placement, the model context ("Plan", "Design", 3, 1e-05,
// true north (0,1)), the project (with the model context) and the site and
// building, each with a new GlobalId.  False, with an empty skeleton, when
// the IFC2x2 schema cannot be loaded.  An out-of-range prefix leaves the
// prefix unset; an out-of-range unit name leaves the name unset and is
// reported.
bool StartSkeleton(const HeaderArguments& args, Skeleton* out);

// An entity of class T in the design (null when the design has no such
// type, reported by the database).
template <class T>
T* NewEntity(TarnDesign* design) {
  return typecast<T>(design->newInstance(T::classType.name()));
}

// Sets a new GlobalId, the owner history and the name of a rooted object.
void StartRooted(const Skeleton& s, IfcRoot* object, const char* name);

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z);
IfcDirection* NewDirection(TarnDesign* design, double x, double y, double z);

// A storey placed by the shared placement, composition ELEMENT, with
// LongName, ObjectType and Description " "; the elevation is left unset
// when `elevation` is null.
IfcBuildingStorey* NewStorey(const Skeleton& s, const char* name, const double* elevation);

// The containment relationship of a storey, named "StroyStructure" and the
// storey's 1-based number.  Its RelatedElements is made by the first
// element added.
IfcRelContainedInSpatialStructure* NewStoreyContainment(const Skeleton& s, IfcBuildingStorey* storey,
                                                        int number);

// "Building Container" (the storeys, in order; none leaves RelatedObjects
// unset), "Site Container" (the building) and "Project Container" (the
// site).
void AggregateSpatialStructure(const Skeleton& s, const std::vector<IfcBuildingStorey*>& storeys);

// Saves the design as `fileName` (folder and extension split off like the
// design name; null or empty keeps the design's own name) in `directory`
// (null keeps the design's folder), then deletes the design, empties the
// trash and shuts the interface object down.  The skeleton is emptied.
// False when the save failed (the writer has reported why).
bool SaveAndShutDown(Skeleton* s, const char* fileName, const char* directory);

}  // namespace ifcexport
}  // namespace korva

#endif  // KORVA_EXPORT_ANALYSIS_SKELETON_H
