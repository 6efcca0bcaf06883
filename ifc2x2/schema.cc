#include "ifc2x2/schema.h"

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

bool SaveAndDiscard(TarnDesign* design) {
  if (design == nullptr) return false;
  bool ok = design->save();
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  return ok;
}

}  // namespace korva
