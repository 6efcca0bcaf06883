#include "update/member_geometry.h"

#include <cstring>
#include <vector>

#include "ifc2x2/geometry_builders.h"
#include "objdb/cursor.h"
#include "objdb/trash.h"
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
  auto* product = As<IfcProduct>(node);
  if (product == nullptr) return false;
  IfcProductRepresentation* shape = product->Representation();
  const uint32_t count = ElementCount(shape, "Representations");
  for (uint32_t i = 0; i < count; ++i) {
    auto* rep = As<IfcRepresentation>(Element(shape, "Representations", i));
    if (rep == nullptr) continue;
    const char* type = rep->RepresentationType();
    if (type == nullptr || std::strcmp(type, "Vertex") != 0) continue;
    auto* vertex = As<IfcVertexPoint>(Element(rep, "Items", 0));
    if (vertex == nullptr) return false;
    auto* point = As<IfcCartesianPoint>(vertex->VertexGeometry());
    if (point == nullptr || ElementCount(point, "Coordinates") < 3) return false;
    ListOfIfcLengthMeasure* c = point->Coordinates();
    for (uint32_t k = 0; k < 3; ++k) out->xyz[k] = c->get(k);
    return true;
  }
  return false;
}

// The context of the first representation of a product representation.
IfcRepresentationContext* ContextOf(IfcProductRepresentation* shape) {
  auto* rep = As<IfcRepresentation>(Element(shape, "Representations", 0));
  return rep != nullptr ? rep->ContextOfItems() : nullptr;
}

// Replaces the member's representation by an edge from `from` to `to`.
void RebuildEdge(TarnDesign* d, IfcProduct* member, const Position& from, const Position& to) {
  IfcEdge* edge = NewEdge(d, from.xyz, to.xyz);
  IfcProductRepresentation* old = member->Representation();
  member->Representation(NewTopologyRepresentation(d, edge, "Edge", ContextOf(old)));
  if (old != nullptr) MoveToTrash(old);
}

// The connection relationships of a member with a connection set, in
// back-pointer order.
std::vector<IfcRelConnectsStructuralMember*> Connections(TarnDesign* d, TarnObject* member) {
  std::vector<IfcRelConnectsStructuralMember*> found;
  const TarnReferrers referrers = Referrers(d, member);
  for (uint32_t i = 0; i < referrers.size(); ++i) {
    auto* rel = As<IfcRelConnectsStructuralMember>(referrers.get(i));
    if (rel != nullptr && rel->RelatedStructuralConnection() != nullptr) found.push_back(rel);
  }
  return found;
}

// The first connection relationship and the next one to another node.
bool FirstTwoNodes(const std::vector<IfcRelConnectsStructuralMember*>& rels, IfcRelConnectsStructuralMember** q1,
                   IfcRelConnectsStructuralMember** q2) {
  *q1 = nullptr;
  *q2 = nullptr;
  if (rels.empty()) return false;
  *q1 = rels.front();
  for (size_t i = 1; i < rels.size(); ++i) {
    if (rels[i]->RelatedStructuralConnection() != (*q1)->RelatedStructuralConnection()) {
      *q2 = rels[i];
      return true;
    }
  }
  return false;
}

}  // namespace

int Reconnect(const char* memberId, const char* nodeI, const char* nodeJ) {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (!RequireUpdate("UpdateOneCurveMemberConnectivity", &d, &history)) return -1;
  auto* member = As<IfcProduct>(FindByGlobalId(d, "IfcStructuralCurveMember", memberId));
  std::vector<IfcRelConnectsStructuralMember*> rels;
  if (member != nullptr) rels = Connections(d, member);
  TarnObject* first = nullptr;
  TarnObject* second = nullptr;
  FindPairByGlobalId(d, "IfcStructuralPointConnection", nodeI, nodeJ, &first, &second);
  auto* connectionI = As<IfcStructuralConnection>(first);
  auto* connectionJ = As<IfcStructuralConnection>(second);
  if (member == nullptr || connectionI == nullptr || connectionJ == nullptr) return -1;
  IfcRelConnectsStructuralMember* q1;
  IfcRelConnectsStructuralMember* q2;
  if (!FirstTwoNodes(rels, &q1, &q2)) return -1;
  Position at, to;
  if (!NodePosition(connectionI, &at) || !NodePosition(connectionJ, &to)) return -1;
  q1->RelatedStructuralConnection(connectionI);
  q2->RelatedStructuralConnection(connectionJ);
  RebuildEdge(d, member, at, to);
  return -1;
}

int MovePoint(const char* nodeId, double x, double y, double z) {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (!RequireUpdate("UpdateOneStructuralPoint", &d, &history)) return -1;
  auto* node = As<IfcProduct>(FindByGlobalId(d, "IfcStructuralPointConnection", nodeId));
  if (node == nullptr) return -1;
  IfcVertexPoint* vertex = NewVertexPoint(d, x, y, z);
  node->Representation(NewTopologyRepresentation(d, vertex, "Vertex", ContextOf(node->Representation())));
  return -1;
}

int RebuildMemberEdges() {
  TarnDesign* d;
  IfcOwnerHistory* history;
  if (!RequireUpdate("UpdateStructuralMembersRepresentation", &d, &history)) return -1;
  std::vector<IfcProduct*> members;
  TarnCursor cursor(d);
  if (!cursor.domain("IfcStructuralCurveMember")) return -1;
  while (TarnObject* o = cursor.next())
    if (auto* member = As<IfcProduct>(o)) members.push_back(member);
  for (IfcProduct* member : members) {
    IfcRelConnectsStructuralMember* q1;
    IfcRelConnectsStructuralMember* q2;
    if (!FirstTwoNodes(Connections(d, member), &q1, &q2)) continue;
    Position from, to;
    if (!NodePosition(q1->RelatedStructuralConnection(), &from) ||
        !NodePosition(q2->RelatedStructuralConnection(), &to))
      continue;
    RebuildEdge(d, member, from, to);
  }
  return -1;
}

}  // namespace update
}  // namespace korva
