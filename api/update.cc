// The update functions: argument unpacking around update/.  Nothing
// escapes to the host (api/guarded_call.h).
#include "api/update.h"

#include "api/guarded_call.h"
#include "update/member_geometry.h"
#include "update/member_loads.h"
#include "update/member_sections.h"
#include "update/update_save.h"
#include "update/update_state.h"

using namespace korva;

namespace {

template <typename Body>
int Guarded(const char* call, Body body) {
  return GuardedCall("Update", call, -1, body);
}

}  // namespace

KORVA_API int KORVA_CALL OpenFileForUpdate(int, char* fileName) {
  return Guarded("OpenFileForUpdate", [&] {
    update::OpenUpdateDesign(fileName);
    return -1;
  });
}

KORVA_CPP_API int KORVA_CALL OpenFileForUpdate2(int unused, char* fileName) {
  return OpenFileForUpdate(unused, fileName);
}

KORVA_API int KORVA_CALL UpdateHistory(int, char*, char* personName, char* organizationName, char*,
                                       char* applicationName, char* version, char* applicationId,
                                       int creationDate) {
  return Guarded("UpdateHistory", [&] {
    OwnerHistoryArguments args;
    args.person = personName;
    args.organization = organizationName;
    args.applicationName = applicationName;
    args.version = version;
    args.identifier = applicationId;
    args.creationDate = creationDate;
    return update::RecordUpdateHistory(args);
  });
}

KORVA_API int KORVA_CALL SaveAndCloseFileAfterUpdate(int, char* fileName, char* directory) {
  return Guarded("SaveAndCloseFileAfterUpdate", [&] { return update::SaveAndClose(fileName, directory); });
}

KORVA_API int KORVA_CALL UpdateOneCurveMemberISection(int, char* memberId, char* sectionName, double overallWidth,
                                                      double overallDepth, double webThickness,
                                                      double flangeThickness, double filletRadius, double) {
  return Guarded("UpdateOneCurveMemberISection", [&] {
    const update::ISection section = {overallWidth, overallDepth, webThickness, flangeThickness, filletRadius};
    return update::ReplaceWithISection(memberId, sectionName, section);
  });
}

KORVA_API int KORVA_CALL UpdateOneCurveMemberGeneralSection(int, char* memberId, char* sectionName, double v1,
                                                            double v2, double v3, double v4, double v5,
                                                            double v6, double v7, double v8, double v9,
                                                            double v10, double v11, double v12, double v13,
                                                            double v14) {
  return Guarded("UpdateOneCurveMemberGeneralSection", [&] {
    const double values[update::kGeneralSectionValues] = {v1, v2, v3, v4, v5, v6, v7,
                                                          v8, v9, v10, v11, v12, v13, v14};
    return update::ReplaceWithGeneralSection(memberId, sectionName, values);
  });
}

KORVA_CPP_API int KORVA_CALL UpdateOneCurveMemberSectionName(int, int fileId, char* newName) {
  return Guarded("UpdateOneCurveMemberSectionName", [&] { return update::RenameSection(fileId, newName); });
}

KORVA_API int KORVA_CALL UpdateOneSectionName(int, int fileId, char* inputFile, char* newName, char* outputFile,
                                              char* outputDirectory) {
  return Guarded("UpdateOneSectionName", [&] {
    return update::RenameSectionInFile(fileId, inputFile, newName, outputFile, outputDirectory);
  });
}

KORVA_API int KORVA_CALL UpdateOneCurveMemberReaction(int, char* memberId, char* nodeI, char* nodeJ,
                                                      char* loadGroupId, double fxI, double fyI, double fzI,
                                                      double mxI, double myI, double mzI, double fxJ,
                                                      double fyJ, double fzJ, double mxJ, double myJ,
                                                      double mzJ) {
  return Guarded("UpdateOneCurveMemberReaction", [&] {
    const update::EndForces atI = {{fxI, fyI, fzI, mxI, myI, mzI}};
    const update::EndForces atJ = {{fxJ, fyJ, fzJ, mxJ, myJ, mzJ}};
    return update::AddMemberReaction(memberId, nodeI, nodeJ, loadGroupId, atI, atJ);
  });
}

KORVA_API int KORVA_CALL UpdateOneCurveMemberCamberAndStuds(int, char* memberId, int studs, double camber) {
  return Guarded("UpdateOneCurveMemberCamberAndStuds",
                 [&] { return update::AddCamberAndStuds(memberId, studs, camber); });
}

KORVA_API int KORVA_CALL UpdateOneCurveMemberConnectivity(int, char* memberId, char* nodeI, char* nodeJ) {
  return Guarded("UpdateOneCurveMemberConnectivity", [&] { return update::Reconnect(memberId, nodeI, nodeJ); });
}

KORVA_API int KORVA_CALL UpdateOneStructuralPoint(int, char* nodeId, double x, double y, double z) {
  return Guarded("UpdateOneStructuralPoint", [&] { return update::MovePoint(nodeId, x, y, z); });
}

KORVA_API int KORVA_CALL UpdateStructuralMembersRepresentation(int) {
  return Guarded("UpdateStructuralMembersRepresentation", [&] { return update::RebuildMemberEdges(); });
}
