/* Building export: one call writes one complete IFC2x2 file (project, site,
 * building, storeys and the building elements) named fileName into
 * directory, then discards the model.  Every function returns -1.
 *
 * The first ten arguments are the same in all five: file name (also the
 * design's name; "model.ifc" is saved as model.ifc, "model" as model.stp),
 * directory, FILE_DESCRIPTION entry, FILE_NAME originating system, author
 * (also the IfcPerson's names), organization (also the IfcOrganization),
 * authorization, the IfcApplication's full name, and the IfcSIPrefix and
 * IfcSIUnitName indices of the length unit (the area unit, square metres,
 * takes the same prefix).
 *
 * Per-element arrays (start, point count, storey) are read from index 1 for
 * element k = 1..count of their kind.  Depths and the placement arrays
 * (location, axis = local Z, reference = local X) are read at the running
 * number e: columns 1..c, then beams c+1.., slabs, walls.  X and Y are read
 * at the start indices the host gives, `pointCount` points per element
 * (the polygon is closed by the library).  Storey numbers count from 1;
 * elevations are read from index 1.
 *
 * Every function except ExportOpenFile shuts the library down at its end
 * (which ends logging); ExportOpenFile leaves it initialised.
 *
 * Bad input is reported as a warning on the message log and never crashes:
 * a null or empty file name or a null directory, or a null array that a
 * positive count needs, writes no file; a negative count is read as 0; an
 * element with a negative start index or a faceted object with a negative
 * face or vertex index is skipped; an element naming no existing storey is
 * written but contained in no storey; a null text is written as empty. */
#ifndef KORVA_API_EXPORT_BUILDING_H
#define KORVA_API_EXPORT_BUILDING_H

#include "platform/exports.h"

/* Faceted bodies: one generic proxy element per object, in one storey.
 * Object k (from 1) has faceCount[k] faces from face firstFace[k]; face j
 * has the four corners (vx, vy, vz)[v] for v = vertex1[j] .. vertex4[j]
 * (repeat an index for a triangle).  `unused` is not read. */
KORVA_API int KORVA_CALL ExportOpenFile(char* fileName, char* directory, char* description,
                                        char* originatingSystem, char* author, char* organization,
                                        char* authorization, char* applicationName, int siPrefix,
                                        int siUnitName, int unused, int objectCount, double* vx,
                                        double* vy, double* vz, int* vertex1, int* vertex2,
                                        int* vertex3, int* vertex4, int* firstFace, int* faceCount);

/* Columns and beams, all in one storey. */
KORVA_API int KORVA_CALL ExportOpenFileNew(char* fileName, char* directory, char* description,
                                           char* originatingSystem, char* author, char* organization,
                                           char* authorization, char* applicationName, int siPrefix,
                                           int siUnitName, int columnCount, int beamCount, double* x,
                                           double* y, int* columnStart, int* columnPointCount,
                                           int* beamStart, int* beamPointCount, double* depth,
                                           double* locationX, double* locationY, double* locationZ,
                                           double* axisX, double* axisY, double* axisZ,
                                           double* referenceX, double* referenceY, double* referenceZ);

/* Storeys at the given elevations; columns and beams in their storeys. */
KORVA_API int KORVA_CALL ExportOpenFileWithStoryes(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, double* elevation, double* x, double* y,
    int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart, int* beamPointCount,
    int* beamStorey, double* depth, double* locationX, double* locationY, double* locationZ,
    double* axisX, double* axisY, double* axisZ, double* referenceX, double* referenceY,
    double* referenceZ);

/* As ExportOpenFileWithStoryes, with slabs after the beams. */
KORVA_API int KORVA_CALL ExportOpenFileWithStoryesAndSlabs(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, int slabCount, double* elevation, double* x,
    double* y, int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart,
    int* beamPointCount, int* beamStorey, int* slabStart, int* slabPointCount, int* slabStorey,
    double* depth, double* locationX, double* locationY, double* locationZ, double* axisX,
    double* axisY, double* axisZ, double* referenceX, double* referenceY, double* referenceZ);

/* Columns, beams, slabs and walls; every rooted object gets a new GlobalId
 * and the bodies their own representation context. */
KORVA_API int KORVA_CALL ExportOpenFileWithStoryesAndSlabsWalls(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, int slabCount, int wallCount, double* elevation,
    double* x, double* y, int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart,
    int* beamPointCount, int* beamStorey, int* slabStart, int* slabPointCount, int* slabStorey,
    int* wallStart, int* wallPointCount, int* wallStorey, double* depth, double* locationX,
    double* locationY, double* locationZ, double* axisX, double* axisY, double* axisZ,
    double* referenceX, double* referenceY, double* referenceZ);

#endif /* KORVA_API_EXPORT_BUILDING_H */
