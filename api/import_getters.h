/* The import's getters and counters, each described once.
 *
 * A getter is one line G(Family, Field, Kind, table, member):
 *   Get<Family><Field>  its exported name;
 *   Kind                its shape:
 *     NUMBER      double Get...(int index)
 *     INTEGER     int    Get...(int index)
 *     TEXT        void   Get...(int index, char* buffer)   text
 *     GLOBALID    void   Get...(int index, char* buffer)   an IFC GlobalId
 *     NUMBER_AT   double Get...(int index, int position)   element of an array
 *     INTEGER_AT  int    Get...(int index, int position)
 *   table, member       the import table it reads and the record member
 *                       (an expression on the record) it returns.
 * A counter is one line C(Name, value): int Get<Name>(void) returns `value`
 * of the import state.  Tables whose name ends in "Points" are indexed by
 * point, the others by record.
 *
 * A TEXT or GLOBALID getter writes at most KORVA_TEXT_BUFFER_SIZE bytes into
 * the host's buffer, the terminator included: a longer text is cut after
 * 255 bytes, and a GlobalId longer than its 22 characters is handed out
 * empty; the import warns of each (20 at the most per call, then their
 * number).  Hosts pass buffers of at least KORVA_TEXT_BUFFER_SIZE bytes.
 *
 * Every exported declaration of the import's getters and counters, their
 * definitions, the reference in docs/API.md and the fields korva-ifc prints
 * are expanded from these lists; the tests compare them with the contract
 * abi/exports.tsv.  The lists are in the order in which korva-ifc prints a
 * record's fields. */
#ifndef KORVA_API_IMPORT_GETTERS_H
#define KORVA_API_IMPORT_GETTERS_H

#include "platform/exports.h"

#define KORVA_TEXT_BUFFER_SIZE 256

/* ---- Building elements (the tables of FindTotalObjects and CheckNumber) */

#define KORVA_BUILDING_COUNTS(C)      \
  C(TotalBeams, beams.counter())       \
  C(TotalColumns, columns.counter())   \
  C(TotalWalls, walls.counter())       \
  C(TotalSlabs, slabs.counter())       \
  C(TotalGenerals, generals.counter()) \
  C(TotalWallPoints, wallPoints.counter()) \
  C(TotalSlabPoints, slabPoints.counter())

/* Placement and bounding box, shared by every kind of element. */
#define KORVA_FRAME_GETTERS(G, F, T)                  \
  G(F, Startx, NUMBER, T, Placement.start[0])         \
  G(F, Starty, NUMBER, T, Placement.start[1])         \
  G(F, Startz, NUMBER, T, Placement.start[2])         \
  G(F, Axis1, NUMBER, T, Placement.axis[0])           \
  G(F, Axis2, NUMBER, T, Placement.axis[1])           \
  G(F, Axis3, NUMBER, T, Placement.axis[2])           \
  G(F, Ref1, NUMBER, T, Placement.ref[0])             \
  G(F, Ref2, NUMBER, T, Placement.ref[1])             \
  G(F, Ref3, NUMBER, T, Placement.ref[2])             \
  G(F, Height, NUMBER, T, Box.height)                 \
  G(F, Width, NUMBER, T, Box.width)                   \
  G(F, Length, NUMBER, T, Box.length)                 \
  G(F, CornerPointX, NUMBER, T, Box.corner[0])        \
  G(F, CornerPointY, NUMBER, T, Box.corner[1])        \
  G(F, CornerPointZ, NUMBER, T, Box.corner[2])

