#include "import/analysis_members.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "import/analysis_domains.h"
#include "import/analysis_reading.h"

namespace korva {
namespace {

// GlobalId and Name, which every record of these kinds has.
template <class R>
bool ReadIdentity(TarnObject* instance, TarnAttribute* attribute, R* record) {
  if (Named(attribute, "GlobalId")) {
    record->GUID = ReadString(instance, attribute);
  } else if (Named(attribute, "Name")) {
    record->Name = ReadString(instance, attribute);
  } else {
    return false;
  }
  return true;
}

void Set3(const double xyz[3], double* x, double* y, double* z) {
  *x = xyz[0];
  *y = xyz[1];
  *z = xyz[2];
}

template <class R>
void StorePlacement(const ComposedPlacement& p, R* record) {
  Set3(p.start, &record->Startx, &record->Starty, &record->Startz);
  Set3(p.axis, &record->Axis1, &record->Axis2, &record->Axis3);
  Set3(p.ref, &record->Ref1, &record->Ref2, &record->Ref3);
}

// The common part of the member and connection readers: FileID, identity,
// placement, and the geometry of the representation.  `labelled(type,
// item)` is offered each representation's label and first item and tells
// whether it took the geometry; when none did, `topological(item)` is
// offered every item of every representation, in order, until it takes
// one (exporters label topology representations as they please).
template <class R, class Labelled, class Topological>
void ReadItem(TarnObject* item, R* record, Labelled labelled, Topological topological) {
  record->FileID = FileIdOf(item);
  for (TarnAttribute* a : AttributesOf(item)) {
    if (ReadIdentity(item, a, record)) continue;
    if (Named(a, "ObjectPlacement")) {
      if (TarnObject* placement = ReadObject(item, a)) StorePlacement(ComposeMemberPlacement(placement), record);
    } else if (Named(a, "Representation")) {
      TarnObject* shape = ReadObject(item, a);
      bool found = false;
      ForEachShapeRepresentation(shape, [&](const char* type, TarnObject* first) {
        found = labelled(type, first) || found;
      });
      if (!found) ForEachRepresentationItem(shape, topological);
    }
  }
}

bool Is(const char* text, const char* expected) { return text != nullptr && std::strcmp(text, expected) == 0; }

// The point of an IfcVertexPoint whose geometry is an IfcCartesianPoint.
bool VertexPoint(TarnObject* vertex, double xyz[3]) {
  const AnalysisDomains& domains = AnalysisDomains::Of(vertex);
  if (!domains.isA(vertex, Entity::kVertexPoint)) return false;
  TarnObject* point = ReadObject(vertex, "VertexGeometry");
  if (!domains.isA(point, Entity::kCartesianPoint)) return false;
  ReadPoint(point, xyz);
  return true;
}

// The six stiffnesses of a boundary node condition, in the order Dx, Dy,
// Dz, Rx, Ry, Rz; unset ones leave their target as it is.
const char* const kStiffnesses[6] = {"LinearStiffnessX",     "LinearStiffnessY",     "LinearStiffnessZ",
                                     "RotationalStiffnessX", "RotationalStiffnessY", "RotationalStiffnessZ"};

void ReadStiffnesses(TarnObject* condition, double* const targets[6]) {
  for (int i = 0; i < 6; ++i) ReadDouble(condition, kStiffnesses[i], targets[i]);
}

// The AppliedCondition of a relationship or a connection when it is a
// boundary node condition, else null.
TarnObject* NodeCondition(const AnalysisDomains& domains, TarnObject* holder) {
  TarnObject* condition = ReadObject(holder, "AppliedCondition");
  return domains.isA(condition, Entity::kBoundaryNodeCondition) ? condition : nullptr;
}

// A member connection: IfcRelConnectsStructuralMember or a subtype (the
// eccentric connection of IFC2X3).
bool IsMemberConnection(const AnalysisDomains& domains, TarnObject* relationship) {
  return domains.isA(relationship, Entity::kRelConnectsStructuralMember);
}

// Connections, section and material of a curve or surface member.  Two
// scans over the referring instances: the first counts the member
// connections and takes the section and the material (the last one of
// each kind wins), the second lists each distinct connection once with the
// stiffnesses of its last boundary node condition.
// NumberStructuralConnection ends as the last entry's index.
template <class R>
void ReadMemberRelationships(TarnObject* member, R* record) {
  if (record->FileID == 0) return;
  const TarnReferrers referrers = Referrers(member);
  if (referrers.empty()) return;
  const AnalysisDomains& domains = AnalysisDomains::Of(member);
  const uint32_t n = referrers.count();
  size_t connections = 0;
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (IsMemberConnection(domains, r)) {
      ++connections;
    } else if (domains.isExactly(r, Entity::kRelAssociatesProfileProperties)) {
      if (TarnObject* section = ReadObject(r, "RelatingProfileProperties")) record->SectionID = FileIdOf(section);
    } else if (domains.isExactly(r, Entity::kRelAssociatesMaterial)) {
      TarnObject* material = ReadObject(r, "RelatingMaterial");
      if (domains.isA(material, Entity::kMaterial)) record->MaterialID = FileIdOf(material);
    }
  }
  MemberConnections& c = record->connections;
  // Entries without a boundary node condition hold 0.0 stiffnesses.
  c.StructuralConnection.assign(connections, 0);
  for (std::vector<double>* values : {&c.Dx, &c.Dy, &c.Dz, &c.Rx, &c.Ry, &c.Rz}) values->assign(connections, 0.0);

