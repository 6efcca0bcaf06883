// Loads the built shared library by name, as the host does, and drives the
// exported functions through the contract's argument lists.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "support/test_util.h"

namespace {

class HostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { lib_ = dlopen(KORVA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL); }
  template <typename F>
  F fn(const char* name) {
    return reinterpret_cast<F>(dlsym(lib_, name));
  }
  static void* lib_;
};
void* HostTest::lib_ = nullptr;

using StrFn = int (*)(char*);
using IntFn = int (*)(int);
using VoidFn = int (*)();

TEST_F(HostTest, FrameFunctionsThroughTheLoadedLibrary) {
  ASSERT_NE(lib_, nullptr) << dlerror();
  auto openLog = fn<StrFn>("OpenLogFile");
  auto closeLog = fn<IntFn>("CloseLogFile");
  auto setSchema = fn<StrFn>("SetSchemaPath");
  auto shutDown = fn<VoidFn>("ShutDown");
  ASSERT_TRUE(openLog && closeLog && setSchema && shutDown);

  korva::test::TempDir dir;
  std::string log = dir.file("host.log");
  EXPECT_EQ(shutDown(), -1);
  EXPECT_EQ(setSchema(const_cast<char*>(dir.path().c_str())), -1);
  EXPECT_EQ(openLog(&log[0]), -1);
  EXPECT_EQ(closeLog(0), -1);
  EXPECT_EQ(closeLog(0), -1);
  EXPECT_EQ(setSchema(nullptr), -1);
  EXPECT_EQ(shutDown(), -1);
  const std::string text = korva::test::ReadFile(log);
  EXPECT_EQ(text.rfind("TARN: LOGGING BEGINS ", 0), 0u) << text;
  EXPECT_NE(text.find("TARN: LOGGING ENDS "), std::string::npos);
}

TEST_F(HostTest, InternalsAreNotVisible) {
  ASSERT_NE(lib_, nullptr) << dlerror();
  EXPECT_EQ(dlsym(lib_, "_ZN5korva4TARNEv"), nullptr);  // korva::TARN()
  EXPECT_EQ(dlsym(lib_, "_ZN5korva17NewCompressedGuidEPci"), nullptr);
}

}  // namespace
