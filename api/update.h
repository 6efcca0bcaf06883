/* Update in place: the host opens an existing IFC file, records who makes
 * the change, changes structural members and saves the file:
 *   OpenFileForUpdate (or OpenFileForUpdate2) -> UpdateHistory -> member
 *   changes -> SaveAndCloseFileAfterUpdate.
 * Members, point connections and load groups are named by GlobalId
 * (compared byte for byte); sections by the instance number the import
 * reported.  Every search writes "Name: <type>" to standard output for each
 * instance it visits, and finishes before anything is created: a name that
 * matches nothing changes nothing.
 *
 * Every function returns -1; the first argument is not read.  A member
 * change without an open update, or before UpdateHistory, is reported as a
 * warning and changes nothing; so is UpdateHistory or the save without an
 * open update.  ShutDown, an export or UpdateOneSectionName ends an open
 * update unsaved.  OpenFileForUpdate2 and UpdateOneCurveMemberSectionName
 * have C++ linkage: the host binds them under their decorated names. */
#ifndef KORVA_API_UPDATE_H
#define KORVA_API_UPDATE_H

#include "platform/exports.h"

/* Opens the file (found along the search path, or a design of that name
 * already in memory) as the update design. */
KORVA_API int KORVA_CALL OpenFileForUpdate(int unused, char* fileName);
#ifdef __cplusplus
KORVA_CPP_API int KORVA_CALL OpenFileForUpdate2(int unused, char* fileName);
#endif
/* A new owner history (person, organization, application) with
 * ChangeAction MODIFIED and the given creation date; the changes from now
 * on carry it. */
KORVA_API int KORVA_CALL UpdateHistory(int unused, char* unused2, char* personName, char* organizationName,
                                       char* unused5, char* applicationName, char* version,
                                       char* applicationId, int creationDate);
/* Saves the update design as `fileName` in `directory` (in the format of
 * the file read), discards it and shuts the library's database down. */
KORVA_API int KORVA_CALL SaveAndCloseFileAfterUpdate(int unused, char* fileName, char* directory);

/* New I-section profile properties for the member; the last value is not
 * read. */
KORVA_API int KORVA_CALL UpdateOneCurveMemberISection(int unused, char* memberId, char* sectionName,
                                                      double overallWidth, double overallDepth,
                                                      double webThickness, double flangeThickness,
                                                      double filletRadius, double unused9);
/* New general profile properties: TorsionalConstantX, MomentOfInertiaYZ,
 * MomentOfInertiaY, MomentOfInertiaZ, WarpingConstant, ShearCentreZ,
 * ShearCentreY, ShearDeformationAreaY, ShearDeformationAreaZ,
 * MaximumSectionModulusY, MinimumSectionModulusY, MaximumSectionModulusZ,
 * MinimumSectionModulusZ, TorsionalSectionModulus. */
KORVA_API int KORVA_CALL UpdateOneCurveMemberGeneralSection(int unused, char* memberId, char* sectionName,
                                                            double v1, double v2, double v3, double v4,
                                                            double v5, double v6, double v7, double v8,
                                                            double v9, double v10, double v11, double v12,
                                                            double v13, double v14);
#ifdef __cplusplus
/* Renames the profile properties numbered `fileId` in the update design. */
KORVA_CPP_API int KORVA_CALL UpdateOneCurveMemberSectionName(int unused, int fileId, char* newName);
#endif
/* Renames the profile properties numbered `fileId` in `inputFile`, saves
 * the result as `outputFile` in `outputDirectory` and shuts the database
 * down; needs no open update. */
KORVA_API int KORVA_CALL UpdateOneSectionName(int unused, int fileId, char* inputFile, char* newName,
                                              char* outputFile, char* outputDirectory);
/* Two point reactions on the member, at node I and node J, assigned to the
 * load group. */
KORVA_API int KORVA_CALL UpdateOneCurveMemberReaction(int unused, char* memberId, char* nodeI, char* nodeJ,
                                                      char* loadGroupId, double fxI, double fyI, double fzI,
                                                      double mxI, double myI, double mzI, double fxJ,
                                                      double fyJ, double fzJ, double mxJ, double myJ,
                                                      double mzJ);
/* The property set "Number Stud" (integer) and "Camber" (real). */
KORVA_API int KORVA_CALL UpdateOneCurveMemberCamberAndStuds(int unused, char* memberId, int studs, double camber);
/* Reconnects the member to node I and node J and rebuilds its edge. */
KORVA_API int KORVA_CALL UpdateOneCurveMemberConnectivity(int unused, char* memberId, char* nodeI, char* nodeJ);
/* Moves the point connection to (x, y, z). */
KORVA_API int KORVA_CALL UpdateOneStructuralPoint(int unused, char* nodeId, double x, double y, double z);
/* Rebuilds the edge of every curve member from its two connections. */
KORVA_API int KORVA_CALL UpdateStructuralMembersRepresentation(int unused);

#endif /* KORVA_API_UPDATE_H */
