// The plane angle unit of an IFC design, for the angles stored as bare
// numbers (trimming parameters on circles and ellipses).
#ifndef KORVA_IMPORT_PLANE_ANGLE_UNIT_H
#define KORVA_IMPORT_PLANE_ANGLE_UNIT_H

namespace korva {

class TarnDesign;

// Radians per plane angle unit of the design's project: the conversion
// factor of a conversion-based PLANEANGLEUNIT (a degree is pi/180), 1.0 for
// the SI radian and for a design that names no plane angle unit.
double RadiansPerPlaneAngleUnit(TarnDesign* design);

}  // namespace korva

#endif  // KORVA_IMPORT_PLANE_ANGLE_UNIT_H
