// Making IFC instances for the benchmark models through the generated
// classes: a counting instance maker with the small geometric pieces every
// model repeats (points, directions, 3D and 2D axes, local placements),
// GlobalIds from a counter and varied decimals.
#ifndef KORVA_BENCH_BENCH_BUILDER_H
#define KORVA_BENCH_BENCH_BUILDER_H

#include "ifc2x2/ifc2x2.h"
#include "objdb/design.h"

namespace korva {
namespace bench {

// A new instance of class T (an entity or a select value) in `design`.
template <class T>
T* Make(TarnDesign* design) {
  return typecast<T>(design->newInstance(T::classType.name()));
}

// Makes instances in one design and counts the entity instances made
// through it (select values, which a file does not hold as instances, are
// not counted).
class Builder {
 public:
  explicit Builder(TarnDesign* design) : d_(design) {}

  TarnDesign* design() const { return d_; }
  long made() const { return made_; }

  template <class T>
  T* make() {
    ++made_;
    return Make<T>(d_);
  }

  IfcCartesianPoint* point(double x, double y, double z) {
    IfcCartesianPoint* p = make<IfcCartesianPoint>();
    ListOfIfcLengthMeasure* c = p->Coordinates();
    c->add(x);
    c->add(y);
    c->add(z);
    return p;
  }
  IfcCartesianPoint* point2(double x, double y) {
    IfcCartesianPoint* p = make<IfcCartesianPoint>();
    p->Coordinates()->add(x);
    p->Coordinates()->add(y);
    return p;
  }
  IfcDirection* direction(double x, double y, double z) {
    IfcDirection* r = make<IfcDirection>();
    ListOfdouble* c = r->DirectionRatios();
    c->add(x);
    c->add(y);
    c->add(z);
    return r;
  }
  IfcDirection* direction2(double x, double y) {
    IfcDirection* r = make<IfcDirection>();
    r->DirectionRatios()->add(x);
    r->DirectionRatios()->add(y);
    return r;
  }
  IfcAxis2Placement3D* axes(IfcCartesianPoint* at, IfcDirection* axis, IfcDirection* ref) {
    IfcAxis2Placement3D* a = make<IfcAxis2Placement3D>();
    a->Location(at);
    a->Axis(axis);
    a->RefDirection(ref);
    return a;
  }
  // Axes at (x, y, z) with Axis (0, 0, 1) and RefDirection (1, 0, 0), each
  // piece a new instance as an exporter writes them.
  IfcAxis2Placement3D* axesAt(double x, double y, double z) {
    return axes(point(x, y, z), direction(0, 0, 1), direction(1, 0, 0));
  }
  IfcAxis2Placement2D* axes2(double x, double y) {
    IfcAxis2Placement2D* a = make<IfcAxis2Placement2D>();
    a->Location(point2(x, y));
    a->RefDirection(direction2(1, 0));
    return a;
  }
  // A body representation ("Body", "SweptSolid") as the exporters write
  // one: a closed polyline outline of dx by dy (its first point repeated)
  // as an arbitrary closed profile, extruded `depth` along z from axes at
  // the origin.
  IfcShapeRepresentation* sweptOutline(double dx, double dy, double depth) {
    IfcPolyline* outline = make<IfcPolyline>();
    ListOfIfcCartesianPoint* points = outline->Points();
    points->add(point2(0, 0));
    points->add(point2(dx, 0));
    points->add(point2(dx, dy));
    points->add(point2(0, dy));
    points->add(points->first());
    IfcArbitraryClosedProfileDef* profile = make<IfcArbitraryClosedProfileDef>();
    profile->ProfileType(IfcProfileTypeEnum_AREA);
    profile->OuterCurve(outline);
    IfcExtrudedAreaSolid* solid = make<IfcExtrudedAreaSolid>();
    solid->SweptArea(profile);
    solid->Position(axesAt(0, 0, 0));
    solid->ExtrudedDirection(direction(0, 0, 1));
    solid->Depth(depth);
    IfcShapeRepresentation* body = make<IfcShapeRepresentation>();
    body->RepresentationIdentifier("Body");
    body->RepresentationType("SweptSolid");
    body->Items()->add(solid);
    return body;
  }
  IfcLocalPlacement* placement(IfcLocalPlacement* relTo, IfcAxis2Placement3D* a) {
    IfcLocalPlacement* p = make<IfcLocalPlacement>();
    IfcAxis2Placement* select = Make<IfcAxis2Placement>(d_);  // a select, not an entity
    select->_IfcAxis2Placement3D(a);
    p->RelativePlacement(select);
    if (relTo != nullptr) p->PlacementRelTo(relTo);
    return p;
  }

 private:
  TarnDesign* d_;
  long made_ = 0;
};

// A 22-character identifier in the GlobalId alphabet, unique per n.
inline void GlobalIdOf(long n, char* out) {
  static const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
  unsigned long long v = 0x9E3779B97F4A7C15ull * static_cast<unsigned long long>(n + 1);
  for (int i = 0; i < 22; ++i) {
    out[i] = kAlphabet[(v >> ((i * 6) % 60)) & 63];
    if (i == 10) v ^= static_cast<unsigned long long>(n) * 0xBF58476D1CE4E5B9ull;
  }
  out[22] = '\0';
}

// Varied decimals with up to three places, as drawn coordinates are.
inline double Coordinate(long n, int salt) {
  const long k = (n * 7919 + salt * 104729) % 2000000;
  return static_cast<double>(k - 1000000) / 1000.0;
}

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_BUILDER_H
