// The exported census, fill, counters and building-element getters: thin
// shims over import/building_import.* and import/building_tables.*.
#include "api/import_building.h"

#include <cstdio>

#include "import/building_import.h"
#include "import/building_tables.h"
#include "import/import_state.h"

using korva::BuildingImport;

KORVA_API int KORVA_CALL FindTotalObjects(char* fileName) {
  try {
    korva::CountImportObjects(korva::OpenImportDesign(fileName));
  } catch (...) {
    korva::ResetBuildingTables();
  }
  return -1;
}

KORVA_API int KORVA_CALL CheckNumber(int, char* fileName) {
  try {
    korva::FillImportTables(korva::OpenImportDesign(fileName), stdout);
  } catch (...) {
    korva::ResetBuildingCounters(-1);
  }
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
    const auto* r = BuildingImport().table.at(index);            \
    return r != nullptr ? static_cast<Type>(r->field) : Type();  \
  }

#define KORVA_TEXT_GETTER(Name, table, field)                    \
  KORVA_API void KORVA_CALL Name(int index, char* buffer) {      \
    if (const auto* r = BuildingImport().table.at(index))        \
      korva::CopyBuildingString(r->field, buffer);               \
  }

// Placement and bounding box, shared by every kind.
#define KORVA_FRAME_GETTERS(Kind, table)                                        \
  KORVA_FIELD_GETTER(double, Get##Kind##Startx, table, placement.start[0])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Starty, table, placement.start[1])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Startz, table, placement.start[2])      \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis1, table, placement.axis[0])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis2, table, placement.axis[1])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Axis3, table, placement.axis[2])        \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref1, table, placement.ref[0])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref2, table, placement.ref[1])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Ref3, table, placement.ref[2])          \
  KORVA_FIELD_GETTER(double, Get##Kind##Height, table, box.height)              \
  KORVA_FIELD_GETTER(double, Get##Kind##Width, table, box.width)                \
  KORVA_FIELD_GETTER(double, Get##Kind##Length, table, box.length)              \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointX, table, box.corner[0])     \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointY, table, box.corner[1])     \
  KORVA_FIELD_GETTER(double, Get##Kind##CornerPointZ, table, box.corner[2])

#define KORVA_IDENTITY_GETTERS(Kind, table)                   \
  KORVA_TEXT_GETTER(Get##Kind##Name, table, name)             \
  KORVA_TEXT_GETTER(Get##Kind##GUID, table, guid)             \
  KORVA_FIELD_GETTER(int, Get##Kind##FileID, table, fileId)

#define KORVA_BEAM_GETTERS(Kind, table)                                                  \
  KORVA_FRAME_GETTERS(Kind, table)                                                       \
  KORVA_IDENTITY_GETTERS(Kind, table)                                                    \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedDepth, table, extrudedDepth)             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis1, table, extrudedAxis[0])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis2, table, extrudedAxis[1])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedAxis3, table, extrudedAxis[2])           \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosX, table, extrudedPos[0])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosY, table, extrudedPos[1])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosZ, table, extrudedPos[2])             \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis1, table, extrudedPosAxis[0])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis2, table, extrudedPosAxis[1])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosAxis3, table, extrudedPosAxis[2])     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis1, table, extrudedPosRef[0])   \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis2, table, extrudedPosRef[1])   \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedPosRefAxis3, table, extrudedPosRef[2])   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DHeight, table, height2D)                       \
  KORVA_FIELD_GETTER(double, Get##Kind##2DWidth, table, width2D)                         \
  KORVA_FIELD_GETTER(double, Get##Kind##2DOffset1, table, offset2D[0])                   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DOffset2, table, offset2D[1])                   \
  KORVA_FIELD_GETTER(double, Get##Kind##2DDirectionAxis1, table, direction2D[0])         \
  KORVA_FIELD_GETTER(double, Get##Kind##2DDirectionAxis2, table, direction2D[1])

#define KORVA_WALL_GETTERS(Kind, table, points)                               \
  KORVA_FRAME_GETTERS(Kind, table)                                            \
  KORVA_IDENTITY_GETTERS(Kind, table)                                         \
  KORVA_FIELD_GETTER(int, Get##Kind##Index, table, index)                     \
  KORVA_FIELD_GETTER(int, Get##Kind##Total, table, total)                     \
  KORVA_FIELD_GETTER(double, Get##Kind##ExtrudedDepth, table, extrudedDepth)  \
  KORVA_FIELD_GETTER(double, Get##Kind##X, points, x)                         \
  KORVA_FIELD_GETTER(double, Get##Kind##Y, points, y)                         \
  KORVA_TEXT_GETTER(Get##Kind##PointName, points, name)                       \
  KORVA_TEXT_GETTER(Get##Kind##PointGUID, points, guid)                       \
  KORVA_FIELD_GETTER(int, Get##Kind##pointFileID, points, fileId)

KORVA_BEAM_GETTERS(Beam, beams)
KORVA_BEAM_GETTERS(Column, columns)
KORVA_WALL_GETTERS(Wall, walls, wallPoints)
KORVA_WALL_GETTERS(Slab, slabs, slabPoints)

KORVA_FRAME_GETTERS(General, generals)
KORVA_FIELD_GETTER(int, GetGeneralIndex, generals, index)
KORVA_FIELD_GETTER(int, GetGeneralTotal, generals, total)
KORVA_FIELD_GETTER(double, GetGeneralX, generalPoints, x)
KORVA_FIELD_GETTER(double, GetGeneralY, generalPoints, y)
KORVA_FIELD_GETTER(double, GetGeneralZ, generalPoints, z)
