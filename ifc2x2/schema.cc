#include "ifc2x2/schema.h"

#include <string>

#include "exchange/file_schema.h"
#include "exchange/schema_conversion.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "objdb/tarn_type.h"
#include "objdb/text.h"

namespace korva {

const char* const kIfcSchemaName = "ifc2x2_final";

TarnDesign* LoadIfcSchema() {
  TARN().initialize();
  // The first class whose domain is asked for loads the dictionary and binds
  // every class of the schema, so the others are found bound.  A schema that
  // cannot be had is reported by that first class ("Couldn't open schema",
  // "Could not acquire domain"); the others would only say it again.
  // Once bound, a class is passed over without comparing names.
  for (TarnType* type : TarnTypeRegistry::all()) {
    if (type->boundDomain() != nullptr || type->schemaName() == nullptr ||
        !EqualNoCase(type->schemaName(), kIfcSchemaName))
      continue;
    if (type->domain() == nullptr && FindSchemaDesign(kIfcSchemaName) == nullptr) return nullptr;
  }
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

bool SaveInOutputSchema(TarnDesign* design) {
  if (design == nullptr) return false;
  const std::string wanted = TARN().configuration().outputSchema();
  TarnDesign* own = IfcSchemaOf(design);
  if (wanted.empty() || own == nullptr || EqualNoCase(FileSchemaName(own->name()).c_str(), wanted.c_str()))
    return design->save();
  TarnDesign* target = ConversionTarget(wanted.c_str());
  if (target == nullptr) {
    TARN().warning("Output schema '%s' is not one this build writes; the file is written as %s.", wanted.c_str(),
                   FileSchemaName(own->name()).c_str());
    return design->save();
  }
  ConversionReport report;
  TarnDesign* converted = ConvertDesign(design, target, &report);
  if (converted == nullptr) {
    TARN().warning("The design could not be converted to %s; the file is written as %s.", wanted.c_str(),
                   FileSchemaName(own->name()).c_str());
    return design->save();
  }
  for (const std::string& line : report.lossLines()) TARN().warning("Not carried to %s: %s", wanted.c_str(),
                                                                     line.c_str());
  const bool ok = converted->save();
  converted->emptyYourself();
  TARN().deleteDesign(converted);
  TARN().emptyTrash();
  return ok;
}

bool SaveIfcDesignAs(TarnDesign* design, const char* fileName, const char* directory, bool keepOwnExtension,
                     SaveSchema schema) {
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
  const bool saved = schema == SaveSchema::kConfigured ? SaveInOutputSchema(design) : design->save();
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
  const bool saved = SaveIfcDesignAs(design, nullptr, nullptr, true, SaveSchema::kOwn);
  DiscardIfcDesign(design);
  return saved;
}

}  // namespace korva
