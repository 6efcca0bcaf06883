// Saving an updated design and ending the update (SaveIfcDesignAs with the
// design's own extension kept).
//
// The file is written as directory/name.extension, where the extension
// (and with it the format) is the one of the file that was read unless the
// name brings its own ("out" -> "out.ifc" for a design read from an .ifc
// file; "out.stp" is written as "out.stp").  The write goes to a temporary
// file beside the target that replaces the target only once it is complete
// (TarnInterface::save), so a failed save leaves any earlier file intact.
#ifndef KORVA_UPDATE_UPDATE_SAVE_H
#define KORVA_UPDATE_UPDATE_SAVE_H

namespace korva {
namespace update {

// SaveAndCloseFileAfterUpdate: saves the update design, discards it and
// shuts down.  Without an open update: reported, nothing else happens.
int SaveAndClose(const char* fileName, const char* directory);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_UPDATE_SAVE_H
