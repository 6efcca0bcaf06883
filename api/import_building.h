/* The building-element import as the host sees it: a census
 * (FindTotalObjects) and a fill pass (CheckNumber) over an IFC file, then
 * one getter per field of the imported records.
 *
 * Getters take a 0-based record index; valid are 0 to the counter returned
 * after the fill pass.  Outside the tables (also before any fill pass) a
 * number getter returns 0 and a string getter leaves the buffer alone.
 * String getters copy the text with its terminator into the host's buffer,
 * which must hold it (a GlobalId has 22 characters); a field without value
 * leaves the buffer untouched, and so does text of a file released since
 * (ShutDown). */
#ifndef KORVA_API_IMPORT_BUILDING_H
#define KORVA_API_IMPORT_BUILDING_H

#include "platform/exports.h"

/* Census and fill of building elements (with the analysis, material and
 * profile kinds the same passes count and fill).  Each returns -1. */
KORVA_API int KORVA_CALL FindTotalObjects(char* fileName);
KORVA_API int KORVA_CALL CheckNumber(int ignored, char* fileName);
KORVA_API int KORVA_CALL ReadAllTogether(int ignored1, int ignored2);

/* Counters: the census count after FindTotalObjects, the index of the last
 * record filled (-1: none) after CheckNumber. */
KORVA_API int KORVA_CALL GetTotalBeams();
KORVA_API int KORVA_CALL GetTotalColumns();
KORVA_API int KORVA_CALL GetTotalWalls();
KORVA_API int KORVA_CALL GetTotalSlabs();
KORVA_API int KORVA_CALL GetTotalGenerals();
KORVA_API int KORVA_CALL GetTotalWallPoints();
KORVA_API int KORVA_CALL GetTotalSlabPoints();