  int k = -1;
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (IsMemberConnection(domains, r)) {
      TarnObject* connection = ReadObject(r, "RelatedStructuralConnection");
      TarnObject* condition = NodeCondition(domains, r);
      if (connection != nullptr) {
        const int id = FileIdOf(connection);
        int entry = -1;
        for (int j = 0; j <= k; ++j)
          if (c.StructuralConnection[static_cast<size_t>(j)] == id) entry = j;
        if (entry < 0) {
          entry = ++k;
          c.StructuralConnection[static_cast<size_t>(entry)] = id;
        }
        if (condition != nullptr) {
          const size_t e = static_cast<size_t>(entry);
          double* const targets[6] = {&c.Dx[e], &c.Dy[e], &c.Dz[e], &c.Rx[e], &c.Ry[e], &c.Rz[e]};
          ReadStiffnesses(condition, targets);
        }
      }
    }
    record->NumberStructuralConnection = k;
  }
}

const char* const kSingleForce[6] = {"ForceX", "ForceY", "ForceZ", "MomentX", "MomentY", "MomentZ"};
const char* const kLinearForce[6] = {"LinearForceX",  "LinearForceY",  "LinearForceZ",
                                     "LinearMomentX", "LinearMomentY", "LinearMomentZ"};

void ReadAction(TarnObject* action, Entity loadEntity, const char* const (&components)[6], ActionRecord* record) {
  const AnalysisDomains& domains = AnalysisDomains::Of(action);
  record->FileID = FileIdOf(action);
  for (TarnAttribute* a : AttributesOf(action)) {
    if (ReadIdentity(action, a, record)) continue;
    if (Named(a, "AppliedLoad")) {
      TarnObject* load = ReadObject(action, a);
      if (!domains.isA(load, loadEntity)) continue;
      // The forces X, Y, Z, then the moments X, Y, Z.
      double* const targets[6] = {&record->Fx, &record->Fy, &record->Fz, &record->Mx, &record->My, &record->Mz};
      for (int i = 0; i < 6; ++i) ReadDouble(load, components[i], targets[i]);
    }
  }
  const TarnReferrers referrers = Referrers(action);
  if (referrers.empty()) return;
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* r = referrers.get(i);
    if (domains.isExactly(r, Entity::kRelConnectsStructuralActivity)) {
      if (TarnObject* element = ReadObject(r, "RelatingElement")) record->ActedOn = FileIdOf(element);
    } else if (domains.isExactly(r, Entity::kRelAssignsToGroup)) {
      if (TarnObject* group = ReadObject(r, "RelatingGroup")) record->LoadGroupID = FileIdOf(group);
    }
  }
}

// An integer numeral (optional sign, digits, nothing else) as an int.
bool ParseInteger(const char* text, int* out) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || end == text || value < INT_MIN || value > INT_MAX) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

