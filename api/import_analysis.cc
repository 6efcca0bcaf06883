// The exported functions of the structural analysis import: thin shims
// over import/analysis_import.h and reads of the tables of
// import/analysis_tables.h.
#include "api/korvaifc.h"

#include <vector>

#include "import/analysis_import.h"
#include "import/analysis_tables.h"
#include "import/import_guard.h"
#include "import/import_state.h"

using korva::AnalysisImport;

namespace {

// Element `position` of a record's array, or 0 outside it.
template <class Values>
auto Element(const Values& values, int position) -> typename Values::value_type {
  using T = typename Values::value_type;
  return position >= 0 && static_cast<size_t>(position) < values.size() ? values[static_cast<size_t>(position)] : T();
}

}  // namespace

// A number field of the record at `index`.
#define KORVA_NUMBER_GETTER(Name, T, table, field) \
  KORVA_API T KORVA_CALL Name(int index) { return AnalysisImport().table.find(index)->field; }

// A text field of the record at `index`, copied into the host's buffer.
#define KORVA_TEXT_GETTER(Name, table, field)                          \
  KORVA_API void KORVA_CALL Name(int index, char* buffer) {            \
    const auto& t = AnalysisImport().table;                            \
    korva::CopyText(t.find(index)->field, t.generation(), buffer);     \
  }

// Element `position` of an array of the record at `index`.
#define KORVA_ELEMENT_GETTER(Name, T, table, array) \
  KORVA_API T KORVA_CALL Name(int index, int position) { return Element(AnalysisImport().table.find(index)->array, position); }

// A table's counter.
#define KORVA_COUNT(Name, table) \
  KORVA_API int KORVA_CALL Name() { return AnalysisImport().table.counter(); }

KORVA_API int KORVA_CALL FindTotalAnaModels(char* fileName) {
  korva::GuardedImport("FindTotalAnaModels", -1,
                       [&] { korva::CensusAnalysisModels(korva::OpenImportDesign(fileName)); });
  return -1;
}

KORVA_API int KORVA_CALL CheckAnaModel(int, int modelFileId, char* fileName) {
  korva::GuardedImport("CheckAnaModel", -1,
                       [&] { korva::FillAnalysisModel(korva::OpenImportDesign(fileName), modelFileId); });
  return -1;
}

KORVA_API int KORVA_CALL GetAnaModelAvailable() { return AnalysisImport().available; }
KORVA_COUNT(GetTotalAnaModels, models)
KORVA_COUNT(GetNumberStrCurveMembers, curveMembers)
KORVA_COUNT(GetNumberStrSurfaceMembers, surfaceMembers)
KORVA_COUNT(GetNumberStrPointConnections, pointConnections)
KORVA_COUNT(GetNumberStrLoadGroups, loadGroups)
KORVA_COUNT(GetNumberStrPointActions, pointActions)
KORVA_COUNT(GetNumberStrLinearActions, linearActions)
KORVA_COUNT(GetNumberGeneralMaterials, generalMaterials)
KORVA_COUNT(GetNumberMechSteelMats, steelMaterials)
KORVA_COUNT(GetNumberMechConcMats, concreteMaterials)
KORVA_COUNT(GetNumberStrProfileProperties, profiles)
KORVA_COUNT(GetNumberProjectUnits, units)

// Analysis models.
KORVA_TEXT_GETTER(GetAnaModelGUID, models, GUID)
KORVA_TEXT_GETTER(GetAnaModelName, models, Name)
KORVA_NUMBER_GETTER(GetAnaModelFileID, int, models, FileID)
KORVA_NUMBER_GETTER(GetAnaModelType, int, models, Type)
KORVA_NUMBER_GETTER(GetAnaModelStartx, double, models, Startx)
KORVA_NUMBER_GETTER(GetAnaModelStarty, double, models, Starty)
KORVA_NUMBER_GETTER(GetAnaModelStartz, double, models, Startz)
KORVA_NUMBER_GETTER(GetAnaModelAxis1, double, models, Axis1)
KORVA_NUMBER_GETTER(GetAnaModelAxis2, double, models, Axis2)
KORVA_NUMBER_GETTER(GetAnaModelAxis3, double, models, Axis3)
KORVA_NUMBER_GETTER(GetAnaModelRef1, double, models, Ref1)
KORVA_NUMBER_GETTER(GetAnaModelRef2, double, models, Ref2)
KORVA_NUMBER_GETTER(GetAnaModelRef3, double, models, Ref3)

