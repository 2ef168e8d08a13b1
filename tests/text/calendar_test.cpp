#include "text/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <optional>

namespace lintrel {
namespace {

// The length of a month, from the standard library's calendar.
int DaysInMonth(int64_t y, unsigned m) {
  using namespace std::chrono;
  const year_month_day_last last{year(static_cast<int>(y)), month_day_last(month(m))};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

// The day number counted the long way: whole years, then whole months.
int64_t CountedDayNumber(int64_t year, unsigned month, int day) {
  const int64_t y = year - 1;
  int64_t d = day;
  for (unsigned m = 1; m < month; ++m) d += DaysInMonth(year, m);
  return y * 365 + y / 4 - y / 100 + y / 400 + d - 693594;
}

TEST(CalendarTest, DayNumbersOfEveryMonth) {
  for (int64_t year = 1; year <= 9999; ++year) {
    for (unsigned month = 1; month <= 12; ++month) {
      const int last = DaysInMonth(year, month);
      ASSERT_EQ(DaysFromCivil(year, month, 1), CountedDayNumber(year, month, 1))
          << year << "-" << month;
      ASSERT_EQ(DaysFromCivil(year, month, last), CountedDayNumber(year, month, last));
      ASSERT_EQ(CivilFromDays(CountedDayNumber(year, month, last)),
                (DateTimeParts{year, month, static_cast<unsigned>(last)}));
    }
  }
}

TEST(CalendarTest, EncodeDateTime) {
  struct Case {
    DateTimeParts t;
    std::optional<double> value;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
      {{2002, 1, 1, 7, 0, 0, 0}, 37257.291666666664},
      {{2004, 2, 29, 18, 0, 0, 0}, 38046.75},
      {{2000, 2, 29, 0, 0, 0, 0}, 36585.0},
      {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
      {{2002, 2, 29, 0, 0, 0, 0}, {}},
      {{1900, 2, 29, 0, 0, 0, 0}, {}},
      {{2002, 4, 31, 0, 0, 0, 0}, {}},
      {{0, 1, 1, 0, 0, 0, 0}, {}},
      {{10000, 1, 1, 0, 0, 0, 0}, {}},
      {{2002, 13, 1, 0, 0, 0, 0}, {}},
      {{2002, 1, 0, 0, 0, 0, 0}, {}},
      {{2002, 1, 1, 24, 0, 0, 0}, {}},
      {{2002, 1, 1, 0, 0, 60, 0}, {}},
      {{2002, 1, 1, 0, 0, 0, 1000}, {}},
      // Months and days beyond one byte do not wrap round to valid ones.
      {{2002, 257, 1, 0, 0, 0, 0}, {}},
      {{2002, 1, 257, 0, 0, 0, 0}, {}},
      {{65535, 1, 1, 0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDateTime(c.t), c.value) << c.t.year << "-" << c.t.month << "-" << c.t.day;
    EXPECT_EQ(IsValidDateTime(c.t), c.value.has_value()) << c.t.year;
  }
}

TEST(CalendarTest, WholeMillisecondsAndTheMomentTheyName) {
  EXPECT_EQ(WholeMilliseconds(1.0 / 2048), 42188);   // 42187.5, to even
  EXPECT_EQ(WholeMilliseconds(3.0 / 2048), 126562);  // 126562.5, to even
  EXPECT_EQ(WholeMilliseconds(-1.25), -108000000);
  EXPECT_EQ(WholeMilliseconds(1e11), 8'640'000'000'000'000'000);
  EXPECT_EQ(WholeMilliseconds(1.1e11), std::nullopt);
  EXPECT_EQ(WholeMilliseconds(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(PartsOfMoment(-108000000), (DateTimeParts{1899, 12, 28, 18, 0, 0, 0}));
  EXPECT_EQ(PartsOfMoment(kMillisecondsPerDay - 1), (DateTimeParts{1899, 12, 30, 23, 59, 59, 999}));
  const auto clock = std::chrono::sys_days(std::chrono::year(2024) / 3 / 15) +
                     std::chrono::milliseconds(37'800'500);
  EXPECT_EQ(PartsOf(clock), (DateTimeParts{2024, 3, 15, 10, 30, 0, 500}));
}

TEST(CalendarTest, Shifts) {
  EXPECT_EQ(ShiftHours(37257.416666666664, -3), 37257.291666666664);
  EXPECT_EQ(ShiftMinutes(37257.416666666664, -330), 37257.1875);
}

// Found by fuzzing: a date before 30 December 1899 was rendered a day late
// at the mirrored time of day (1 January 1001 10:00 showed as 2 January
// 14:00), since the renderer reads the fraction of a negative value
// backwards from its whole part.
TEST(CalendarTest, RenderedDateTimeBeforeDayZero) {
  struct Case {
    double value;
    double rendered;
  };
  const Case cases[] = {
      {37257.75, 37257.75},  // from day 0 on nothing changes
      {0.25, 0.25},
      {-0.75, -1.25},  // 06:00 on day -1
      {-1.0, -1.0},    // midnight stays
      {-0.5, -1.5},
      {-2.0 + 1.0 / 86400000 / 4, -2.0},  // below half a millisecond past midnight
      {-1.0 - 1e-12, -1.0},               // a hair before midnight rounds up to it
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(RenderedDateTime(c.value), c.rendered) << c.value;
  }
  const double local = EncodeDateTime({1001, 1, 1, 10, 0, 0, 0}).value();
  EXPECT_DOUBLE_EQ(RenderedDateTime(local), DaysFromCivil(1001, 1, 1) - 10.0 / 24);
}

}  // namespace
}  // namespace lintrel
