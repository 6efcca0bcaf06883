// The record tables of the structural analysis import: analysis models,
// curve and surface members, point connections, load groups, point and
// linear actions, the three material kinds, profile properties and the
// project's units.  They live in one process-wide object, AnalysisImport(),
// which the census and fill passes rewrite and the exported getters read.
//
// These tables grow when a fill meets more records than the census counted
// (a model may group a member twice), and a read outside them finds a
// default record (import_table.h).  Numbers and the per-record arrays
// belong to the tables themselves; text belongs to the design read.
#ifndef KORVA_IMPORT_ANALYSIS_TABLES_H
#define KORVA_IMPORT_ANALYSIS_TABLES_H

#include <array>
#include <vector>

#include "import/import_table.h"

namespace korva {

struct AnalysisModelRecord {
  const char* GUID = kBlankField;
  const char* Name = kBlankField;
  int FileID = 0;
  int Type = 0;
  double Startx = 0, Starty = 0, Startz = 0;
  double Axis1 = 0, Axis2 = 0, Axis3 = 0;
  double Ref1 = 0, Ref2 = 0, Ref3 = 0;
};

// The connections of a curve or surface member: the point connections'
// FileIDs and, parallel to them, the stiffnesses of the boundary node
// conditions (Dx, Dy, Dz linear; Rx, Ry, Rz rotational).
struct MemberConnections {
  std::vector<int> StructuralConnection;
  std::vector<double> Dx, Dy, Dz, Rx, Ry, Rz;
};

// The fields every member and connection record starts with: identity and
// the composed placement (Start, Axis, Ref).
struct PlacedItemRecord {
  const char* Name = kBlankField;
  const char* GUID = kBlankField;
  int FileID = 0;
  double Startx = 0, Starty = 0, Startz = 0;
  double Axis1 = 0, Axis2 = 0, Axis3 = 0;
  double Ref1 = 0, Ref2 = 0, Ref3 = 0;
};

struct CurveMemberRecord : PlacedItemRecord {
  double EdgeX1 = 0, EdgeY1 = 0, EdgeZ1 = 0;
  double EdgeX2 = 0, EdgeY2 = 0, EdgeZ2 = 0;
  // The last connection index (connections - 1, -1 for none); 0 for a
  // member nothing refers to.
  int NumberStructuralConnection = 0;
  MemberConnections connections;
  int SectionID = 0;
  int MaterialID = 0;
};

struct SurfaceMemberRecord : PlacedItemRecord {
  int NumberPts = 0;
  std::vector<double> Px, Py, Pz;
  int NumberStructuralConnection = 0;
  MemberConnections connections;
  int SectionID = 0;
  int MaterialID = 0;
};

// A point connection's boundary stiffnesses are -1.0 while no boundary
// node condition has been found.
struct PointConnectionRecord : PlacedItemRecord {
  double VertexX1 = 0, VertexY1 = 0, VertexZ1 = 0;
  double UX = -1.0, UY = -1.0, UZ = -1.0;
  double RX = -1.0, RY = -1.0, RZ = -1.0;
};

struct LoadGroupRecord {
  const char* GUID = kBlankField;
  const char* Name = kBlankField;
  int FileID = 0;
  int PredefinedType = 0, ActionType = 0, ActionSource = 0;  // enumerator indices
  double Coefficient = 0;
  int TotalMember = 0;
  std::vector<int> Member;
};

// Point and linear actions share the record.
struct ActionRecord {
  const char* GUID = kBlankField;
  const char* Name = kBlankField;
  int FileID = 0;
  int ActedOn = 0;      // FileID of the item the action acts on
  int LoadGroupID = 0;  // FileID of the load group it is assigned to
  double Fx = 0, Fy = 0, Fz = 0, Mx = 0, My = 0, Mz = 0;
};

struct GeneralMaterialRecord {
  const char* Name = kBlankField;
  double MolecularWeight = 0, Porosity = 0, MassDensity = 0;
};

struct SteelMaterialRecord {
  const char* Name = kBlankField;
  double DynamicViscosity = 0, YoungModulus = 0, ShearModulus = 0, PoissonRatio = 0;
  double ThermalExpansion = 0, YieldStress = 0, UltimateStress = 0, UltimateStrain = 0;
  double HardeningModule = 0, ProportionalStress = 0, PlasticStrain = 0;
  int NumberRelaxation = 0;
};

struct ConcreteMaterialRecord {
  const char* Name = kBlankField;
  double DynamicViscosity = 0, YoungModulus = 0, ShearModulus = 0, PoissonRatio = 0;
  double ThermalExpansion = 0, CompressiveStrength = 0, MaxAggregateSize = 0;
  const char* AdmixturesDescription = kBlankField;
  const char* Workability = kBlankField;
  double ProtectivePoreRatio = 0;
  const char* WaterImpermeability = kBlankField;
};

// A shape block's flag is -1 when the profile definition is of that shape.
struct ProfilePropertiesRecord {
  // IfcStructuralProfileProperties has no GlobalId: always null, so its
  // getter copies nothing.
  const char* GUID = nullptr;
  const char* ProfileName = kBlankField;
  int ProfileType = 0;
  double PhysicalWeight = 0, Perimeter = 0, MinimumPlateThickness = 0;
  double MaximumPlateThickness = 0, CrossSectionArea = 0;
  const char* SectionName = kBlankField;
  double TorsionalConstantX = 0, MomentOfInertiaYZ = 0, MomentOfInertiaY = 0;
  double MomentOfInertiaZ = 0, WarpingConstant = 0, ShearCentreZ = 0, ShearCentreY = 0;
  double ShearDeformationAreaZ = 0, ShearDeformationAreaY = 0;
  double MaximumSectionModulusY = 0, MinimumSectionModulusY = 0;
  double MaximumSectionModulusZ = 0, MinimumSectionModulusZ = 0;
  double TorsionalSectionModulus = 0;
  int FileID = 0;

