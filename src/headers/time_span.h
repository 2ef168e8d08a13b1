// Time spans taken from a header block and written out in days, hours,
// minutes and seconds.
#ifndef LINTREL_HEADERS_TIME_SPAN_H_
#define LINTREL_HEADERS_TIME_SPAN_H_

#include <cstdint>
#include <string_view>

#include "headers/calendar.h"
#include "platform/platform.h"
#include "text/text.h"

namespace lintrel {

// The whole seconds between two date-times, either way round: each is taken
// as its nearest whole millisecond, and the distance is truncated.
int64_t WholeSecondsBetween(double a, double b);

// "D dayLabel H hourLabel M minLabel S secLabel", from the largest unit the
// span reaches: 60 seconds read "1 m 0 sec" with the labels "sec" and "m".
// Days are not reduced further.
Text SpanText(int64_t seconds, std::string_view sec_label, std::string_view min_label,
              std::string_view hour_label, std::string_view day_label);

// The span between the topmost and the lowest "Received:" field. Raises the
// errors of the date reading (the topmost field's first), also for a date
// that does not exist, and for a missing field or an empty block.
Text DeliveryTimeSpan(std::string_view headers, std::string_view sec_label,
                      std::string_view min_label, std::string_view hour_label,
                      std::string_view day_label, const DateTimeSeparators& separators = {});

// The span between the "Date:" field and the clock reading `now` (UTC, its
// milliseconds counted). Raises as `DeliveryTimeSpan` does.
Text ReplyTimeSpan(std::string_view headers, const platform::SystemTime& now,
                   std::string_view sec_label, std::string_view min_label,
                   std::string_view hour_label, std::string_view day_label,
                   const DateTimeSeparators& separators = {});

}  // namespace lintrel

#endif  // LINTREL_HEADERS_TIME_SPAN_H_