void ReadAnalysisModel(TarnObject* model, AnalysisModelRecord* record) {
  record->FileID = FileIdOf(model);
  for (TarnAttribute* a : AttributesOf(model)) {
    if (ReadIdentity(model, a, record)) continue;
    if (Named(a, "ObjectType")) {
      // An ObjectType that is no integer numeral gives 0.
      int type = 0;
      if (const char* text = ReadString(model, a)) record->Type = ParseInteger(text, &type) ? type : 0;
    } else if (Named(a, "OrientationOf2DPlane")) {
      TarnObject* plane = ReadObject(model, a);
      if (plane == nullptr) continue;
      record->Startx = record->Starty = record->Startz = 0.0;
      for (TarnAttribute* b : AttributesOf(plane)) {
        double xyz[3];
        TarnObject* value = Named(b, "Location") || Named(b, "Axis") || Named(b, "RefDirection") ? ReadObject(plane, b)
                                                                                                 : nullptr;
        if (value == nullptr) continue;
        if (Named(b, "Location")) {
          ReadPoint(value, xyz);
          Set3(xyz, &record->Startx, &record->Starty, &record->Startz);
        } else if (Named(b, "Axis")) {
          ReadDirection(value, xyz);
          Set3(xyz, &record->Axis1, &record->Axis2, &record->Axis3);
        } else {
          ReadDirection(value, xyz);
          Set3(xyz, &record->Ref1, &record->Ref2, &record->Ref3);
        }
      }
    }
  }
}

namespace {

// The end points of an IfcEdge into the record; false for no edge.
bool ReadEdge(TarnObject* edge, CurveMemberRecord* record) {
  if (!AnalysisDomains::Of(edge).isA(edge, Entity::kEdge)) return false;
  double xyz[3];
  if (VertexPoint(ReadObject(edge, "EdgeStart"), xyz)) Set3(xyz, &record->EdgeX1, &record->EdgeY1, &record->EdgeZ1);
  if (VertexPoint(ReadObject(edge, "EdgeEnd"), xyz)) Set3(xyz, &record->EdgeX2, &record->EdgeY2, &record->EdgeZ2);
  return true;
}

// The corners of a polygon loop; empty for none.
std::vector<TarnObject*> PolyLoopCorners(TarnObject* loop) {
  std::vector<TarnObject*> corners;
  TarnAggregate* polygon = ReadAggregate(loop, "Polygon");
  for (uint32_t j = 0; polygon != nullptr && j < polygon->count(); ++j) corners.push_back(ElementObject(polygon, j));
  return corners;
}

// The corners of an edge loop: the start of each edge in the loop's
// direction, which is its EdgeEnd for an oriented edge whose Orientation
// is false.  A corner that is no vertex point with a Cartesian point reads
// as null.
std::vector<TarnObject*> EdgeLoopCorners(const AnalysisDomains& domains, TarnObject* loop) {
  std::vector<TarnObject*> corners;
  TarnAggregate* edges = ReadAggregate(loop, "EdgeList");
  for (uint32_t j = 0; edges != nullptr && j < edges->count(); ++j) {
    TarnObject* edge = ElementObject(edges, j);
    bool forward = true;
    if (domains.isA(edge, Entity::kOrientedEdge)) {
      ReadBoolean(edge, "Orientation", &forward);
      edge = ReadObject(edge, "EdgeElement");
    }
    TarnObject* vertex = domains.isA(edge, Entity::kEdge) ? ReadObject(edge, forward ? "EdgeStart" : "EdgeEnd") : nullptr;
    TarnObject* point = domains.isA(vertex, Entity::kVertexPoint) ? ReadObject(vertex, "VertexGeometry") : nullptr;
    corners.push_back(domains.isA(point, Entity::kCartesianPoint) ? point : nullptr);
  }
  return corners;
}

// The corners of the first non-empty polygon loop among the bounds of an
// IfcFace (or IfcFaceSurface), else of the first non-empty edge loop, into
// the record; false for no face.
bool ReadFace(TarnObject* face, SurfaceMemberRecord* record) {
  const AnalysisDomains& domains = AnalysisDomains::Of(face);
  if (!domains.isA(face, Entity::kFace)) return false;
  TarnAggregate* bounds = ReadAggregate(face, "Bounds");
  std::vector<TarnObject*> corners;
  for (Entity loopEntity : {Entity::kPolyLoop, Entity::kEdgeLoop}) {
    for (uint32_t i = 0; bounds != nullptr && i < bounds->count() && corners.empty(); ++i) {
      TarnObject* bound = ElementObject(bounds, i);
      TarnObject* loop = domains.isA(bound, Entity::kFaceBound) ? ReadObject(bound, "Bound") : nullptr;
      if (!domains.isA(loop, loopEntity)) continue;
      corners = loopEntity == Entity::kPolyLoop ? PolyLoopCorners(loop) : EdgeLoopCorners(domains, loop);
    }
  }
  if (corners.empty()) return true;
  const size_t n = corners.size();
  record->NumberPts = static_cast<int>(n);
  record->Px.assign(n, 0.0);
  record->Py.assign(n, 0.0);
  record->Pz.assign(n, 0.0);
  for (size_t j = 0; j < n; ++j) {
    double xyz[3] = {0, 0, 0};
    if (corners[j] != nullptr) ReadPoint(corners[j], xyz);
    Set3(xyz, &record->Px[j], &record->Py[j], &record->Pz[j]);
  }
  return true;
}

}  // namespace