  int ISection = 0;
  double IOverallWidth = 0, IOverallDepth = 0, IWebThickness = 0, IFlangeThickness = 0;
  double IFilletRadius = 0, IPhysicalWeight = 0;
  int LSection = 0;
  double LDepth = 0, LWidth = 0, LThickness = 0, LFilletRadius = 0, LEdgeRadius = 0;
  double LLegSlope = 0, LCentreOfGravityInX = 0, LCentreOfGravityInY = 0;
  int USection = 0;
  double UDepth = 0, UFlangeWidth = 0, UWebThickness = 0, UFlangeThickness = 0;
  double UFilletRadius = 0, UEdgeRadius = 0, UFlangeSlope = 0, UCentreOfGravityInX = 0;
  int CSection = 0;
  double CDepth = 0, CWidth = 0, CWallThickness = 0, CGirth = 0;
  double CInternalFilletRadius = 0, CCentreOfGravityInX = 0;
  int ZSection = 0;
  double ZDepth = 0, ZFlangeWidth = 0, ZWebThickness = 0, ZFlangeThickness = 0;
  double ZFilletRadius = 0, ZEdgeRadius = 0;
  int TSection = 0;
  double TDepth = 0, TFlangeWidth = 0, TWebThickness = 0, TFlangeThickness = 0;
  double TFilletRadius = 0, TFlangeEdgeRadius = 0, TWebEdgeRadius = 0, TWebSlope = 0;
  double TFlangeSlope = 0, TCentreOfGravityInY = 0;
  int TrapSection = 0;
  double TrapAxis1 = 0, TrapAxis2 = 0, TrapAxis3 = 0, TrapRef1 = 0, TrapRef2 = 0, TrapRef3 = 0;
  double TrapBottomXDim = 0, TrapTopXDim = 0, TrapYDim = 0, TrapTopXOffset = 0;
  int RectSection = 0;
  double RectXDim = 0, RectYDim = 0;
  int CirSection = 0;
  double CirRadius = 0;

  // The profile's Position.
  double Startx = 0, Starty = 0, Startz = 0;
  double Axis1 = 0, Axis2 = 0, Axis3 = 0;
  double Ref1 = 0, Ref2 = 0, Ref3 = 0;
};

// The seven exponents of IfcDimensionalExponents, in declaration order.
typedef std::array<int, 7> UnitExponents;

// One unit of the project's unit assignment.
struct UnitRecord {
  int Type = 0;            // IfcUnitEnum index of a named unit
  int SIUnitPrefix = -1;   // IfcSIPrefix index
  int SIUnitName = -1;     // IfcSIUnitName index
  const char* ConversionBasedName = kBlankField;
  UnitExponents ConversionBasedExponent{};
  int TotDerivedUnit = 0;  // elements of a derived unit
};

// One element of a derived unit; the elements of all derived units follow
// one another in the order of their units.
struct DerivedUnitElementRecord {
  int DerivedUnitIndex = 0;  // IfcUnitEnum index of the element's unit
  int DerivedUnitExp = 0;
};

template <class Record>
using AnalysisTable = ImportTable<Record, Growing<Record>>;

// A unit index outside the assignment reads as a unit without values and
// without a name (its name getter copies nothing).
struct UnitsOutside {
  static constexpr bool kGrows = true;
  static const UnitRecord* Outside();
};

// The units of the project's unit assignment; its counter holds the number
// of units.
using UnitTable = ImportTable<UnitRecord, UnitsOutside>;

// The process-wide state of the analysis import.
struct AnalysisImportState {
  int available = 0;  // -1 once a census has met an analysis model
  AnalysisTable<AnalysisModelRecord> models;
  AnalysisTable<CurveMemberRecord> curveMembers;
  AnalysisTable<SurfaceMemberRecord> surfaceMembers;
  AnalysisTable<PointConnectionRecord> pointConnections;
  AnalysisTable<LoadGroupRecord> loadGroups;
  AnalysisTable<ActionRecord> pointActions;
  AnalysisTable<ActionRecord> linearActions;
  AnalysisTable<GeneralMaterialRecord> generalMaterials;
  AnalysisTable<SteelMaterialRecord> steelMaterials;
  AnalysisTable<ConcreteMaterialRecord> concreteMaterials;
  AnalysisTable<ProfilePropertiesRecord> profiles;
  UnitTable units;
  AnalysisTable<DerivedUnitElementRecord> derivedUnitElements;
};

// The tables of the process, kept by the library state
// (api/library_state.h); the fill passes replace them.
AnalysisImportState& AnalysisImport();

// Empties every table; each counter becomes `counter`, the availability
// flag 0 and the unit assignment empty.
void ReleaseAnalysisTables(int counter);

}  // namespace korva

#endif  // KORVA_IMPORT_ANALYSIS_TABLES_H
