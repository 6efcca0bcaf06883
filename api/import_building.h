/* The building-element import as the host sees it: a census
 * (FindTotalObjects) and a fill pass (CheckNumber) over an IFC file, then
 * one getter per field of the imported records.
 *
 * Getters take a 0-based record index; valid are 0 to the counter returned
 * after the fill pass.  Outside the tables (also before any fill pass) a
 * number getter returns 0 and a string getter leaves the buffer alone.
 * String getters copy the text with its terminator into the host's buffer,
 * at most KORVA_TEXT_BUFFER_SIZE (256) bytes (api/import_getters.h); a field
 * without value leaves the buffer untouched, and so does text of a file
 * released since (ShutDown). */
#ifndef KORVA_API_IMPORT_BUILDING_H
#define KORVA_API_IMPORT_BUILDING_H

#include "api/import_getters.h"
#include "platform/exports.h"

/* Census and fill of building elements (with the analysis, material and
 * profile kinds the same passes count and fill).  Each returns -1. */
KORVA_API int KORVA_CALL FindTotalObjects(char* fileName);
KORVA_API int KORVA_CALL CheckNumber(int ignored, char* fileName);
KORVA_API int KORVA_CALL ReadAllTogether(int ignored1, int ignored2);

/* Counters (GetTotalBeams, ...): the census count after FindTotalObjects,
 * the index of the last record filled (-1: none) after CheckNumber. */
KORVA_BUILDING_COUNTS(KORVA_DECLARE_COUNT)

/* Getters of beams, columns, walls and slabs with their outline points,
 * and proxy elements with their brep points (GetBeamStartx, ...): one per
 * line of KORVA_BUILDING_GETTERS in api/import_getters.h. */
KORVA_BUILDING_GETTERS(KORVA_DECLARE_GETTER)

#endif /* KORVA_API_IMPORT_BUILDING_H */
