// Readers of one instance each into one record of the analysis tables:
// analysis models, curve and surface members, point connections, load
// groups and actions.  Every reader stores the instance number as FileID
// and walks the attributes of the instance in declaration order, reading
// "GlobalId" and "Name" and the attributes of its kind; an unset number
// leaves the record's default, an unset text gives a null field.
//
// The relationship parts (connections, section and material of members,
// boundary conditions of point connections, group membership and the
// targets of actions) read the back-pointers of the instance's design and
// find nothing unless they have been computed.
#ifndef KORVA_IMPORT_ANALYSIS_MEMBERS_H
#define KORVA_IMPORT_ANALYSIS_MEMBERS_H

#include "import/analysis_tables.h"

namespace korva {

class TarnObject;

// ObjectType as an integer numeral (0 otherwise) into Type; the
// OrientationOf2DPlane's Location, Axis and RefDirection.
void ReadAnalysisModel(TarnObject* model, AnalysisModelRecord* record);

// Placement, the "Edge" representation's end points, and the connections,
// section (IfcStructuralProfileProperties) and material (IfcMaterial).
void ReadCurveMember(TarnObject* member, CurveMemberRecord* record);

// Placement, the points of the first non-empty polygon loop of the "Face"
// representation, and connections, section and material.
void ReadSurfaceMember(TarnObject* member, SurfaceMemberRecord* record);

// Placement, the "Vertex" representation's point, and the stiffnesses of
// the last boundary node condition applied to it by a member connection.
void ReadPointConnection(TarnObject* connection, PointConnectionRecord* record);

// Type, action type and source, coefficient, and one Member entry per
// referring instance.
void ReadLoadGroup(TarnObject* group, LoadGroupRecord* record);

// The applied single force (point actions) or linear force (linear
// actions), the item acted on and the load group.
void ReadPointAction(TarnObject* action, ActionRecord* record);
void ReadLinearAction(TarnObject* action, ActionRecord* record);

}  // namespace korva

#endif  // KORVA_IMPORT_ANALYSIS_MEMBERS_H
