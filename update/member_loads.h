// End reactions, and the camber and stud properties of curve members.
#ifndef KORVA_UPDATE_MEMBER_LOADS_H
#define KORVA_UPDATE_MEMBER_LOADS_H

namespace korva {
namespace update {

// Forces and moments FX, FY, FZ, MX, MY, MZ.
struct EndForces {
  double values[6];
};

// Finds the curve member, the point connections `nodeI` and `nodeJ` (in one
// walk) and the load group, each by GlobalId.  When all four exist,
// creates two IfcStructuralPointReaction ("Member Reaction Node I" and
// "... J", LOCAL_COORDS) with their IfcStructuralLoadSingleForce ("Reaction
// Node I" and "... J"), relates each to the member through an
// IfcRelConnectsStructuralActivity ("Node I", "Node J") and assigns both
// to the load group with one new IfcRelAssignsToGroup.  The rooted objects
// get new GlobalIds and the update owner history.  The nodes are only
// required to exist.
int AddMemberReaction(const char* memberId, const char* nodeI, const char* nodeJ, const char* loadGroupId,
                      const EndForces& atI, const EndForces& atJ);

// For every curve member with GlobalId `memberId`: an IfcPropertySet (new
// GlobalId, update owner history) with the IfcPropertySingleValue "Number
// Stud" (an IfcInteger) and "Camber" (an IfcReal), related to the member
// by a new IfcRelDefinesByProperties.
int AddCamberAndStuds(const char* memberId, int studs, double camber);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_MEMBER_LOADS_H
