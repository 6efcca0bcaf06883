#include "update/update_save.h"

#include <string>

#include "objdb/design.h"
#include "objdb/interface.h"
#include "update/update_state.h"

namespace korva {
namespace update {

bool SaveDesignAs(TarnDesign* design, const char* fileName, const char* directory) {
  if (design == nullptr) return false;
  if (directory != nullptr) design->fileDirectory(directory);
  // The design takes the file's name only while it is written: the
  // interface object's name table knows it by its own name.
  const std::string ownName = design->name() != nullptr ? design->name() : "";
  const std::string ownExtension = design->extension();
  const DesignPath file = SplitDesignPath(fileName != nullptr ? fileName : "");
  const bool renamed = !file.name.empty();
  if (renamed) {
    design->setName(file.name.c_str());
    if (!file.extension.empty()) design->setExtension(file.extension);
    if (directory == nullptr && !file.folder.empty()) design->fileDirectory(file.folder);
  }
  const bool saved = design->save();
  if (renamed) {
    design->setName(ownName.c_str());
    design->setExtension(ownExtension);
  }
  return saved;
}

void DiscardAndShutDown(TarnDesign* design) {
  if (design != nullptr) {
    design->emptyYourself();
    TARN().deleteDesign(design);
  }
  TARN().emptyTrash();
  TARN().shutdown();
}

int SaveAndClose(const char* fileName, const char* directory) {
  TarnDesign* design = RequireUpdateDesign("SaveAndCloseFileAfterUpdate");
  if (design == nullptr) return -1;
  SaveDesignAs(design, fileName, directory);
  EndUpdate();
  DiscardAndShutDown(design);
  return -1;
}

}  // namespace update
}  // namespace korva
