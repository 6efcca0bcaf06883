// The geometry and topology the exports and the update build: points,
// directions, axis placements, local placements, vertices, edges, faces and
// topology representations.
//
// Every builder makes its instances in `design` in the order its comment
// names them (the writer numbers the instances of a type in creation order)
// and gives back the last one.  An instance whose type the design's schema
// lacks is null (reported by the database); the builders go on with the
// others.
#ifndef KORVA_IFC2X2_GEOMETRY_BUILDERS_H
#define KORVA_IFC2X2_GEOMETRY_BUILDERS_H

#include <vector>

#include "ifc2x2/ifc2x2.h"

namespace korva {

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y);
IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z);
IfcDirection* NewDirection(TarnDesign* design, double x, double y);
IfcDirection* NewDirection(TarnDesign* design, double x, double y, double z);

// An IfcAxis2Placement3D of the given location, Z axis and X axis.
IfcAxis2Placement3D* NewAxes(TarnDesign* design, IfcCartesianPoint* location, IfcDirection* axis,
                             IfcDirection* refDirection);
// A point, two directions (taken as given, not normalised) and the
// IfcAxis2Placement3D of them.
IfcAxis2Placement3D* NewAxes(TarnDesign* design, const double location[3], const double axis[3],
                             const double refDirection[3]);
// The same at the origin, Z along (0,0,1), X along (1,0,0).
IfcAxis2Placement3D* NewOriginAxes(TarnDesign* design);

// The IfcAxis2Placement select value holding `axes`.
IfcAxis2Placement* NewPlacementSelect(TarnDesign* design, IfcAxis2Placement3D* axes);
// An IfcLocalPlacement at `relativePlacement`, relative to `relativeTo`
// (null: to the world).
IfcLocalPlacement* NewLocalPlacement(TarnDesign* design, IfcAxis2Placement* relativePlacement,
                                     IfcLocalPlacement* relativeTo);
// The select value of `axes` and a local placement at it, relative to
// `relativeTo`.
IfcLocalPlacement* NewLocalPlacement(TarnDesign* design, IfcAxis2Placement3D* axes, IfcLocalPlacement* relativeTo);

// A point and the IfcVertexPoint on it.
IfcVertexPoint* NewVertexPoint(TarnDesign* design, double x, double y, double z);
// The vertex points of `start` and `end` (new points, not shared) and the
// IfcEdge between them.
IfcEdge* NewEdge(TarnDesign* design, const double start[3], const double end[3]);
// An IfcPolyLoop through `corners` (not closed: the first is not repeated),
// its IfcFaceOuterBound (Orientation true) and the IfcFace of that bound.
IfcFace* NewFace(TarnDesign* design, const std::vector<IfcCartesianPoint*>& corners);

// An IfcTopologyRepresentation of `item` in `context` (RepresentationType
// `type`: "Vertex", "Edge", "Face"; RepresentationIdentifier unset) and the
// IfcProductRepresentation holding it.
IfcProductRepresentation* NewTopologyRepresentation(TarnDesign* design, IfcRepresentationItem* item,
                                                    const char* type, IfcRepresentationContext* context);

}  // namespace korva

#endif  // KORVA_IFC2X2_GEOMETRY_BUILDERS_H
