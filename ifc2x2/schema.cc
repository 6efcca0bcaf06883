#include "ifc2x2/schema.h"

#include <string>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"

namespace korva {

const char* const kIfcSchemaName = "ifc2x2_final";

TarnDesign* LoadIfcSchema() {
  TARN().initialize();
  return FindSchemaDesign(kIfcSchemaName);
}

TarnDesign* NewIfcDesign(const char* fileName, const char* directory) {
  TarnDesign* schema = LoadIfcSchema();
  if (schema == nullptr) return nullptr;
  TarnDesign* design = TARN().newDesign(fileName, schema);
  design->format("step");
  if (directory != nullptr) design->fileDirectory(directory);
  design->initialize_header();
  return design;
}

bool SaveIfcDesignAs(TarnDesign* design, const char* fileName, const char* directory, bool keepOwnExtension) {
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
    if (!keepOwnExtension || !file.extension.empty()) design->setExtension(file.extension);
    if (directory == nullptr && !file.folder.empty()) design->fileDirectory(file.folder);
  }
  const bool saved = design->save();
  if (renamed) {
    design->setName(ownName.c_str());
    design->setExtension(ownExtension);
  }
  return saved;
}

void DiscardIfcDesign(TarnDesign* design) {
  if (design == nullptr) return;
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
}

bool SaveAndDiscard(TarnDesign* design) {
  const bool saved = SaveIfcDesignAs(design, nullptr, nullptr, true);
  DiscardIfcDesign(design);
  return saved;
}

}  // namespace korva
