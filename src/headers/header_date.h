// Reading the date of a "Date:" or "Received:" field text.
//
// The date is what follows the last ";" and then the last "," of the field
// text; a text with neither loses its field name up to the first ":". It is
// split at blanks, "/" and ":" into day, month name, year, hour, minute,
// second and zone; further tokens are not read. The zone is "GMT", "UMC",
// "UT", "UTC", a North American zone name ("EST" ... "PDT"), a sign and
// four digits hhmm, or another integer n counting -n / 100 whole hours.
// Years below 50 are 20xx, years from 50 to 999 count from 1900.
#ifndef LINTREL_HEADERS_HEADER_DATE_H_
#define LINTREL_HEADERS_HEADER_DATE_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/calendar.h"

namespace lintrel {

// A field's date as read from its tokens: the local date and time, each
// number as its low 16 bits (the milliseconds 0), and the minutes that the
// zone adds to the local time to give UTC.
struct HeaderDate {
  DateTimeParts local;
  int64_t shift_minutes = 0;
};

// Reads the tokens of the field's date, in the order day, month, year, hour,
// minute, second, zone. Raises EConvertError "'TOKEN' is not a valid integer
// value" for a token that must be a number and is not one, and
// EStringListError "List index out of bounds (N)" for a missing token N.
HeaderDate ReadHeaderDate(std::string_view field);

// The date in UTC: the local parts encoded and moved by the zone; nullopt
// when they name no moment.
std::optional<double> UtcDateTime(const HeaderDate& date);

// The field's date in UTC; nullopt when the tokens read but form no valid
// date. Raises the errors of `ReadHeaderDate`.
std::optional<double> ParseHeaderDate(std::string_view field);

}  // namespace lintrel

#endif  // LINTREL_HEADERS_HEADER_DATE_H_
