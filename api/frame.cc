// The frame functions: message log, schema directory and shutdown.  Each
// returns -1 whatever happens; nothing is thrown across the boundary (a
// failed allocation leaves the call undone).
#include "api/korvaifc.h"
#include "import/import_state.h"
#include "objdb/interface.h"

using korva::TARN;

namespace {

template <typename Body>
int Framed(Body body) {
  try {
    body();
  } catch (...) {
  }
  return -1;
}

}  // namespace

KORVA_API int KORVA_CALL OpenLogFile(char* path) {
  return Framed([&] {
    korva::TarnErrorReporter* reporter = TARN().reporter();
    reporter->logfile(path);
    reporter->logging(true);
  });
}

KORVA_API int KORVA_CALL CloseLogFile(int) {
  return Framed([] { TARN().reporter()->logging(false); });
}

KORVA_API int KORVA_CALL SetSchemaPath(char* directory) {
  return Framed([&] { TARN().setSchemaPath(directory); });
}

KORVA_API int KORVA_CALL ShutDown() {
  return Framed([] {
    korva::ReleaseImportDesign();
    TARN().shutdown();
  });
}
