// The process-wide interface object of the object database (TARN()).
//
// It owns the error reporter, the configuration strings, the table of
// registered file extensions and the search path along which designs and
// compiled schemas are found.  Every database operation calls initialize()
// first; shutdown() releases what initialisation made and returns to the
// uninitialised state, so the next operation initialises again (banner
// included).  The error reporter is made on first request and does not
// initialise anything else, so OpenLogFile and SetSchemaPath work before the
// first model exchange.
#ifndef KORVA_OBJDB_INTERFACE_H
#define KORVA_OBJDB_INTERFACE_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "objdb/configuration.h"
#include "objdb/error_reporter.h"

namespace korva {

class TarnDesign;
class DictionaryOfTarnDesign;
class TarnOidIndex;

// Where a design file was found: folder, base name, extension and full path.
struct DesignFileLocation {
  std::string folder;
  std::string name;
  std::string extension;
  std::string path;
};

// A design path split into folder (up to and including the last separator),
// name (after it, up to the first ".") and extension (after that ".").
struct DesignPath {
  std::string folder;
  std::string name;
  std::string extension;
};
DesignPath SplitDesignPath(const std::string& path);

class TarnInterface {
 public:
  enum State { kUninitialized = 0, kInitializing = 2, kInitialized = 3 };

  TarnInterface();
  ~TarnInterface();
  TarnInterface(const TarnInterface&) = delete;
  TarnInterface& operator=(const TarnInterface&) = delete;

  // Initialises on the first call (state 0); does nothing in states 2 and 3.
  void initialize();
  // Releases everything initialize() made, destroys the error reporter
  // (ending logging) and returns to state 0.
  void shutdown();
  int state() const { return state_; }
  // Counts initialisations: state kept outside the interface object (import
  // and export handles) compares it to know its designs still exist.
  unsigned generation() const { return generation_; }

  // The error reporter, made on first request.
  TarnErrorReporter* reporter();

  // Shortcuts into the database message category.
  void report(int code, ...);
  void error(const char* format, ...);
  void warning(const char* format, ...);
  void message(const char* format, ...);

  // Configuration strings (computed on first call, kept across shutdowns).
  TarnConfiguration& configuration() { return config_; }
  const char* schemaPath() { return config_.schemaPath(); }
  const std::string& dbPath() { return config_.dbPath(); }
  const char* apPath() { return config_.apPath(); }
  const std::string& regKey() { return config_.regKey(); }
  void setSchemaPath(const char* path) { config_.setSchemaPath(path); }

  // The search path "database path;schema path", built at initialisation,
  // and its folders in order.
  const std::string& searchPath() const { return searchPath_; }
  // Replaces the search path (the integrated-model loader narrows it while
  // it loads).
  void setSearchPath(const std::string& path) { searchPath_ = path; }
  std::vector<std::string> searchFolders() const;

  // File extensions known to the format registry, in registration order.
  void registerExtension(const char* extension);
  const std::vector<std::string>& extensions() const { return extensions_; }

  // Designs in memory.  The system design holds the meta-schema; the current
  // design is the one newDesign made last (or "unnamed").
  TarnDesign* systemDesign() const { return system_; }
  TarnDesign* design() const { return current_; }
  void useDesign(TarnDesign* design) { current_ = design; }
  // Makes a design named after the path (folder, name up to the first ".",
  // extension; an empty name becomes "unnamed_%d") and makes it current.  A
  // name already in memory is reported and not entered in the table.
  TarnDesign* newDesign(const char* path, TarnDesign* schema = nullptr);
  // The design of that name in memory, else read from the search path
  // through the registered reader; null when it cannot be had.
  TarnDesign* findDesign(const char* name);
  TarnDesign* designInMemory(const char* name);
  // The object-identifier index (oid.h): made at initialisation, deleted at
  // shutdown; null outside.
  TarnOidIndex* oidIndex() const { return oidIndex_; }
  // A schema design by name (in memory or from the schema path).  A name
  // holding a path separator or a drive colon names no schema: a file that
  // names itself or another file as its schema is not read for it.
  TarnDesign* findSchema(const char* name);
  // Marks a design for deletion (schema designs refuse); emptyTrash()
  // destroys marked designs after repairing references into them.
  void deleteDesign(TarnDesign* design);
  void emptyTrash();
  // The design "Trash", made on demand (trash.h).
  TarnDesign* trash();
  // Every design in memory, in the order they were entered.
  std::vector<TarnDesign*> designs() const;

  // Reads a design file; installed by the exchange layer.  Returns the new
  // design or null.  The exchange layer installs its hooks while the
  // library is loaded (static initialisation), so they are kept apart from
  // the interface object, which is made only on first use.
  typedef TarnDesign* (*DesignReader)(const DesignFileLocation& where, const char* name);
  static void setDesignReader(DesignReader reader);

  // The file formats, as the exchange layer provides them: whether a format
  // name is known, the format of a file extension (null when none), and
  // writing a design to an open stream in a format.
  struct FormatServices {
    bool (*known)(const char* format);
    const char* (*forExtension)(const char* extension);
    bool (*write)(TarnDesign* design, std::FILE* out, const char* format);
  };
  static void setFormatServices(const FormatServices& services);
  static const FormatServices& formatServices();

  // Saves a design in its format under directory/name.extension: reports
  // "Writing design", "format - " and "file --- ", then 1050 when the file
  // cannot be opened and 1051 when the write fails.
  bool save(TarnDesign* design);

  // Finds the file of a design name: a rooted name that names a file is used
  // as it is; otherwise the given folder, else every folder of the search
  // path (else "."), is tried with the given extension or with each
  // registered extension in turn.  The first existing file wins.
  bool locateDesignFile(const std::string& name, DesignFileLocation* out);
  // Whether a design of that name can be found on the search path.
  bool isInPath(const std::string& name);
  // Names of the designs found in the folders of the search path (files with
  // a registered extension), each once, in search order.  A folder that
  // cannot be listed is reported with 1044.
  std::vector<std::string> pathDesignNames();

 private:
  void startServer();

  void enterDesign(TarnDesign* design);
  void forgetDesign(TarnDesign* design);
  void destroyDesign(TarnDesign* design);

  int state_ = kUninitialized;
  unsigned generation_ = 0;
  TarnDesign* system_ = nullptr;
  TarnDesign* current_ = nullptr;
  DictionaryOfTarnDesign* table_ = nullptr;
  TarnOidIndex* oidIndex_ = nullptr;
  std::vector<TarnDesign*> owned_;  // every design made, entered or not
  int unnamedCounter_ = 0;
  std::unique_ptr<TarnErrorReporter> reporter_;
  TarnConfiguration config_;
  std::string searchPath_;
  std::vector<std::string> extensions_;
};

// The one interface object of the process.
TarnInterface& TARN();

// Name of the compiled header schema whose presence in the schema folder
// shows that the runtime is installed.
extern const char* const kHeaderSchemaFile;

}  // namespace korva

#endif  // KORVA_OBJDB_INTERFACE_H
