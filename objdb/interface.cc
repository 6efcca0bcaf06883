#include "objdb/interface.h"
#include "objdb/integrated_models.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/error_category.h"
#include "objdb/meta_schema.h"
#include "objdb/oid.h"
#include "objdb/process_state.h"
#include "objdb/text.h"
#include "objdb/trash.h"
#include "platform/platform.h"

namespace korva {

const char* const kHeaderSchemaFile = "header_section_schema.tarn";

namespace {

// File extensions of the design formats, in the order files are looked for.
const char* const kDesignExtensions[] = {"tarn", "trn", "exg", "stp", "step", "p21", "pdes", "ifc"};

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

// The exchange layer's hooks (constant-initialised, so that they can be
// installed during static initialisation in any order).
TarnInterface::DesignReader g_reader = nullptr;
TarnInterface::FormatServices g_formats = {nullptr, nullptr, nullptr};

void ReportBannerLine(const char* text) {
  char line[80];
  std::snprintf(line, sizeof line, "%s", text);
  DatabaseMessages().message("%s", line);
}

}  // namespace

DesignPath SplitDesignPath(const std::string& path) {
  DesignPath out;
  size_t slash = path.find_last_of("/\\");
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  out.folder = path.substr(0, start);
  size_t dot = path.find('.', start);
  if (dot == std::string::npos) {
    out.name = path.substr(start);
  } else {
    out.name = path.substr(start, dot - start);
    out.extension = path.substr(dot + 1);
  }
  return out;
}

TarnInterface& TARN() { return TarnProcessState::get().interface(); }

void TarnInterface::setDesignReader(DesignReader reader) { g_reader = reader; }
void TarnInterface::setFormatServices(const FormatServices& services) { g_formats = services; }
const TarnInterface::FormatServices& TarnInterface::formatServices() { return g_formats; }

TarnInterface::TarnInterface() = default;
TarnInterface::~TarnInterface() = default;

TarnErrorReporter* TarnInterface::reporter() {
  if (!reporter_) reporter_ = std::make_unique<TarnErrorReporter>();
  return reporter_.get();
}

void TarnInterface::initialize() {
  if (state_ != kUninitialized) return;
  state_ = kInitializing;
  ++generation_;

  // Banner, reported under an empty context so that it carries no prefix.
  {
    TarnNamedContext bare("");
    TarnContextGuard guard(reporter(), &bare);
    ReportBannerLine("KS-BUILDER");
    ReportBannerLine("System Release v10");
    ReportBannerLine("");
    ReportBannerLine("");
    ReportBannerLine("-----------------------------------------");
  }

  TarnTypeRegistry::close();
  oidIndex_ = NewOidIndex(kOidIndexBuckets);
  table_ = new DictionaryOfTarnDesign();
  system_ = GenerateMetaSchema();
  enterDesign(system_);
  startServer();
  // The format handlers register with the repository layer here.
  current_ = newDesign("unnamed");

  state_ = kInitialized;
}

void TarnInterface::startServer() {
  for (const char* ext : kDesignExtensions) registerExtension(ext);

  const char* schemas = config_.schemaPath();
  searchPath_ = config_.dbPath() + ";" + (schemas != nullptr ? schemas : "");
  if (schemas == nullptr) {
    report(1046);
  } else if (!platform::IsRegularFile(platform::JoinPath(schemas, kHeaderSchemaFile))) {
    report(1059);
  }
}

void TarnInterface::shutdown() {
  if (state_ == kUninitialized) return;  // nothing was made; the reporter stays
  ReleaseTrash();  // trashed instances live in other designs' storage
  // Designs go first, the system design (and the classes bound to it) last.
  std::vector<TarnDesign*> designs = owned_;
  for (auto it = designs.rbegin(); it != designs.rend(); ++it)
    if (*it != system_) destroyDesign(*it);
  UnbindClassesOf(system_);
  destroyDesign(system_);
  system_ = current_ = nullptr;
  delete table_;
  table_ = nullptr;
  delete oidIndex_;
  oidIndex_ = nullptr;
  extensions_.clear();
  searchPath_.clear();
  ForgetIntegratedModels();
  reporter_.reset();  // ends logging
  state_ = kUninitialized;
}

void TarnInterface::report(int code, ...) {
  va_list args;
  va_start(args, code);
  DatabaseMessages().vreport(code, args);
  va_end(args);
}

#define KORVA_TEXT_SHORTCUT(method, severity)                 \
  void TarnInterface::method(const char* format, ...) {      \
    va_list args;                                            \
    va_start(args, format);                                  \
    DatabaseMessages().vtext(severity, format, args);        \
    va_end(args);                                            \
  }
KORVA_TEXT_SHORTCUT(error, kError)
KORVA_TEXT_SHORTCUT(warning, kWarning)
KORVA_TEXT_SHORTCUT(message, kMessage)
#undef KORVA_TEXT_SHORTCUT

void TarnInterface::enterDesign(TarnDesign* design) {
  if (std::find(owned_.begin(), owned_.end(), design) == owned_.end()) owned_.push_back(design);
  if (design->name() != nullptr && table_->find(design->name()) < 0) table_->add(design->name(), design);
}

void TarnInterface::forgetDesign(TarnDesign* design) {
  if (table_ != nullptr && design->name() != nullptr) {
    int i = table_->find(design->name());
    if (i >= 0 && table_->values()->get(static_cast<uint32_t>(i)) == design)
      table_->removeAt(static_cast<uint32_t>(i));
  }
  owned_.erase(std::remove(owned_.begin(), owned_.end(), design), owned_.end());
  if (current_ == design) current_ = nullptr;
}

void TarnInterface::destroyDesign(TarnDesign* design) {
  forgetDesign(design);
  if (design != system_) UnbindClassesOf(design);
  delete design;
}

TarnDesign* TarnInterface::newDesign(const char* path, TarnDesign* schema) {
  initialize();
  DesignPath split = SplitDesignPath(path != nullptr ? path : "");
  char unnamed[32];
  if (split.name.empty()) {
    std::snprintf(unnamed, sizeof unnamed, "unnamed_%d", unnamedCounter_++);
    split.name = unnamed;
  }
  TarnDesign* design = new TarnDesign(split.name.c_str());
  design->setDirectory(split.folder);
  design->setExtension(split.extension);
  owned_.push_back(design);
  if (table_->find(split.name.c_str()) >= 0)
    warning("Design named '%s' already exists", split.name.c_str());
  else
    table_->add(design->name(), design);
  if (schema != nullptr) design->addSchema(schema);
  current_ = design;
  return design;
}

TarnDesign* TarnInterface::designInMemory(const char* name) {
  if (name == nullptr || table_ == nullptr) return nullptr;
  return table_->lookup(name);
}

std::vector<TarnDesign*> TarnInterface::designs() const { return owned_; }

TarnDesign* TarnInterface::findDesign(const char* name) {
  initialize();
  if (name == nullptr) return nullptr;
  if (TarnDesign* d = designInMemory(name)) return d;
  DesignFileLocation where;
  if (!locateDesignFile(name, &where)) return nullptr;
  // Asked for by its file: the design read from that same file.
  if (TarnDesign* d = designInMemory(where.name.c_str()))
    if (d->directory() == where.folder && d->extension() == where.extension) return d;
  if (g_reader == nullptr) {
    report(1045, where.extension.c_str());
    return nullptr;
  }
  return g_reader(where, where.name.c_str());
}

TarnDesign* TarnInterface::findSchema(const char* name) {
  if (name == nullptr || std::strpbrk(name, "/\\:") != nullptr) return nullptr;
  if (system_ != nullptr && (EqualNoCase(name, kMetaSchemaName) || EqualNoCase(name, kMetaExtensionsName)))
    return system_;
  for (TarnDesign* d : owned_)
    if (d->isSchemaDesign() && d->name() != nullptr && EqualNoCase(d->name(), name)) return d;
  // Compiled schema files are named in lower case ("IFC2X2_FINAL" in an
  // exchange file is found as ifc2x2_final.tarn).
  std::string lower(name);
  for (char& c : lower) c = FoldCase(c);
  if (TarnDesign* d = designInMemory(lower.c_str())) return d->isSchemaDesign() ? d : nullptr;
  TarnDesign* d = findDesign(lower.c_str());
  if (d == nullptr && lower != name) d = findDesign(name);
  return d != nullptr && d->isSchemaDesign() ? d : nullptr;
}

bool TarnInterface::save(TarnDesign* design) {
  if (design == nullptr) return false;
  const char* name = design->name() != nullptr ? design->name() : "unnamed";
  const char* format = design->format();
  std::string extension = design->extension();
  if (extension.empty()) extension = std::strcmp(format, "step") == 0 ? "stp" : "tarn";
  std::string path = platform::JoinPath(design->fileDirectory(), name) + "." + extension;
  // Under the current context, unlike the "Reading: " line of a read.
  message("Writing design \"%s\".", name);
  message("format - %s", format);
  message("file --- %s", path.c_str());
  if (g_formats.write == nullptr) {
    report(1026, format);
    return false;
  }
  // The design is written beside the target under a temporary name and
  // moved over the target only once the whole file is out, so that a write
  // that fails half-way leaves the previous file as it was.
  const std::string partial = path + "." + std::to_string(platform::ProcessId()) + ".part";
  std::FILE* out = std::fopen(partial.c_str(), "wb");
  if (out == nullptr) {
    report(1050, path.c_str());
    return false;
  }
  bool ok = g_formats.write(design, out, format);
  if (std::fflush(out) != 0 || std::ferror(out) != 0) ok = false;
  if (std::fclose(out) != 0) ok = false;
  if (ok && !platform::ReplaceFile(partial, path)) ok = false;
  if (!ok) {
    platform::RemoveFile(partial);
    report(1051, path.c_str());
  }
  return ok;
}

void TarnInterface::deleteDesign(TarnDesign* design) {
  if (design == nullptr) return;
  if (design->isSchemaDesign()) {
    warning("Schema designs can not be deleted");
    return;
  }
  design->markForDeletion(true);
}

void TarnInterface::emptyTrash() {
  // References into the doomed designs are repaired and the trash emptied
  // first (trash.h); the doomed designs go last.
  for (TarnDesign* d : RepairAndEmptyTrash()) destroyDesign(d);
}

std::vector<std::string> TarnInterface::searchFolders() const { return SplitPathList(searchPath_); }

void TarnInterface::registerExtension(const char* extension) {
  for (const std::string& e : extensions_)
    if (e == extension) return;
  extensions_.emplace_back(extension);
}

bool TarnInterface::locateDesignFile(const std::string& name, DesignFileLocation* out) {
  initialize();
  if (platform::IsAbsolutePath(name) && platform::IsRegularFile(name)) {
    DesignPath split = SplitDesignPath(name);
    *out = {split.folder, split.name, split.extension, name};
    return true;
  }
  DesignPath split = SplitDesignPath(name);
  std::vector<std::string> folders;
  if (!split.folder.empty())
    folders.push_back(split.folder);
  else
    folders = searchFolders();
  if (folders.empty()) folders.push_back(".");

  for (const std::string& folder : folders) {
    auto tryExtension = [&](const std::string& ext) {
      std::string path = platform::JoinPath(folder, split.name);
      if (!ext.empty()) path += "." + ext;
      if (!platform::IsRegularFile(path)) return false;
      *out = {folder, split.name, ext, path};
      return true;
    };
    if (!split.extension.empty()) {
      if (tryExtension(split.extension)) return true;
    } else {
      for (const std::string& ext : extensions_)
        if (tryExtension(ext)) return true;
    }
  }
  return false;
}

bool TarnInterface::isInPath(const std::string& name) {
  DesignFileLocation location;
  return locateDesignFile(name, &location);
}

std::vector<std::string> TarnInterface::pathDesignNames() {
  initialize();
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const std::string& folder : searchFolders()) {
    std::vector<std::string> entries;
    if (!platform::ListDirectory(folder, &entries)) {
      report(1044, folder.c_str());
      continue;
    }
    for (const std::string& entry : entries) {
      DesignPath split = SplitDesignPath(entry);
      if (split.name.empty() || split.extension.empty()) continue;
      bool known = false;
      for (const std::string& ext : extensions_) known = known || EqualsIgnoreCase(ext, split.extension);
      if (known && platform::IsRegularFile(platform::JoinPath(folder, entry)) &&
          seen.insert(split.name).second)
        names.push_back(split.name);
    }
  }
  return names;
}

}  // namespace korva
