#include "objdb/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>

#include "support/test_util.h"

namespace korva {
namespace {

// An environment, registry and file system described by the test.
class FakeSource : public ConfigSource {
 public:
  std::map<std::string, std::string> envs;
  std::map<std::tuple<platform::Hive, std::string, std::string>, std::string> values;
  std::set<std::string> folders;
  // Keys that exist without holding any of the values above.
  std::set<std::pair<platform::Hive, std::string>> emptyKeys;

  const char* env(const char* name) const override {
    auto it = envs.find(name);
    return it == envs.end() ? nullptr : it->second.c_str();
  }
  bool registryKey(platform::Hive hive, const char* key) const override {
    if (emptyKeys.count({hive, key}) > 0) return true;
    for (const auto& v : values)
      if (std::get<0>(v.first) == hive && std::get<1>(v.first) == key) return true;
    return false;
  }
  bool registry(platform::Hive hive, const char* key, const char* value,
                std::string* out) const override {
    auto it = values.find({hive, key, value});
    if (it == values.end()) return false;
    *out = it->second;
    return true;
  }
  bool isDirectory(const std::string& path) const override { return folders.count(path) > 0; }

  void reg(platform::Hive hive, const std::string& value, const std::string& data,
           const std::string& key = kRuntimeRegistryKey) {
    values[{hive, key, value}] = data;
  }
};

constexpr platform::Hive kUser = platform::Hive::kCurrentUser;
constexpr platform::Hive kMachine = platform::Hive::kLocalMachine;

std::string Sep(const std::string& a) { return platform::JoinPath(a, ""); }

TEST(Configuration, NothingConfigured) {
  FakeSource src;
  TarnConfiguration config(&src);
  EXPECT_EQ(config.regKey(), "SOFTWARE\\Kestrel Software, Inc.\\KS-Runtime\\10");
  EXPECT_EQ(config.dbPath(), ".;" + platform::JoinPath(".", "schemas"));
  EXPECT_EQ(config.schemaPath(), nullptr);
  EXPECT_EQ(config.apPath(), nullptr);
  EXPECT_EQ(config.searchPath(), config.dbPath() + ";");
}

TEST(Configuration, DatabasePathPrecedence) {
  FakeSource src;
  src.reg(kMachine, "TARN_DB", "machine");
  EXPECT_EQ(TarnConfiguration(&src).dbPath(), "machine");
  src.reg(kUser, "TARN_DB", "user");
  EXPECT_EQ(TarnConfiguration(&src).dbPath(), "user");
  src.envs["TARN_DB"] = "env1;env2";
  EXPECT_EQ(TarnConfiguration(&src).dbPath(), "env1;env2");
}

TEST(Configuration, CurrentUserKeyHidesTheLocalMachine) {
  // A key of the current user's, even one without the value asked for, is
  // where that value is read: the local machine's is not consulted.
  FakeSource src;
  src.reg(kMachine, "TARN_DB", "machine-db");
  src.reg(kMachine, "schemas", "machine-schemas");
  src.reg(kMachine, "appath", "machine-appath");
  EXPECT_EQ(TarnConfiguration(&src).dbPath(), "machine-db");
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "machine-schemas");

  src.emptyKeys.insert({kUser, kRuntimeRegistryKey});
  TarnConfiguration config(&src);
  EXPECT_EQ(config.dbPath(), ".;" + platform::JoinPath(".", "schemas"));
  EXPECT_EQ(config.schemaPath(), nullptr);
  EXPECT_EQ(config.apPath(), nullptr);

  // The builder's key is looked up on its own: the runtime key of the
  // current user does not hide it.
  src.reg(kMachine, "TARN_SYSTEM_DB", "builder-db", kBuilderRegistryKey);
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "builder-db");
  src.reg(kUser, "TARN_DB", "user-db");
  EXPECT_EQ(TarnConfiguration(&src).dbPath(), "user-db");
}

