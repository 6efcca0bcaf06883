// The design an import reads: opened by name by every census and fill call,
// kept by the library state (api/library_state.h) until ShutDown releases
// it.  The string fields of the import tables point into this design's
// text.  A design the library state no longer holds as valid (after a
// shutdown of the interface object, or once deleted) is dropped without
// being touched.
#ifndef KORVA_IMPORT_IMPORT_STATE_H
#define KORVA_IMPORT_IMPORT_STATE_H

namespace korva {

class TarnDesign;

// Finds the design of `fileName` (in memory or read from the search path)
// and makes it the import design; null when it cannot be had.
TarnDesign* OpenImportDesign(const char* fileName);

// The import design, or null (also after a shutdown or its deletion).
TarnDesign* ImportDesign();

// Releases the import design's contents and deletes it.
void ReleaseImportDesign();

// The text every string field of the import records holds by default.
extern const char* const kBlankField;  // " "

}  // namespace korva

#endif  // KORVA_IMPORT_IMPORT_STATE_H
