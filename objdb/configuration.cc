#include "objdb/configuration.h"

namespace korva {

const char* const kRuntimeRegistryKey = "SOFTWARE\\Kestrel Software, Inc.\\KS-Runtime\\10";
const char* const kBuilderRegistryKey = "SOFTWARE\\Kestrel Software, Inc.\\KS-Builder\\10";

const char* ConfigSource::env(const char* name) const { return platform::GetEnv(name); }

bool ConfigSource::registryKey(platform::Hive hive, const char* key) const {
  return platform::RegistryKeyExists(hive, key);
}

bool ConfigSource::registry(platform::Hive hive, const char* key, const char* value,
                            std::string* out) const {
  return platform::ReadRegistryString(hive, key, value, out);
}

bool ConfigSource::isDirectory(const std::string& path) const {
  return platform::IsDirectory(path);
}

const ConfigSource& ConfigSource::Platform() {
  static const ConfigSource source;
  return source;
}

std::optional<std::string> TarnConfiguration::regValue(const char* key, const char* value) const {
  const platform::Hive hive = source_->registryKey(platform::Hive::kCurrentUser, key)
                                  ? platform::Hive::kCurrentUser
                                  : platform::Hive::kLocalMachine;
  std::string out;
  if (source_->registry(hive, key, value, &out)) return out;
  return std::nullopt;
}

std::optional<std::string> TarnConfiguration::envOrRegistry(const char* name, const char* key,
                                                            const char* value) const {
  if (const char* v = source_->env(name)) return std::string(v);
  return regValue(key, value);
}

const std::string& TarnConfiguration::regKey() {
  if (!regKey_) {
    const char* v = source_->env("TARN_REGKEY");
    regKey_ = v != nullptr ? v : kRuntimeRegistryKey;
  }
  return *regKey_;
}

std::string TarnConfiguration::outputSchema() {
  const std::string key = regKey();
  return envOrRegistry("TARN_OUTPUT_SCHEMA", key.c_str(), "output_schema").value_or(std::string());
}

const std::string& TarnConfiguration::dbPath() {
  if (!dbPath_) {
    std::string key = regKey();
    if (auto v = envOrRegistry("TARN_DB", key.c_str(), "TARN_DB"))
      dbPath_ = *v;
    else
      dbPath_ = std::string(".;") + platform::JoinPath(".", "schemas");
  }
  return *dbPath_;
}

std::optional<std::string> TarnConfiguration::runtimeFolder() {
  std::string key = regKey();
  return envOrRegistry("TARN_RUNTIME", key.c_str(), "");
}

const char* TarnConfiguration::schemaPath() {
  if (!schemaPath_) {
    std::string key = regKey();
    if (auto v = envOrRegistry("TARN_SCHEMAS", key.c_str(), "schemas")) {
      schemaPath_ = *v;
    } else if (auto runtime = runtimeFolder()) {
      schemaPath_ = platform::JoinPath(*runtime, "schemas");
    } else if (auto v = envOrRegistry("TARN_SYSTEM_DB", kBuilderRegistryKey, "TARN_SYSTEM_DB")) {
      schemaPath_ = *v;
    } else {
      // Installation folders named by "TARN" (registry, current user and
      // local machine, then the environment), runtime before system_db.
      std::vector<std::string> bases;
      std::string value;
      if (source_->registry(platform::Hive::kCurrentUser, key.c_str(), "TARN", &value))
        bases.push_back(value);
      if (source_->registry(platform::Hive::kLocalMachine, key.c_str(), "TARN", &value))
        bases.push_back(value);
      if (const char* env = source_->env("TARN")) bases.push_back(env);
      for (const char* sub : {"runtime", "system_db"}) {
        for (const std::string& base : bases) {
          std::string candidate = platform::JoinPath(platform::JoinPath(base, sub), "schemas");
          if (source_->isDirectory(candidate)) {
            schemaPath_ = candidate;
            return schemaPath_->c_str();
          }
        }
      }
    }
  }
  return schemaPath_ ? schemaPath_->c_str() : nullptr;
}

const char* TarnConfiguration::apPath() {
  if (!apPath_) {
    std::string key = regKey();
    if (auto v = envOrRegistry("TARN_AP_PATH", key.c_str(), "appath"))
      apPath_ = *v;
    else if (auto v = regValue(key.c_str(), "TARN_AP_PATH"))
      apPath_ = *v;
    else if (auto runtime = runtimeFolder())
      apPath_ = platform::JoinPath(*runtime, "appath");
    else if (auto v = regValue(kBuilderRegistryKey, "TARN_AP_PATH"))
      apPath_ = *v;
  }
  return apPath_ ? apPath_->c_str() : nullptr;
}

void TarnConfiguration::setSchemaPath(const char* path) {
  if (path != nullptr)
    schemaPath_ = std::string(path);
  else
    schemaPath_.reset();
}

std::string TarnConfiguration::searchPath() {
  const char* schemas = schemaPath();
  return dbPath() + ";" + (schemas != nullptr ? schemas : "");
}

std::vector<std::string> SplitPathList(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) out.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace korva