/* Beams and columns (BeamRecord). */
#define KORVA_BEAM_GETTERS(G, F, T)                         \
  G(F, Name, TEXT, T, Name)                                 \
  G(F, GUID, GLOBALID, T, GUID)                             \
  G(F, FileID, INTEGER, T, FileID)                          \
  KORVA_FRAME_GETTERS(G, F, T)                              \
  G(F, ExtrudedDepth, NUMBER, T, ExtrudedDepth)             \
  G(F, ExtrudedAxis1, NUMBER, T, ExtrudedAxis[0])           \
  G(F, ExtrudedAxis2, NUMBER, T, ExtrudedAxis[1])           \
  G(F, ExtrudedAxis3, NUMBER, T, ExtrudedAxis[2])           \
  G(F, ExtrudedPosX, NUMBER, T, ExtrudedPos[0])             \
  G(F, ExtrudedPosY, NUMBER, T, ExtrudedPos[1])             \
  G(F, ExtrudedPosZ, NUMBER, T, ExtrudedPos[2])             \
  G(F, ExtrudedPosAxis1, NUMBER, T, ExtrudedPosAxis[0])     \
  G(F, ExtrudedPosAxis2, NUMBER, T, ExtrudedPosAxis[1])     \
  G(F, ExtrudedPosAxis3, NUMBER, T, ExtrudedPosAxis[2])     \
  G(F, ExtrudedPosRefAxis1, NUMBER, T, ExtrudedPosRefAxis[0]) \
  G(F, ExtrudedPosRefAxis2, NUMBER, T, ExtrudedPosRefAxis[1]) \
  G(F, ExtrudedPosRefAxis3, NUMBER, T, ExtrudedPosRefAxis[2]) \
  G(F, 2DHeight, NUMBER, T, Height2D)                       \
  G(F, 2DWidth, NUMBER, T, Width2D)                         \
  G(F, 2DOffset1, NUMBER, T, Offset2D[0])                   \
  G(F, 2DOffset2, NUMBER, T, Offset2D[1])                   \
  G(F, 2DDirectionAxis1, NUMBER, T, DirectionAxis2D[0])     \
  G(F, 2DDirectionAxis2, NUMBER, T, DirectionAxis2D[1])

/* Walls and slabs (WallRecord). */
#define KORVA_WALL_GETTERS(G, F, T)             \
  G(F, Name, TEXT, T, Name)                     \
  G(F, GUID, GLOBALID, T, GUID)                 \
  G(F, Index, INTEGER, T, Index)                \
  G(F, Total, INTEGER, T, Total)                \
  G(F, FileID, INTEGER, T, FileID)              \
  KORVA_FRAME_GETTERS(G, F, T)                  \
  G(F, ExtrudedDepth, NUMBER, T, ExtrudedDepth)

/* The outline points of walls and slabs (OutlinePointRecord). */
#define KORVA_OUTLINE_POINT_GETTERS(G, F, P) \
  G(F, X, NUMBER, P, X)                      \
  G(F, Y, NUMBER, P, Y)                      \
  G(F, PointName, TEXT, P, Name)             \
  G(F, PointGUID, GLOBALID, P, GUID)         \
  G(F, pointFileID, INTEGER, P, FileID)

/* Proxy elements (GeneralElementRecord) and their brep points. */
#define KORVA_GENERAL_GETTERS(G)                  \
  G(General, Index, INTEGER, generals, Index)     \
  G(General, Total, INTEGER, generals, Total)     \
  KORVA_FRAME_GETTERS(G, General, generals)

#define KORVA_GENERAL_POINT_GETTERS(G)         \
  G(General, X, NUMBER, generalPoints, X)      \
  G(General, Y, NUMBER, generalPoints, Y)      \
  G(General, Z, NUMBER, generalPoints, Z)

#define KORVA_BUILDING_GETTERS(G)                  \
  KORVA_BEAM_GETTERS(G, Beam, beams)               \
  KORVA_BEAM_GETTERS(G, Column, columns)           \
  KORVA_WALL_GETTERS(G, Wall, walls)               \
  KORVA_OUTLINE_POINT_GETTERS(G, Wall, wallPoints) \
  KORVA_WALL_GETTERS(G, Slab, slabs)               \
  KORVA_OUTLINE_POINT_GETTERS(G, Slab, slabPoints) \
  KORVA_GENERAL_GETTERS(G)                         \
  KORVA_GENERAL_POINT_GETTERS(G)

/* ---- Structural analysis, materials, profiles and units (the tables of
 * FindTotalAnaModels and CheckAnaModel, and the analysis kinds that
 * FindTotalObjects and CheckNumber read along). */

