#include "ifc2x2/geometry_builders.h"

#include <initializer_list>

#include "ifc2x2/new_entity.h"

namespace korva {

namespace {

ListOfIfcLengthMeasure* Values(IfcCartesianPoint* p) { return p->Coordinates(); }
ListOfdouble* Values(IfcDirection* d) { return d->DirectionRatios(); }

// A new point or direction of the given coordinates.
template <class T>
T* NewWithValues(TarnDesign* design, std::initializer_list<double> values) {
  T* instance = NewEntity<T>(design);
  if (instance != nullptr)
    for (double v : values) Values(instance)->add(v);
  return instance;
}

}  // namespace

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y) {
  return NewWithValues<IfcCartesianPoint>(design, {x, y});
}

IfcCartesianPoint* NewPoint(TarnDesign* design, double x, double y, double z) {
  return NewWithValues<IfcCartesianPoint>(design, {x, y, z});
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y) {
  return NewWithValues<IfcDirection>(design, {x, y});
}

IfcDirection* NewDirection(TarnDesign* design, double x, double y, double z) {
  return NewWithValues<IfcDirection>(design, {x, y, z});
}

IfcAxis2Placement3D* NewAxes(TarnDesign* design, IfcCartesianPoint* location, IfcDirection* axis,
                             IfcDirection* refDirection) {
  IfcAxis2Placement3D* a = NewEntity<IfcAxis2Placement3D>(design);
  if (a != nullptr) {
    a->Location(location);
    a->Axis(axis);
    a->RefDirection(refDirection);
  }
  return a;
}

IfcAxis2Placement3D* NewAxes(TarnDesign* design, const double location[3], const double axis[3],
                             const double refDirection[3]) {
  IfcCartesianPoint* origin = NewPoint(design, location[0], location[1], location[2]);
  IfcDirection* z = NewDirection(design, axis[0], axis[1], axis[2]);
  IfcDirection* x = NewDirection(design, refDirection[0], refDirection[1], refDirection[2]);
  return NewAxes(design, origin, z, x);
}

IfcAxis2Placement3D* NewOriginAxes(TarnDesign* design) {
  static const double kOrigin[3] = {0.0, 0.0, 0.0}, kUp[3] = {0.0, 0.0, 1.0}, kAlongX[3] = {1.0, 0.0, 0.0};
  return NewAxes(design, kOrigin, kUp, kAlongX);
}

IfcAxis2Placement* NewPlacementSelect(TarnDesign* design, IfcAxis2Placement3D* axes) {
  IfcAxis2Placement* select = NewEntity<IfcAxis2Placement>(design);
  if (select != nullptr) select->_IfcAxis2Placement3D(axes);
  return select;
}

IfcLocalPlacement* NewLocalPlacement(TarnDesign* design, IfcAxis2Placement* relativePlacement,
                                     IfcLocalPlacement* relativeTo) {
  IfcLocalPlacement* placement = NewEntity<IfcLocalPlacement>(design);
  if (placement != nullptr) {
    placement->RelativePlacement(relativePlacement);
    if (relativeTo != nullptr) placement->PlacementRelTo(relativeTo);
  }
  return placement;
}

IfcLocalPlacement* NewLocalPlacement(TarnDesign* design, IfcAxis2Placement3D* axes, IfcLocalPlacement* relativeTo) {
  IfcAxis2Placement* select = NewPlacementSelect(design, axes);
  return NewLocalPlacement(design, select, relativeTo);
}

IfcVertexPoint* NewVertexPoint(TarnDesign* design, double x, double y, double z) {
  IfcCartesianPoint* point = NewPoint(design, x, y, z);
  IfcVertexPoint* vertex = NewEntity<IfcVertexPoint>(design);
  if (vertex != nullptr) vertex->VertexGeometry(point);
  return vertex;
}

IfcEdge* NewEdge(TarnDesign* design, const double start[3], const double end[3]) {
  IfcVertexPoint* from = NewVertexPoint(design, start[0], start[1], start[2]);
  IfcVertexPoint* to = NewVertexPoint(design, end[0], end[1], end[2]);
  IfcEdge* edge = NewEntity<IfcEdge>(design);
  if (edge != nullptr) {
    edge->EdgeStart(from);
    edge->EdgeEnd(to);
  }
  return edge;
}

IfcFace* NewFace(TarnDesign* design, const std::vector<IfcCartesianPoint*>& corners) {
  IfcPolyLoop* loop = NewEntity<IfcPolyLoop>(design);
  if (loop != nullptr) {
    ListOfIfcCartesianPoint* polygon = loop->Polygon();
    for (IfcCartesianPoint* p : corners) polygon->append(p);
  }
  IfcFaceOuterBound* bound = NewEntity<IfcFaceOuterBound>(design);
  if (bound != nullptr) {
    bound->Bound(loop);
    bound->Orientation(kTrue);
  }
  IfcFace* face = NewEntity<IfcFace>(design);
  if (face != nullptr && bound != nullptr) face->Bounds()->append(bound);
  return face;
}

IfcProductRepresentation* NewTopologyRepresentation(TarnDesign* design, IfcRepresentationItem* item,
                                                    const char* type, IfcRepresentationContext* context) {
  IfcTopologyRepresentation* representation = NewEntity<IfcTopologyRepresentation>(design);
  if (representation != nullptr) {
    if (item != nullptr) representation->Items()->append(item);
    representation->ContextOfItems(context);
    representation->RepresentationType(type);
  }
  IfcProductRepresentation* product = NewEntity<IfcProductRepresentation>(design);
  if (product != nullptr && representation != nullptr) product->Representations()->append(representation);
  return product;
}

}  // namespace korva
