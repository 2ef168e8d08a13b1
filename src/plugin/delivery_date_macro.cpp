#include "headers/field_lookup.h"
#include "headers/header_date.h"
#include "plugin/macro_rows.h"
#include "text/calendar.h"
#include "text/date_time_format.h"

namespace lintrel {

// The date of the topmost "Received:" field, rendered as the field gives it
// in UTC (nothing is converted to local time), or the fallback when the date
// reads but names no real day. A missing field raises from the date parser.
Text RunDeliveryDate(MacroCall& call) {
  const Text headers = call.Headers();
  const Text fallback = call.ParameterOr(0, "n/a");
  const std::optional<double> value = ParseHeaderDate(FindFirstField(headers, "Received:"));
  if (!value) return fallback;
  return DateTimeText(RenderedDateTime(*value), *call.environment().settings);
}

}  // namespace lintrel
