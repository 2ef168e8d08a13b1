#include "headers/field_extraction.h"
#include "headers/time_span.h"
#include "plugin/macro_rows.h"

namespace lintrel {
namespace {

// The unit labels of both span macros, fetched in this order.
SpanLabels FetchSpanLabels(MacroCall& call) {
  return {call.ParameterOr(0, "sec"), call.ParameterOr(1, "m"), call.ParameterOr(2, "h"),
          call.ParameterOr(3, "d")};
}

}  // namespace

Text RunDeliveryTime(MacroCall& call) {
  const SpanLabels labels = FetchSpanLabels(call);
  const Text headers = call.Headers();
  return DeliveryTimeSpan(headers, labels, *call.environment().settings);
}

// The span is stored at once and again by the dispatcher, as hosts have
// always seen it. An error leaves before either store.
Text RunReplyTime(MacroCall& call) {
  const SpanLabels labels = FetchSpanLabels(call);
  const Text headers = call.Headers();
  const DateTimeParts now = call.environment().read_clock();
  Text result = ReplyTimeSpan(headers, now, labels, *call.environment().settings);
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
