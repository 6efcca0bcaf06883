// The topology of the analysis model: which point connections a member is
// connected to, where a point connection lies, and the edge geometry of
// members rebuilt from their connections.
//
// A point connection's position is read from its representation: the
// first representation of type "Vertex", its first item, an
// IfcVertexPoint on an IfcCartesianPoint (x, y, z).  A member's edge is
// rebuilt as a new IfcProductRepresentation holding one
// IfcTopologyRepresentation "Edge" with an IfcEdge between two new vertex
// points at its nodes' positions; the member's former product
// representation is deleted (what it held stays in the file, unreferenced).
// New representations keep the representation context of the ones they
// replace, so that the written file stays complete.
#ifndef KORVA_UPDATE_MEMBER_GEOMETRY_H
#define KORVA_UPDATE_MEMBER_GEOMETRY_H

namespace korva {
namespace update {

// Finds the curve member and the point connections `nodeI` and `nodeJ`;
// among the member's IfcRelConnectsStructuralMember relationships with a
// connection, the first (Q1) and the next that connects another node (Q2)
// are reconnected to node I and node J, and the member's edge is rebuilt
// between them.  Nothing changes when an object is not found, when the
// member has no two relationships to different nodes, or when node I or
// node J has no vertex position.
int Reconnect(const char* memberId, const char* nodeI, const char* nodeJ);

// Gives the point connection `nodeId` a new vertex representation at
// (x, y, z); the former representation stays in the file.
int MovePoint(const char* nodeId, double x, double y, double z);

// Rebuilds the edge of every curve member from its own connections: node I
// is the connection of its first IfcRelConnectsStructuralMember, node J
// the first later one that connects another node.  Members without two
// such nodes, or whose nodes have no vertex position, keep their edge.
int RebuildMemberEdges();

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_MEMBER_GEOMETRY_H
