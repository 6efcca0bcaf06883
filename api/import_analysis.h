/* The structural analysis import: census and fill of an IFC file's analysis
 * models, members, point connections, load groups, actions, materials,
 * profile properties and project units, and the getters the host reads them
 * with.  Getters take 0-based indices; an index outside a table reads as an
 * unfilled record (0, 0.0, or " " for text) and a position outside a
 * record's array as 0.  Text getters copy the text with its terminator into
 * the host's buffer; they copy nothing for a null field, a null buffer, or
 * text of a design that ShutDown has released. */
#ifndef KORVA_API_IMPORT_ANALYSIS_H
#define KORVA_API_IMPORT_ANALYSIS_H

#include "platform/exports.h"

/* Census and fill.  The file name is that of the IFC file (or of a design in
 * memory).  FindTotalAnaModels counts and reads the analysis models, materials,
 * profile properties and project units; CheckAnaModel(ignored, model FileID,
 * file name) reads the members and point connections of one model and every
 * load group and action.  Both return -1. */
KORVA_API int KORVA_CALL FindTotalAnaModels(char* fileName);
KORVA_API int KORVA_CALL CheckAnaModel(int ignored, int modelFileId, char* fileName);

/* Counts: the availability flag (-1 when the last census met an analysis
 * model, else 0) and one counter per table (the census count, then the index
 * of the last record filled); GetNumberProjectUnits is the number of units. */
KORVA_API int KORVA_CALL GetAnaModelAvailable(void);
KORVA_API int KORVA_CALL GetTotalAnaModels(void);
KORVA_API int KORVA_CALL GetNumberStrCurveMembers(void);
KORVA_API int KORVA_CALL GetNumberStrSurfaceMembers(void);
KORVA_API int KORVA_CALL GetNumberStrPointConnections(void);
KORVA_API int KORVA_CALL GetNumberStrLoadGroups(void);
KORVA_API int KORVA_CALL GetNumberStrPointActions(void);
KORVA_API int KORVA_CALL GetNumberStrLinearActions(void);
KORVA_API int KORVA_CALL GetNumberGeneralMaterials(void);
KORVA_API int KORVA_CALL GetNumberMechSteelMats(void);
KORVA_API int KORVA_CALL GetNumberMechConcMats(void);
KORVA_API int KORVA_CALL GetNumberStrProfileProperties(void);
KORVA_API int KORVA_CALL GetNumberProjectUnits(void);

/* Analysis models. */
KORVA_API void KORVA_CALL GetAnaModelGUID(int index, char* buffer);
KORVA_API void KORVA_CALL GetAnaModelName(int index, char* buffer);
KORVA_API int KORVA_CALL GetAnaModelFileID(int index);
KORVA_API int KORVA_CALL GetAnaModelType(int index);
KORVA_API double KORVA_CALL GetAnaModelStartx(int index);
KORVA_API double KORVA_CALL GetAnaModelStarty(int index);
KORVA_API double KORVA_CALL GetAnaModelStartz(int index);
KORVA_API double KORVA_CALL GetAnaModelAxis1(int index);
KORVA_API double KORVA_CALL GetAnaModelAxis2(int index);
KORVA_API double KORVA_CALL GetAnaModelAxis3(int index);
KORVA_API double KORVA_CALL GetAnaModelRef1(int index);
KORVA_API double KORVA_CALL GetAnaModelRef2(int index);
KORVA_API double KORVA_CALL GetAnaModelRef3(int index);

/* Curve members; the StructuralConnection getters take a connection index
 * from 0 to GetStrCurveMemberNumberStructuralConnection. */
