// Links the installed library, points it at the installed schemas and writes
// and reads back a small analysis model.  Exits 0 when everything is found.
#include <cstdio>
#include <cstring>

#include "api/korvaifc.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::printf("korvaifc %s, schemas in %s\n", PACKAGE_VERSION, SCHEMA_DIR);
  char schemas[] = SCHEMA_DIR;
  SetSchemaPath(schemas);
  char name[] = "consumer.ifc", empty[] = "", model[] = "Frame", n1[] = "N1", n2[] = "N2", b1[] = "B1";
  char storey[] = "Level 1";
  ExportAnalysisModelOpenFile(name, empty, empty, empty, empty, empty, empty, empty, 10, 15);
  ExportAnalysisModelBuidlingOneStory(storey, 0.0);
  ExportAnalysisModelAddAnalysisModel(model, empty);
  ExportAnalysisModelAddOnePointConnection(n1, 1, 0.0, 0.0, 0.0);
  ExportAnalysisModelAddOnePointConnection(n2, 1, 4.0, 0.0, 0.0);
  ExportAnalysisModelAddOneCurveMember(b1, 1, 1, 1, 1, 2, 0.0, 0.0, 0.0, 4.0, 0.0, 0.0);
  ExportAnalysisModelCloseFile(name, argv[1]);

  char path[4096];
  std::snprintf(path, sizeof path, "%s/%s", argv[1], name);
  FindTotalAnaModels(path);
  if (GetTotalAnaModels() != 0) {
    std::printf("expected one analysis model, the counter is %d\n", GetTotalAnaModels());
    return 1;
  }
  CheckAnaModel(0, GetAnaModelFileID(0), path);
  char member[64] = "";
  GetStrCurveMemberName(0, member);
  ShutDown();
  if (GetNumberStrCurveMembers() != 0 || std::strcmp(member, "B1") != 0) {
    std::printf("expected the member B1, read %d members, the first \"%s\"\n", GetNumberStrCurveMembers() + 1,
                member);
    return 1;
  }
  std::printf("wrote and read %s\n", path);
  return 0;
}
