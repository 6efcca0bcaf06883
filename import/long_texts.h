// The import's warnings about text its getters cannot hand out whole.  A
// text getter writes at most kLongestText bytes and a terminator; after a
// census or fill, every text field of the tables it allocated is checked,
// and each field too long for its getter is reported as a warning naming
// the getter and the record: "Import: GetBeamName(3), #57: a text of 5000
// bytes is handed out cut to 255", "Import: GetBeamGUID(3), #57: a GlobalId
// of 300 characters is handed out empty".  After kLongTextWarnings such
// warnings one more line gives the number of the others.
#ifndef KORVA_IMPORT_LONG_TEXTS_H
#define KORVA_IMPORT_LONG_TEXTS_H

namespace korva {

constexpr int kLongTextWarnings = 20;

// Warns of the text fields too long for their getters in the tables
// allocated since the mark `since` (TableAllocations()).
void ReportLongTexts(unsigned since);

}  // namespace korva

#endif  // KORVA_IMPORT_LONG_TEXTS_H