#define KORVA_ANALYSIS_COUNTS(C)                            \
  C(AnaModelAvailable, available)                           \
  C(TotalAnaModels, models.counter())                       \
  C(NumberStrCurveMembers, curveMembers.counter())          \
  C(NumberStrSurfaceMembers, surfaceMembers.counter())      \
  C(NumberStrPointConnections, pointConnections.counter())  \
  C(NumberStrLoadGroups, loadGroups.counter())              \
  C(NumberStrPointActions, pointActions.counter())          \
  C(NumberStrLinearActions, linearActions.counter())        \
  C(NumberGeneralMaterials, generalMaterials.counter())     \
  C(NumberMechSteelMats, steelMaterials.counter())          \
  C(NumberMechConcMats, concreteMaterials.counter())        \
  C(NumberStrProfileProperties, profiles.counter())         \
  C(NumberProjectUnits, units.counter())

/* The composed placement of analysis items (flat record members). */
#define KORVA_PLACED_GETTERS(G, F, T) \
  G(F, Startx, NUMBER, T, Startx)     \
  G(F, Starty, NUMBER, T, Starty)     \
  G(F, Startz, NUMBER, T, Startz)     \
  G(F, Axis1, NUMBER, T, Axis1)       \
  G(F, Axis2, NUMBER, T, Axis2)       \
  G(F, Axis3, NUMBER, T, Axis3)       \
  G(F, Ref1, NUMBER, T, Ref1)         \
  G(F, Ref2, NUMBER, T, Ref2)         \
  G(F, Ref3, NUMBER, T, Ref3)

/* The connections of a member: one entry per point connection. */
#define KORVA_CONNECTION_GETTERS(G, F, T)                                      \
  G(F, StructuralConnection, INTEGER_AT, T, connections.StructuralConnection) \
  G(F, StructuralConnectionDx, NUMBER_AT, T, connections.Dx)                  \
  G(F, StructuralConnectionDy, NUMBER_AT, T, connections.Dy)                  \
  G(F, StructuralConnectionDz, NUMBER_AT, T, connections.Dz)                  \
  G(F, StructuralConnectionRx, NUMBER_AT, T, connections.Rx)                  \
  G(F, StructuralConnectionRy, NUMBER_AT, T, connections.Ry)                  \
  G(F, StructuralConnectionRz, NUMBER_AT, T, connections.Rz)

#define KORVA_ANAMODEL_GETTERS(G)                 \
  G(AnaModel, GUID, GLOBALID, models, GUID)       \
  G(AnaModel, Name, TEXT, models, Name)           \
  G(AnaModel, FileID, INTEGER, models, FileID)    \
  G(AnaModel, Type, INTEGER, models, Type)        \
  KORVA_PLACED_GETTERS(G, AnaModel, models)

#define KORVA_CURVE_MEMBER_GETTERS(G)                                                              \
  G(StrCurveMember, Name, TEXT, curveMembers, Name)                                                \
  G(StrCurveMember, GUID, GLOBALID, curveMembers, GUID)                                            \
  G(StrCurveMember, FileID, INTEGER, curveMembers, FileID)                                         \
  G(StrCurveMember, NumberStructuralConnection, INTEGER, curveMembers, NumberStructuralConnection) \
  G(StrCurveMember, SectionID, INTEGER, curveMembers, SectionID)                                   \
  G(StrCurveMember, MaterialID, INTEGER, curveMembers, MaterialID)                                 \
  KORVA_PLACED_GETTERS(G, StrCurveMember, curveMembers)                                            \
  G(StrCurveMember, EdgeX1, NUMBER, curveMembers, EdgeX1)                                          \
  G(StrCurveMember, EdgeY1, NUMBER, curveMembers, EdgeY1)                                          \
  G(StrCurveMember, EdgeZ1, NUMBER, curveMembers, EdgeZ1)                                          \
  G(StrCurveMember, EdgeX2, NUMBER, curveMembers, EdgeX2)                                          \
  G(StrCurveMember, EdgeY2, NUMBER, curveMembers, EdgeY2)                                          \
  G(StrCurveMember, EdgeZ2, NUMBER, curveMembers, EdgeZ2)                                          \
  KORVA_CONNECTION_GETTERS(G, StrCurveMember, curveMembers)

