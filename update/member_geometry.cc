#include "update/member_geometry.h"

#include <cstring>
#include <vector>

#include "ifc2x2/geometry_builders.h"
#include "import/analysis_reading.h"
#include "objdb/cursor.h"
#include "objdb/trash.h"
#include "update/change_space.h"
#include "update/globalid_search.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace update {

namespace {

struct Position {
  double xyz[3];
};

// The position of a point connection, false when it has no vertex.
bool NodePosition(TarnObject* node, Position* out) {
  TarnObject* shape = ReadObject(node, "Representation");
  const uint32_t count = ElementCount(shape, "Representations");
  for (uint32_t i = 0; i < count; ++i) {
    TarnObject* rep = Element(shape, "Representations", i);
    if (!IsA(rep, "IfcRepresentation")) continue;
    const char* type = ReadString(rep, "RepresentationType");
    if (type == nullptr || std::strcmp(type, "Vertex") != 0) continue;
    TarnObject* vertex = Element(rep, "Items", 0);
    if (!IsA(vertex, "IfcVertexPoint")) return false;
    TarnObject* point = ReadObject(vertex, "VertexGeometry");
    if (!IsA(point, "IfcCartesianPoint") || ElementCount(point, "Coordinates") < 3) return false;
    ReadPoint(point, out->xyz);
    return true;
  }
  return false;
}

// The context of the first representation of a product representation.
TarnObject* ContextOf(TarnObject* shape) {
  TarnObject* rep = Element(shape, "Representations", 0);
  return IsA(rep, "IfcRepresentation") ? ReadObject(rep, "ContextOfItems") : nullptr;
}

// A new topology representation of `item` (built in `space`) in the
// context of the product representation `old` replaces.
IfcProductRepresentation* Replacement(ChangeSpace& space, IfcRepresentationItem* item, const char* type,
                                      TarnObject* old) {
  return NewTopologyRepresentation(space.design(), item, type,
                                   space.stand<IfcRepresentationContext>(ContextOf(old)));
}

// The connection relationships of a member with a connection set, in
// back-pointer order.
std::vector<TarnObject*> Connections(TarnDesign* d, TarnObject* member) {
  std::vector<TarnObject*> found;
  const TarnReferrers referrers = Referrers(d, member);
  for (uint32_t i = 0; i < referrers.size(); ++i) {
    TarnObject* rel = referrers.get(i);
    if (IsA(rel, "IfcRelConnectsStructuralMember") && ReadObject(rel, "RelatedStructuralConnection") != nullptr)
      found.push_back(rel);
  }
  return found;
}

// The first connection relationship and the next one to another node.
bool FirstTwoNodes(const std::vector<TarnObject*>& rels, TarnObject** q1, TarnObject** q2) {
  *q1 = nullptr;
  *q2 = nullptr;
  if (rels.empty()) return false;
  *q1 = rels.front();
  TarnObject* node = ReadObject(*q1, "RelatedStructuralConnection");
  for (size_t i = 1; i < rels.size(); ++i) {
    if (ReadObject(rels[i], "RelatedStructuralConnection") != node) {
      *q2 = rels[i];
      return true;
    }
  }
  return false;
}

// A member whose edge is rebuilt: the new representation, made in a change
// space, replaces the old one once carried into the update design.
struct EdgeChange {
  TarnObject* member;
  TarnObject* old;
  IfcProductRepresentation* built;
};

EdgeChange BuildEdge(ChangeSpace& space, TarnObject* member, const Position& from, const Position& to) {
  TarnObject* old = ReadObject(member, "Representation");
  IfcEdge* edge = NewEdge(space.design(), from.xyz, to.xyz);
  return {member, old, Replacement(space, edge, "Edge", old)};
}

// False, with nothing changed, when the changes cannot be carried.
bool ApplyEdges(ChangeSpace& space, const std::vector<EdgeChange>& changes, const char* call) {
  if (!space.commit(call)) return false;
  for (const EdgeChange& c : changes) {
    TarnObject* rep = space.inUpdate(c.built);
    if (rep == nullptr) continue;
    c.member->putObject(rep, "Representation");
    if (c.old != nullptr) MoveToTrash(c.old);
  }
  return true;
}

}  // namespace

