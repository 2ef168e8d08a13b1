#include "headers/calendar.h"

#include <cmath>

#include "text/errors.h"
#include "text/integer.h"
#include "text/text.h"

namespace lintrel {
namespace {

constexpr long double kMillisecondsPerDay = 86400000.0L;

void AppendSeparator(Text& out, char separator) {
  if (separator != '\0') out += separator;
}

}  // namespace

bool TryMakeDateTime(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                     uint16_t second, uint16_t millisecond, double& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  if (hour > 23 || minute > 59 || second > 59 || millisecond > 999) return false;
  const auto date = static_cast<long double>(DaysFromCivil(year, month, day));
  const long double milliseconds = hour * 3600000.0L + minute * 60000.0L + second * 1000.0L +
                                   static_cast<long double>(millisecond);
  const auto time = static_cast<double>(milliseconds / kMillisecondsPerDay);
  value = static_cast<double>(date + static_cast<long double>(time));
  return true;
}

double MakeDateTime(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                    uint16_t second, uint16_t millisecond, const DateTimeSeparators& separators) {
  double value = 0;
  if (TryMakeDateTime(year, month, day, hour, minute, second, millisecond, value)) return value;
  Text shown = "''" + IntText(year);
  AppendSeparator(shown, separators.date);
  shown += IntText(month);
  AppendSeparator(shown, separators.date);
  shown += IntText(day) + " " + IntText(hour);
  AppendSeparator(shown, separators.time);
  shown += IntText(minute);
  AppendSeparator(shown, separators.time);
  shown += IntText(second);
  AppendSeparator(shown, separators.decimal);
  shown += IntText(millisecond) + "'' is not a valid date and time";
  throw EConvertError(shown);
}

double RenderedDateTime(double value) {
  const long double milliseconds = static_cast<long double>(value) * kMillisecondsPerDay;
  if (!(value < 0) || !(std::fabs(milliseconds) < 0x1p63L)) return value;
  const int64_t m = std::llrint(milliseconds);
  const auto per_day = static_cast<int64_t>(kMillisecondsPerDay);
  // Floor division: the day that holds the moment, and the time since it began.
  int64_t day = m / per_day;
  int64_t time = m % per_day;
  if (time < 0) {
    --day;
    time += per_day;
  }
  return static_cast<double>(-static_cast<long double>(-day * per_day + time) /
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
