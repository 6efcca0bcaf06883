#include "objdb/dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objdb/interface.h"
#include "objdb/text.h"
#include "support/test_util.h"

namespace korva {
namespace {

TEST(HashKey, FoldsCaseAndNeverGivesZero) {
  EXPECT_EQ(HashKey("a"), 97u * 12345u + 1u);
  EXPECT_EQ(HashKey("ab"), 98u * 12345u + (97u * 12345u + 1u) + 1u);
  EXPECT_EQ(HashKey("IfcWall"), HashKey("IFCWALL"));
  EXPECT_EQ(HashKey(""), 1u);
}

TEST(HashIndex, ManyKeysDeletionsAndGrowth) {
  TarnHashIndex index;
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i) keys.push_back("Key" + std::to_string(i));
  for (int i = 0; i < 139; ++i) ASSERT_TRUE(index.insert(keys[i].c_str(), i));
  EXPECT_EQ(index.capacity(), 200u);
  ASSERT_TRUE(index.insert(keys[139].c_str(), 139));  // 140 reaches 0.7 of 200
  EXPECT_EQ(index.capacity(), 600u);
  for (int i = 140; i < 1000; ++i) ASSERT_TRUE(index.insert(keys[i].c_str(), i));
  EXPECT_EQ(index.capacity(), 1800u);
  for (int i = 0; i < 1000; i += 2) ASSERT_TRUE(index.remove(keys[i].c_str(), false));
  for (int i = 0; i < 1000; ++i) {
    int expected = (i % 2 == 0) ? -1 : i;
    ASSERT_EQ(index.find(keys[i].c_str(), false), expected) << keys[i];
  }
  EXPECT_EQ(index.find("KEY7", false), -1);
  EXPECT_EQ(index.find("KEY7", true), 7);
  // Deleted entries are reused.
  std::string again = "Key0";
  ASSERT_TRUE(index.insert(again.c_str(), 5000));
  EXPECT_EQ(index.find("Key0", false), 5000);
  EXPECT_EQ(index.count(), 501u);
}

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { TARN().initialize(); }
  void TearDown() override { TARN().shutdown(); }
};

TEST_F(DictionaryTest, KeysValuesAndCaseChoice) {
  DictionaryOfInteger d;
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(d.add(("name" + std::to_string(i)).c_str(), i * 10));
  EXPECT_EQ(d.count(), 300u);
  EXPECT_EQ(d.lookup("name42"), 420);
  EXPECT_EQ(d.find("NAME42"), -1);
  bool old = d.setNoCase(true);
  EXPECT_EQ(d.find("NAME42"), 42);
  d.setNoCase(old);
  EXPECT_EQ(d.find(nullptr), -1);
  ASSERT_TRUE(d.removeAt(10));
  EXPECT_EQ(d.find("name10"), -1);
  EXPECT_EQ(d.find("name11"), 10);  // later entries moved down
  EXPECT_EQ(d.lookup("name299"), 2990);
  EXPECT_STREQ(d.keyAt(10), "name11");
}

}  // namespace
}  // namespace korva
