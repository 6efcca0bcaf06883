// The exported census, fill, counters and building-element getters: thin
// shims over import/building_import.* and import/building_tables.*.
#include "api/import_building.h"

#include <cstdio>

#include "import/building_import.h"
#include "import/building_tables.h"
#include "import/import_guard.h"
#include "import/import_state.h"

using korva::BuildingImport;

KORVA_API int KORVA_CALL FindTotalObjects(char* fileName) {
  korva::GuardedImport("FindTotalObjects", 0, [&] { korva::CountImportObjects(korva::OpenImportDesign(fileName)); });
  return -1;
}

KORVA_API int KORVA_CALL CheckNumber(int, char* fileName) {
  korva::GuardedImport("CheckNumber", -1,
                       [&] { korva::FillImportTables(korva::OpenImportDesign(fileName), stdout); });
  std::fflush(stdout);
  return -1;
}

KORVA_API int KORVA_CALL ReadAllTogether(int, int) { return -1; }

KORVA_API int KORVA_CALL GetTotalBeams() { return BuildingImport().beams.counter(); }
KORVA_API int KORVA_CALL GetTotalColumns() { return BuildingImport().columns.counter(); }
KORVA_API int KORVA_CALL GetTotalWalls() { return BuildingImport().walls.counter(); }
KORVA_API int KORVA_CALL GetTotalSlabs() { return BuildingImport().slabs.counter(); }
KORVA_API int KORVA_CALL GetTotalGenerals() { return BuildingImport().generals.counter(); }
KORVA_API int KORVA_CALL GetTotalWallPoints() { return BuildingImport().wallPoints.counter(); }
KORVA_API int KORVA_CALL GetTotalSlabPoints() { return BuildingImport().slabPoints.counter(); }

// One getter: `field` of record `index` of `table`, or the type's zero
// outside the table.
#define KORVA_FIELD_GETTER(Type, Name, table, field)             \
  KORVA_API Type KORVA_CALL Name(int index) {                    \
    const auto* r = BuildingImport().table.find(index);          \
    return r != nullptr ? static_cast<Type>(r->field) : Type();  \
  }

#define KORVA_TEXT_GETTER(Name, table, field)                               \
  KORVA_API void KORVA_CALL Name(int index, char* buffer) {                 \
    const auto& t = BuildingImport().table;                                 \
    if (const auto* r = t.find(index)) korva::CopyText(r->field, t.generation(), buffer); \
  }

// Placement and bounding box, shared by every kind.
#define KORVA_FRAME_GETTERS(Kind, table)                                        \
  KORVA_FIELD_GETTER(double, Get##Kind##Startx, table, Placement.start[0])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Starty, table, Placement.start[1])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Startz, table, Placement.start[2])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis1, table, Placement.axis[0])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis2, table, Placement.axis[1])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis3, table, Placement.axis[2])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref1, table, Placement.ref[0])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref2, table, Placement.ref[1])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref3, table, Placement.ref[2])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Height, table, Box.height)              \
  KORVA_FIELD_GETTER(double, Get##Kind##Width, table, Box.width)                \
  KORVA_FIELD_GETTER(double, Get##Kind##Length, table, Box.length)              \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointX, table, Box.corner[0])     \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointY, table, Box.corner[1])     \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointZ, table, Box.corner[2])

#define KORVA_IDENTITY_GETTERS(Kind, table)                   \
  KORVA_TEXT_GETTER(Get##Kind##Name, table, Name)             \
  KORVA_TEXT_GETTER(Get##Kind##GUID, table, GUID)             \
  KORVA_FIELD_GETTER(int, Get##Kind##FileID, table, FileID)

#define KORVA_BEAM_GETTERS(Kind, table)                                                  \
  KORVA_FRAME_GETTERS(Kind, table)                                                       \
  KORVA_IDENTITY_GETTERS(Kind, table)                                                    \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedDepth, table, ExtrudedDepth)             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis1, table, ExtrudedAxis[0])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis2, table, ExtrudedAxis[1])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis3, table, ExtrudedAxis[2])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosX, table, ExtrudedPos[0])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosY, table, ExtrudedPos[1])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosZ, table, ExtrudedPos[2])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis1, table, ExtrudedPosAxis[0])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis2, table, ExtrudedPosAxis[1])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis3, table, ExtrudedPosAxis[2])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis1, table, ExtrudedPosRefAxis[0])   \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis2, table, ExtrudedPosRefAxis[1])   \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis3, table, ExtrudedPosRefAxis[2])   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DHeight, table, Height2D)                       \
  KORVA_FIELD_GETTER(double, Get##Kind##2DWidth, table, Width2D)                         \
  KORVA_FIELD_GETTER(double, Get##Kind##2DOffset1, table, Offset2D[0])                   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DOffset2, table, Offset2D[1])                   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DDirectionAxis1, table, DirectionAxis2D[0])         \
  KORVA_FIELD_GETTER(double, Get##Kind##2DDirectionAxis2, table, DirectionAxis2D[1])

#define KORVA_WALL_GETTERS(Kind, table, points)                               \
  KORVA_FRAME_GETTERS(Kind, table)                                            \
  KORVA_IDENTITY_GETTERS(Kind, table)                                         \
  KORVA_FIELD_GETTER(int, Get##Kind##Index, table, Index)                     \
  KORVA_FIELD_GETTER(int, Get##Kind##Total, table, Total)                     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedDepth, table, ExtrudedDepth)  \
  KORVA_FIELD_GETTER(double, Get##Kind##X, points, X)                         \
  KORVA_FIELD_GETTER(double, Get##Kind##Y, points, Y)                         \
  KORVA_TEXT_GETTER(Get##Kind##PointName, points, Name)                       \
  KORVA_TEXT_GETTER(Get##Kind##PointGUID, points, GUID)                       \
  KORVA_FIELD_GETTER(int, Get##Kind##pointFileID, points, FileID)

KORVA_BEAM_GETTERS(Beam, beams)
KORVA_BEAM_GETTERS(Column, columns)
KORVA_WALL_GETTERS(Wall, walls, wallPoints)
KORVA_WALL_GETTERS(Slab, slabs, slabPoints)

KORVA_FRAME_GETTERS(General, generals)
KORVA_FIELD_GETTER(int, GetGeneralIndex, generals, Index)
KORVA_FIELD_GETTER(int, GetGeneralTotal, generals, Total)
KORVA_FIELD_GETTER(double, GetGeneralX, generalPoints, X)
KORVA_FIELD_GETTER(double, GetGeneralY, generalPoints, Y)
KORVA_FIELD_GETTER(double, GetGeneralZ, generalPoints, Z)
