// File formats of designs.  Each handler is a singleton of a class derived
// from IORoot, registered under one or more format names at program start:
//
//   IOSTEP      "step"                                ISO 10303-21
//   IOTarn      "tarn_r3.0", "tarn"                   native text format
//   IOStandard  "standard_3.0", "standard", "binary"  native binary format
//   IODotTarn   (no name of its own)                  reads a ".tarn" file by its first line
//
// The main-name table holds each handler under its main name, the all-names
// table under every name.  File extensions map to handlers: "tarn", "trn"
// and "exg" to IODotTarn; "stp", "step", "p21", "pdes" and "ifc" to IOSTEP.
// The registry installs itself as the interface object's reader and writer
// of design files.
#ifndef KORVA_EXCHANGE_FORMAT_REGISTRY_H
#define KORVA_EXCHANGE_FORMAT_REGISTRY_H

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace korva {

class TarnDesign;

class IORoot {
 public:
  explicit IORoot(std::initializer_list<const char*> names);
  virtual ~IORoot() = default;
  IORoot(const IORoot&) = delete;
  IORoot& operator=(const IORoot&) = delete;

  // The first name; "unknown" for a handler without names.
  virtual const char* mainName() const;
  // Reads a design named `name` from the stream; null on failure.
  virtual TarnDesign* readContents(std::FILE* in, const char* name);
  // Writes the design; true on success.
  virtual bool writeContents(TarnDesign* design, std::FILE* out);

  const std::vector<const char*>& names() const { return names_; }

 private:
  std::vector<const char*> names_;
};

class FormatRegistry {
 public:
  // Enters a handler in the name tables (called by handler constructors).
  static void add(IORoot* handler);
  // The handler registered under `name` (exact match), or null.
  static IORoot* byName(const char* name);
  // The handler of a file extension, or null.
  static IORoot* byExtension(const char* extension);
  // Handlers in the order of the main-name table, then the all-names table.
  static std::vector<std::pair<std::string, IORoot*>> mainNames();
  static std::vector<std::pair<std::string, IORoot*>> allNames();
};

// The path of the file being read (for message prefixes), or null.
const char* CurrentReadPath();

// Reads the design file at `path` with the handler of its extension (or
// the given handler); null on failure.
TarnDesign* ReadDesignFile(const std::string& path, const std::string& extension, const char* name);

// Writes a design to the file at `path` (opened "wb") with the handler
// registered under `formatName`; false when there is no such handler
// (1026), the file cannot be opened (1050) or the handler fails.
bool WriteDesignFile(TarnDesign* design, const std::string& path, const char* formatName);

}  // namespace korva

#endif  // KORVA_EXCHANGE_FORMAT_REGISTRY_H
