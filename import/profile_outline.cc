#include "import/profile_outline.h"

#include <algorithm>
#include <cmath>

#include "import/analysis_reading.h"
#include "objdb/union.h"

namespace korva {
namespace {

// Curves nest (composite curves of trimmed curves of ...); a file whose
// curves refer to each other in a circle stops here.
constexpr int kMaxCurveDepth = 16;

constexpr double kPi = 3.14159265358979323846;

// Whether two points stand at the same place: the end of one segment of a
// composite curve and the start of the next, one of them computed from a
// trimming parameter, differ by rounding only.
bool SamePlace(const OutlinePoint& a, const OutlinePoint& b) {
  auto near = [](double u, double v) {
    return std::fabs(u - v) <= 1e-9 * (1.0 + std::max(std::fabs(u), std::fabs(v)));
  };
  return near(a.x, b.x) && near(a.y, b.y);
}

// The point at (u, v) of the frame with origin `o` and X axis `x` (its Y
// axis is X turned a quarter to the left).
OutlinePoint InFrame(const double o[2], const double x[2], double u, double v) {
  OutlinePoint p;
  p.x = o[0] + u * x[0] - v * x[1];
  p.y = o[1] + u * x[1] + v * x[0];
  return p;
}

}  // namespace

bool ProfileOutlineReader::isArea(TarnObject* profile) {
  int type = -1;
  return ReadEnumeration(profile, profileType_, &type) && type == d_.areaProfileType;
}

TarnObject* ProfileOutlineReader::polylineOutline(TarnObject* profile) {
  if (!isArea(profile) || !IsA(profile, d_.arbitraryClosedProfileDef)) return nullptr;
  TarnObject* curve = ReadRef(profile, outerCurve_);
  return IsA(curve, d_.polyline) ? curve : nullptr;
}

void ProfileOutlineReader::planCoordinates(TarnObject* point, double (&xy)[2]) {
  ReadList(point, coordinates_).reals(xy, 2);
}

bool ProfileOutlineReader::read(TarnObject* profile, std::vector<OutlinePoint>* out) {
  if (!isArea(profile)) return false;
  const size_t first = out->size();
  if (IsA(profile, d_.arbitraryClosedProfileDef)) {
    if (!curve(ReadRef(profile, outerCurve_), 0, out)) {
      out->resize(first);
      return false;
    }
    return true;
  }
  double origin[2], xAxis[2];
  if (IsA(profile, d_.rectangleProfileDef)) {
    double x = 0.0, y = 0.0;
    if (!ReadReal(profile, xDim_, &x) || !ReadReal(profile, yDim_, &y) || !(x > 0.0 && y > 0.0)) return false;
    frame2D(ReadRef(profile, position_), origin, xAxis);
    const double corners[4][2] = {{-x / 2, -y / 2}, {x / 2, -y / 2}, {x / 2, y / 2}, {-x / 2, y / 2}};
    for (const auto& c : corners) out->push_back(InFrame(origin, xAxis, c[0], c[1]));
    closePolygon(out, first);
    return true;
  }
  if (IsA(profile, d_.circleProfileDef)) {
    double r = 0.0;
    if (!ReadReal(profile, radius_, &r) || !(r > 0.0)) return false;
    frame2D(ReadRef(profile, position_), origin, xAxis);
    for (int k = 0; k < kCircleSegments; ++k) {
      const double a = 2.0 * kPi * k / kCircleSegments;
      out->push_back(InFrame(origin, xAxis, r * std::cos(a), r * std::sin(a)));
    }
    closePolygon(out, first);
    return true;
  }
  return false;
}

bool ProfileOutlineReader::curve(TarnObject* c, int depth, std::vector<OutlinePoint>* out) {
  if (c == nullptr || depth > kMaxCurveDepth) return false;
  if (IsA(c, d_.polyline)) {
    const ListValue points = ReadList(c, points_);
    if (points.count() == 0) return false;
    listPoints(points, out);
    return true;
  }
  if (IsA(c, d_.compositeCurve)) return composite(c, depth, out);
  if (IsA(c, d_.trimmedCurve)) return trimmed(c, out);
  if (IsA(c, d_.bSplineCurve)) {
    const ListValue points = ReadList(c, controlPoints_);
    if (points.count() == 0) return false;
    listPoints(points, out);
    return true;
  }
  return false;
}

bool ProfileOutlineReader::composite(TarnObject* c, int depth, std::vector<OutlinePoint>* out) {
  const ListValue segments = ReadList(c, segments_);
  const size_t first = out->size();
  std::vector<OutlinePoint> part;
  for (uint32_t i = 0; i < segments.count(); ++i) {
    TarnObject* segment = segments.object(i);
    part.clear();
    if (!curve(ReadRef(segment, parentCurve_), depth + 1, &part)) continue;
    TarnAttribute* sense = segment != nullptr ? sameSense_.of(segment) : nullptr;
    if (sense != nullptr && segment->slotType(sense)->nodeType() == kNodeBoolean && segment->getBoolean(sense) == 0)
      std::reverse(part.begin(), part.end());
    for (const OutlinePoint& p : part)
      if (out->size() == first || !SamePlace(out->back(), p)) out->push_back(p);
  }
  return out->size() > first;
}

bool ProfileOutlineReader::trimmed(TarnObject* c, std::vector<OutlinePoint>* out) {
  OutlinePoint start, end;
  if (!trimmingPoint(c, ReadList(c, trim1_), &start) || !trimmingPoint(c, ReadList(c, trim2_), &end)) return false;
  out->push_back(start);
  out->push_back(end);
  return true;
}

// A trimming point: the IfcCartesianPoint among the trims, else the point
// of the trimming parameter on the basis curve.
bool ProfileOutlineReader::trimmingPoint(TarnObject* c, const ListValue& trimList, OutlinePoint* out) {
  for (uint32_t i = 0; i < trimList.count(); ++i) {
    TarnObject* point = trimList.object(i);
    if (IsA(point, d_.cartesianPoint)) {
      double xy[2];
      planCoordinates(point, xy);
      out->x = xy[0];
      out->y = xy[1];
      out->source = point;
      return true;
    }
  }
  TarnAggregate* trims = trimList.list;
  if (trims == nullptr) return false;
  TarnAttribute* element = trims->elementAttribute();
  if (element == nullptr || !IsObjectNode(trims->slotType(element)->nodeType())) return false;
  for (uint32_t i = 0; i < trims->count(); ++i) {
    TarnUnion* select = dynamic_cast<TarnUnion*>(trims->getObject(static_cast<int>(i)));
    double parameter = 0.0;
    if (select != nullptr && ReadDouble(select, select->attribute(), &parameter))
      return onBasisCurve(ReadRef(c, basisCurve_), parameter, out);
  }
  return false;
}

bool ProfileOutlineReader::onBasisCurve(TarnObject* basis, double t, OutlinePoint* out) {
  if (IsA(basis, d_.line)) {
    TarnObject* vector = ReadRef(basis, dir_);
    const ListValue ratios = ReadList(ReadRef(vector, orientation_), directionRatios_);
    double magnitude = 1.0;
    ReadReal(vector, magnitude_, &magnitude);
    TarnObject* start = ReadRef(basis, pnt_);
    if (start == nullptr || !ratios) return false;
    // The line's parameter counts lengths of the vector, not of its
    // direction: a direction need not be of unit length.
    const double dx = ratios.real(0), dy = ratios.real(1);
    const double norm = std::sqrt(dx * dx + dy * dy);
    if (norm == 0.0) return false;
    double xy[2];
    planCoordinates(start, xy);
    out->x = xy[0] + t * magnitude * dx / norm;
    out->y = xy[1] + t * magnitude * dy / norm;
    return true;
  }
  double r1 = 0.0, r2 = 0.0;
  if (IsA(basis, d_.circle)) {
    if (!ReadReal(basis, radius_, &r1)) return false;
    r2 = r1;
  } else if (IsA(basis, d_.ellipse)) {
    if (!ReadReal(basis, semiAxis1_, &r1) || !ReadReal(basis, semiAxis2_, &r2)) return false;
  } else {
    return false;
  }
  double origin[2], xAxis[2];
  frame2D(ReadRef(basis, position_), origin, xAxis);
  if (angleUnit_ == 0.0) angleUnit_ = RadiansPerPlaneAngleUnit(design_);
  const double a = t * angleUnit_;
  *out = InFrame(origin, xAxis, r1 * std::cos(a), r2 * std::sin(a));
  return true;
}

void ProfileOutlineReader::listPoints(const ListValue& points, std::vector<OutlinePoint>* out) {
  for (uint32_t i = 0; i < points.count(); ++i) {
    OutlinePoint p;
    p.source = points.object(i);
    double xy[2];
    planCoordinates(p.source, xy);
    p.x = xy[0];
    p.y = xy[1];
    out->push_back(p);
  }
}

void ProfileOutlineReader::frame2D(TarnObject* placement, double origin[2], double xAxis[2]) {
  origin[0] = origin[1] = 0.0;
  xAxis[0] = 1.0;
  xAxis[1] = 0.0;
  if (placement == nullptr) return;
  TarnObject* location = ReadRef(placement, location_);
  double xy[2];
  planCoordinates(location, xy);
  origin[0] = xy[0];
  origin[1] = xy[1];
  const ListValue ratios = ReadList(ReadRef(placement, refDirection_), directionRatios_);
  const double dx = ratios.real(0), dy = ratios.real(1);
  const double norm = std::sqrt(dx * dx + dy * dy);
  if (norm > 0.0) {
    xAxis[0] = dx / norm;
    xAxis[1] = dy / norm;
  }
}

void ProfileOutlineReader::closePolygon(std::vector<OutlinePoint>* out, size_t first) {
  if (out->size() > first) out->push_back((*out)[first]);
}

}  // namespace korva