int Reconnect(const char* memberId, const char* nodeI, const char* nodeJ) {
  TarnDesign* d;
  TarnObject* history;
  if (!RequireUpdate("UpdateOneCurveMemberConnectivity", &d, &history)) return -1;
  TarnObject* member = FindByGlobalId(d, "IfcStructuralCurveMember", memberId);
  std::vector<TarnObject*> rels;
  if (member != nullptr) rels = Connections(d, member);
  TarnObject* connectionI = nullptr;
  TarnObject* connectionJ = nullptr;
  FindPairByGlobalId(d, "IfcStructuralPointConnection", nodeI, nodeJ, &connectionI, &connectionJ);
  if (member == nullptr || !IsA(connectionI, "IfcStructuralConnection") ||
      !IsA(connectionJ, "IfcStructuralConnection"))
    return -1;
  TarnObject* q1;
  TarnObject* q2;
  if (!FirstTwoNodes(rels, &q1, &q2)) return -1;
  Position at, to;
  if (!NodePosition(connectionI, &at) || !NodePosition(connectionJ, &to)) return -1;
  // The relationships change only with the edge they describe.
  ChangeSpace space(d);
  if (space.design() == nullptr) return -1;
  if (!ApplyEdges(space, {BuildEdge(space, member, at, to)}, "UpdateOneCurveMemberConnectivity")) return -1;
  q1->putObject(connectionI, "RelatedStructuralConnection");
  q2->putObject(connectionJ, "RelatedStructuralConnection");
  return -1;
}

int MovePoint(const char* nodeId, double x, double y, double z) {
  TarnDesign* d;
  TarnObject* history;
  if (!RequireUpdate("UpdateOneStructuralPoint", &d, &history)) return -1;
  TarnObject* node = FindByGlobalId(d, "IfcStructuralPointConnection", nodeId);
  if (!IsA(node, "IfcProduct")) return -1;
  ChangeSpace space(d);
  if (space.design() == nullptr) return -1;
  IfcVertexPoint* vertex = NewVertexPoint(space.design(), x, y, z);
  IfcProductRepresentation* built = Replacement(space, vertex, "Vertex", ReadObject(node, "Representation"));
  if (!space.commit("UpdateOneStructuralPoint")) return -1;
  if (TarnObject* rep = space.inUpdate(built)) node->putObject(rep, "Representation");
  return -1;
}

int RebuildMemberEdges() {
  TarnDesign* d;
  TarnObject* history;
  if (!RequireUpdate("UpdateStructuralMembersRepresentation", &d, &history)) return -1;
  std::vector<TarnObject*> members;
  TarnCursor cursor(d);
  if (!cursor.domain("IfcStructuralCurveMember")) return -1;
  while (TarnObject* o = cursor.next())
    if (IsA(o, "IfcProduct")) members.push_back(o);
  ChangeSpace space(d);
  if (space.design() == nullptr) return -1;
  std::vector<EdgeChange> changes;
  for (TarnObject* member : members) {
    TarnObject* q1;
    TarnObject* q2;
    if (!FirstTwoNodes(Connections(d, member), &q1, &q2)) continue;
    Position from, to;
    if (!NodePosition(ReadObject(q1, "RelatedStructuralConnection"), &from) ||
        !NodePosition(ReadObject(q2, "RelatedStructuralConnection"), &to))
      continue;
    changes.push_back(BuildEdge(space, member, from, to));
  }
  ApplyEdges(space, changes, "UpdateStructuralMembersRepresentation");
  return -1;
}

}  // namespace update
}  // namespace korva