#define KORVA_SURFACE_MEMBER_GETTERS(G)                                                                \
  G(StrSurfaceMember, Name, TEXT, surfaceMembers, Name)                                                \
  G(StrSurfaceMember, GUID, GLOBALID, surfaceMembers, GUID)                                            \
  G(StrSurfaceMember, FileID, INTEGER, surfaceMembers, FileID)                                         \
  G(StrSurfaceMember, NumberPts, INTEGER, surfaceMembers, NumberPts)                                   \
  G(StrSurfaceMember, NumberStructuralConnection, INTEGER, surfaceMembers, NumberStructuralConnection) \
  G(StrSurfaceMember, SectionID, INTEGER, surfaceMembers, SectionID)                                   \
  G(StrSurfaceMember, MaterialID, INTEGER, surfaceMembers, MaterialID)                                 \
  KORVA_PLACED_GETTERS(G, StrSurfaceMember, surfaceMembers)                                            \
  G(StrSurfaceMember, Px, NUMBER_AT, surfaceMembers, Px)                                               \
  G(StrSurfaceMember, Py, NUMBER_AT, surfaceMembers, Py)                                               \
  G(StrSurfaceMember, Pz, NUMBER_AT, surfaceMembers, Pz)                                               \
  KORVA_CONNECTION_GETTERS(G, StrSurfaceMember, surfaceMembers)

#define KORVA_POINT_CONNECTION_GETTERS(G)                          \
  G(StrPointConnection, Name, TEXT, pointConnections, Name)        \
  G(StrPointConnection, GUID, GLOBALID, pointConnections, GUID)    \
  G(StrPointConnection, FileID, INTEGER, pointConnections, FileID) \
  KORVA_PLACED_GETTERS(G, StrPointConnection, pointConnections)    \
  G(StrPointConnection, VertexX1, NUMBER, pointConnections, VertexX1) \
  G(StrPointConnection, VertexY1, NUMBER, pointConnections, VertexY1) \
  G(StrPointConnection, VertexZ1, NUMBER, pointConnections, VertexZ1) \
  G(StrPointConnection, UX, NUMBER, pointConnections, UX)          \
  G(StrPointConnection, UY, NUMBER, pointConnections, UY)          \
  G(StrPointConnection, UZ, NUMBER, pointConnections, UZ)          \
  G(StrPointConnection, RX, NUMBER, pointConnections, RX)          \
  G(StrPointConnection, RY, NUMBER, pointConnections, RY)          \
  G(StrPointConnection, RZ, NUMBER, pointConnections, RZ)

#define KORVA_LOAD_GROUP_GETTERS(G)                                 \
  G(StrLoadGroup, Name, TEXT, loadGroups, Name)                     \
  G(StrLoadGroup, GUID, GLOBALID, loadGroups, GUID)                 \
  G(StrLoadGroup, FileID, INTEGER, loadGroups, FileID)              \
  G(StrLoadGroup, PredefinedType, INTEGER, loadGroups, PredefinedType) \
  G(StrLoadGroup, ActionType, INTEGER, loadGroups, ActionType)      \
  G(StrLoadGroup, ActionSource, INTEGER, loadGroups, ActionSource)  \
  G(StrLoadGroup, TotalMember, INTEGER, loadGroups, TotalMember)    \
  G(StrLoadGroup, Coefficient, NUMBER, loadGroups, Coefficient)     \
  G(StrLoadGroup, Member, INTEGER_AT, loadGroups, Member)

/* Point and linear actions (ActionRecord). */
#define KORVA_ACTION_GETTERS(G, F, T)           \
  G(F, Name, TEXT, T, Name)                     \
  G(F, GUID, GLOBALID, T, GUID)                 \
  G(F, FileID, INTEGER, T, FileID)              \
  G(F, ActedOn, INTEGER, T, ActedOn)            \
  G(F, LoadGroupID, INTEGER, T, LoadGroupID)    \
  G(F, Fx, NUMBER, T, Fx)                       \
  G(F, Fy, NUMBER, T, Fy)                       \
  G(F, Fz, NUMBER, T, Fz)                       \
  G(F, Mx, NUMBER, T, Mx)                       \
  G(F, My, NUMBER, T, My)                       \
  G(F, Mz, NUMBER, T, Mz)

