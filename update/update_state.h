// The state an update keeps between calls: the update design (opened by
// OpenFileForUpdate) and the update owner history (made by UpdateHistory),
// both kept by the library state (api/library_state.h).
//
// The handles are plain pointers into the object store; before every use
// the library state is asked whether it still holds the design.  A
// shutdown of the interface object (ShutDown, a building export, the close
// of an analysis export, UpdateOneSectionName) or the deletion of the
// design ends the update: the handles are dropped without being touched,
// and the calls that need them report that no update is open and change
// nothing.
#ifndef KORVA_UPDATE_UPDATE_STATE_H
#define KORVA_UPDATE_UPDATE_STATE_H

#include "ifc2x2/owner_history.h"

namespace korva {
namespace update {

// The design of `fileName` (in memory, else read from the search path),
// with the IFC2x2 dictionary loaded.  A design read from a file keeps the
// file's extension, so that it is saved in the same format.  Null, with a
// warning, when the file cannot be found or read.
TarnDesign* FindDesignToUpdate(const char* fileName);

// Finds the design of `fileName` as above and makes it the update design, replacing the previous one (which
// stays in memory unsaved).  Null when it cannot be had.
TarnDesign* OpenUpdateDesign(const char* fileName);

// The update design, or null when none is open or it has gone.
TarnDesign* UpdateDesign();

// Sets the update owner history (an instance of the update design's own
// schema) of the open update design.
void SetUpdateOwnerHistory(TarnObject* history);

// UpdateHistory: makes an owner history (ChangeAction MODIFIED, whatever
// `args` says) in the update design and uses it for the changes from then
// on.  Without an open update: reported, nothing made.
int RecordUpdateHistory(OwnerHistoryArguments args);

// Forgets the update design and its owner history (after the design has
// been saved and discarded).
void EndUpdate();

// The update design for `call`, or null after a warning naming the call
// when none is open.
TarnDesign* RequireUpdateDesign(const char* call);

// The update design and owner history for a member change: false, after a
// warning naming the call, when no update is open or UpdateHistory has not
// been called since it was opened.
bool RequireUpdate(const char* call, TarnDesign** design, TarnObject** history);

// Gives an instance of the update design a new GlobalId and `history` as
// its owner history, by attribute name (any IFC schema).
void SetUpdateRoot(TarnObject* object, TarnObject* history);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_UPDATE_STATE_H