TEST(Configuration, RegistryKeyFromEnvironmentRedirectsLookups) {
  FakeSource src;
  src.envs["TARN_REGKEY"] = "SOFTWARE\\Other";
  src.reg(kUser, "TARN_DB", "ignored");
  src.reg(kUser, "TARN_DB", "other", "SOFTWARE\\Other");
  TarnConfiguration config(&src);
  EXPECT_EQ(config.regKey(), "SOFTWARE\\Other");
  EXPECT_EQ(config.dbPath(), "other");
}

TEST(Configuration, SchemaPathSteps) {
  FakeSource src;
  // Step 4: only existing folders count; the current user's TARN first,
  // runtime folders before system_db folders.
  src.envs["TARN"] = "/env";
  src.reg(kMachine, "TARN", "/machine");
  src.folders = {"/env/system_db/schemas", "/machine/runtime/schemas"};
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "/machine/runtime/schemas");
  src.folders = {"/env/system_db/schemas"};
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "/env/system_db/schemas");
  src.folders.clear();
  EXPECT_EQ(TarnConfiguration(&src).schemaPath(), nullptr);

  // Step 3: the system database, used as it stands.
  src.reg(kMachine, "TARN_SYSTEM_DB", "builder-db", kBuilderRegistryKey);
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "builder-db");
  src.envs["TARN_SYSTEM_DB"] = "env-db";
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "env-db");

  // Step 2: the runtime folder plus "schemas", without doubling a separator.
  src.reg(kMachine, "", "C:\\Kestrel\\");
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "C:\\Kestrel\\schemas");
  src.envs["TARN_RUNTIME"] = "/opt/ks";
  EXPECT_EQ(std::string(TarnConfiguration(&src).schemaPath()), Sep("/opt/ks") + "schemas");

  // Step 1: explicit schema folders.
  src.reg(kUser, "schemas", "reg-schemas");
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "reg-schemas");
  src.envs["TARN_SCHEMAS"] = "env-schemas";
  EXPECT_STREQ(TarnConfiguration(&src).schemaPath(), "env-schemas");
}

TEST(Configuration, SetSchemaPathOverridesAndNullFallsBack) {
  FakeSource src;
  src.envs["TARN_SCHEMAS"] = "from-env";
  TarnConfiguration config(&src);
  config.setSchemaPath("given");
  EXPECT_STREQ(config.schemaPath(), "given");
  EXPECT_EQ(config.searchPath(), config.dbPath() + ";given");
  config.setSchemaPath(nullptr);
  EXPECT_STREQ(config.schemaPath(), "from-env");
}

TEST(Configuration, ValuesAreComputedOnceAndKept) {
  FakeSource src;
  src.envs["TARN_DB"] = "first";
  TarnConfiguration config(&src);
  EXPECT_EQ(config.dbPath(), "first");
  src.envs["TARN_DB"] = "second";
  EXPECT_EQ(config.dbPath(), "first");
}

TEST(Configuration, IntegratedModelPathChain) {
  FakeSource src;
  src.reg(kMachine, "TARN_AP_PATH", "builder", kBuilderRegistryKey);
  EXPECT_STREQ(TarnConfiguration(&src).apPath(), "builder");
  src.envs["TARN_RUNTIME"] = "rt/";
  EXPECT_STREQ(TarnConfiguration(&src).apPath(), "rt/appath");
  src.reg(kMachine, "TARN_AP_PATH", "runtime-key");
  EXPECT_STREQ(TarnConfiguration(&src).apPath(), "runtime-key");
  src.reg(kUser, "appath", "appath-value");
  EXPECT_STREQ(TarnConfiguration(&src).apPath(), "appath-value");
  src.envs["TARN_AP_PATH"] = "env";
  EXPECT_STREQ(TarnConfiguration(&src).apPath(), "env");
}