// Curve members.
KORVA_TEXT_GETTER(GetStrCurveMemberName, curveMembers, Name)
KORVA_TEXT_GETTER(GetStrCurveMemberGUID, curveMembers, GUID)
KORVA_NUMBER_GETTER(GetStrCurveMemberFileID, int, curveMembers, FileID)
KORVA_NUMBER_GETTER(GetStrCurveMemberNumberStructuralConnection, int, curveMembers, NumberStructuralConnection)
KORVA_NUMBER_GETTER(GetStrCurveMemberSectionID, int, curveMembers, SectionID)
KORVA_NUMBER_GETTER(GetStrCurveMemberMaterialID, int, curveMembers, MaterialID)
KORVA_NUMBER_GETTER(GetStrCurveMemberStartx, double, curveMembers, Startx)
KORVA_NUMBER_GETTER(GetStrCurveMemberStarty, double, curveMembers, Starty)
KORVA_NUMBER_GETTER(GetStrCurveMemberStartz, double, curveMembers, Startz)
KORVA_NUMBER_GETTER(GetStrCurveMemberAxis1, double, curveMembers, Axis1)
KORVA_NUMBER_GETTER(GetStrCurveMemberAxis2, double, curveMembers, Axis2)
KORVA_NUMBER_GETTER(GetStrCurveMemberAxis3, double, curveMembers, Axis3)
KORVA_NUMBER_GETTER(GetStrCurveMemberRef1, double, curveMembers, Ref1)
KORVA_NUMBER_GETTER(GetStrCurveMemberRef2, double, curveMembers, Ref2)
KORVA_NUMBER_GETTER(GetStrCurveMemberRef3, double, curveMembers, Ref3)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeX1, double, curveMembers, EdgeX1)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeY1, double, curveMembers, EdgeY1)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeZ1, double, curveMembers, EdgeZ1)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeX2, double, curveMembers, EdgeX2)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeY2, double, curveMembers, EdgeY2)
KORVA_NUMBER_GETTER(GetStrCurveMemberEdgeZ2, double, curveMembers, EdgeZ2)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnection, int, curveMembers, connections.StructuralConnection)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionDx, double, curveMembers, connections.Dx)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionDy, double, curveMembers, connections.Dy)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionDz, double, curveMembers, connections.Dz)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionRx, double, curveMembers, connections.Rx)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionRy, double, curveMembers, connections.Ry)
KORVA_ELEMENT_GETTER(GetStrCurveMemberStructuralConnectionRz, double, curveMembers, connections.Rz)

// Surface members.
KORVA_TEXT_GETTER(GetStrSurfaceMemberName, surfaceMembers, Name)
KORVA_TEXT_GETTER(GetStrSurfaceMemberGUID, surfaceMembers, GUID)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberFileID, int, surfaceMembers, FileID)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberNumberPts, int, surfaceMembers, NumberPts)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberNumberStructuralConnection, int, surfaceMembers, NumberStructuralConnection)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberSectionID, int, surfaceMembers, SectionID)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberMaterialID, int, surfaceMembers, MaterialID)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberStartx, double, surfaceMembers, Startx)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberStarty, double, surfaceMembers, Starty)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberStartz, double, surfaceMembers, Startz)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberAxis1, double, surfaceMembers, Axis1)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberAxis2, double, surfaceMembers, Axis2)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberAxis3, double, surfaceMembers, Axis3)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberRef1, double, surfaceMembers, Ref1)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberRef2, double, surfaceMembers, Ref2)
KORVA_NUMBER_GETTER(GetStrSurfaceMemberRef3, double, surfaceMembers, Ref3)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberPx, double, surfaceMembers, Px)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberPy, double, surfaceMembers, Py)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberPz, double, surfaceMembers, Pz)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnection, int, surfaceMembers, connections.StructuralConnection)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionDx, double, surfaceMembers, connections.Dx)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionDy, double, surfaceMembers, connections.Dy)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionDz, double, surfaceMembers, connections.Dz)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionRx, double, surfaceMembers, connections.Rx)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionRy, double, surfaceMembers, connections.Ry)
KORVA_ELEMENT_GETTER(GetStrSurfaceMemberStructuralConnectionRz, double, surfaceMembers, connections.Rz)

