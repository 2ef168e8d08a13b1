#include "tools/now_time.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(NowTimeTest, ReadsUtcTimes) {
  const auto reading = ParseNowTime("2024-03-15T10:30:00.500Z");
  ASSERT_TRUE(reading.has_value());
  EXPECT_EQ(reading->year, 2024);
  EXPECT_EQ(reading->month, 3);
  EXPECT_EQ(reading->day, 15);
  EXPECT_EQ(reading->hour, 10);
  EXPECT_EQ(reading->minute, 30);
  EXPECT_EQ(reading->second, 0);
  EXPECT_EQ(reading->millisecond, 500);

  const auto whole = ParseNowTime("2000-02-29T23:59:59Z");
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->day, 29);
  EXPECT_EQ(whole->second, 59);
  EXPECT_EQ(whole->millisecond, 0);

  EXPECT_TRUE(ParseNowTime("0001-01-01T00:00:00.000Z").has_value());
  EXPECT_TRUE(ParseNowTime("9999-12-31T23:59:59.999Z").has_value());
}

TEST(NowTimeTest, RefusesOtherTexts) {
  for (const std::string text : {
           "",
           "2024-03-15",
           "2024-03-15T10:30:00",
           "2024-03-15T10:30:00+00:00",
           "2024-03-15 10:30:00Z",
           "2024-03-15t10:30:00z",
           "2024-3-15T10:30:00Z",
           "2024-03-15T10:30:00.5Z",
           "2024-03-15T10:30:00.5000Z",
           "2024-03-15T10:30:00,500Z",
           "+024-03-15T10:30:00Z",
           "2024-03-15T10:30:0xZ",
           "0000-01-01T00:00:00Z",
           "2024-00-15T10:30:00Z",
           "2024-13-15T10:30:00Z",
           "2024-02-30T10:30:00Z",
           "2023-02-29T10:30:00Z",
           "1900-02-29T10:30:00Z",
           "2024-03-00T10:30:00Z",
           "2024-03-15T24:00:00Z",
           "2024-03-15T10:60:00Z",
           "2024-03-15T10:30:60Z",
       }) {
    EXPECT_FALSE(ParseNowTime(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace lintrel::cli
