// Rendering of a date-time (days since 30 December 1899, the fraction being
// the time of day) as text, with the format letters of the regional
// settings.
#ifndef LINTREL_TEXT_DATE_TIME_FORMAT_H_
#define LINTREL_TEXT_DATE_TIME_FORMAT_H_

#include <cstddef>
#include <string_view>

#include "text/regional_settings.h"
#include "text/text.h"

namespace lintrel {

// Longest text a format renders; the rest is dropped.
inline constexpr size_t kMaxDateTimeText = 256;

// `v` is read in whole milliseconds (`WholeMilliseconds`): the day number,
// whose sign is the value's, and the time of that day. A value whose
// milliseconds do not fit 64 bits raises EConvertError "Invalid date-time
// value".

// `format` applied to `v`: letters stand for parts of the date and time,
// "/" and ":" for the separators, quoted text is copied. At most
// kMaxDateTimeText bytes; formats reached from within `format` (its "c",
// "t" and "ddddd") are expanded, those reached from within them are not.
Text FormatDateTime(std::string_view format, double v, const RegionalSettings& settings);

// The short date format applied to `v`, followed by a space and the long
// time format when the hour, the minute or the second is not 0.
Text DateTimeText(double v, const RegionalSettings& settings);

}  // namespace lintrel

#endif  // LINTREL_TEXT_DATE_TIME_FORMAT_H_
