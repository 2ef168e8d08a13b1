// Date-times and the calendar operations the date macros share.
//
// A date-time is a double: the whole part counts days from 30 December 1899
// (day 0) in the proleptic Gregorian calendar, the fraction is the time of
// day. Arithmetic on date-times runs in extended precision and is rounded to
// a double where each operation says so.
#ifndef LINTREL_HEADERS_CALENDAR_H_
#define LINTREL_HEADERS_CALENDAR_H_

#include <cstdint>
#include <limits>

#include "text/calendar.h"

namespace lintrel {

// Extended precision is the x87 80-bit format (64-bit significand) on every
// target built here; the rounding of date-times depends on it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended format");

// The separators that the encoder's error message writes between the
// components; the defaults are those of the built-in regional settings.
struct DateTimeSeparators {
  char date = '/';
  char time = ':';
  char decimal = '.';
};

constexpr bool IsLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int64_t year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

static_assert(DaysFromCivil(1, 1, 1) == -693593);
static_assert(DaysFromCivil(9999, 12, 31) == 2958465);

// Encodes the components unchanged (no zone shift) into `value`. False, with
// `value` untouched, unless 1 <= year <= 9999, the day exists in the month,
// hour <= 23, minute <= 59, second <= 59 and millisecond <= 999.
bool TryMakeDateTime(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                     uint16_t second, uint16_t millisecond, double& value);

// As `TryMakeDateTime`, raising EConvertError "''Y/M/D h:m:s.ms'' is not a
// valid date and time" (the numbers in decimal, joined by `separators`) for
// components that do not form a valid date-time.
double MakeDateTime(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                    uint16_t second, uint16_t millisecond,
                    const DateTimeSeparators& separators = {});

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

#endif  // LINTREL_HEADERS_CALENDAR_H_
