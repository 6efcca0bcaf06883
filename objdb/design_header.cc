// The header records of a design, its save format and folder.
#include <cstring>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"
#include "objdb/time_stamp.h"

namespace korva {

namespace {
const char* const kPreprocessorVersion = "KS-BUILDER v10";

// A new header record of `domainName` in the design's header section.
TarnObject* NewHeaderRecord(TarnDesign* design, const char* domainName) {
  TarnDesign* schema = FindSchemaDesign("header_section_schema");
  if (schema == nullptr) return nullptr;
  TarnDomain* domain = FindDomainInSchema(schema, domainName);
  if (domain == nullptr) return nullptr;
  TarnType* type = domain->typeRecord();
  if (type == nullptr || type->creator == nullptr) return nullptr;
  return type->creator(design, design->header_section(), domain);
}
}  // namespace

void TarnDesign::initialize_header() {
  if (description_ == nullptr) {
    description_ = typecast<file_description>(NewHeaderRecord(this, "file_description"));
    if (description_ != nullptr) {
      description_->description();  // the empty list
      description_->implementation_level("1");
    }
  }
  if (fileName_ == nullptr) {
    fileName_ = typecast<file_name>(NewHeaderRecord(this, "file_name"));
    if (fileName_ != nullptr) {
      fileName_->name(name_);
      char stamp[64];
      fileName_->time_stamp(CurrentTimeStamp(stamp, sizeof stamp) ? stamp : nullptr);
      fileName_->author();
      fileName_->organization();
      fileName_->preprocessor_version(kPreprocessorVersion);
      fileName_->originating_system("");
      fileName_->authorisation("");
    }
  }
}

file_description* TarnDesign::header_description() {
  if (description_ == nullptr) initialize_header();
  return description_;
}

file_name* TarnDesign::header_name() {
  if (fileName_ == nullptr) initialize_header();
  return fileName_;
}

const char* TarnDesign::format() {
  if (!format_.empty()) return format_.c_str();
  const TarnInterface::FormatServices& f = TARN().formatServices();
  if (f.forExtension != nullptr && !extension_.empty())
    if (const char* byExtension = f.forExtension(extension_.c_str())) return byExtension;
  return "tarn";
}

bool TarnDesign::format(const char* name) {
  const TarnInterface::FormatServices& f = TARN().formatServices();
  if (name == nullptr || f.known == nullptr || !f.known(name)) {
    TARN().report(1026, name != nullptr ? name : "<null>");
    return false;
  }
  format_ = name;
  return true;
}

std::string TarnDesign::fileDirectory() {
  if (!directory_.empty()) return directory_;
  std::vector<std::string> folders = TARN().searchFolders();
  return folders.empty() ? std::string(".") : folders.front();
}

bool TarnDesign::save() { return TARN().save(this); }

}  // namespace korva
