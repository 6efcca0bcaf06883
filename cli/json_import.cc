#include "cli/json_import.h"

#include <string>

#include "api/korvaifc.h"

namespace korva {
namespace cli {
namespace {

// One getter of a record: a number, an integer or a text.
struct Field {
  const char* key;
  double(KORVA_CALL* number)(int);
  int(KORVA_CALL* integer)(int);
  void(KORVA_CALL* text)(int, char*);
};

#define NUMBER(family, name) {#name, &family##name, nullptr, nullptr}
#define INTEGER(family, name) {#name, nullptr, &family##name, nullptr}
#define TEXT(family, name) {#name, nullptr, nullptr, &family##name}

const Field kBeamFields[] = {
    TEXT(GetBeam, Name), TEXT(GetBeam, GUID), INTEGER(GetBeam, FileID), NUMBER(GetBeam, Startx),
    NUMBER(GetBeam, Starty), NUMBER(GetBeam, Startz), NUMBER(GetBeam, Axis1), NUMBER(GetBeam, Axis2),
    NUMBER(GetBeam, Axis3), NUMBER(GetBeam, Ref1), NUMBER(GetBeam, Ref2), NUMBER(GetBeam, Ref3),
    NUMBER(GetBeam, Height), NUMBER(GetBeam, Width), NUMBER(GetBeam, Length), NUMBER(GetBeam, CornerPointX),
    NUMBER(GetBeam, CornerPointY), NUMBER(GetBeam, CornerPointZ), NUMBER(GetBeam, ExtrudedDepth),
    NUMBER(GetBeam, ExtrudedAxis1), NUMBER(GetBeam, ExtrudedAxis2), NUMBER(GetBeam, ExtrudedAxis3),
    NUMBER(GetBeam, ExtrudedPosX), NUMBER(GetBeam, ExtrudedPosY), NUMBER(GetBeam, ExtrudedPosZ),
    NUMBER(GetBeam, ExtrudedPosAxis1), NUMBER(GetBeam, ExtrudedPosAxis2), NUMBER(GetBeam, ExtrudedPosAxis3),
    NUMBER(GetBeam, ExtrudedPosRefAxis1), NUMBER(GetBeam, ExtrudedPosRefAxis2),
    NUMBER(GetBeam, ExtrudedPosRefAxis3), NUMBER(GetBeam, 2DHeight), NUMBER(GetBeam, 2DWidth),
    NUMBER(GetBeam, 2DOffset1), NUMBER(GetBeam, 2DOffset2), NUMBER(GetBeam, 2DDirectionAxis1),
    NUMBER(GetBeam, 2DDirectionAxis2),
};
const Field kColumnFields[] = {
    TEXT(GetColumn, Name), TEXT(GetColumn, GUID), INTEGER(GetColumn, FileID), NUMBER(GetColumn, Startx),
    NUMBER(GetColumn, Starty), NUMBER(GetColumn, Startz), NUMBER(GetColumn, Axis1), NUMBER(GetColumn, Axis2),
    NUMBER(GetColumn, Axis3), NUMBER(GetColumn, Ref1), NUMBER(GetColumn, Ref2), NUMBER(GetColumn, Ref3),
    NUMBER(GetColumn, Height), NUMBER(GetColumn, Width), NUMBER(GetColumn, Length),
    NUMBER(GetColumn, CornerPointX), NUMBER(GetColumn, CornerPointY), NUMBER(GetColumn, CornerPointZ),
    NUMBER(GetColumn, ExtrudedDepth), NUMBER(GetColumn, ExtrudedAxis1), NUMBER(GetColumn, ExtrudedAxis2),
    NUMBER(GetColumn, ExtrudedAxis3), NUMBER(GetColumn, ExtrudedPosX), NUMBER(GetColumn, ExtrudedPosY),
    NUMBER(GetColumn, ExtrudedPosZ), NUMBER(GetColumn, ExtrudedPosAxis1), NUMBER(GetColumn, ExtrudedPosAxis2),
    NUMBER(GetColumn, ExtrudedPosAxis3), NUMBER(GetColumn, ExtrudedPosRefAxis1),
    NUMBER(GetColumn, ExtrudedPosRefAxis2), NUMBER(GetColumn, ExtrudedPosRefAxis3),
    NUMBER(GetColumn, 2DHeight), NUMBER(GetColumn, 2DWidth), NUMBER(GetColumn, 2DOffset1),
    NUMBER(GetColumn, 2DOffset2), NUMBER(GetColumn, 2DDirectionAxis1), NUMBER(GetColumn, 2DDirectionAxis2),
};
const Field kWallFields[] = {
    TEXT(GetWall, Name), TEXT(GetWall, GUID), INTEGER(GetWall, Index), INTEGER(GetWall, Total),
    INTEGER(GetWall, FileID), NUMBER(GetWall, Startx), NUMBER(GetWall, Starty), NUMBER(GetWall, Startz),
    NUMBER(GetWall, Axis1), NUMBER(GetWall, Axis2), NUMBER(GetWall, Axis3), NUMBER(GetWall, Ref1),
    NUMBER(GetWall, Ref2), NUMBER(GetWall, Ref3), NUMBER(GetWall, Height), NUMBER(GetWall, Width),
    NUMBER(GetWall, Length), NUMBER(GetWall, CornerPointX), NUMBER(GetWall, CornerPointY),
    NUMBER(GetWall, CornerPointZ), NUMBER(GetWall, ExtrudedDepth),
};
const Field kSlabFields[] = {
    TEXT(GetSlab, Name), TEXT(GetSlab, GUID), INTEGER(GetSlab, Index), INTEGER(GetSlab, Total),
    INTEGER(GetSlab, FileID), NUMBER(GetSlab, Startx), NUMBER(GetSlab, Starty), NUMBER(GetSlab, Startz),
    NUMBER(GetSlab, Axis1), NUMBER(GetSlab, Axis2), NUMBER(GetSlab, Axis3), NUMBER(GetSlab, Ref1),
    NUMBER(GetSlab, Ref2), NUMBER(GetSlab, Ref3), NUMBER(GetSlab, Height), NUMBER(GetSlab, Width),
    NUMBER(GetSlab, Length), NUMBER(GetSlab, CornerPointX), NUMBER(GetSlab, CornerPointY),
    NUMBER(GetSlab, CornerPointZ), NUMBER(GetSlab, ExtrudedDepth),
};
const Field kGeneralFields[] = {
    INTEGER(GetGeneral, Index), INTEGER(GetGeneral, Total), NUMBER(GetGeneral, Startx),
    NUMBER(GetGeneral, Starty), NUMBER(GetGeneral, Startz), NUMBER(GetGeneral, Axis1),
    NUMBER(GetGeneral, Axis2), NUMBER(GetGeneral, Axis3), NUMBER(GetGeneral, Ref1), NUMBER(GetGeneral, Ref2),
    NUMBER(GetGeneral, Ref3), NUMBER(GetGeneral, Height), NUMBER(GetGeneral, Width),
    NUMBER(GetGeneral, Length), NUMBER(GetGeneral, CornerPointX), NUMBER(GetGeneral, CornerPointY),
    NUMBER(GetGeneral, CornerPointZ),
};
const Field kAnalysisModelFields[] = {
    TEXT(GetAnaModel, GUID), TEXT(GetAnaModel, Name), INTEGER(GetAnaModel, FileID),
    INTEGER(GetAnaModel, Type), NUMBER(GetAnaModel, Startx), NUMBER(GetAnaModel, Starty),
    NUMBER(GetAnaModel, Startz), NUMBER(GetAnaModel, Axis1), NUMBER(GetAnaModel, Axis2),
    NUMBER(GetAnaModel, Axis3), NUMBER(GetAnaModel, Ref1), NUMBER(GetAnaModel, Ref2),
    NUMBER(GetAnaModel, Ref3),
};
const Field kCurveMemberFields[] = {
    TEXT(GetStrCurveMember, Name), TEXT(GetStrCurveMember, GUID), INTEGER(GetStrCurveMember, FileID),
    INTEGER(GetStrCurveMember, NumberStructuralConnection), INTEGER(GetStrCurveMember, SectionID),
    INTEGER(GetStrCurveMember, MaterialID), NUMBER(GetStrCurveMember, Startx),
    NUMBER(GetStrCurveMember, Starty), NUMBER(GetStrCurveMember, Startz), NUMBER(GetStrCurveMember, Axis1),
    NUMBER(GetStrCurveMember, Axis2), NUMBER(GetStrCurveMember, Axis3), NUMBER(GetStrCurveMember, Ref1),
    NUMBER(GetStrCurveMember, Ref2), NUMBER(GetStrCurveMember, Ref3), NUMBER(GetStrCurveMember, EdgeX1),
    NUMBER(GetStrCurveMember, EdgeY1), NUMBER(GetStrCurveMember, EdgeZ1), NUMBER(GetStrCurveMember, EdgeX2),
    NUMBER(GetStrCurveMember, EdgeY2), NUMBER(GetStrCurveMember, EdgeZ2),
};
const Field kSurfaceMemberFields[] = {
    TEXT(GetStrSurfaceMember, Name), TEXT(GetStrSurfaceMember, GUID), INTEGER(GetStrSurfaceMember, FileID),
    INTEGER(GetStrSurfaceMember, NumberPts), INTEGER(GetStrSurfaceMember, NumberStructuralConnection),
    INTEGER(GetStrSurfaceMember, SectionID), INTEGER(GetStrSurfaceMember, MaterialID),
    NUMBER(GetStrSurfaceMember, Startx), NUMBER(GetStrSurfaceMember, Starty),
    NUMBER(GetStrSurfaceMember, Startz), NUMBER(GetStrSurfaceMember, Axis1),
    NUMBER(GetStrSurfaceMember, Axis2), NUMBER(GetStrSurfaceMember, Axis3), NUMBER(GetStrSurfaceMember, Ref1),
    NUMBER(GetStrSurfaceMember, Ref2), NUMBER(GetStrSurfaceMember, Ref3),
};
const Field kPointConnectionFields[] = {
    TEXT(GetStrPointConnection, Name), TEXT(GetStrPointConnection, GUID),
    INTEGER(GetStrPointConnection, FileID), NUMBER(GetStrPointConnection, Startx),
    NUMBER(GetStrPointConnection, Starty), NUMBER(GetStrPointConnection, Startz),
    NUMBER(GetStrPointConnection, Axis1), NUMBER(GetStrPointConnection, Axis2),
    NUMBER(GetStrPointConnection, Axis3), NUMBER(GetStrPointConnection, Ref1),
    NUMBER(GetStrPointConnection, Ref2), NUMBER(GetStrPointConnection, Ref3),
    NUMBER(GetStrPointConnection, VertexX1), NUMBER(GetStrPointConnection, VertexY1),
    NUMBER(GetStrPointConnection, VertexZ1), NUMBER(GetStrPointConnection, UX),
    NUMBER(GetStrPointConnection, UY), NUMBER(GetStrPointConnection, UZ), NUMBER(GetStrPointConnection, RX),
    NUMBER(GetStrPointConnection, RY), NUMBER(GetStrPointConnection, RZ),
};
const Field kLoadGroupFields[] = {
    TEXT(GetStrLoadGroup, Name), TEXT(GetStrLoadGroup, GUID), INTEGER(GetStrLoadGroup, FileID),
    INTEGER(GetStrLoadGroup, PredefinedType), INTEGER(GetStrLoadGroup, ActionType),
    INTEGER(GetStrLoadGroup, ActionSource), INTEGER(GetStrLoadGroup, TotalMember),
    NUMBER(GetStrLoadGroup, Coefficient),
};
const Field kPointActionFields[] = {
    TEXT(GetStrPointAction, Name), TEXT(GetStrPointAction, GUID), INTEGER(GetStrPointAction, FileID),
    INTEGER(GetStrPointAction, ActedOn), INTEGER(GetStrPointAction, LoadGroupID),
    NUMBER(GetStrPointAction, Fx), NUMBER(GetStrPointAction, Fy), NUMBER(GetStrPointAction, Fz),
    NUMBER(GetStrPointAction, Mx), NUMBER(GetStrPointAction, My), NUMBER(GetStrPointAction, Mz),
};
const Field kLinearActionFields[] = {
    TEXT(GetStrLinearAction, Name), TEXT(GetStrLinearAction, GUID), INTEGER(GetStrLinearAction, FileID),
    INTEGER(GetStrLinearAction, ActedOn), INTEGER(GetStrLinearAction, LoadGroupID),
    NUMBER(GetStrLinearAction, Fx), NUMBER(GetStrLinearAction, Fy), NUMBER(GetStrLinearAction, Fz),
    NUMBER(GetStrLinearAction, Mx), NUMBER(GetStrLinearAction, My), NUMBER(GetStrLinearAction, Mz),
};
const Field kGeneralMaterialFields[] = {
    TEXT(GetGeneralMaterial, Name), NUMBER(GetGeneralMaterial, MolecularWeight),
    NUMBER(GetGeneralMaterial, Porosity), NUMBER(GetGeneralMaterial, MassDensity),
};
const Field kSteelFields[] = {
    TEXT(GetMechSteelMat, Name), INTEGER(GetMechSteelMat, NumberRelaxation),
    NUMBER(GetMechSteelMat, DynamicViscosity), NUMBER(GetMechSteelMat, YoungModulus),
    NUMBER(GetMechSteelMat, ShearModulus), NUMBER(GetMechSteelMat, PoissonRatio),
    NUMBER(GetMechSteelMat, ThermalExpansion), NUMBER(GetMechSteelMat, YieldStress),
    NUMBER(GetMechSteelMat, UltimateStress), NUMBER(GetMechSteelMat, UltimateStrain),
    NUMBER(GetMechSteelMat, HardeningModule), NUMBER(GetMechSteelMat, ProportionalStress),
    NUMBER(GetMechSteelMat, PlasticStrain),
};
const Field kConcreteFields[] = {
    TEXT(GetMechConcMat, Name), TEXT(GetMechConcMat, AdmixturesDescription),
    TEXT(GetMechConcMat, Workability), TEXT(GetMechConcMat, WaterImpermeability),
    NUMBER(GetMechConcMat, DynamicViscosity), NUMBER(GetMechConcMat, YoungModulus),
    NUMBER(GetMechConcMat, ShearModulus), NUMBER(GetMechConcMat, PoissonRatio),
    NUMBER(GetMechConcMat, ThermalExpansion), NUMBER(GetMechConcMat, CompressiveStrength),
    // The contract names these two concrete getters GetMechSteelMat...
    NUMBER(GetMechSteelMat, MaxAggregateSize), NUMBER(GetMechSteelMat, ProtectivePoreRatio),
};
const Field kProfileFields[] = {
    TEXT(GetStrProfileProperties, SectionName), TEXT(GetStrProfileProperties, ProfileName),
    TEXT(GetStrProfileProperties, GUID), INTEGER(GetStrProfileProperties, FileID),
    INTEGER(GetStrProfileProperties, ProfileType), INTEGER(GetStrProfileProperties, ISection),
    INTEGER(GetStrProfileProperties, LSection), INTEGER(GetStrProfileProperties, USection),
    INTEGER(GetStrProfileProperties, CSection), INTEGER(GetStrProfileProperties, ZSection),
    INTEGER(GetStrProfileProperties, TSection), INTEGER(GetStrProfileProperties, TrapSection),
    INTEGER(GetStrProfileProperties, RectSection), INTEGER(GetStrProfileProperties, CirSection),
    NUMBER(GetStrProfileProperties, PhysicalWeight), NUMBER(GetStrProfileProperties, Perimeter),
    NUMBER(GetStrProfileProperties, MinimumPlateThickness),
    NUMBER(GetStrProfileProperties, MaximumPlateThickness), NUMBER(GetStrProfileProperties, CrossSectionArea),
    NUMBER(GetStrProfileProperties, TorsionalConstantX), NUMBER(GetStrProfileProperties, MomentOfInertiaYZ),
    NUMBER(GetStrProfileProperties, MomentOfInertiaY), NUMBER(GetStrProfileProperties, MomentOfInertiaZ),
    NUMBER(GetStrProfileProperties, WarpingConstant), NUMBER(GetStrProfileProperties, ShearCentreZ),
    NUMBER(GetStrProfileProperties, ShearCentreY), NUMBER(GetStrProfileProperties, ShearDeformationAreaZ),
    NUMBER(GetStrProfileProperties, ShearDeformationAreaY),
    NUMBER(GetStrProfileProperties, MaximumSectionModulusY),
    NUMBER(GetStrProfileProperties, MinimumSectionModulusY),
    NUMBER(GetStrProfileProperties, MaximumSectionModulusZ),
    NUMBER(GetStrProfileProperties, MinimumSectionModulusZ),
    NUMBER(GetStrProfileProperties, TorsionalSectionModulus), NUMBER(GetStrProfileProperties, IOverallWidth),
    NUMBER(GetStrProfileProperties, IOverallDepth), NUMBER(GetStrProfileProperties, IWebThickness),
    NUMBER(GetStrProfileProperties, IFlangeThickness), NUMBER(GetStrProfileProperties, IFilletRadius),
    NUMBER(GetStrProfileProperties, IPhysicalWeight), NUMBER(GetStrProfileProperties, LDepth),
    NUMBER(GetStrProfileProperties, LWidth), NUMBER(GetStrProfileProperties, LThickness),
    NUMBER(GetStrProfileProperties, LFilletRadius), NUMBER(GetStrProfileProperties, LEdgeRadius),
    NUMBER(GetStrProfileProperties, LLegSlope), NUMBER(GetStrProfileProperties, LCentreOfGravityInX),
    NUMBER(GetStrProfileProperties, LCentreOfGravityInY), NUMBER(GetStrProfileProperties, UDepth),
    NUMBER(GetStrProfileProperties, UFlangeWidth), NUMBER(GetStrProfileProperties, UWebThickness),
    NUMBER(GetStrProfileProperties, UFlangeThickness), NUMBER(GetStrProfileProperties, UFilletRadius),
    NUMBER(GetStrProfileProperties, UEdgeRadius), NUMBER(GetStrProfileProperties, UFlangeSlope),
    NUMBER(GetStrProfileProperties, UCentreOfGravityInX), NUMBER(GetStrProfileProperties, CDepth),
    NUMBER(GetStrProfileProperties, CWidth), NUMBER(GetStrProfileProperties, CWallThickness),
    NUMBER(GetStrProfileProperties, CGirth), NUMBER(GetStrProfileProperties, CInternalFilletRadius),
    NUMBER(GetStrProfileProperties, CCentreOfGravityInX), NUMBER(GetStrProfileProperties, ZDepth),
    NUMBER(GetStrProfileProperties, ZFlangeWidth), NUMBER(GetStrProfileProperties, ZWebThickness),
    NUMBER(GetStrProfileProperties, ZFlangeThickness), NUMBER(GetStrProfileProperties, ZFilletRadius),
    NUMBER(GetStrProfileProperties, ZEdgeRadius), NUMBER(GetStrProfileProperties, TDepth),
    NUMBER(GetStrProfileProperties, TFlangeWidth), NUMBER(GetStrProfileProperties, TWebThickness),
    NUMBER(GetStrProfileProperties, TFlangeThickness), NUMBER(GetStrProfileProperties, TFilletRadius),
    NUMBER(GetStrProfileProperties, TFlangeEdgeRadius), NUMBER(GetStrProfileProperties, TWebEdgeRadius),
    NUMBER(GetStrProfileProperties, TWebSlope), NUMBER(GetStrProfileProperties, TFlangeSlope),
    NUMBER(GetStrProfileProperties, TCentreOfGravityInY), NUMBER(GetStrProfileProperties, TrapAxis1),
    NUMBER(GetStrProfileProperties, TrapAxis2), NUMBER(GetStrProfileProperties, TrapAxis3),
    NUMBER(GetStrProfileProperties, TrapRef1), NUMBER(GetStrProfileProperties, TrapRef2),
    NUMBER(GetStrProfileProperties, TrapRef3), NUMBER(GetStrProfileProperties, TrapBottomXDim),
    NUMBER(GetStrProfileProperties, TrapTopXDim), NUMBER(GetStrProfileProperties, TrapYDim),
    NUMBER(GetStrProfileProperties, TrapTopXOffset), NUMBER(GetStrProfileProperties, RectXDim),
    NUMBER(GetStrProfileProperties, RectYDim), NUMBER(GetStrProfileProperties, CirRadius),
    NUMBER(GetStrProfileProperties, Startx), NUMBER(GetStrProfileProperties, Starty),
    NUMBER(GetStrProfileProperties, Startz), NUMBER(GetStrProfileProperties, Axis1),
    NUMBER(GetStrProfileProperties, Axis2), NUMBER(GetStrProfileProperties, Axis3),
    NUMBER(GetStrProfileProperties, Ref1), NUMBER(GetStrProfileProperties, Ref2),
    NUMBER(GetStrProfileProperties, Ref3),
};
const Field kUnitFields[] = {
    TEXT(GetProject, ConversionBasedName), INTEGER(GetProject, Type), INTEGER(GetProject, SIUnitPrefix),
    INTEGER(GetProject, SIUnitName), INTEGER(GetProject, TotDerivedUnit),
};

#undef NUMBER
#undef INTEGER
#undef TEXT

// Texts are copied into this buffer; the library copies without a length.
char textBuffer[1 << 16];

template <size_t N>
Json Record(const Field (&fields)[N], int index) {
  Json record = Json::object();
  for (const Field& f : fields) {
    if (f.number != nullptr) {
      record[f.key] = f.number(index);
    } else if (f.integer != nullptr) {
      record[f.key] = f.integer(index);
    } else {
      textBuffer[0] = '\0';
      f.text(index, textBuffer);
      record[f.key] = std::string(textBuffer);
    }
  }
  return record;
}

// The records 0 .. last of a table whose counter holds the last index.
template <size_t N>
Json Table(const Field (&fields)[N], int last) {
  Json records = Json::array();
  for (int i = 0; i <= last; ++i) records.push_back(Record(fields, i));
  return records;
}

// Outline points first .. first + count - 1 of walls and slabs.
Json Outline(double(KORVA_CALL* x)(int), double(KORVA_CALL* y)(int), int first, int count) {
  Json points = Json::array();
  for (int k = 0; k < count; ++k) points.push_back({x(first + k), y(first + k)});
  return points;
}

template <size_t N>
Json OutlinedTable(const Field (&fields)[N], int last, int(KORVA_CALL* index)(int), int(KORVA_CALL* total)(int),
                   double(KORVA_CALL* x)(int), double(KORVA_CALL* y)(int)) {
  Json records = Table(fields, last);
  for (int i = 0; i <= last; ++i) records[i]["points"] = Outline(x, y, index(i), total(i));
  return records;
}

// The connections of a member: entries 0 .. last, where the last index is
// the record's NumberStructuralConnection; entries without a connection
// (a member nothing refers to keeps 0) are left out.
Json Connections(int member, int last, int(KORVA_CALL* id)(int, int), double(KORVA_CALL* const (&values)[6])(int, int)) {
  static const char* const kKeys[6] = {"Dx", "Dy", "Dz", "Rx", "Ry", "Rz"};
  Json connections = Json::array();
  for (int k = 0; k <= last; ++k) {
    const int connection = id(member, k);
    if (connection == 0) continue;
    Json entry = {{"id", connection}};
    for (int v = 0; v < 6; ++v) entry[kKeys[v]] = values[v](member, k);
    connections.push_back(entry);
  }
  return connections;
}

double(KORVA_CALL* const kCurveValues[6])(int, int) = {
    &GetStrCurveMemberStructuralConnectionDx, &GetStrCurveMemberStructuralConnectionDy,
    &GetStrCurveMemberStructuralConnectionDz, &GetStrCurveMemberStructuralConnectionRx,
    &GetStrCurveMemberStructuralConnectionRy, &GetStrCurveMemberStructuralConnectionRz};
double(KORVA_CALL* const kSurfaceValues[6])(int, int) = {
    &GetStrSurfaceMemberStructuralConnectionDx, &GetStrSurfaceMemberStructuralConnectionDy,
    &GetStrSurfaceMemberStructuralConnectionDz, &GetStrSurfaceMemberStructuralConnectionRx,
    &GetStrSurfaceMemberStructuralConnectionRy, &GetStrSurfaceMemberStructuralConnectionRz};

}  // namespace

Json BuildingElementsJson() {
  Json building = Json::object();
  building["beams"] = Table(kBeamFields, GetTotalBeams());
  building["columns"] = Table(kColumnFields, GetTotalColumns());
  building["slabs"] = OutlinedTable(kSlabFields, GetTotalSlabs(), &GetSlabIndex, &GetSlabTotal, &GetSlabX, &GetSlabY);
  building["walls"] = OutlinedTable(kWallFields, GetTotalWalls(), &GetWallIndex, &GetWallTotal, &GetWallX, &GetWallY);
  Json generals = Table(kGeneralFields, GetTotalGenerals());
  for (int i = 0; i <= GetTotalGenerals(); ++i) {
    Json points = Json::array();
    const int first = GetGeneralIndex(i);
    for (int k = 0; k < GetGeneralTotal(i); ++k)
      points.push_back({GetGeneralX(first + k), GetGeneralY(first + k), GetGeneralZ(first + k)});
    generals[i]["points"] = points;
  }
  building["generals"] = generals;
  return building;
}

Json AnalysisModelsJson() { return Table(kAnalysisModelFields, GetTotalAnaModels()); }

Json MaterialsJson() {
  Json materials = Json::object();
  materials["general"] = Table(kGeneralMaterialFields, GetNumberGeneralMaterials());
  materials["steel"] = Table(kSteelFields, GetNumberMechSteelMats());
  materials["concrete"] = Table(kConcreteFields, GetNumberMechConcMats());
  return materials;
}

Json ProfilesJson() { return Table(kProfileFields, GetNumberStrProfileProperties()); }

Json UnitsJson() {
  Json units = Json::array();
  int element = 0;
  for (int i = 0; i < GetNumberProjectUnits(); ++i) {
    Json unit = Record(kUnitFields, i);
    Json exponents = Json::array();
    for (int k = 0; k < 7; ++k) exponents.push_back(GetProjectConversionBasedExponent(i, k));
    unit["ConversionBasedExponent"] = exponents;
    Json elements = Json::array();
    for (int k = 0; k < GetProjectTotDerivedUnit(i); ++k, ++element)
      elements.push_back({{"DerivedUnitIndex", GetProjectDerivedUnitIndex(element)},
                          {"DerivedUnitExp", GetProjectDerivedUnitExp(element)}});
    unit["derivedUnitElements"] = elements;
    units.push_back(unit);
  }
  return units;
}

Json ModelContentsJson() {
  Json contents = Json::object();
  Json curves = Table(kCurveMemberFields, GetNumberStrCurveMembers());
  for (int i = 0; i <= GetNumberStrCurveMembers(); ++i)
    curves[i]["connections"] = Connections(i, GetStrCurveMemberNumberStructuralConnection(i),
                                           &GetStrCurveMemberStructuralConnection, kCurveValues);
  Json surfaces = Table(kSurfaceMemberFields, GetNumberStrSurfaceMembers());
  for (int i = 0; i <= GetNumberStrSurfaceMembers(); ++i) {
    Json points = Json::array();
    for (int k = 0; k < GetStrSurfaceMemberNumberPts(i); ++k)
      points.push_back({GetStrSurfaceMemberPx(i, k), GetStrSurfaceMemberPy(i, k), GetStrSurfaceMemberPz(i, k)});
    surfaces[i]["points"] = points;
    surfaces[i]["connections"] = Connections(i, GetStrSurfaceMemberNumberStructuralConnection(i),
                                             &GetStrSurfaceMemberStructuralConnection, kSurfaceValues);
  }
  contents["curveMembers"] = curves;
  contents["surfaceMembers"] = surfaces;
  contents["pointConnections"] = Table(kPointConnectionFields, GetNumberStrPointConnections());
  return contents;
}

Json LoadsJson() {
  Json loads = Json::object();
  Json groups = Table(kLoadGroupFields, GetNumberStrLoadGroups());
  for (int i = 0; i <= GetNumberStrLoadGroups(); ++i) {
    Json members = Json::array();
    for (int k = 0; k < GetStrLoadGroupTotalMember(i); ++k) members.push_back(GetStrLoadGroupMember(i, k));
    groups[i]["members"] = members;
  }
  loads["loadGroups"] = groups;
  loads["pointActions"] = Table(kPointActionFields, GetNumberStrPointActions());
  loads["linearActions"] = Table(kLinearActionFields, GetNumberStrLinearActions());
  return loads;
}

}  // namespace cli
}  // namespace korva
