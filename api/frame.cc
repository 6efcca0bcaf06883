// The frame functions: message log, schema directory and shutdown.
#include "api/korvaifc.h"
#include "import/import_state.h"
#include "objdb/interface.h"

using korva::TARN;

KORVA_API int KORVA_CALL OpenLogFile(char* path) {
  korva::TarnErrorReporter* reporter = TARN().reporter();
  reporter->logfile(path);
  reporter->logging(true);
  return -1;
}

KORVA_API int KORVA_CALL CloseLogFile(int) {
  TARN().reporter()->logging(false);
  return -1;
}

KORVA_API int KORVA_CALL SetSchemaPath(char* directory) {
  TARN().setSchemaPath(directory);
  return -1;
}

KORVA_API int KORVA_CALL ShutDown() {
  korva::ReleaseImportDesign();
  TARN().shutdown();
  return -1;
}
