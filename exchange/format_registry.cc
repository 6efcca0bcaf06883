#include "exchange/format_registry.h"

#include <cstring>
#include <memory>

#include "objdb/design.h"
#include "objdb/interface.h"
#include "objdb/text.h"

namespace korva {
namespace {

std::string g_readPath;
bool g_reading = false;

struct Tables {
  std::vector<std::pair<std::string, IORoot*>> main, all;
};

Tables& TheTables() {
  static Tables tables;
  return tables;
}

// The handler that reads a native file by its first line, and the fallback.
class IODotTarn : public IORoot {
 public:
  IODotTarn() : IORoot({}) {}
  TarnDesign* readContents(std::FILE* in, const char* name) override {
    char line[256];
    if (std::fgets(line, sizeof line, in) == nullptr || std::strchr(line, '\n') == nullptr) {
      TARN().error("Problems reading format");
      return nullptr;
    }
    const char* open = std::strchr(line, '"');
    const char* close = open != nullptr ? std::strchr(open + 1, '"') : nullptr;
    IORoot* handler = nullptr;
    if (close != nullptr) handler = FormatRegistry::byName(std::string(open + 1, close).c_str());
    if (handler == nullptr || handler == this) {
      TARN().error("Problems reading format");
      return nullptr;
    }
    return handler->readContents(in, name);
  }
};

IODotTarn& DotTarn() {
  static IODotTarn handler;
  return handler;
}

IORoot& Unknown() {
  static IORoot handler({"unknown"});
  return handler;
}

// A design read from a file remembers where it came from, so that asking
// for the same file again finds it in memory (TarnInterface::findDesign).
TarnDesign* ReadLocated(const DesignFileLocation& where, const char* name) {
  TarnDesign* design = ReadDesignFile(where.path, where.extension, name);
  if (design != nullptr) {
    if (design->directory().empty()) design->setDirectory(where.folder);
    if (design->extension().empty()) design->setExtension(where.extension);
  }
  return design;
}

bool Known(const char* name) { return FormatRegistry::byName(name) != nullptr; }

const char* ForExtension(const char* extension) {
  IORoot* handler = FormatRegistry::byExtension(extension);
  if (handler == nullptr || handler == &DotTarn()) return handler != nullptr ? "tarn" : nullptr;
  return handler->mainName();
}

bool Write(TarnDesign* design, std::FILE* out, const char* format) {
  IORoot* handler = FormatRegistry::byName(format);
  if (handler == nullptr) {
    TARN().report(1026, format != nullptr ? format : "<null>");
    return false;
  }
  return handler->writeContents(design, out);
}

// Installs the registry as the interface object's reader and writer of
// design files when the library is loaded (without making the interface
// object, which is made on first use).
struct Installer {
  Installer() {
    TarnInterface::setDesignReader(&ReadLocated);
    TarnInterface::setFormatServices({&Known, &ForExtension, &Write});
  }
} g_installer;

}  // namespace

const char* CurrentReadPath() { return g_reading ? g_readPath.c_str() : nullptr; }

IORoot::IORoot(std::initializer_list<const char*> names) : names_(names) {
  if (!names_.empty()) FormatRegistry::add(this);
}

const char* IORoot::mainName() const { return names_.empty() ? "unknown" : names_.front(); }

TarnDesign* IORoot::readContents(std::FILE*, const char*) {
  TARN().error("readContents(FILE*,STR) is not defined!");
  return nullptr;
}

bool IORoot::writeContents(TarnDesign*, std::FILE*) {
  TARN().error("format() is not defined!");
  return false;
}

void FormatRegistry::add(IORoot* handler) {
  Tables& t = TheTables();
  t.main.emplace_back(handler->mainName(), handler);
  for (const char* n : handler->names()) t.all.emplace_back(n, handler);
}

IORoot* FormatRegistry::byName(const char* name) {
  if (name == nullptr) return nullptr;
  for (const auto& e : TheTables().all)
    if (e.first == name) return e.second;
  return nullptr;
}

IORoot* FormatRegistry::byExtension(const char* extension) {
  if (extension == nullptr) return nullptr;
  static const char* const kNative[] = {"tarn", "trn", "exg"};
  static const char* const kStep[] = {"stp", "step", "p21", "pdes", "ifc"};
  for (const char* e : kNative)
    if (EqualNoCase(e, extension)) return &DotTarn();
  for (const char* e : kStep)
    if (EqualNoCase(e, extension)) return byName("step");
  return nullptr;
}

std::vector<std::pair<std::string, IORoot*>> FormatRegistry::mainNames() { return TheTables().main; }
std::vector<std::pair<std::string, IORoot*>> FormatRegistry::allNames() { return TheTables().all; }

TarnDesign* ReadDesignFile(const std::string& path, const std::string& extension, const char* name) {
  IORoot* handler = FormatRegistry::byExtension(extension.c_str());
  if (handler == nullptr) {
    TARN().report(1045, extension.c_str());
    return nullptr;
  }
  TarnDesign* existing = TARN().designInMemory(name);
  if (existing != nullptr && existing->state() == TarnDesign::kBeingRead) {
    TARN().report(1043, name);
    return nullptr;
  }
  {
    TarnNamedContext bare("");
    TarnContextGuard guard(TARN().reporter(), &bare);
    TARN().message("Reading: %s", path.c_str());
  }
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    TARN().report(1050, path.c_str());
    return nullptr;
  }
  g_readPath = path;
  g_reading = true;
  TarnDesign* design = handler->readContents(in, name);
  g_reading = false;
  std::fclose(in);
  if (design == nullptr) {
    TARN().report(1025, name);
    return nullptr;
  }
  (void)Unknown();
  return design;
}

bool WriteDesignFile(TarnDesign* design, const std::string& path, const char* formatName) {
  IORoot* handler = FormatRegistry::byName(formatName);
  if (handler == nullptr) {
    TARN().report(1026, formatName != nullptr ? formatName : "<null>");
    return false;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) {
    TARN().report(1050, path.c_str());
    return false;
  }
  bool ok = handler->writeContents(design, out);
  if (std::fclose(out) != 0) ok = false;
  return ok;
}

}  // namespace korva
