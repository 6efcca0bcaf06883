// The outline of an area profile as plan points, for the profiles that are
// no polyline: the building import reads a wall's or slab's outline from
// its swept area this way when the area is not bounded by an IfcPolyline.
//
// Points are in the plane of the profile, as a polyline's points are:
//   IfcRectangleProfileDef (and its subtypes): the 4 corners, placed by the
//     profile's Position, counter-clockwise from (-XDim/2, -YDim/2);
//   IfcCircleProfileDef (and its subtypes): a polygon of kCircleSegments
//     corners on the circle, counter-clockwise from the Position's X axis;
//   both closed as our own export writes a plan polygon: the first point
//   stands again at the end;
//   IfcArbitraryClosedProfileDef (and IfcArbitraryProfileDefWithVoids): the
//     points of its OuterCurve, a bounded curve: an IfcPolyline's points; an
//     IfcCompositeCurve's segments one after another (each reversed where it
//     runs against the curve's sense), a point at the place of the one before
//     it (the joint of two segments, to rounding) taken once; an IfcTrimmedCurve's two end
//     points (a trimming point, else the trimming parameter on an IfcLine,
//     IfcCircle or IfcEllipse, angles in the unit given); an
//     IfcBSplineCurve's control points.
// Only profiles of ProfileType AREA have an outline, and a rectangle or
// circle only with positive dimensions.  Any other profile,
// or a curve of another kind, gives no points.
#ifndef KORVA_IMPORT_PROFILE_OUTLINE_H
#define KORVA_IMPORT_PROFILE_OUTLINE_H

#include <vector>

#include "import/building_domains.h"
#include "import/plane_angle_unit.h"

namespace korva {

// Corners of the polygon that stands for a circle: fine enough for a plan,
// few enough that a round column of a slab costs no more than a polygon a
// person would draw.
constexpr int kCircleSegments = 16;

// One outline point: plan coordinates and the point instance they were read
// from (null for a computed point).
struct OutlinePoint {
  double x = 0.0;
  double y = 0.0;
  TarnObject* source = nullptr;
};

// Reads profile outlines of one design.  Keeps its attribute lookups
// between calls; lives no longer than a pass over the design.
class ProfileOutlineReader {
 public:
  // Profiles of `design`, whose plane angle unit (for trimming parameters
  // on circles and ellipses) is looked up when first needed.
  ProfileOutlineReader(const BuildingDomains& domains, TarnDesign* design) : d_(domains), design_(design) {}

  // Whether the profile's ProfileType is AREA.
  bool isArea(TarnObject* profile);
  // The outer curve of an IfcArbitraryClosedProfileDef of type AREA when it
  // is an IfcPolyline (the outline every exporter of ours writes), or null.
  TarnObject* polylineOutline(TarnObject* profile);
  // The points of an IfcPolyline (none when unset).
  ListValue polylinePoints(TarnObject* polyline) { return ReadList(polyline, points_); }
  // Coordinates 0 and 1 of an IfcCartesianPoint (0.0 when missing).
  void planCoordinates(TarnObject* point, double (&xy)[2]);

  // Appends the outline of any area profile listed above to `out`; false
  // (and nothing appended) when it has none.
  bool read(TarnObject* profile, std::vector<OutlinePoint>* out);

 private:
  bool curve(TarnObject* curve, int depth, std::vector<OutlinePoint>* out);
  bool composite(TarnObject* curve, int depth, std::vector<OutlinePoint>* out);
  bool trimmed(TarnObject* curve, std::vector<OutlinePoint>* out);
  bool trimmingPoint(TarnObject* curve, const ListValue& trims, OutlinePoint* out);
  bool onBasisCurve(TarnObject* basis, double parameter, OutlinePoint* out);

 public:
  // Appends the points of a list of IfcCartesianPoint.
  void listPoints(const ListValue& points, std::vector<OutlinePoint>* out);

 private:
  // Placement of a 2D profile or conic: origin and X axis (unit length).
  void frame2D(TarnObject* placement, double origin[2], double xAxis[2]);
  static void closePolygon(std::vector<OutlinePoint>* out, size_t first);

  const BuildingDomains& d_;
  TarnDesign* design_;
  double angleUnit_ = 0.0;  // radians per plane angle unit; 0: not looked up yet
  NamedAttribute profileType_{"ProfileType"}, outerCurve_{"OuterCurve"}, points_{"Points"};
  NamedAttribute coordinates_{"Coordinates"}, directionRatios_{"DirectionRatios"};
  NamedAttribute position_{"Position"}, location_{"Location"}, refDirection_{"RefDirection"};
  NamedAttribute xDim_{"XDim"}, yDim_{"YDim"}, radius_{"Radius"};
  NamedAttribute segments_{"Segments"}, parentCurve_{"ParentCurve"}, sameSense_{"SameSense"};
  NamedAttribute basisCurve_{"BasisCurve"}, trim1_{"Trim1"}, trim2_{"Trim2"};
  NamedAttribute controlPoints_{"ControlPointsList"};
  NamedAttribute pnt_{"Pnt"}, dir_{"Dir"}, orientation_{"Orientation"}, magnitude_{"Magnitude"};
  NamedAttribute semiAxis1_{"SemiAxis1"}, semiAxis2_{"SemiAxis2"};
};

}  // namespace korva

#endif  // KORVA_IMPORT_PROFILE_OUTLINE_H
