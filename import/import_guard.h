// The exported census and fill calls run their work through GuardedImport:
// nothing they throw (a failed allocation) leaves the library.  Such a
// failure is reported as "Import: <call> failed: out of memory" through the
// error reporter, and every import table is left empty with its counter at
// the value given, so that a host reading 0..counter reads nothing.  After
// the work, the text too long for its getters in the tables it filled is
// reported (long_texts.h).
#ifndef KORVA_IMPORT_IMPORT_GUARD_H
#define KORVA_IMPORT_IMPORT_GUARD_H

#include "import/import_table.h"
#include "import/long_texts.h"

namespace korva {

// Reports the failure of `call` and empties every building and analysis
// table (counters at `counter`, no units, no analysis model available).
void AbandonImport(const char* call, int counter);

template <class Body>
void GuardedImport(const char* call, int counterOnFailure, Body body) {
  unsigned since = 0;
  try {
    since = TableAllocations();
    body();
  } catch (...) {
    AbandonImport(call, counterOnFailure);
    return;
  }
  // The tables are good whatever becomes of their warnings.
  try {
    ReportLongTexts(since);
  } catch (...) {
  }
}

}  // namespace korva

#endif  // KORVA_IMPORT_IMPORT_GUARD_H
