#include "headers/calendar.h"

#include <gtest/gtest.h>

#include "text/errors.h"

namespace lintrel {
namespace {

// The day number counted the long way: whole years, then whole months.
int64_t CountedDayNumber(int64_t year, int month, int day) {
  const int64_t y = year - 1;
  int64_t d = day;
  for (int m = 1; m < month; ++m) d += DaysInMonth(year, m);
  return y * 365 + y / 4 - y / 100 + y / 400 + d - 693594;
}

TEST(CalendarTest, DayNumbersOfEveryMonth) {
  for (int64_t year = 1; year <= 9999; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int last = DaysInMonth(year, month);
      ASSERT_EQ(DaysFromCivil(year, month, 1), CountedDayNumber(year, month, 1))
          << year << "-" << month;
      ASSERT_EQ(DaysFromCivil(year, month, last), CountedDayNumber(year, month, last));
    }
  }
}

TEST(CalendarTest, TryMakeDateTime) {
  struct Case {
    uint16_t y, mo, d, h, mi, s, ms;
    bool valid;
    double value;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 0, 0, 0, true, 0.0},
      {2002, 1, 1, 7, 0, 0, 0, true, 37257.291666666664},
      {2004, 2, 29, 18, 0, 0, 0, true, 38046.75},
      {2000, 2, 29, 0, 0, 0, 0, true, 36585.0},
      {1, 1, 1, 0, 0, 0, 0, true, -693593.0},
      {2002, 2, 29, 0, 0, 0, 0, false, 0},
      {1900, 2, 29, 0, 0, 0, 0, false, 0},
      {2002, 4, 31, 0, 0, 0, 0, false, 0},
      {0, 1, 1, 0, 0, 0, 0, false, 0},
      {10000, 1, 1, 0, 0, 0, 0, false, 0},
      {2002, 13, 1, 0, 0, 0, 0, false, 0},
      {2002, 1, 0, 0, 0, 0, 0, false, 0},
      {2002, 1, 1, 24, 0, 0, 0, false, 0},
      {2002, 1, 1, 0, 0, 60, 0, false, 0},
      {2002, 1, 1, 0, 0, 0, 1000, false, 0},
  };
  for (const Case& c : cases) {
    double value = -1.5;
    EXPECT_EQ(TryMakeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms, value), c.valid) << c.y;
    EXPECT_EQ(value, c.valid ? c.value : -1.5) << c.y << "-" << c.mo << "-" << c.d;
  }
}

TEST(CalendarTest, MakeDateTimeNamesTheComponents) {
  EXPECT_EQ(MakeDateTime(2002, 1, 1, 7, 0, 0, 0), 37257.291666666664);
  const std::pair<DateTimeSeparators, std::string_view> cases[] = {
      {{}, "''2002/13/1 10:0:0.0''"},
      {{'-', '.', ','}, "''2002-13-1 10.0.0,0''"},
      {{'\0', ':', '\0'}, "''2002131 10:0:00''"},
  };
  for (const auto& [separators, shown] : cases) {
    try {
      MakeDateTime(2002, 13, 1, 10, 0, 0, 0, separators);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(), std::string(shown) + " is not a valid date and time");
    }
  }
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
  double local = 0;
  ASSERT_TRUE(TryMakeDateTime(1001, 1, 1, 10, 0, 0, 0, local));
  EXPECT_DOUBLE_EQ(RenderedDateTime(local), DaysFromCivil(1001, 1, 1) - 10.0 / 24);
}

}  // namespace
}  // namespace lintrel
