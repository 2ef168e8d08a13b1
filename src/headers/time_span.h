// Time spans taken from a header block and written out in days, hours,
// minutes and seconds.
#ifndef LINTREL_HEADERS_TIME_SPAN_H_
#define LINTREL_HEADERS_TIME_SPAN_H_

#include <cstdint>
#include <string_view>

#include "text/calendar.h"
#include "text/regional_settings.h"
#include "text/text.h"

namespace lintrel {

// The whole seconds between two date-times, either way round: each is taken
// as its nearest whole millisecond, and the distance is truncated.
int64_t WholeSecondsBetween(double a, double b);

// The words written after each unit's number.
struct SpanLabels {
  Text sec, min, hour, day;
};

// "D day H hour M min S sec", from the largest unit the span reaches: 60
// seconds read "1 m 0 sec" with the labels "sec" and "m". Days are not
// reduced further.
Text SpanText(int64_t seconds, const SpanLabels& labels);

// The span between the topmost and the lowest "Received:" field. Raises the
// errors of the date reading (the topmost field's first), for a missing
// field or an empty block, and for a date that does not exist
// `InvalidDateTimeError` written with `settings`.
Text DeliveryTimeSpan(std::string_view headers, const SpanLabels& labels,
                      const RegionalSettings& settings);

// The span between the "Date:" field and the clock reading `now` (UTC, its
// milliseconds counted). Raises as `DeliveryTimeSpan` does, the clock
// reading's error after the field's.
Text ReplyTimeSpan(std::string_view headers, const DateTimeParts& now, const SpanLabels& labels,
                   const RegionalSettings& settings);

}  // namespace lintrel

#endif  // LINTREL_HEADERS_TIME_SPAN_H_