// Point connections.
KORVA_TEXT_GETTER(GetStrPointConnectionName, pointConnections, Name)
KORVA_TEXT_GETTER(GetStrPointConnectionGUID, pointConnections, GUID)
KORVA_NUMBER_GETTER(GetStrPointConnectionFileID, int, pointConnections, FileID)
KORVA_NUMBER_GETTER(GetStrPointConnectionStartx, double, pointConnections, Startx)
KORVA_NUMBER_GETTER(GetStrPointConnectionStarty, double, pointConnections, Starty)
KORVA_NUMBER_GETTER(GetStrPointConnectionStartz, double, pointConnections, Startz)
KORVA_NUMBER_GETTER(GetStrPointConnectionAxis1, double, pointConnections, Axis1)
KORVA_NUMBER_GETTER(GetStrPointConnectionAxis2, double, pointConnections, Axis2)
KORVA_NUMBER_GETTER(GetStrPointConnectionAxis3, double, pointConnections, Axis3)
KORVA_NUMBER_GETTER(GetStrPointConnectionRef1, double, pointConnections, Ref1)
KORVA_NUMBER_GETTER(GetStrPointConnectionRef2, double, pointConnections, Ref2)
KORVA_NUMBER_GETTER(GetStrPointConnectionRef3, double, pointConnections, Ref3)
KORVA_NUMBER_GETTER(GetStrPointConnectionVertexX1, double, pointConnections, VertexX1)
KORVA_NUMBER_GETTER(GetStrPointConnectionVertexY1, double, pointConnections, VertexY1)
KORVA_NUMBER_GETTER(GetStrPointConnectionVertexZ1, double, pointConnections, VertexZ1)
KORVA_NUMBER_GETTER(GetStrPointConnectionUX, double, pointConnections, UX)
KORVA_NUMBER_GETTER(GetStrPointConnectionUY, double, pointConnections, UY)
KORVA_NUMBER_GETTER(GetStrPointConnectionUZ, double, pointConnections, UZ)
KORVA_NUMBER_GETTER(GetStrPointConnectionRX, double, pointConnections, RX)
KORVA_NUMBER_GETTER(GetStrPointConnectionRY, double, pointConnections, RY)
KORVA_NUMBER_GETTER(GetStrPointConnectionRZ, double, pointConnections, RZ)

// Load groups.
KORVA_TEXT_GETTER(GetStrLoadGroupName, loadGroups, Name)
KORVA_TEXT_GETTER(GetStrLoadGroupGUID, loadGroups, GUID)
KORVA_NUMBER_GETTER(GetStrLoadGroupFileID, int, loadGroups, FileID)
KORVA_NUMBER_GETTER(GetStrLoadGroupPredefinedType, int, loadGroups, PredefinedType)
KORVA_NUMBER_GETTER(GetStrLoadGroupActionType, int, loadGroups, ActionType)
KORVA_NUMBER_GETTER(GetStrLoadGroupActionSource, int, loadGroups, ActionSource)
KORVA_NUMBER_GETTER(GetStrLoadGroupTotalMember, int, loadGroups, TotalMember)
KORVA_NUMBER_GETTER(GetStrLoadGroupCoefficient, double, loadGroups, Coefficient)
KORVA_ELEMENT_GETTER(GetStrLoadGroupMember, int, loadGroups, Member)

