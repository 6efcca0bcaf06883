// Configuration strings of the object database, each computed on first need
// from the environment and the registry and kept until replaced:
//   registry key   TARN_REGKEY, else "SOFTWARE\Kestrel Software, Inc.\KS-Runtime\10"
//   database path  TARN_DB, else registry "TARN_DB", else ".;.<sep>schemas"
//   schema path    TARN_SCHEMAS / registry "schemas"; the runtime folder
//                  (TARN_RUNTIME / default registry value) plus "schemas";
//                  TARN_SYSTEM_DB / the builder key; then TARN-based folders
//                  that exist; else unset
//   model path     TARN_AP_PATH and its fallbacks
//   output schema  TARN_OUTPUT_SCHEMA, else registry "output_schema": the
//                  schema the exports write ("IFC2X3", "IFC2X2_FINAL");
//                  read at every call, not kept, so that a host may change
//                  it between two exports
// A registry value is read under the current user when the key exists there,
// else under the local machine: a key present for the current user hides the
// local machine's values even when it lacks the one asked for.
// The environment and registry are reached through a ConfigSource so that
// tests can supply their own.
#ifndef KORVA_OBJDB_CONFIGURATION_H
#define KORVA_OBJDB_CONFIGURATION_H

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace korva {

// Where configuration values come from.  The default reads the process
// environment, the platform registry and the file system.
class ConfigSource {
 public:
  virtual ~ConfigSource() = default;
  virtual const char* env(const char* name) const;
  virtual bool registryKey(platform::Hive hive, const char* key) const;
  virtual bool registry(platform::Hive hive, const char* key, const char* value,
                        std::string* out) const;
  virtual bool isDirectory(const std::string& path) const;
  static const ConfigSource& Platform();
};

extern const char* const kRuntimeRegistryKey;  // "...\KS-Runtime\10"
extern const char* const kBuilderRegistryKey;  // "...\KS-Builder\10"

class TarnConfiguration {
 public:
  explicit TarnConfiguration(const ConfigSource* source = &ConfigSource::Platform())
      : source_(source) {}

  const std::string& regKey();
  const std::string& dbPath();
  // Null while unset (nothing configured and nothing found).
  const char* schemaPath();
  const char* apPath();
  // The configured output schema as written (empty when unset).
  std::string outputSchema();

  // Replaces the schema path with a copy of `path`; null clears it so that
  // the next schemaPath() computes it again.
  void setSchemaPath(const char* path);

  // "database path;schema path" (the schema part empty while unset).
  std::string searchPath();

 private:
  // Registry value under `key`: the current user's key when it exists,
  // else the local machine's.
  std::optional<std::string> regValue(const char* key, const char* value) const;
  // The runtime folder: TARN_RUNTIME, else the key's default value.
  std::optional<std::string> runtimeFolder();
  // Environment variable `name`, else registry value `value` under `key`.
  std::optional<std::string> envOrRegistry(const char* name, const char* key,
                                           const char* value) const;

  const ConfigSource* source_;
  std::optional<std::string> regKey_, dbPath_, schemaPath_, apPath_;
};

// Splits a ";"-separated list of folders, dropping empty entries.
std::vector<std::string> SplitPathList(const std::string& list);

}  // namespace korva

#endif  // KORVA_OBJDB_CONFIGURATION_H
