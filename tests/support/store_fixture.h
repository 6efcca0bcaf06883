// The fixture the object-store and exchange tests share: the reporter's
// output captured, the interface object initialised (with the compiled
// schemas of the build as its schema folder when asked) and shut down after
// each test.
#ifndef KORVA_TESTS_SUPPORT_STORE_FIXTURE_H
#define KORVA_TESTS_SUPPORT_STORE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace test {

class StoreTest : public ::testing::Test {
 protected:
  // `schemaFolder`: the folder set as the schema path for each test, or
  // null for none.
  explicit StoreTest(const char* schemaFolder = nullptr) : schemaFolder_(schemaFolder) {}

  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    if (schemaFolder_ != nullptr) TARN().setSchemaPath(schemaFolder_);
    TARN().initialize();
  }
  void TearDown() override {
    TARN().shutdown();
    if (schemaFolder_ != nullptr) TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
  }
  // Everything reported since the last call.
  std::string messages() {
    const std::string all = out_.text();
    const std::string fresh = all.substr(seen_);
    seen_ = all.size();
    return fresh;
  }

  CapturedStream out_, err_;

 private:
  const char* schemaFolder_;
  size_t seen_ = 0;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_STORE_FIXTURE_H
