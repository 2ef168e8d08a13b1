#include "tools/arguments/now_time.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>

namespace lintrel::cli {
namespace {

std::optional<DateTimeParts> Read(std::string_view text) {
  const auto now = ParseNowTime(text);
  if (const auto* time = std::get_if<DateTimeParts>(&now)) return *time;
  return std::nullopt;
}

TEST(NowTimeTest, ReadsUtcTimes) {
  const auto reading = Read("2024-03-15T10:30:00.500Z");
  ASSERT_TRUE(reading.has_value());
  EXPECT_EQ(reading->year, 2024);
  EXPECT_EQ(reading->month, 3);
  EXPECT_EQ(reading->day, 15);
  EXPECT_EQ(reading->hour, 10);
  EXPECT_EQ(reading->minute, 30);
  EXPECT_EQ(reading->second, 0);
  EXPECT_EQ(reading->millisecond, 500);

  const auto whole = Read("2000-02-29T23:59:59Z");
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->day, 29);
  EXPECT_EQ(whole->second, 59);
  EXPECT_EQ(whole->millisecond, 0);

  EXPECT_TRUE(Read("0001-01-01T00:00:00.000Z").has_value());
  EXPECT_TRUE(Read("9999-12-31T23:59:59.999Z").has_value());
}

// The fault is told apart, so that a user can be told whether the layout or
// the date or the time is wrong.
TEST(NowTimeTest, SaysWhatIsWrong) {
  struct Case {
    std::string text;
    NowFault fault;
  };
  const Case cases[] = {
      {"", NowFault::kLayout},
      {"2024-03-15", NowFault::kLayout},
      {"2024-03-15T10:30:00", NowFault::kLayout},
      {"2024-03-15T10:30:00+00:00", NowFault::kLayout},
      {"2024-03-15 10:30:00Z", NowFault::kLayout},
      {"2024-03-15t10:30:00z", NowFault::kLayout},
      {"2024-3-15T10:30:00Z", NowFault::kLayout},
      {"2024-03-15T10:30:00.5Z", NowFault::kLayout},
      {"2024-03-15T10:30:00.5000Z", NowFault::kLayout},
      {"2024-03-15T10:30:00,500Z", NowFault::kLayout},
      {"+024-03-15T10:30:00Z", NowFault::kLayout},
      {"2024-03-15T10:30:0xZ", NowFault::kLayout},
      {"0000-01-01T00:00:00Z", NowFault::kLayout},
      {"2024-00-15T10:30:00Z", NowFault::kNoSuchDay},
      {"2024-13-15T10:30:00Z", NowFault::kNoSuchDay},
      {"2024-02-30T10:30:00Z", NowFault::kNoSuchDay},
      {"2023-02-29T10:30:00Z", NowFault::kNoSuchDay},
      {"1900-02-29T10:30:00Z", NowFault::kNoSuchDay},
      {"2024-03-00T10:30:00Z", NowFault::kNoSuchDay},
      {"2024-03-15T24:00:00Z", NowFault::kNoSuchTime},
      {"2024-03-15T10:60:00Z", NowFault::kNoSuchTime},
      {"2024-03-15T10:30:60Z", NowFault::kNoSuchTime},
  };
  for (const Case& c : cases) {
    const auto now = ParseNowTime(c.text);
    ASSERT_TRUE(std::holds_alternative<NowFault>(now)) << c.text;
    EXPECT_EQ(std::get<NowFault>(now), c.fault) << c.text;
  }
}

}  // namespace
}  // namespace lintrel::cli
