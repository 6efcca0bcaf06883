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

TEST_F(HostTest, UpdateFunctionsUnderTheirPlainAndDecoratedNames) {
  ASSERT_NE(lib_, nullptr) << dlerror();
  for (const char* name : {"OpenFileForUpdate", "UpdateHistory", "SaveAndCloseFileAfterUpdate",
                           "UpdateOneCurveMemberISection", "UpdateOneCurveMemberGeneralSection",
                           "UpdateOneSectionName", "UpdateOneCurveMemberReaction",
                           "UpdateOneCurveMemberCamberAndStuds", "UpdateOneCurveMemberConnectivity",
                           "UpdateOneStructuralPoint", "UpdateStructuralMembersRepresentation"})
    EXPECT_NE(dlsym(lib_, name), nullptr) << name;
  // int OpenFileForUpdate2(int, char*) and int UpdateOneCurveMemberSectionName(int, int, char*).
  EXPECT_EQ(dlsym(lib_, "OpenFileForUpdate2"), nullptr);
  EXPECT_EQ(dlsym(lib_, "UpdateOneCurveMemberSectionName"), nullptr);
  auto open2 = fn<int (*)(int, char*)>("_Z18OpenFileForUpdate2iPc");
  auto rename = fn<int (*)(int, int, char*)>("_Z31UpdateOneCurveMemberSectionNameiiPc");
  auto shutDown = fn<VoidFn>("ShutDown");
  ASSERT_TRUE(open2 && rename && shutDown);
  // Without a file to update both return -1 and change nothing.
  EXPECT_EQ(open2(0, const_cast<char*>("no_such_file.ifc")), -1);
  EXPECT_EQ(rename(0, 10, const_cast<char*>("HEA 100")), -1);
  EXPECT_EQ(shutDown(), -1);
}

}  // namespace