// Point actions.
KORVA_TEXT_GETTER(GetStrPointActionName, pointActions, Name)
KORVA_TEXT_GETTER(GetStrPointActionGUID, pointActions, GUID)
KORVA_NUMBER_GETTER(GetStrPointActionFileID, int, pointActions, FileID)
KORVA_NUMBER_GETTER(GetStrPointActionActedOn, int, pointActions, ActedOn)
KORVA_NUMBER_GETTER(GetStrPointActionLoadGroupID, int, pointActions, LoadGroupID)
KORVA_NUMBER_GETTER(GetStrPointActionFx, double, pointActions, Fx)
KORVA_NUMBER_GETTER(GetStrPointActionFy, double, pointActions, Fy)
KORVA_NUMBER_GETTER(GetStrPointActionFz, double, pointActions, Fz)
KORVA_NUMBER_GETTER(GetStrPointActionMx, double, pointActions, Mx)
KORVA_NUMBER_GETTER(GetStrPointActionMy, double, pointActions, My)
KORVA_NUMBER_GETTER(GetStrPointActionMz, double, pointActions, Mz)

// Linear actions.
KORVA_TEXT_GETTER(GetStrLinearActionName, linearActions, Name)
KORVA_TEXT_GETTER(GetStrLinearActionGUID, linearActions, GUID)
KORVA_NUMBER_GETTER(GetStrLinearActionFileID, int, linearActions, FileID)
KORVA_NUMBER_GETTER(GetStrLinearActionActedOn, int, linearActions, ActedOn)
KORVA_NUMBER_GETTER(GetStrLinearActionLoadGroupID, int, linearActions, LoadGroupID)
KORVA_NUMBER_GETTER(GetStrLinearActionFx, double, linearActions, Fx)
KORVA_NUMBER_GETTER(GetStrLinearActionFy, double, linearActions, Fy)
KORVA_NUMBER_GETTER(GetStrLinearActionFz, double, linearActions, Fz)
KORVA_NUMBER_GETTER(GetStrLinearActionMx, double, linearActions, Mx)
KORVA_NUMBER_GETTER(GetStrLinearActionMy, double, linearActions, My)
KORVA_NUMBER_GETTER(GetStrLinearActionMz, double, linearActions, Mz)

// Materials.
KORVA_TEXT_GETTER(GetGeneralMaterialName, generalMaterials, Name)
KORVA_NUMBER_GETTER(GetGeneralMaterialMolecularWeight, double, generalMaterials, MolecularWeight)
KORVA_NUMBER_GETTER(GetGeneralMaterialPorosity, double, generalMaterials, Porosity)
KORVA_NUMBER_GETTER(GetGeneralMaterialMassDensity, double, generalMaterials, MassDensity)
KORVA_TEXT_GETTER(GetMechSteelMatName, steelMaterials, Name)
KORVA_NUMBER_GETTER(GetMechSteelMatDynamicViscosity, double, steelMaterials, DynamicViscosity)
KORVA_NUMBER_GETTER(GetMechSteelMatYoungModulus, double, steelMaterials, YoungModulus)
KORVA_NUMBER_GETTER(GetMechSteelMatShearModulus, double, steelMaterials, ShearModulus)
KORVA_NUMBER_GETTER(GetMechSteelMatPoissonRatio, double, steelMaterials, PoissonRatio)
KORVA_NUMBER_GETTER(GetMechSteelMatThermalExpansion, double, steelMaterials, ThermalExpansion)
KORVA_NUMBER_GETTER(GetMechSteelMatYieldStress, double, steelMaterials, YieldStress)
KORVA_NUMBER_GETTER(GetMechSteelMatUltimateStress, double, steelMaterials, UltimateStress)
KORVA_NUMBER_GETTER(GetMechSteelMatUltimateStrain, double, steelMaterials, UltimateStrain)
KORVA_NUMBER_GETTER(GetMechSteelMatHardeningModule, double, steelMaterials, HardeningModule)
KORVA_NUMBER_GETTER(GetMechSteelMatProportionalStress, double, steelMaterials, ProportionalStress)
KORVA_NUMBER_GETTER(GetMechSteelMatPlasticStrain, double, steelMaterials, PlasticStrain)
KORVA_NUMBER_GETTER(GetMechSteelMatNumberRelaxation, int, steelMaterials, NumberRelaxation)
KORVA_TEXT_GETTER(GetMechConcMatName, concreteMaterials, Name)
KORVA_TEXT_GETTER(GetMechConcMatAdmixturesDescription, concreteMaterials, AdmixturesDescription)
KORVA_TEXT_GETTER(GetMechConcMatWorkability, concreteMaterials, Workability)
KORVA_TEXT_GETTER(GetMechConcMatWaterImpermeability, concreteMaterials, WaterImpermeability)
KORVA_NUMBER_GETTER(GetMechConcMatDynamicViscosity, double, concreteMaterials, DynamicViscosity)
KORVA_NUMBER_GETTER(GetMechConcMatYoungModulus, double, concreteMaterials, YoungModulus)
KORVA_NUMBER_GETTER(GetMechConcMatShearModulus, double, concreteMaterials, ShearModulus)
KORVA_NUMBER_GETTER(GetMechConcMatPoissonRatio, double, concreteMaterials, PoissonRatio)
KORVA_NUMBER_GETTER(GetMechConcMatThermalExpansion, double, concreteMaterials, ThermalExpansion)
KORVA_NUMBER_GETTER(GetMechConcMatCompressiveStrength, double, concreteMaterials, CompressiveStrength)
// Named for steel, these two read the concrete table.
KORVA_NUMBER_GETTER(GetMechSteelMatMaxAggregateSize, double, concreteMaterials, MaxAggregateSize)
KORVA_NUMBER_GETTER(GetMechSteelMatProtectivePoreRatio, double, concreteMaterials, ProtectivePoreRatio)