/* Beams (index: beam record). */
KORVA_API double KORVA_CALL GetBeamStartx(int index);
KORVA_API double KORVA_CALL GetBeamStarty(int index);
KORVA_API double KORVA_CALL GetBeamStartz(int index);
KORVA_API double KORVA_CALL GetBeamAxis1(int index);
KORVA_API double KORVA_CALL GetBeamAxis2(int index);
KORVA_API double KORVA_CALL GetBeamAxis3(int index);
KORVA_API double KORVA_CALL GetBeamRef1(int index);
KORVA_API double KORVA_CALL GetBeamRef2(int index);
KORVA_API double KORVA_CALL GetBeamRef3(int index);
KORVA_API double KORVA_CALL GetBeamHeight(int index);
KORVA_API double KORVA_CALL GetBeamWidth(int index);
KORVA_API double KORVA_CALL GetBeamLength(int index);
KORVA_API double KORVA_CALL GetBeamCornerPointX(int index);
KORVA_API double KORVA_CALL GetBeamCornerPointY(int index);
KORVA_API double KORVA_CALL GetBeamCornerPointZ(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedDepth(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedAxis1(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedAxis2(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedAxis3(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosX(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosY(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosZ(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosAxis1(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosAxis2(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosAxis3(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosRefAxis1(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosRefAxis2(int index);
KORVA_API double KORVA_CALL GetBeamExtrudedPosRefAxis3(int index);
KORVA_API double KORVA_CALL GetBeam2DHeight(int index);
KORVA_API double KORVA_CALL GetBeam2DWidth(int index);
KORVA_API double KORVA_CALL GetBeam2DOffset1(int index);
KORVA_API double KORVA_CALL GetBeam2DOffset2(int index);
KORVA_API double KORVA_CALL GetBeam2DDirectionAxis1(int index);
KORVA_API double KORVA_CALL GetBeam2DDirectionAxis2(int index);
KORVA_API void KORVA_CALL GetBeamName(int index, char* buffer);
KORVA_API void KORVA_CALL GetBeamGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetBeamFileID(int index);

/* Columns (index: column record). */
KORVA_API double KORVA_CALL GetColumnStartx(int index);
KORVA_API double KORVA_CALL GetColumnStarty(int index);
KORVA_API double KORVA_CALL GetColumnStartz(int index);
KORVA_API double KORVA_CALL GetColumnAxis1(int index);
KORVA_API double KORVA_CALL GetColumnAxis2(int index);
KORVA_API double KORVA_CALL GetColumnAxis3(int index);
KORVA_API double KORVA_CALL GetColumnRef1(int index);
KORVA_API double KORVA_CALL GetColumnRef2(int index);
KORVA_API double KORVA_CALL GetColumnRef3(int index);
KORVA_API double KORVA_CALL GetColumnHeight(int index);
KORVA_API double KORVA_CALL GetColumnWidth(int index);
KORVA_API double KORVA_CALL GetColumnLength(int index);
KORVA_API double KORVA_CALL GetColumnCornerPointX(int index);
KORVA_API double KORVA_CALL GetColumnCornerPointY(int index);
KORVA_API double KORVA_CALL GetColumnCornerPointZ(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedDepth(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedAxis1(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedAxis2(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedAxis3(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosX(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosY(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosZ(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosAxis1(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosAxis2(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosAxis3(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosRefAxis1(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosRefAxis2(int index);
KORVA_API double KORVA_CALL GetColumnExtrudedPosRefAxis3(int index);
KORVA_API double KORVA_CALL GetColumn2DHeight(int index);
KORVA_API double KORVA_CALL GetColumn2DWidth(int index);
KORVA_API double KORVA_CALL GetColumn2DOffset1(int index);
KORVA_API double KORVA_CALL GetColumn2DOffset2(int index);
KORVA_API double KORVA_CALL GetColumn2DDirectionAxis1(int index);
KORVA_API double KORVA_CALL GetColumn2DDirectionAxis2(int index);
KORVA_API void KORVA_CALL GetColumnName(int index, char* buffer);
KORVA_API void KORVA_CALL GetColumnGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetColumnFileID(int index);

/* Walls (index: wall record; X, Y and the Point getters: wall point). */
KORVA_API double KORVA_CALL GetWallStartx(int index);
KORVA_API double KORVA_CALL GetWallStarty(int index);
KORVA_API double KORVA_CALL GetWallStartz(int index);
KORVA_API double KORVA_CALL GetWallAxis1(int index);
KORVA_API double KORVA_CALL GetWallAxis2(int index);
KORVA_API double KORVA_CALL GetWallAxis3(int index);
KORVA_API double KORVA_CALL GetWallRef1(int index);
KORVA_API double KORVA_CALL GetWallRef2(int index);
KORVA_API double KORVA_CALL GetWallRef3(int index);
KORVA_API double KORVA_CALL GetWallHeight(int index);
KORVA_API double KORVA_CALL GetWallWidth(int index);
KORVA_API double KORVA_CALL GetWallLength(int index);
KORVA_API double KORVA_CALL GetWallCornerPointX(int index);
KORVA_API double KORVA_CALL GetWallCornerPointY(int index);
KORVA_API double KORVA_CALL GetWallCornerPointZ(int index);
KORVA_API int KORVA_CALL GetWallIndex(int index);
KORVA_API int KORVA_CALL GetWallTotal(int index);
KORVA_API double KORVA_CALL GetWallExtrudedDepth(int index);
KORVA_API void KORVA_CALL GetWallName(int index, char* buffer);
KORVA_API void KORVA_CALL GetWallGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetWallFileID(int index);
KORVA_API double KORVA_CALL GetWallX(int point);
KORVA_API double KORVA_CALL GetWallY(int point);
KORVA_API void KORVA_CALL GetWallPointName(int point, char* buffer);
KORVA_API void KORVA_CALL GetWallPointGUID(int point, char* buffer);
KORVA_API int KORVA_CALL GetWallpointFileID(int point);

/* Slabs (index: slab record; X, Y and the Point getters: slab point). */
KORVA_API double KORVA_CALL GetSlabStartx(int index);
KORVA_API double KORVA_CALL GetSlabStarty(int index);
KORVA_API double KORVA_CALL GetSlabStartz(int index);
KORVA_API double KORVA_CALL GetSlabAxis1(int index);
KORVA_API double KORVA_CALL GetSlabAxis2(int index);
KORVA_API double KORVA_CALL GetSlabAxis3(int index);
KORVA_API double KORVA_CALL GetSlabRef1(int index);
KORVA_API double KORVA_CALL GetSlabRef2(int index);
KORVA_API double KORVA_CALL GetSlabRef3(int index);
KORVA_API double KORVA_CALL GetSlabHeight(int index);
KORVA_API double KORVA_CALL GetSlabWidth(int index);
KORVA_API double KORVA_CALL GetSlabLength(int index);
KORVA_API double KORVA_CALL GetSlabCornerPointX(int index);
KORVA_API double KORVA_CALL GetSlabCornerPointY(int index);
KORVA_API double KORVA_CALL GetSlabCornerPointZ(int index);
KORVA_API int KORVA_CALL GetSlabIndex(int index);
KORVA_API int KORVA_CALL GetSlabTotal(int index);
KORVA_API double KORVA_CALL GetSlabExtrudedDepth(int index);
KORVA_API void KORVA_CALL GetSlabName(int index, char* buffer);
KORVA_API void KORVA_CALL GetSlabGUID(int index, char* buffer);
KORVA_API int KORVA_CALL GetSlabFileID(int index);
KORVA_API double KORVA_CALL GetSlabX(int point);
KORVA_API double KORVA_CALL GetSlabY(int point);
KORVA_API void KORVA_CALL GetSlabPointName(int point, char* buffer);
KORVA_API void KORVA_CALL GetSlabPointGUID(int point, char* buffer);
KORVA_API int KORVA_CALL GetSlabpointFileID(int point);

/* Proxy elements (index: element; X, Y, Z: brep point). */
KORVA_API double KORVA_CALL GetGeneralStartx(int index);
KORVA_API double KORVA_CALL GetGeneralStarty(int index);
KORVA_API double KORVA_CALL GetGeneralStartz(int index);
KORVA_API double KORVA_CALL GetGeneralAxis1(int index);
KORVA_API double KORVA_CALL GetGeneralAxis2(int index);
KORVA_API double KORVA_CALL GetGeneralAxis3(int index);
KORVA_API double KORVA_CALL GetGeneralRef1(int index);
KORVA_API double KORVA_CALL GetGeneralRef2(int index);
KORVA_API double KORVA_CALL GetGeneralRef3(int index);
KORVA_API double KORVA_CALL GetGeneralHeight(int index);
KORVA_API double KORVA_CALL GetGeneralWidth(int index);
KORVA_API double KORVA_CALL GetGeneralLength(int index);
KORVA_API double KORVA_CALL GetGeneralCornerPointX(int index);
KORVA_API double KORVA_CALL GetGeneralCornerPointY(int index);
KORVA_API double KORVA_CALL GetGeneralCornerPointZ(int index);
KORVA_API int KORVA_CALL GetGeneralIndex(int index);
KORVA_API int KORVA_CALL GetGeneralTotal(int index);
KORVA_API double KORVA_CALL GetGeneralX(int point);
KORVA_API double KORVA_CALL GetGeneralY(int point);
KORVA_API double KORVA_CALL GetGeneralZ(int point);

#endif /* KORVA_API_IMPORT_BUILDING_H */
