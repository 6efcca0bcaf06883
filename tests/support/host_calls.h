// The exported functions a host session uses, as a table of function
// pointers: bound by name from a library loaded at run time (as the
// application binds them), or taken from the library linked into the test
// program.  The same session code then drives either.
#ifndef KORVA_TESTS_SUPPORT_HOST_CALLS_H
#define KORVA_TESTS_SUPPORT_HOST_CALLS_H

#include <string>
#include <vector>

#include "api/korvaifc.h"

namespace korva {
namespace test {

#define KORVA_HOST_CALLS(X)                                                                        \
  X(OpenLogFile) X(CloseLogFile) X(SetSchemaPath) X(ShutDown)                                      \
  X(ExportOpenFileWithStoryesAndSlabsWalls)                                                        \
  X(ExportAnalysisModelOpenFile) X(ExportAnalysisModelBuidlingOneStory)                            \
  X(ExportAnalysisModelAddAnalysisModel) X(ExportAnalysisModelAddOnePointConnection)               \
  X(ExportAnalysisModelAddOneCurveMember) X(ExportAnalysisModelCloseFile)                          \
  X(FindTotalObjects) X(CheckNumber) X(GetTotalColumns) X(GetTotalBeams) X(GetColumnStartx)        \
  X(GetColumnExtrudedDepth) X(GetBeamStartz) X(GetBeamExtrudedDepth) X(GetBeamGUID)                \
  X(FindTotalAnaModels) X(CheckAnaModel) X(GetTotalAnaModels) X(GetAnaModelName)                   \
  X(GetAnaModelFileID) X(GetNumberStrCurveMembers) X(GetNumberStrPointConnections)                 \
  X(GetNumberProjectUnits) X(GetStrCurveMemberEdgeX2)                                             \
  X(GetStrCurveMemberName) X(GetStrCurveMemberGUID) X(GetStrPointConnectionName)                   \
  X(GetStrPointConnectionGUID) X(GetStrPointConnectionVertexX1)                                    \
  X(OpenFileForUpdate) X(UpdateHistory) X(UpdateOneStructuralPoint)                                \
  X(UpdateStructuralMembersRepresentation) X(SaveAndCloseFileAfterUpdate)

struct HostCalls {
#define KORVA_HOST_CALL_FIELD(name) decltype(&::name) name = nullptr;
  KORVA_HOST_CALLS(KORVA_HOST_CALL_FIELD)
#undef KORVA_HOST_CALL_FIELD

  // Names of the functions that could not be bound (empty when all were).
  std::vector<std::string> missing() const;
};

class LoadedLibrary;

// Binds every function by its exported name in a library loaded at run
// time.
HostCalls BindLoadedCalls(const LoadedLibrary& library);

// The functions of the library linked into the test program
// (linked_calls.cc; only programs that link the library have it).
HostCalls LinkedCalls();

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_HOST_CALLS_H
