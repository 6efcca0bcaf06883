// The exported analysis-model export functions: each hands its arguments
// to the export in progress (export/analysis_export.h).  Nothing escapes to
// the host (api/guarded_call.h).
#include "api/guarded_call.h"
#include "api/korvaifc.h"
#include "export/analysis_export.h"

namespace session = korva::analysis_export;

namespace {

template <typename Body>
int Guarded(const char* call, int neutral, Body body) {
  return korva::GuardedCall("Analysis-model export", call, neutral, body);
}

}  // namespace

KORVA_API int KORVA_CALL ExportAnalysisModelOpenFile(char* fileName, char*, char* description,
                                                     char* originatingSystem, char* author,
                                                     char* organization, char* authorization,
                                                     char* applicationName, int prefix, int unitName) {
  const korva::HeaderArguments args{fileName,     nullptr,       description,     originatingSystem, author,
                                    organization, authorization, applicationName, prefix,            unitName};
  return Guarded("ExportAnalysisModelOpenFile", -1, [&] { return session::OpenFile(args); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelBuidling(int count, double* elevations) {
  return Guarded("ExportAnalysisModelBuidling", -1, [&] { return session::MakeStoreys(count, elevations); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelBuidlingOneStory(char* name, double elevation) {
  return Guarded("ExportAnalysisModelBuidlingOneStory", -1, [&] { return session::AddStorey(name, elevation); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelAddAnalysisModel(char* name, char* description) {
  return Guarded("ExportAnalysisModelAddAnalysisModel", -1, [&] { return session::AddModel(name, description); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelAddOnePointConnection(char* name, int storey, double x, double y,
                                                                  double z) {
  return Guarded("ExportAnalysisModelAddOnePointConnection", 0,
                 [&] { return session::AddPointConnection(name, storey, x, y, z); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelAddOneCurveMember(char* name, int storey, int startStorey,
                                                              int endStorey, int startPosition,
                                                              int endPosition, double x1, double y1,
                                                              double z1, double x2, double y2, double z2) {
  return Guarded("ExportAnalysisModelAddOneCurveMember", -1, [&] {
    return session::AddCurveMember(name, storey, startStorey, endStorey, startPosition, endPosition, x1, y1, z1, x2,
                                   y2, z2);
  });
}

KORVA_API int KORVA_CALL ExportAnalysisModelAddOneSurfaceMember(char* name, int storey, int count, int* storeys,
                                                                int* positions, double* xs, double* ys,
                                                                double* zs) {
  return Guarded("ExportAnalysisModelAddOneSurfaceMember", -1,
                 [&] { return session::AddSurfaceMember(name, storey, count, storeys, positions, xs, ys, zs); });
}

KORVA_API int KORVA_CALL ExportAnalysisModelCloseFile(char* fileName, char* directory) {
  return Guarded("ExportAnalysisModelCloseFile", -1, [&] { return session::CloseFile(fileName, directory); });
}
