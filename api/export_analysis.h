/* Analysis-model export: a structural analysis model written to an IFC2x2
 * file over several calls, in this order: ExportAnalysisModelOpenFile; one
 * ExportAnalysisModelBuidling or any number of
 * ExportAnalysisModelBuidlingOneStory; ExportAnalysisModelAddAnalysisModel;
 * the item calls, each node before the members that refer to it;
 * ExportAnalysisModelCloseFile.  A building export or ShutDown in between
 * ends the export unsaved.
 *
 * Storeys are numbered from 1.  A node is referred to by its storey number
 * and its position in that storey: the elements of a storey (nodes and
 * members) count from 1 in the order they were added.
 *
 * Every function returns -1, except ExportAnalysisModelAddOnePointConnection,
 * which returns the node's position (0 when its storey number names no
 * storey, or when no export is open).  Calls out of order are reported as
 * warnings through the message log and ignored. */
#ifndef KORVA_API_EXPORT_ANALYSIS_H
#define KORVA_API_EXPORT_ANALYSIS_H

#include "platform/exports.h"

/* Starts the file: its name (also the name it is saved under unless the
 * close call names another), an unread argument, the FILE_DESCRIPTION
 * entry, the FILE_NAME originating system, author, organization and
 * authorization, the application's full name, and the IfcSIPrefix and
 * IfcSIUnitName indices of the length unit (the area unit takes the same
 * prefix).  An export still open is discarded unsaved. */
KORVA_API int KORVA_CALL ExportAnalysisModelOpenFile(char* fileName, char* unused, char* description,
                                                     char* originatingSystem, char* author,
                                                     char* organization, char* authorization,
                                                     char* applicationName, int prefix, int unitName);
/* Replaces the storeys by `count` storeys "Stroy1", ... with elevations
 * elevations[1] to elevations[count] (element 0 is not read). */
KORVA_API int KORVA_CALL ExportAnalysisModelBuidling(int count, double* elevations);
/* Appends one storey. */
KORVA_API int KORVA_CALL ExportAnalysisModelBuidlingOneStory(char* name, double elevation);
/* The analysis model that every later item is assigned to. */
KORVA_API int KORVA_CALL ExportAnalysisModelAddAnalysisModel(char* name, char* description);
/* A node in storey `storey` at (x, y, z); returns its position. */
KORVA_API int KORVA_CALL ExportAnalysisModelAddOnePointConnection(char* name, int storey, double x, double y,
                                                                  double z);
/* A frame member in storey `storey` from (x1, y1, z1) to (x2, y2, z2),
 * connected to the nodes (startStorey, startPosition) and (endStorey,
 * endPosition). */
KORVA_API int KORVA_CALL ExportAnalysisModelAddOneCurveMember(char* name, int storey, int startStorey,
                                                              int endStorey, int startPosition,
                                                              int endPosition, double x1, double y1,
                                                              double z1, double x2, double y2, double z2);
/* An area member in storey `storey` over `count` corners; the arrays are
 * read from index 0: corner i lies at (xs[i], ys[i], zs[i]) and is
 * connected to the node (storeys[i], positions[i]). */
KORVA_API int KORVA_CALL ExportAnalysisModelAddOneSurfaceMember(char* name, int storey, int count, int* storeys,
                                                                int* positions, double* xs, double* ys,
                                                                double* zs);
/* Aggregates the spatial structure, saves the file as `fileName` in
 * `directory` and shuts the library's database down. */
KORVA_API int KORVA_CALL ExportAnalysisModelCloseFile(char* fileName, char* directory);

#endif /* KORVA_API_EXPORT_ANALYSIS_H */