void ReadCurveMember(TarnObject* member, CurveMemberRecord* record) {
  ReadItem(
      member, record, [record](const char* type, TarnObject* item) { return Is(type, "Edge") && ReadEdge(item, record); },
      [record](TarnObject* item) { return ReadEdge(item, record); });
  ReadMemberRelationships(member, record);
}

void ReadSurfaceMember(TarnObject* member, SurfaceMemberRecord* record) {
  ReadItem(
      member, record, [record](const char* type, TarnObject* item) { return Is(type, "Face") && ReadFace(item, record); },
      [record](TarnObject* item) { return ReadFace(item, record); });
  ReadMemberRelationships(member, record);
}

void ReadPointConnection(TarnObject* connection, PointConnectionRecord* record) {
  auto vertex = [record](TarnObject* item) {
    double xyz[3];
    if (!VertexPoint(item, xyz)) return false;
    Set3(xyz, &record->VertexX1, &record->VertexY1, &record->VertexZ1);
    return true;
  };
  ReadItem(
      connection, record, [&vertex](const char* type, TarnObject* item) { return Is(type, "Vertex") && vertex(item); },
      vertex);
  if (record->FileID == 0) return;
  const AnalysisDomains& domains = AnalysisDomains::Of(connection);
  double* const targets[6] = {&record->UX, &record->UY, &record->UZ, &record->RX, &record->RY, &record->RZ};
  bool supported = false;
  const TarnReferrers referrers = Referrers(connection);
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* r = referrers.get(i);
    if (!IsMemberConnection(domains, r) || ReadObject(r, "RelatedStructuralConnection") == nullptr) continue;
    if (TarnObject* condition = NodeCondition(domains, r)) {
      ReadStiffnesses(condition, targets);
      supported = true;
    }
  }
  // No connecting relationship brings a support: the connection's own.
  if (!supported)
    if (TarnObject* condition = NodeCondition(domains, connection)) ReadStiffnesses(condition, targets);
}

void ReadLoadGroup(TarnObject* group, LoadGroupRecord* record) {
  record->FileID = FileIdOf(group);
  for (TarnAttribute* a : AttributesOf(group)) {
    if (ReadIdentity(group, a, record)) continue;
    if (Named(a, "PredefinedType")) ReadEnum(group, a, &record->PredefinedType);
    else if (Named(a, "ActionType")) ReadEnum(group, a, &record->ActionType);
    else if (Named(a, "ActionSource")) ReadEnum(group, a, &record->ActionSource);
    else if (Named(a, "Coefficient")) ReadDouble(group, a, &record->Coefficient);
  }
  const TarnReferrers referrers = Referrers(group);
  if (referrers.empty()) return;
  const AnalysisDomains& domains = AnalysisDomains::Of(group);
  // One entry per referring instance; those that are no group assignment
  // hold 0.
  const uint32_t n = referrers.count();
  record->TotalMember = static_cast<int>(n);
  record->Member.assign(n, 0);
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (domains.isExactly(r, Entity::kRelAssignsToGroup)) record->Member[i] = FileIdOf(ReadObject(r, "RelatingGroup"));
  }
}

void ReadPointAction(TarnObject* action, ActionRecord* record) {
  ReadAction(action, Entity::kStructuralLoadSingleForce, kSingleForce, record);
}

void ReadLinearAction(TarnObject* action, ActionRecord* record) {
  ReadAction(action, Entity::kStructuralLoadLinearForce, kLinearForce, record);
}

}  // namespace korva