#define KORVA_GENERAL_MATERIAL_GETTERS(G)                                      \
  G(GeneralMaterial, Name, TEXT, generalMaterials, Name)                       \
  G(GeneralMaterial, MolecularWeight, NUMBER, generalMaterials, MolecularWeight) \
  G(GeneralMaterial, Porosity, NUMBER, generalMaterials, Porosity)             \
  G(GeneralMaterial, MassDensity, NUMBER, generalMaterials, MassDensity)

#define KORVA_STEEL_GETTERS(G)                                                    \
  G(MechSteelMat, Name, TEXT, steelMaterials, Name)                               \
  G(MechSteelMat, NumberRelaxation, INTEGER, steelMaterials, NumberRelaxation)    \
  G(MechSteelMat, DynamicViscosity, NUMBER, steelMaterials, DynamicViscosity)     \
  G(MechSteelMat, YoungModulus, NUMBER, steelMaterials, YoungModulus)             \
  G(MechSteelMat, ShearModulus, NUMBER, steelMaterials, ShearModulus)             \
  G(MechSteelMat, PoissonRatio, NUMBER, steelMaterials, PoissonRatio)             \
  G(MechSteelMat, ThermalExpansion, NUMBER, steelMaterials, ThermalExpansion)     \
  G(MechSteelMat, YieldStress, NUMBER, steelMaterials, YieldStress)               \
  G(MechSteelMat, UltimateStress, NUMBER, steelMaterials, UltimateStress)         \
  G(MechSteelMat, UltimateStrain, NUMBER, steelMaterials, UltimateStrain)         \
  G(MechSteelMat, HardeningModule, NUMBER, steelMaterials, HardeningModule)       \
  G(MechSteelMat, ProportionalStress, NUMBER, steelMaterials, ProportionalStress) \
  G(MechSteelMat, PlasticStrain, NUMBER, steelMaterials, PlasticStrain)

/* The last two are named for steel but read the concrete table. */
#define KORVA_CONCRETE_GETTERS(G)                                                          \
  G(MechConcMat, Name, TEXT, concreteMaterials, Name)                                      \
  G(MechConcMat, AdmixturesDescription, TEXT, concreteMaterials, AdmixturesDescription)    \
  G(MechConcMat, Workability, TEXT, concreteMaterials, Workability)                        \
  G(MechConcMat, WaterImpermeability, TEXT, concreteMaterials, WaterImpermeability)        \
  G(MechConcMat, DynamicViscosity, NUMBER, concreteMaterials, DynamicViscosity)            \
  G(MechConcMat, YoungModulus, NUMBER, concreteMaterials, YoungModulus)                    \
  G(MechConcMat, ShearModulus, NUMBER, concreteMaterials, ShearModulus)                    \
  G(MechConcMat, PoissonRatio, NUMBER, concreteMaterials, PoissonRatio)                    \
  G(MechConcMat, ThermalExpansion, NUMBER, concreteMaterials, ThermalExpansion)            \
  G(MechConcMat, CompressiveStrength, NUMBER, concreteMaterials, CompressiveStrength)      \
  G(MechSteelMat, MaxAggregateSize, NUMBER, concreteMaterials, MaxAggregateSize)           \
  G(MechSteelMat, ProtectivePoreRatio, NUMBER, concreteMaterials, ProtectivePoreRatio)

