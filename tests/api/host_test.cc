// Loads the built shared library by name, as the host does, and drives the
// exported functions through the contract's argument lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/loaded_library.h"
#include "support/test_util.h"

namespace {

using korva::test::LoadedLibrary;

class HostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { library_ = std::make_unique<LoadedLibrary>(KORVA_LIBRARY_PATH); }
  static void TearDownTestSuite() { library_.reset(); }
  template <typename F>
  F fn(const char* name) {
    return reinterpret_cast<F>(library_->symbol(name));
  }
  static std::unique_ptr<LoadedLibrary> library_;
};
std::unique_ptr<LoadedLibrary> HostTest::library_;

using StrFn = int (*)(char*);
using IntFn = int (*)(int);
using VoidFn = int (*)();

TEST_F(HostTest, FrameFunctionsThroughTheLoadedLibrary) {
  ASSERT_NE(library_->handle(), nullptr) << library_->error();
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
  ASSERT_NE(library_->handle(), nullptr) << library_->error();
  EXPECT_EQ(library_->symbol("_ZN5korva4TARNEv"), nullptr);  // korva::TARN()
  EXPECT_EQ(library_->symbol("_ZN5korva17NewCompressedGuidEPci"), nullptr);
}

TEST_F(HostTest, UpdateFunctionsUnderTheirPlainAndDecoratedNames) {
  ASSERT_NE(library_->handle(), nullptr) << library_->error();
  for (const char* name : {"OpenFileForUpdate", "UpdateHistory", "SaveAndCloseFileAfterUpdate",
                           "UpdateOneCurveMemberISection", "UpdateOneCurveMemberGeneralSection",
                           "UpdateOneSectionName", "UpdateOneCurveMemberReaction",
                           "UpdateOneCurveMemberCamberAndStuds", "UpdateOneCurveMemberConnectivity",
                           "UpdateOneStructuralPoint", "UpdateStructuralMembersRepresentation"})
    EXPECT_NE(library_->symbol(name), nullptr) << name;
  // int OpenFileForUpdate2(int, char*) and int UpdateOneCurveMemberSectionName(int, int, char*).
  EXPECT_EQ(library_->symbol("OpenFileForUpdate2"), nullptr);
  EXPECT_EQ(library_->symbol("UpdateOneCurveMemberSectionName"), nullptr);
  auto open2 = fn<int (*)(int, char*)>("_Z18OpenFileForUpdate2iPc");
  auto rename = fn<int (*)(int, int, char*)>("_Z31UpdateOneCurveMemberSectionNameiiPc");
  auto shutDown = fn<VoidFn>("ShutDown");
  auto setSchema = fn<StrFn>("SetSchemaPath");
  ASSERT_TRUE(open2 && rename && shutDown && setSchema);
  // Without a file to update both return -1 and change nothing (without the
  // schemas the first would end the process).
  EXPECT_EQ(setSchema(const_cast<char*>(KORVA_SCHEMA_DIR)), -1);
  EXPECT_EQ(open2(0, const_cast<char*>("no_such_file.ifc")), -1);
  EXPECT_EQ(rename(0, 10, const_cast<char*>("HEA 100")), -1);
  EXPECT_EQ(shutDown(), -1);
  EXPECT_EQ(setSchema(nullptr), -1);
}

}  // namespace
