// The frame functions: message log, schema directory and shutdown.  Each
// returns -1 whatever happens; nothing is thrown across the boundary.  A
// failed allocation leaves the call undone and is reported as a warning
// ("<function> failed: out of memory") when the reporter can still speak.
#include "api/korvaifc.h"
#include "api/library_state.h"
#include "objdb/interface.h"

using korva::TARN;

namespace {

template <typename Body>
int Framed(const char* call, Body body) {
  try {
    body();
  } catch (...) {
    try {
      TARN().warning("%s failed: out of memory", call);
    } catch (...) {
    }
  }
  return -1;
}

}  // namespace

KORVA_API int KORVA_CALL OpenLogFile(char* path) {
  return Framed("OpenLogFile", [&] {
    korva::TarnErrorReporter* reporter = TARN().reporter();
    reporter->logfile(path);
    reporter->logging(true);
  });
}

KORVA_API int KORVA_CALL CloseLogFile(int) {
  return Framed("CloseLogFile", [] { TARN().reporter()->logging(false); });
}

KORVA_API int KORVA_CALL SetSchemaPath(char* directory) {
  return Framed("SetSchemaPath", [&] { TARN().setSchemaPath(directory); });
}

KORVA_API int KORVA_CALL ShutDown() {
  return Framed("ShutDown", [] {
    korva::LibraryState::get().shutDown();
  });
}