/* Profile properties; a shape flag is -1 for the profile's shape. */
#define KORVA_PROFILE_GETTERS(G)                                           \
  G(StrProfileProperties, SectionName, TEXT, profiles, SectionName)        \
  G(StrProfileProperties, ProfileName, TEXT, profiles, ProfileName)        \
  G(StrProfileProperties, GUID, GLOBALID, profiles, GUID)                  \
  G(StrProfileProperties, FileID, INTEGER, profiles, FileID)               \
  G(StrProfileProperties, ProfileType, INTEGER, profiles, ProfileType)     \
  G(StrProfileProperties, ISection, INTEGER, profiles, ISection)           \
  G(StrProfileProperties, LSection, INTEGER, profiles, LSection)           \
  G(StrProfileProperties, USection, INTEGER, profiles, USection)           \
  G(StrProfileProperties, CSection, INTEGER, profiles, CSection)           \
  G(StrProfileProperties, ZSection, INTEGER, profiles, ZSection)           \
  G(StrProfileProperties, TSection, INTEGER, profiles, TSection)           \
  G(StrProfileProperties, TrapSection, INTEGER, profiles, TrapSection)     \
  G(StrProfileProperties, RectSection, INTEGER, profiles, RectSection)     \
  G(StrProfileProperties, CirSection, INTEGER, profiles, CirSection)       \
  G(StrProfileProperties, PhysicalWeight, NUMBER, profiles, PhysicalWeight) \
  G(StrProfileProperties, Perimeter, NUMBER, profiles, Perimeter)          \
  G(StrProfileProperties, MinimumPlateThickness, NUMBER, profiles, MinimumPlateThickness) \
  G(StrProfileProperties, MaximumPlateThickness, NUMBER, profiles, MaximumPlateThickness) \
  G(StrProfileProperties, CrossSectionArea, NUMBER, profiles, CrossSectionArea) \
  G(StrProfileProperties, TorsionalConstantX, NUMBER, profiles, TorsionalConstantX) \
  G(StrProfileProperties, MomentOfInertiaYZ, NUMBER, profiles, MomentOfInertiaYZ) \
  G(StrProfileProperties, MomentOfInertiaY, NUMBER, profiles, MomentOfInertiaY) \
  G(StrProfileProperties, MomentOfInertiaZ, NUMBER, profiles, MomentOfInertiaZ) \
  G(StrProfileProperties, WarpingConstant, NUMBER, profiles, WarpingConstant) \
  G(StrProfileProperties, ShearCentreZ, NUMBER, profiles, ShearCentreZ)    \
  G(StrProfileProperties, ShearCentreY, NUMBER, profiles, ShearCentreY)    \
  G(StrProfileProperties, ShearDeformationAreaZ, NUMBER, profiles, ShearDeformationAreaZ) \
  G(StrProfileProperties, ShearDeformationAreaY, NUMBER, profiles, ShearDeformationAreaY) \
  G(StrProfileProperties, MaximumSectionModulusY, NUMBER, profiles, MaximumSectionModulusY) \
  G(StrProfileProperties, MinimumSectionModulusY, NUMBER, profiles, MinimumSectionModulusY) \
  G(StrProfileProperties, MaximumSectionModulusZ, NUMBER, profiles, MaximumSectionModulusZ) \
  G(StrProfileProperties, MinimumSectionModulusZ, NUMBER, profiles, MinimumSectionModulusZ) \
  G(StrProfileProperties, TorsionalSectionModulus, NUMBER, profiles, TorsionalSectionModulus) \
  G(StrProfileProperties, IOverallWidth, NUMBER, profiles, IOverallWidth)  \
  G(StrProfileProperties, IOverallDepth, NUMBER, profiles, IOverallDepth)  \
  G(StrProfileProperties, IWebThickness, NUMBER, profiles, IWebThickness)  \
  G(StrProfileProperties, IFlangeThickness, NUMBER, profiles, IFlangeThickness) \
  G(StrProfileProperties, IFilletRadius, NUMBER, profiles, IFilletRadius)  \
  G(StrProfileProperties, IPhysicalWeight, NUMBER, profiles, IPhysicalWeight) \
  G(StrProfileProperties, LDepth, NUMBER, profiles, LDepth)                \
  G(StrProfileProperties, LWidth, NUMBER, profiles, LWidth)                \
  G(StrProfileProperties, LThickness, NUMBER, profiles, LThickness)        \
  G(StrProfileProperties, LFilletRadius, NUMBER, profiles, LFilletRadius)  \
  G(StrProfileProperties, LEdgeRadius, NUMBER, profiles, LEdgeRadius)      \
  G(StrProfileProperties, LLegSlope, NUMBER, profiles, LLegSlope)          \
  G(StrProfileProperties, LCentreOfGravityInX, NUMBER, profiles, LCentreOfGravityInX) \
  G(StrProfileProperties, LCentreOfGravityInY, NUMBER, profiles, LCentreOfGravityInY) \
  G(StrProfileProperties, UDepth, NUMBER, profiles, UDepth)                \
  G(StrProfileProperties, UFlangeWidth, NUMBER, profiles, UFlangeWidth)    \
  G(StrProfileProperties, UWebThickness, NUMBER, profiles, UWebThickness)  \
  G(StrProfileProperties, UFlangeThickness, NUMBER, profiles, UFlangeThickness) \
  G(StrProfileProperties, UFilletRadius, NUMBER, profiles, UFilletRadius)  \
  G(StrProfileProperties, UEdgeRadius, NUMBER, profiles, UEdgeRadius)      \
  G(StrProfileProperties, UFlangeSlope, NUMBER, profiles, UFlangeSlope)    \
  G(StrProfileProperties, UCentreOfGravityInX, NUMBER, profiles, UCentreOfGravityInX) \
  G(StrProfileProperties, CDepth, NUMBER, profiles, CDepth)                \
  G(StrProfileProperties, CWidth, NUMBER, profiles, CWidth)                \
  G(StrProfileProperties, CWallThickness, NUMBER, profiles, CWallThickness) \
  G(StrProfileProperties, CGirth, NUMBER, profiles, CGirth)                \
  G(StrProfileProperties, CInternalFilletRadius, NUMBER, profiles, CInternalFilletRadius) \
  G(StrProfileProperties, CCentreOfGravityInX, NUMBER, profiles, CCentreOfGravityInX) \
  G(StrProfileProperties, ZDepth, NUMBER, profiles, ZDepth)                \
  G(StrProfileProperties, ZFlangeWidth, NUMBER, profiles, ZFlangeWidth)    \
  G(StrProfileProperties, ZWebThickness, NUMBER, profiles, ZWebThickness)  \
  G(StrProfileProperties, ZFlangeThickness, NUMBER, profiles, ZFlangeThickness) \
  G(StrProfileProperties, ZFilletRadius, NUMBER, profiles, ZFilletRadius)  \
  G(StrProfileProperties, ZEdgeRadius, NUMBER, profiles, ZEdgeRadius)      \
  G(StrProfileProperties, TDepth, NUMBER, profiles, TDepth)                \
  G(StrProfileProperties, TFlangeWidth, NUMBER, profiles, TFlangeWidth)    \
  G(StrProfileProperties, TWebThickness, NUMBER, profiles, TWebThickness)  \
  G(StrProfileProperties, TFlangeThickness, NUMBER, profiles, TFlangeThickness) \
  G(StrProfileProperties, TFilletRadius, NUMBER, profiles, TFilletRadius)  \
  G(StrProfileProperties, TFlangeEdgeRadius, NUMBER, profiles, TFlangeEdgeRadius) \
  G(StrProfileProperties, TWebEdgeRadius, NUMBER, profiles, TWebEdgeRadius) \
  G(StrProfileProperties, TWebSlope, NUMBER, profiles, TWebSlope)          \
  G(StrProfileProperties, TFlangeSlope, NUMBER, profiles, TFlangeSlope)    \
  G(StrProfileProperties, TCentreOfGravityInY, NUMBER, profiles, TCentreOfGravityInY) \
  G(StrProfileProperties, TrapAxis1, NUMBER, profiles, TrapAxis1)          \
  G(StrProfileProperties, TrapAxis2, NUMBER, profiles, TrapAxis2)          \
  G(StrProfileProperties, TrapAxis3, NUMBER, profiles, TrapAxis3)          \
  G(StrProfileProperties, TrapRef1, NUMBER, profiles, TrapRef1)            \
  G(StrProfileProperties, TrapRef2, NUMBER, profiles, TrapRef2)            \
  G(StrProfileProperties, TrapRef3, NUMBER, profiles, TrapRef3)            \
  G(StrProfileProperties, TrapBottomXDim, NUMBER, profiles, TrapBottomXDim) \
  G(StrProfileProperties, TrapTopXDim, NUMBER, profiles, TrapTopXDim)      \
  G(StrProfileProperties, TrapYDim, NUMBER, profiles, TrapYDim)            \
  G(StrProfileProperties, TrapTopXOffset, NUMBER, profiles, TrapTopXOffset) \
  G(StrProfileProperties, RectXDim, NUMBER, profiles, RectXDim)            \
  G(StrProfileProperties, RectYDim, NUMBER, profiles, RectYDim)            \
  G(StrProfileProperties, CirRadius, NUMBER, profiles, CirRadius)          \
  KORVA_PLACED_GETTERS(G, StrProfileProperties, profiles)

