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
  for (TarnType* type : TarnTypeRegistry::all()) {
    if (type->schemaName() == nullptr || !EqualNoCase(type->schemaName(), kIfcSchemaName)) continue;
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

bool SaveIfcDesign(TarnDesign* design) {
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

bool SaveAndDiscard(TarnDesign* design) {
  if (design == nullptr) return false;
  bool ok = SaveIfcDesign(design);
  design->emptyYourself();
  TARN().deleteDesign(design);
  TARN().emptyTrash();
  return ok;
}

}  // namespace korva
