#include "objdb/time_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korva {
namespace {

std::tm At(int yday, int hour) {
  std::tm t = {};
  t.tm_yday = yday;
  t.tm_hour = hour;
  return t;
}

TEST(TimeStamp, OffsetAcrossDaysAndYearEnds) {
  struct Case { int localDay, localHour, utcDay, utcHour, expected; } cases[] = {
      {100, 14, 100, 12, 2},   // same day, two hours ahead
      {100, 7, 100, 12, -5},   // same day, five hours behind
      {101, 1, 100, 23, 2},    // local already the next day
      {99, 20, 100, 1, -5},    // local still the previous day
      {0, 1, 364, 23, 2},      // new year locally, old year in UTC
      {365, 19, 0, 0, -5},     // old year locally (leap year), new year in UTC
  };
  for (const Case& c : cases)
    EXPECT_EQ(UtcOffsetHours(At(c.localDay, c.localHour), At(c.utcDay, c.utcHour)), c.expected)
        << c.localDay << " " << c.localHour;
}

class TimeZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz != nullptr ? tz : "";
    hadTz_ = tz != nullptr;
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  std::string StampIn(const char* zone, std::time_t t) {
    setenv("TZ", zone, 1);
    tzset();
    char buf[64];
    EXPECT_TRUE(FormatTimeStamp(t, buf, sizeof buf));
    return buf;
  }
  std::string saved_;
  bool hadTz_ = false;
};

TEST_F(TimeZoneTest, FormatsLocalTimeWithSignedWholeHourOffset) {
  const std::time_t t = 1700000000;  // 2023-11-14T22:13:20 UTC
  EXPECT_EQ(StampIn("UTC0", t), "2023-11-14T22:13:20+00:00");
  EXPECT_EQ(StampIn("XXX-2", t), "2023-11-15T00:13:20+02:00");
  EXPECT_EQ(StampIn("XXX5", t), "2023-11-14T17:13:20-05:00");
  // Across the year end in both directions.
  EXPECT_EQ(StampIn("XXX-3", 1704063600), "2024-01-01T02:00:00+03:00");  // 2023-12-31T23:00Z
  EXPECT_EQ(StampIn("XXX10", 1704070800), "2023-12-31T15:00:00-10:00");  // 2024-01-01T01:00Z
}

}  // namespace
}  // namespace korva
