#include "import/analysis_members.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "ifc2x2/ifc2x2.h"
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
// placement, and each representation handed to `geometry`.
template <class R, class Geometry>
void ReadItem(TarnObject* item, R* record, Geometry geometry) {
  record->FileID = FileIdOf(item);
  for (TarnAttribute* a : AttributesOf(item)) {
    if (ReadIdentity(item, a, record)) continue;
    if (Named(a, "ObjectPlacement")) {
      if (TarnObject* placement = ReadObject(item, a)) StorePlacement(ComposeMemberPlacement(placement), record);
    } else if (Named(a, "Representation")) {
      ForEachShapeRepresentation(ReadObject(item, a), geometry);
    }
  }
}

bool Is(const char* text, const char* expected) { return text != nullptr && std::strcmp(text, expected) == 0; }

// The point of an IfcVertexPoint whose geometry is an IfcCartesianPoint.
bool VertexPoint(TarnObject* vertex, double xyz[3]) {
  IfcCartesianPoint* point = AsA<IfcCartesianPoint>(ReadObject(AsA<IfcVertexPoint>(vertex), "VertexGeometry"));
  if (point == nullptr) return false;
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

IfcBoundaryNodeCondition* NodeCondition(TarnObject* relationship) {
  return AsA<IfcBoundaryNodeCondition>(ReadObject(relationship, "AppliedCondition"));
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
  const uint32_t n = referrers.count();
  size_t connections = 0;
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (IsType(r, "IfcRelConnectsStructuralMember")) {
      ++connections;
    } else if (IsType(r, "IfcRelAssociatesProfileProperties")) {
      if (TarnObject* section = ReadObject(r, "RelatingProfileProperties")) record->SectionID = FileIdOf(section);
    } else if (IsType(r, "IfcRelAssociatesMaterial")) {
      if (IfcMaterial* material = AsA<IfcMaterial>(ReadObject(r, "RelatingMaterial")))
        record->MaterialID = FileIdOf(material);
    }
  }
  MemberConnections& c = record->connections;
  // Entries without a boundary node condition hold 0.0 stiffnesses.
  c.StructuralConnection.assign(connections, 0);
  for (std::vector<double>* values : {&c.Dx, &c.Dy, &c.Dz, &c.Rx, &c.Ry, &c.Rz}) values->assign(connections, 0.0);

  int k = -1;
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (IsType(r, "IfcRelConnectsStructuralMember")) {
      TarnObject* connection = ReadObject(r, "RelatedStructuralConnection");
      IfcBoundaryNodeCondition* condition = NodeCondition(r);
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

template <class Load>
void ReadAction(TarnObject* action, const char* const (&components)[6], ActionRecord* record) {
  record->FileID = FileIdOf(action);
  for (TarnAttribute* a : AttributesOf(action)) {
    if (ReadIdentity(action, a, record)) continue;
    if (Named(a, "AppliedLoad")) {
      Load* load = AsA<Load>(ReadObject(action, a));
      if (load == nullptr) continue;
      // The forces X, Y, Z, then the moments X, Y, Z.
      double* const targets[6] = {&record->Fx, &record->Fy, &record->Fz, &record->Mx, &record->My, &record->Mz};
      for (int i = 0; i < 6; ++i) ReadDouble(load, components[i], targets[i]);
    }
  }
  const TarnReferrers referrers = Referrers(action);
  if (referrers.empty()) return;
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* r = referrers.get(i);
    if (IsType(r, "IfcRelConnectsStructuralActivity")) {
      if (TarnObject* element = ReadObject(r, "RelatingElement")) record->ActedOn = FileIdOf(element);
    } else if (IsType(r, "IfcRelAssignsToGroup")) {
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

void ReadCurveMember(TarnObject* member, CurveMemberRecord* record) {
  ReadItem(member, record, [record](const char* type, TarnObject* item) {
    if (!Is(type, "Edge")) return;
    IfcEdge* edge = AsA<IfcEdge>(item);
    if (edge == nullptr) return;
    double xyz[3];
    if (VertexPoint(ReadObject(edge, "EdgeStart"), xyz)) Set3(xyz, &record->EdgeX1, &record->EdgeY1, &record->EdgeZ1);
    if (VertexPoint(ReadObject(edge, "EdgeEnd"), xyz)) Set3(xyz, &record->EdgeX2, &record->EdgeY2, &record->EdgeZ2);
  });
  ReadMemberRelationships(member, record);
}

void ReadSurfaceMember(TarnObject* member, SurfaceMemberRecord* record) {
  ReadItem(member, record, [record](const char* type, TarnObject* item) {
    if (!Is(type, "Face")) return;
    TarnAggregate* bounds = ReadAggregate(AsA<IfcFace>(item), "Bounds");
    for (uint32_t i = 0; bounds != nullptr && i < bounds->count(); ++i) {
      IfcPolyLoop* loop = AsA<IfcPolyLoop>(ReadObject(AsA<IfcFaceBound>(ElementObject(bounds, i)), "Bound"));
      TarnAggregate* polygon = ReadAggregate(loop, "Polygon");
      if (polygon == nullptr || polygon->count() == 0) continue;
      const uint32_t n = polygon->count();
      record->NumberPts = static_cast<int>(n);
      record->Px.assign(n, 0.0);
      record->Py.assign(n, 0.0);
      record->Pz.assign(n, 0.0);
      for (uint32_t j = 0; j < n; ++j) {
        double xyz[3] = {0, 0, 0};
        if (TarnObject* point = ElementObject(polygon, j)) ReadPoint(point, xyz);
        Set3(xyz, &record->Px[j], &record->Py[j], &record->Pz[j]);
      }
      break;
    }
  });
  ReadMemberRelationships(member, record);
}

void ReadPointConnection(TarnObject* connection, PointConnectionRecord* record) {
  ReadItem(connection, record, [record](const char* type, TarnObject* item) {
    double xyz[3];
    if (Is(type, "Vertex") && VertexPoint(item, xyz))
      Set3(xyz, &record->VertexX1, &record->VertexY1, &record->VertexZ1);
  });
  if (record->FileID == 0) return;
  const TarnReferrers referrers = Referrers(connection);
  if (referrers.empty()) return;
  for (uint32_t i = 0; i < referrers.count(); ++i) {
    TarnObject* r = referrers.get(i);
    if (!IsType(r, "IfcRelConnectsStructuralMember") || ReadObject(r, "RelatedStructuralConnection") == nullptr)
      continue;
    if (IfcBoundaryNodeCondition* condition = NodeCondition(r)) {
      double* const targets[6] = {&record->UX, &record->UY, &record->UZ, &record->RX, &record->RY, &record->RZ};
      ReadStiffnesses(condition, targets);
    }
  }
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
  // One entry per referring instance; those that are no group assignment
  // hold 0.
  const uint32_t n = referrers.count();
  record->TotalMember = static_cast<int>(n);
  record->Member.assign(n, 0);
  for (uint32_t i = 0; i < n; ++i) {
    TarnObject* r = referrers.get(i);
    if (IsType(r, "IfcRelAssignsToGroup")) record->Member[i] = FileIdOf(ReadObject(r, "RelatingGroup"));
  }
}

void ReadPointAction(TarnObject* action, ActionRecord* record) {
  ReadAction<IfcStructuralLoadSingleForce>(action, kSingleForce, record);
}

void ReadLinearAction(TarnObject* action, ActionRecord* record) {
  ReadAction<IfcStructuralLoadLinearForce>(action, kLinearForce, record);
}

}  // namespace korva