// The same precedence read from the process environment itself, which is
// restored after the test.
TEST(ConfigurationEnvironment, VariablesOfTheProcessInPrecedenceOrder) {
  const char* const kNames[] = {"TARN_DB",  "TARN_SCHEMAS", "TARN_RUNTIME", "TARN_SYSTEM_DB",
                                "TARN",     "TARN_AP_PATH", "TARN_REGKEY"};
  std::vector<std::unique_ptr<test::ScopedEnv>> cleared;
  for (const char* name : kNames) cleared.push_back(std::make_unique<test::ScopedEnv>(name, nullptr));

  {
    TarnConfiguration config;
    EXPECT_EQ(config.regKey(), kRuntimeRegistryKey);
    EXPECT_EQ(config.dbPath(), ".;" + platform::JoinPath(".", "schemas"));
    EXPECT_EQ(config.schemaPath(), nullptr);
    EXPECT_EQ(config.apPath(), nullptr);
  }

  test::TempDir root;
  test::ScopedEnv tarn("TARN", root.path().c_str());
  EXPECT_EQ(TarnConfiguration().schemaPath(), nullptr) << "no such folder yet";
  const std::string systemDb = platform::JoinPath(platform::JoinPath(root.path(), "system_db"), "schemas");
  const std::string runtime = platform::JoinPath(platform::JoinPath(root.path(), "runtime"), "schemas");
  std::filesystem::create_directories(systemDb);
  EXPECT_EQ(std::string(TarnConfiguration().schemaPath()), systemDb);
  std::filesystem::create_directories(runtime);
  EXPECT_EQ(std::string(TarnConfiguration().schemaPath()), runtime);

  test::ScopedEnv system("TARN_SYSTEM_DB", "sysdb");
  EXPECT_STREQ(TarnConfiguration().schemaPath(), "sysdb");

  test::ScopedEnv rt("TARN_RUNTIME", "/opt/ks/");
  {
    TarnConfiguration config;
    EXPECT_STREQ(config.schemaPath(), "/opt/ks/schemas");
    EXPECT_STREQ(config.apPath(), "/opt/ks/appath");
  }

  test::ScopedEnv schemas("TARN_SCHEMAS", "/given/schemas");
  test::ScopedEnv ap("TARN_AP_PATH", "/given/ap");
  test::ScopedEnv db("TARN_DB", "/a;/b");
  test::ScopedEnv key("TARN_REGKEY", "SOFTWARE\\Elsewhere");
  TarnConfiguration config;
  EXPECT_STREQ(config.schemaPath(), "/given/schemas");
  EXPECT_STREQ(config.apPath(), "/given/ap");
  EXPECT_EQ(config.dbPath(), "/a;/b");
  EXPECT_EQ(config.regKey(), "SOFTWARE\\Elsewhere");
  EXPECT_EQ(config.searchPath(), "/a;/b;/given/schemas");
}

TEST(Configuration, SplitPathList) {
  EXPECT_EQ(SplitPathList(".;./schemas"), (std::vector<std::string>{".", "./schemas"}));
  EXPECT_EQ(SplitPathList("a;;b;"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(SplitPathList("").empty());
}

}  // namespace
}  // namespace korva

namespace korva {
namespace {

// The output schema: the environment first, then "output_schema" under the
// configuration key (current user, else local machine, also under a key
// named by TARN_REGKEY); read afresh at every call.
TEST(Configuration, OutputSchemaFromTheEnvironmentOrTheRegistry) {
  FakeSource src;
  TarnConfiguration config(&src);
  EXPECT_EQ(config.outputSchema(), "");
  src.reg(kMachine, "output_schema", "IFC2X2_FINAL");
  EXPECT_EQ(config.outputSchema(), "IFC2X2_FINAL");
  src.reg(kUser, "output_schema", "IFC2X3");
  EXPECT_EQ(config.outputSchema(), "IFC2X3");
  src.envs["TARN_OUTPUT_SCHEMA"] = "IFC2X2_FINAL";
  EXPECT_EQ(config.outputSchema(), "IFC2X2_FINAL");

  FakeSource other;
  other.envs["TARN_REGKEY"] = "SOFTWARE\\Host\\Key";
  other.reg(kMachine, "output_schema", "IFC2X3", "SOFTWARE\\Host\\Key");
  other.reg(kMachine, "output_schema", "IFC2X2_FINAL");
  TarnConfiguration keyed(&other);
  EXPECT_EQ(keyed.outputSchema(), "IFC2X3");
}

}  // namespace
}  // namespace korva
