// Proleptic Gregorian calendar arithmetic on day numbers, where day 0 is
// 30 December 1899 and day 1 is 31 December 1899. Everything is constexpr
// and exact for any day number an int64 can hold a tenth of.
#ifndef LINTREL_TEXT_CALENDAR_H_
#define LINTREL_TEXT_CALENDAR_H_

#include <cstdint>

namespace lintrel {

struct CivilDate {
  int64_t year = 0;
  unsigned month = 0;  // 1..12
  unsigned day = 0;    // 1..31
};

// Day numbers count from 30 December 1899; the algorithms below count from
// 1 March of year 0, which lies this many days earlier.
inline constexpr int64_t kDayNumberShift = 693899;

// The date of day number `d`, by the era-of-400-years method: shift to a
// March-based year so that the leap day falls last, split into eras, then
// into years of the era and days of the year.
constexpr CivilDate CivilFromDays(int64_t d) {
  const int64_t z = d + kDayNumberShift;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto day_of_era = static_cast<unsigned>(z - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;  // 0 = March
  const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const int64_t year = static_cast<int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

// The day number of a date; the inverse of `CivilFromDays` for valid dates.
constexpr int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  const int64_t march_year = month <= 2 ? year - 1 : year;
  const int64_t era = (march_year >= 0 ? march_year : march_year - 399) / 400;
  const auto year_of_era = static_cast<unsigned>(march_year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<int64_t>(day_of_era) - kDayNumberShift;
}

// 1 (Sunday) to 7 (Saturday).
constexpr int DayOfWeek(int64_t d) {
  constexpr int64_t kASunday = DaysFromCivil(1899, 12, 31);
  const int64_t r = (d - kASunday) % 7;
  return static_cast<int>(r < 0 ? r + 7 : r) + 1;
}

static_assert(DaysFromCivil(1899, 12, 30) == 0);
static_assert(DaysFromCivil(2002, 1, 1) == 37257);
static_assert(CivilFromDays(0).year == 1899 && CivilFromDays(0).day == 30);
static_assert(DayOfWeek(0) == 7);

}  // namespace lintrel

#endif  // LINTREL_TEXT_CALENDAR_H_