// Profile properties.
KORVA_TEXT_GETTER(GetStrProfilePropertiesSectionName, profiles, SectionName)
KORVA_TEXT_GETTER(GetStrProfilePropertiesProfileName, profiles, ProfileName)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesFileID, int, profiles, FileID)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesProfileType, int, profiles, ProfileType)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesISection, int, profiles, ISection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLSection, int, profiles, LSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUSection, int, profiles, USection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCSection, int, profiles, CSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZSection, int, profiles, ZSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTSection, int, profiles, TSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapSection, int, profiles, TrapSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRectSection, int, profiles, RectSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCirSection, int, profiles, CirSection)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesPhysicalWeight, double, profiles, PhysicalWeight)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesPerimeter, double, profiles, Perimeter)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMinimumPlateThickness, double, profiles, MinimumPlateThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMaximumPlateThickness, double, profiles, MaximumPlateThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCrossSectionArea, double, profiles, CrossSectionArea)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTorsionalConstantX, double, profiles, TorsionalConstantX)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMomentOfInertiaYZ, double, profiles, MomentOfInertiaYZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMomentOfInertiaY, double, profiles, MomentOfInertiaY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMomentOfInertiaZ, double, profiles, MomentOfInertiaZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesWarpingConstant, double, profiles, WarpingConstant)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesShearCentreZ, double, profiles, ShearCentreZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesShearCentreY, double, profiles, ShearCentreY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesShearDeformationAreaZ, double, profiles, ShearDeformationAreaZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesShearDeformationAreaY, double, profiles, ShearDeformationAreaY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMaximumSectionModulusY, double, profiles, MaximumSectionModulusY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMinimumSectionModulusY, double, profiles, MinimumSectionModulusY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMaximumSectionModulusZ, double, profiles, MaximumSectionModulusZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesMinimumSectionModulusZ, double, profiles, MinimumSectionModulusZ)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTorsionalSectionModulus, double, profiles, TorsionalSectionModulus)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIOverallWidth, double, profiles, IOverallWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIOverallDepth, double, profiles, IOverallDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIWebThickness, double, profiles, IWebThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIFlangeThickness, double, profiles, IFlangeThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIFilletRadius, double, profiles, IFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesIPhysicalWeight, double, profiles, IPhysicalWeight)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLDepth, double, profiles, LDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLWidth, double, profiles, LWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLThickness, double, profiles, LThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLFilletRadius, double, profiles, LFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLEdgeRadius, double, profiles, LEdgeRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLLegSlope, double, profiles, LLegSlope)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLCentreOfGravityInX, double, profiles, LCentreOfGravityInX)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesLCentreOfGravityInY, double, profiles, LCentreOfGravityInY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUDepth, double, profiles, UDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUFlangeWidth, double, profiles, UFlangeWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUWebThickness, double, profiles, UWebThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUFlangeThickness, double, profiles, UFlangeThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUFilletRadius, double, profiles, UFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUEdgeRadius, double, profiles, UEdgeRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUFlangeSlope, double, profiles, UFlangeSlope)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesUCentreOfGravityInX, double, profiles, UCentreOfGravityInX)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCDepth, double, profiles, CDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCWidth, double, profiles, CWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCWallThickness, double, profiles, CWallThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCGirth, double, profiles, CGirth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCInternalFilletRadius, double, profiles, CInternalFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCCentreOfGravityInX, double, profiles, CCentreOfGravityInX)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZDepth, double, profiles, ZDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZFlangeWidth, double, profiles, ZFlangeWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZWebThickness, double, profiles, ZWebThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZFlangeThickness, double, profiles, ZFlangeThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZFilletRadius, double, profiles, ZFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesZEdgeRadius, double, profiles, ZEdgeRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTDepth, double, profiles, TDepth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTFlangeWidth, double, profiles, TFlangeWidth)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTWebThickness, double, profiles, TWebThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTFlangeThickness, double, profiles, TFlangeThickness)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTFilletRadius, double, profiles, TFilletRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTFlangeEdgeRadius, double, profiles, TFlangeEdgeRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTWebEdgeRadius, double, profiles, TWebEdgeRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTWebSlope, double, profiles, TWebSlope)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTFlangeSlope, double, profiles, TFlangeSlope)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTCentreOfGravityInY, double, profiles, TCentreOfGravityInY)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapAxis1, double, profiles, TrapAxis1)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapAxis2, double, profiles, TrapAxis2)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapAxis3, double, profiles, TrapAxis3)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapRef1, double, profiles, TrapRef1)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapRef2, double, profiles, TrapRef2)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapRef3, double, profiles, TrapRef3)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapBottomXDim, double, profiles, TrapBottomXDim)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapTopXDim, double, profiles, TrapTopXDim)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapYDim, double, profiles, TrapYDim)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesTrapTopXOffset, double, profiles, TrapTopXOffset)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRectXDim, double, profiles, RectXDim)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRectYDim, double, profiles, RectYDim)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesCirRadius, double, profiles, CirRadius)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesStartx, double, profiles, Startx)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesStarty, double, profiles, Starty)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesStartz, double, profiles, Startz)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesAxis1, double, profiles, Axis1)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesAxis2, double, profiles, Axis2)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesAxis3, double, profiles, Axis3)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRef1, double, profiles, Ref1)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRef2, double, profiles, Ref2)
KORVA_NUMBER_GETTER(GetStrProfilePropertiesRef3, double, profiles, Ref3)
// IfcStructuralProfileProperties carries no GlobalId: nothing is copied.
KORVA_API void KORVA_CALL GetStrProfilePropertiesGUID(int, char*) {}

// Project units.
KORVA_NUMBER_GETTER(GetProjectType, int, units, Type)
KORVA_NUMBER_GETTER(GetProjectSIUnitPrefix, int, units, SIUnitPrefix)
KORVA_NUMBER_GETTER(GetProjectSIUnitName, int, units, SIUnitName)
KORVA_NUMBER_GETTER(GetProjectTotDerivedUnit, int, units, TotDerivedUnit)
KORVA_NUMBER_GETTER(GetProjectDerivedUnitIndex, int, derivedUnitElements, DerivedUnitIndex)
KORVA_NUMBER_GETTER(GetProjectDerivedUnitExp, int, derivedUnitElements, DerivedUnitExp)
KORVA_TEXT_GETTER(GetProjectConversionBasedName, units, ConversionBasedName)
KORVA_ELEMENT_GETTER(GetProjectConversionBasedExponent, int, units, ConversionBasedExponent)
