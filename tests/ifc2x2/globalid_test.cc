#include "ifc2x2/globalid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>

namespace korva {
namespace {

// Independent reference: the GlobalId is the 128-bit big-endian value of the
// GUID fields written as 22 base-64 digits.
std::string Reference(const platform::Guid& g) {
  unsigned __int128 v = g.data1;
  v = (v << 16) | g.data2;
  v = (v << 16) | g.data3;
  for (int i = 0; i < 8; ++i) v = (v << 8) | g.data4[i];
  std::string out(22, '0');
  for (int i = 21; i >= 0; --i) {
    out[i] = kBase64Digits[static_cast<int>(v % 64)];
    v /= 64;
  }
  return out;
}

std::string Compress(const platform::Guid& g) {
  char buf[23];
  const char* r = GuidToBase64String(g, buf, sizeof buf);
  return r != nullptr ? std::string(r) : std::string("<null>");
}

TEST(GlobalId, KnownVectors) {
  platform::Guid ones;
  std::memset(&ones, 0xFF, sizeof ones);
  EXPECT_EQ(Compress(ones), "3$$$$$$$$$$$$$$$$$$$$$");

  platform::Guid one = {};
  one.data1 = 1;
  EXPECT_EQ(Compress(one), "0000010000000000000000");

  platform::Guid mixed = {0x12345678u, 0x9ABC, 0xDEF0, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}};
  EXPECT_EQ(Compress(mixed), Reference(mixed));
}

TEST(GlobalId, MatchesBigEndianValueForRandomGuids) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 1000; ++i) {
    platform::Guid g;
    g.data1 = rng();
    g.data2 = static_cast<uint16_t>(rng());
    g.data3 = static_cast<uint16_t>(rng());
    for (auto& b : g.data4) b = static_cast<uint8_t>(rng());
    ASSERT_EQ(Compress(g), Reference(g)) << "case " << i;
  }
}

TEST(GlobalId, ShortBufferGivesNullAndLeavesBufferAlone) {
  platform::Guid g = {};
  g.data1 = 1;
  char buf[23];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GuidToBase64String(g, buf, 22), nullptr);
  EXPECT_EQ(std::string(buf, 23), std::string(23, 'x'));
  EXPECT_EQ(NewCompressedGuid(buf, 22), nullptr);
  EXPECT_EQ(std::string(buf, 23), std::string(23, 'x'));
}

TEST(GlobalId, EncodeDigitsRefusesWhatDoesNotFit) {
  char out[6] = "zzzzz";
  EXPECT_FALSE(EncodeBase64Digits(0, out, 6));  // wider than 5
  EXPECT_FALSE(EncodeBase64Digits(64, out, 2));  // needs two digits
  EXPECT_FALSE(EncodeBase64Digits(1u << 24, out, 5));
  EXPECT_STREQ(out, "zzzzz");  // nothing written on refusal
  ASSERT_TRUE(EncodeBase64Digits(63, out, 2));
  EXPECT_STREQ(out, "$");
  ASSERT_TRUE(EncodeBase64Digits(65, out, 4));
  EXPECT_STREQ(out, "011");  // padded with zeros, most significant first
  ASSERT_TRUE(EncodeBase64Digits((1u << 24) - 1, out, 5));
  EXPECT_STREQ(out, "$$$$");
}

TEST(GlobalId, FreshIdsAreDistinctAndWellFormed) {
  std::set<std::string> seen;
  char buf[23];
  for (int i = 0; i < 2000; ++i) {
    ASSERT_NE(NewCompressedGuid(buf, sizeof buf), nullptr);
    std::string id(buf);
    ASSERT_EQ(id.size(), 22u);
    EXPECT_NE(std::strchr("0123", id[0]), nullptr) << id;
    EXPECT_EQ(id.find_first_not_of(kBase64Digits), std::string::npos) << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 2000u);
}

}  // namespace
}  // namespace korva