/* Project units, and the elements of all derived units one after another
 * (DerivedUnitIndex and DerivedUnitExp take a position among them). */
#define KORVA_UNIT_GETTERS(G)                                                    \
  G(Project, ConversionBasedName, TEXT, units, ConversionBasedName)              \
  G(Project, Type, INTEGER, units, Type)                                         \
  G(Project, SIUnitPrefix, INTEGER, units, SIUnitPrefix)                         \
  G(Project, SIUnitName, INTEGER, units, SIUnitName)                             \
  G(Project, TotDerivedUnit, INTEGER, units, TotDerivedUnit)                     \
  G(Project, ConversionBasedExponent, INTEGER_AT, units, ConversionBasedExponent)

#define KORVA_DERIVED_UNIT_GETTERS(G)                                             \
  G(Project, DerivedUnitIndex, INTEGER, derivedUnitElements, DerivedUnitIndex)    \
  G(Project, DerivedUnitExp, INTEGER, derivedUnitElements, DerivedUnitExp)

#define KORVA_ANALYSIS_GETTERS(G)                       \
  KORVA_ANAMODEL_GETTERS(G)                             \
  KORVA_CURVE_MEMBER_GETTERS(G)                         \
  KORVA_SURFACE_MEMBER_GETTERS(G)                       \
  KORVA_POINT_CONNECTION_GETTERS(G)                     \
  KORVA_LOAD_GROUP_GETTERS(G)                           \
  KORVA_ACTION_GETTERS(G, StrPointAction, pointActions) \
  KORVA_ACTION_GETTERS(G, StrLinearAction, linearActions) \
  KORVA_GENERAL_MATERIAL_GETTERS(G)                     \
  KORVA_STEEL_GETTERS(G)                                \
  KORVA_CONCRETE_GETTERS(G)                             \
  KORVA_PROFILE_GETTERS(G)                              \
  KORVA_UNIT_GETTERS(G)                                 \
  KORVA_DERIVED_UNIT_GETTERS(G)