KORVA_API void KORVA_CALL GetStrCurveMemberName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrCurveMemberGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrCurveMemberFileID(int index);
KORVA_API int KORVA_CALL GetStrCurveMemberNumberStructuralConnection(int index);
KORVA_API int KORVA_CALL GetStrCurveMemberSectionID(int index);
KORVA_API int KORVA_CALL GetStrCurveMemberMaterialID(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberStartx(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberStarty(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberStartz(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberAxis1(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberAxis2(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberAxis3(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberRef1(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberRef2(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberRef3(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeX1(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeY1(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeZ1(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeX2(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeY2(int index);
KORVA_API double KORVA_CALL GetStrCurveMemberEdgeZ2(int index);
KORVA_API int KORVA_CALL GetStrCurveMemberStructuralConnection(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionDx(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionDy(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionDz(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionRx(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionRy(int index, int position);
KORVA_API double KORVA_CALL GetStrCurveMemberStructuralConnectionRz(int index, int position);

/* Surface members; Px, Py, Pz take a point index below NumberPts. */
KORVA_API void KORVA_CALL GetStrSurfaceMemberName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrSurfaceMemberGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrSurfaceMemberFileID(int index);
KORVA_API int KORVA_CALL GetStrSurfaceMemberNumberPts(int index);
KORVA_API int KORVA_CALL GetStrSurfaceMemberNumberStructuralConnection(int index);
KORVA_API int KORVA_CALL GetStrSurfaceMemberSectionID(int index);
KORVA_API int KORVA_CALL GetStrSurfaceMemberMaterialID(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStartx(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStarty(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStartz(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberAxis1(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberAxis2(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberAxis3(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberRef1(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberRef2(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberRef3(int index);
KORVA_API double KORVA_CALL GetStrSurfaceMemberPx(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberPy(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberPz(int index, int position);
KORVA_API int KORVA_CALL GetStrSurfaceMemberStructuralConnection(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionDx(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionDy(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionDz(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionRx(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionRy(int index, int position);
KORVA_API double KORVA_CALL GetStrSurfaceMemberStructuralConnectionRz(int index, int position);

/* Point connections; UX to RZ are -1.0 without boundary condition. */
KORVA_API void KORVA_CALL GetStrPointConnectionName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrPointConnectionGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrPointConnectionFileID(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionStartx(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionStarty(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionStartz(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionAxis1(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionAxis2(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionAxis3(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRef1(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRef2(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRef3(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionVertexX1(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionVertexY1(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionVertexZ1(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionUX(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionUY(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionUZ(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRX(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRY(int index);
KORVA_API double KORVA_CALL GetStrPointConnectionRZ(int index);

/* Load groups; Member takes an index below TotalMember. */
KORVA_API void KORVA_CALL GetStrLoadGroupName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrLoadGroupGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrLoadGroupFileID(int index);
KORVA_API int KORVA_CALL GetStrLoadGroupPredefinedType(int index);
KORVA_API int KORVA_CALL GetStrLoadGroupActionType(int index);
KORVA_API int KORVA_CALL GetStrLoadGroupActionSource(int index);
KORVA_API int KORVA_CALL GetStrLoadGroupTotalMember(int index);
KORVA_API double KORVA_CALL GetStrLoadGroupCoefficient(int index);
KORVA_API int KORVA_CALL GetStrLoadGroupMember(int index, int position);

/* Point actions. */
KORVA_API void KORVA_CALL GetStrPointActionName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrPointActionGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrPointActionFileID(int index);
KORVA_API int KORVA_CALL GetStrPointActionActedOn(int index);
KORVA_API int KORVA_CALL GetStrPointActionLoadGroupID(int index);
KORVA_API double KORVA_CALL GetStrPointActionFx(int index);
KORVA_API double KORVA_CALL GetStrPointActionFy(int index);
KORVA_API double KORVA_CALL GetStrPointActionFz(int index);
KORVA_API double KORVA_CALL GetStrPointActionMx(int index);
KORVA_API double KORVA_CALL GetStrPointActionMy(int index);
KORVA_API double KORVA_CALL GetStrPointActionMz(int index);

/* Linear actions. */
KORVA_API void KORVA_CALL GetStrLinearActionName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrLinearActionGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrLinearActionFileID(int index);
KORVA_API int KORVA_CALL GetStrLinearActionActedOn(int index);
KORVA_API int KORVA_CALL GetStrLinearActionLoadGroupID(int index);
KORVA_API double KORVA_CALL GetStrLinearActionFx(int index);
KORVA_API double KORVA_CALL GetStrLinearActionFy(int index);
KORVA_API double KORVA_CALL GetStrLinearActionFz(int index);
KORVA_API double KORVA_CALL GetStrLinearActionMx(int index);
KORVA_API double KORVA_CALL GetStrLinearActionMy(int index);
KORVA_API double KORVA_CALL GetStrLinearActionMz(int index);

/* Materials.  GetMechSteelMatMaxAggregateSize and
 * GetMechSteelMatProtectivePoreRatio read the concrete table. */
KORVA_API void KORVA_CALL GetGeneralMaterialName(int index, char* buffer);
KORVA_API double KORVA_CALL GetGeneralMaterialMolecularWeight(int index);
KORVA_API double KORVA_CALL GetGeneralMaterialPorosity(int index);
KORVA_API double KORVA_CALL GetGeneralMaterialMassDensity(int index);
KORVA_API void KORVA_CALL GetMechSteelMatName(int index, char* buffer);
KORVA_API double KORVA_CALL GetMechSteelMatDynamicViscosity(int index);
KORVA_API double KORVA_CALL GetMechSteelMatYoungModulus(int index);
KORVA_API double KORVA_CALL GetMechSteelMatShearModulus(int index);
KORVA_API double KORVA_CALL GetMechSteelMatPoissonRatio(int index);
KORVA_API double KORVA_CALL GetMechSteelMatThermalExpansion(int index);
KORVA_API double KORVA_CALL GetMechSteelMatYieldStress(int index);
KORVA_API double KORVA_CALL GetMechSteelMatUltimateStress(int index);
KORVA_API double KORVA_CALL GetMechSteelMatUltimateStrain(int index);
KORVA_API double KORVA_CALL GetMechSteelMatHardeningModule(int index);
KORVA_API double KORVA_CALL GetMechSteelMatProportionalStress(int index);
KORVA_API double KORVA_CALL GetMechSteelMatPlasticStrain(int index);
KORVA_API int KORVA_CALL GetMechSteelMatNumberRelaxation(int index);
KORVA_API void KORVA_CALL GetMechConcMatName(int index, char* buffer);
KORVA_API void KORVA_CALL GetMechConcMatAdmixturesDescription(int index, char* buffer);
KORVA_API void KORVA_CALL GetMechConcMatWorkability(int index, char* buffer);
KORVA_API void KORVA_CALL GetMechConcMatWaterImpermeability(int index, char* buffer);
KORVA_API double KORVA_CALL GetMechConcMatDynamicViscosity(int index);
KORVA_API double KORVA_CALL GetMechConcMatYoungModulus(int index);
KORVA_API double KORVA_CALL GetMechConcMatShearModulus(int index);
KORVA_API double KORVA_CALL GetMechConcMatPoissonRatio(int index);
KORVA_API double KORVA_CALL GetMechConcMatThermalExpansion(int index);
KORVA_API double KORVA_CALL GetMechConcMatCompressiveStrength(int index);
KORVA_API double KORVA_CALL GetMechSteelMatMaxAggregateSize(int index);
KORVA_API double KORVA_CALL GetMechSteelMatProtectivePoreRatio(int index);

/* Profile properties.  A shape flag is -1 for the profile's shape;
 * GetStrProfilePropertiesGUID copies nothing (the entity has no GlobalId). */
KORVA_API void KORVA_CALL GetStrProfilePropertiesSectionName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrProfilePropertiesProfileName(int index, char* buffer);
KORVA_API void KORVA_CALL GetStrProfilePropertiesGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetStrProfilePropertiesFileID(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesProfileType(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesISection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesLSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesUSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesCSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesZSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesTSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesTrapSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesRectSection(int index);
KORVA_API int KORVA_CALL GetStrProfilePropertiesCirSection(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesPhysicalWeight(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesPerimeter(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMinimumPlateThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMaximumPlateThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCrossSectionArea(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTorsionalConstantX(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMomentOfInertiaYZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMomentOfInertiaY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMomentOfInertiaZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesWarpingConstant(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesShearCentreZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesShearCentreY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesShearDeformationAreaZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesShearDeformationAreaY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMaximumSectionModulusY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMinimumSectionModulusY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMaximumSectionModulusZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesMinimumSectionModulusZ(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTorsionalSectionModulus(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIOverallWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIOverallDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIWebThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIFlangeThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesIPhysicalWeight(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLEdgeRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLLegSlope(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLCentreOfGravityInX(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesLCentreOfGravityInY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUFlangeWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUWebThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUFlangeThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUEdgeRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUFlangeSlope(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesUCentreOfGravityInX(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCWallThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCGirth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCInternalFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCCentreOfGravityInX(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZFlangeWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZWebThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZFlangeThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesZEdgeRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTDepth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTFlangeWidth(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTWebThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTFlangeThickness(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTFilletRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTFlangeEdgeRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTWebEdgeRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTWebSlope(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTFlangeSlope(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTCentreOfGravityInY(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapAxis1(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapAxis2(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapAxis3(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapRef1(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapRef2(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapRef3(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapBottomXDim(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapTopXDim(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapYDim(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesTrapTopXOffset(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesRectXDim(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesRectYDim(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesCirRadius(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesStartx(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesStarty(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesStartz(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesAxis1(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesAxis2(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesAxis3(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesRef1(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesRef2(int index);
KORVA_API double KORVA_CALL GetStrProfilePropertiesRef3(int index);

/* Project units.  DerivedUnitIndex and DerivedUnitExp take a position in
 * the derived-unit elements of all units; ConversionBasedExponent takes the
 * unit index and an exponent position from 0 to 6. */
KORVA_API int KORVA_CALL GetProjectType(int index);
KORVA_API int KORVA_CALL GetProjectSIUnitPrefix(int index);
KORVA_API int KORVA_CALL GetProjectSIUnitName(int index);
KORVA_API int KORVA_CALL GetProjectTotDerivedUnit(int index);
KORVA_API int KORVA_CALL GetProjectDerivedUnitIndex(int index);
KORVA_API int KORVA_CALL GetProjectDerivedUnitExp(int index);
KORVA_API void KORVA_CALL GetProjectConversionBasedName(int index, char* buffer);
KORVA_API int KORVA_CALL GetProjectConversionBasedExponent(int index, int position);

#endif /* KORVA_API_IMPORT_ANALYSIS_H */
