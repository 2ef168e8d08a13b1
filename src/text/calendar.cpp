#include "text/calendar.h"

#include <cmath>

namespace lintrel {
namespace {

constexpr int64_t kUnixEpochDay = DaysFromCivil(1970, 1, 1);

// The day that holds the moment `m` milliseconds after day 0 began.
int64_t DayOfMoment(int64_t m) {
  return m / kMillisecondsPerDay - (m % kMillisecondsPerDay < 0 ? 1 : 0);
}

}  // namespace

DateTimeParts PartsOf(int64_t day, int64_t time) {
  const std::chrono::hh_mm_ss clock{std::chrono::milliseconds(time)};
  DateTimeParts parts = CivilFromDays(day);
  parts.hour = static_cast<unsigned>(clock.hours().count());
  parts.minute = static_cast<unsigned>(clock.minutes().count());
  parts.second = static_cast<unsigned>(clock.seconds().count());
  parts.millisecond = static_cast<unsigned>(clock.subseconds().count());
  return parts;
}

std::optional<int64_t> WholeMilliseconds(double v) {
  // The product of a double and a 27-bit constant, rounded once to the
  // 64-bit significand and once more, to even, to a whole millisecond.
  const long double product = static_cast<long double>(v) * kMillisecondsPerDay;
  if (!(std::fabs(product) < 0x1p63L)) return std::nullopt;
  return std::llrint(product);
}

DateTimeParts PartsOfMoment(int64_t m) {
  const int64_t day = DayOfMoment(m);
  return PartsOf(day, m - day * kMillisecondsPerDay);
}

DateTimeParts PartsOf(std::chrono::sys_time<std::chrono::milliseconds> t) {
  return PartsOfMoment(t.time_since_epoch().count() + kUnixEpochDay * kMillisecondsPerDay);
}

bool IsValidDateTime(const DateTimeParts& t) {
  // The library's calendar keeps the month and the day in one byte each and
  // the year in 16 bits, so they are checked for their range first.
  if (t.year < 1 || t.year > 9999 || t.month > 12 || t.day > 31) return false;
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(t.year)),
                                         std::chrono::month(t.month), std::chrono::day(t.day)};
  return date.ok() && t.hour <= 23 && t.minute <= 59 && t.second <= 59 && t.millisecond <= 999;
}

std::optional<double> EncodeDateTime(const DateTimeParts& t) {
  if (!IsValidDateTime(t)) return std::nullopt;
  const auto date = static_cast<long double>(DaysFromCivil(t.year, t.month, t.day));
  const long double milliseconds = t.hour * 3600000.0L + t.minute * 60000.0L + t.second * 1000.0L +
                                   static_cast<long double>(t.millisecond);
  const auto time = static_cast<double>(milliseconds / kMillisecondsPerDay);
  return static_cast<double>(date + static_cast<long double>(time));
}

double RenderedDateTime(double value) {
  const std::optional<int64_t> m = WholeMilliseconds(value);
  if (!(value < 0) || !m) return value;
  const int64_t day = DayOfMoment(*m);
  const int64_t time = *m - day * kMillisecondsPerDay;
  return static_cast<double>(-static_cast<long double>(-day * kMillisecondsPerDay + time) /
                             kMillisecondsPerDay);
}

double ShiftHours(double value, int64_t hours) {
  return static_cast<double>(
      (static_cast<long double>(value) * 24 + static_cast<long double>(hours)) / 24);
}

double ShiftMinutes(double value, int64_t minutes) {
  return static_cast<double>(
      (static_cast<long double>(value) * 1440 + static_cast<long double>(minutes)) / 1440);
}

}  // namespace lintrel
