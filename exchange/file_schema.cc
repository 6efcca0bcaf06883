#include "exchange/file_schema.h"

#include "objdb/dictionary_binding.h"
#include "objdb/error_category.h"
#include "objdb/text.h"

namespace korva {
namespace {

// Names other tools write for a schema of this build.
struct Alias {
  const char* written;
  const char* readAs;  // a file name of IfcSchemasOfThisBuild()
  bool announced;      // a message tells the user
};
const Alias kAliases[] = {
    {"IFC2X3_FINAL", "IFC2X3", false},
    {"IFC2X_FINAL", "IFC2X2_FINAL", true},
};

const IfcSchemaName* ByFileName(const char* name) {
  for (const IfcSchemaName& s : IfcSchemasOfThisBuild())
    if (EqualNoCase(s.fileName, name)) return &s;
  return nullptr;
}

}  // namespace

const std::vector<IfcSchemaName>& IfcSchemasOfThisBuild() {
  static const std::vector<IfcSchemaName> kSchemas = {{"IFC2X2_FINAL", "ifc2x2_final"}, {"IFC2X3", "ifc2x3"}};
  return kSchemas;
}

std::string FileSchemaName(const char* dictionary) {
  std::string name = dictionary != nullptr ? dictionary : "";
  for (const IfcSchemaName& s : IfcSchemasOfThisBuild())
    if (EqualNoCase(s.dictionary, name.c_str())) return s.fileName;
  for (char& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return name;
}

const char* BuildFileSchemaName(const char* name) {
  if (name == nullptr) return nullptr;
  if (const IfcSchemaName* s = ByFileName(name)) return s->fileName;
  for (const Alias& a : kAliases)
    if (EqualNoCase(a.written, name)) return a.readAs;
  return nullptr;
}

TarnDesign* FindFileSchema(const char* fileSchema) {
  if (fileSchema == nullptr) return nullptr;
  if (const IfcSchemaName* s = ByFileName(fileSchema)) return FindSchemaDesign(s->dictionary);
  for (const Alias& a : kAliases) {
    if (!EqualNoCase(a.written, fileSchema)) continue;
    const IfcSchemaName* s = ByFileName(a.readAs);
    TarnDesign* schema = s != nullptr ? FindSchemaDesign(s->dictionary) : nullptr;
    if (schema != nullptr && a.announced)
      ExchangeMessages().message("Schema '%s' is read as %s, which kept every entity of it.", a.written, a.readAs);
    return schema;
  }
  return FindSchemaDesign(fileSchema);
}

void ReportReadableSchemas() {
  std::string names;
  const std::vector<IfcSchemaName>& schemas = IfcSchemasOfThisBuild();
  for (size_t i = 0; i < schemas.size(); ++i) {
    if (i > 0) names += i + 1 == schemas.size() ? " and " : ", ";
    names += schemas[i].fileName;
  }
  std::string aliases;
  for (const Alias& a : kAliases) {
    if (!aliases.empty()) aliases += ", ";
    aliases += std::string(a.written) + " as " + a.readAs;
  }
  ExchangeMessages().message("This build reads the schemas %s (and %s).", names.c_str(), aliases.c_str());
}

}  // namespace korva
