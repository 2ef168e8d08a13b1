// The proleptic Gregorian calendar and the date-times built on it.
//
// A date-time is a double: the whole part counts days from 30 December 1899
// (day 0), the fraction is the time of day. Day numbers are exact for any
// value an int64 can hold a tenth of. Arithmetic on date-times runs in
// extended precision and is rounded to a double where each operation says so.
#ifndef LINTREL_TEXT_CALENDAR_H_
#define LINTREL_TEXT_CALENDAR_H_

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>

namespace lintrel {

// Extended precision is the x87 80-bit format (64-bit significand) on every
// target built here; the rounding of date-times depends on it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended format");

inline constexpr int64_t kMillisecondsPerDay = 86'400'000;

// A date and a time of day taken apart: month 1..12, day 1..31, the time in
// hours, minutes, seconds and milliseconds. The fields hold what a caller
// read; `IsValidDateTime` tells whether they name a moment.
struct DateTimeParts {
  int64_t year = 0;
  unsigned month = 0;
  unsigned day = 0;
  unsigned hour = 0;
  unsigned minute = 0;
  unsigned second = 0;
  unsigned millisecond = 0;
  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Day numbers count from 30 December 1899; the algorithms below count from
// 1 March of year 0, which lies this many days earlier.
inline constexpr int64_t kDayNumberShift = 693899;

// The date of day number `d` (the time fields 0), by the era-of-400-years
// method: shift to a March-based year so that the leap day falls last,
// split into eras, then into years of the era and days of the year.
constexpr DateTimeParts CivilFromDays(int64_t d) {
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
static_assert(DaysFromCivil(1, 1, 1) == -693593);
static_assert(DaysFromCivil(9999, 12, 31) == 2958465);
static_assert(CivilFromDays(0) == DateTimeParts{1899, 12, 30});
static_assert(DayOfWeek(0) == 7);

// The parts of day `day` and of `time` milliseconds into it
// (0 <= time < kMillisecondsPerDay).
DateTimeParts PartsOf(int64_t day, int64_t time);

// `v` counted in milliseconds: v * kMillisecondsPerDay in extended
// precision, rounded to the nearest whole millisecond (ties to even);
// nullopt when that does not fit 64 bits (infinities and NaN included).
std::optional<int64_t> WholeMilliseconds(double v);

// The moment `m` milliseconds after day 0 began, on one continuous scale:
// the day that holds it (floor division) and the time since that day began.
DateTimeParts PartsOfMoment(int64_t m);

// A clock reading taken apart.
DateTimeParts PartsOf(std::chrono::sys_time<std::chrono::milliseconds> t);

// Whether `t` names a moment: 1 <= year <= 9999, the day exists in the
// month, hour <= 23, minute <= 59, second <= 59 and millisecond <= 999.
bool IsValidDateTime(const DateTimeParts& t);

// `t` as a date-time, nothing shifted: the day number plus the time of day
// as a fraction rounded to a double, the sum rounded once more. Nullopt
// unless `IsValidDateTime(t)`.
std::optional<double> EncodeDateTime(const DateTimeParts& t);

// `value` as the renderer reads a date-time. The date-times built here run
// on one continuous scale, so 06:00 on day -1 is -1 + 0.25; the renderer
// takes the whole part toward zero as the day and the fraction as the time
// of that day, so it reads that moment from -1.25. Taken to the nearest whole
// millisecond; a value whose milliseconds do not fit 64 bits stays as it is.
double RenderedDateTime(double value);

// `value` moved by whole hours: value * 24, plus hours, divided by 24, in
// extended precision and rounded to a double once.
double ShiftHours(double value, int64_t hours);

// `value` moved by whole minutes, by the same rule on minutes (1440 a day).
double ShiftMinutes(double value, int64_t minutes);

}  // namespace lintrel

#endif  // LINTREL_TEXT_CALENDAR_H_
