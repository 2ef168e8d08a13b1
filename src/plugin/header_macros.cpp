#include "headers/field_extraction.h"
#include "headers/time_span.h"
#include "plugin/macro_rows.h"
#include "text/regional_settings.h"

namespace lintrel {
namespace {

// The unit labels of both span macros, fetched in this order.
struct SpanLabels {
  Text sec, min, hour, day;
};

SpanLabels FetchSpanLabels(MacroCall& call) {
  SpanLabels labels;
  labels.sec = call.ParameterOr(0, "sec");
  labels.min = call.ParameterOr(1, "m");
  labels.hour = call.ParameterOr(2, "h");
  labels.day = call.ParameterOr(3, "d");
  return labels;
}

// The separators of the user's regional settings, for the message of a date
// that does not exist.
DateTimeSeparators Separators(const MacroCall& call) {
  const RegionalSettings& settings = *call.environment().settings;
  return {settings.date_separator, settings.time_separator, settings.decimal_separator};
}

}  // namespace

Text RunDeliveryTime(MacroCall& call) {
  const SpanLabels labels = FetchSpanLabels(call);
  const Text headers = call.Headers();
  return DeliveryTimeSpan(headers, labels.sec, labels.min, labels.hour, labels.day,
                          Separators(call));
}

// The span is stored at once and again by the dispatcher, as hosts have
// always seen it. An error leaves before either store.
Text RunReplyTime(MacroCall& call) {
  const SpanLabels labels = FetchSpanLabels(call);
  const Text headers = call.Headers();
  const platform::SystemTime now = call.environment().read_clock();
  Text result = ReplyTimeSpan(headers, now, labels.sec, labels.min, labels.hour, labels.day,
                              Separators(call));
  call.StoreNow(result);
  return result;
}

Text RunCharset(MacroCall& call) {
  return ExtractCharset(call.Headers());
}

Text RunMailer(MacroCall& call) {
  const Text fallback = call.ParameterOr(0, "<unknown>");
  const Text headers = call.Headers();
  return ExtractMailer(headers, fallback);
}

Text RunGetHeader(MacroCall& call) {
  const Text headers = call.Headers();
  const Text name = call.Parameter(0);
  return HeaderFieldValue(headers, name);
}

}  // namespace lintrel