/* ---- Declarations */

#define KORVA_GETTER_SIGNATURE_NUMBER(name) double KORVA_CALL name(int index)
#define KORVA_GETTER_SIGNATURE_INTEGER(name) int KORVA_CALL name(int index)
#define KORVA_GETTER_SIGNATURE_TEXT(name) void KORVA_CALL name(int index, char* buffer)
#define KORVA_GETTER_SIGNATURE_GLOBALID(name) void KORVA_CALL name(int index, char* buffer)
#define KORVA_GETTER_SIGNATURE_NUMBER_AT(name) double KORVA_CALL name(int index, int position)
#define KORVA_GETTER_SIGNATURE_INTEGER_AT(name) int KORVA_CALL name(int index, int position)

/* The same shapes as abi/exports.tsv writes them: result, argument types. */
#define KORVA_GETTER_SHAPE_NUMBER "double", "int"
#define KORVA_GETTER_SHAPE_INTEGER "int", "int"
#define KORVA_GETTER_SHAPE_TEXT "void", "int,char*"
#define KORVA_GETTER_SHAPE_GLOBALID "void", "int,char*"
#define KORVA_GETTER_SHAPE_NUMBER_AT "double", "int,int"
#define KORVA_GETTER_SHAPE_INTEGER_AT "int", "int,int"
#define KORVA_COUNT_SHAPE "int", ""

#define KORVA_DECLARE_GETTER(Family, Field, Kind, table, member) \
  KORVA_API KORVA_GETTER_SIGNATURE_##Kind(Get##Family##Field);
#define KORVA_DECLARE_COUNT(Name, value) KORVA_API int KORVA_CALL Get##Name(void);

#endif /* KORVA_API_IMPORT_GETTERS_H */
