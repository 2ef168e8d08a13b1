#include "headers/time_span.h"

#include <cmath>

#include "headers/field_lookup.h"
#include "headers/header_date.h"
#include "text/integer.h"

namespace lintrel {
namespace {

// Whole milliseconds recover the exact times that header dates and clock
// readings are made of, which the double's fraction of a day only nears.
int64_t Milliseconds(double value) {
  return std::llrint(static_cast<long double>(value) * 86400000.0L);
}

void AppendUnit(Text& out, int64_t count, std::string_view label) {
  if (!out.empty()) out += ' ';
  out += IntText(count);
  out += ' ';
  out += label;
}

}  // namespace

int64_t WholeSecondsBetween(double a, double b) {
  const int64_t ma = Milliseconds(a);
  const int64_t mb = Milliseconds(b);
  return (ma >= mb ? ma - mb : mb - ma) / 1000;
}

Text SpanText(int64_t seconds, std::string_view sec_label, std::string_view min_label,
              std::string_view hour_label, std::string_view day_label) {
  Text text;
  if (seconds >= 86400) AppendUnit(text, seconds / 86400, day_label);
  if (seconds >= 3600) AppendUnit(text, seconds / 3600 % 24, hour_label);
  if (seconds >= 60) AppendUnit(text, seconds / 60 % 60, min_label);
  AppendUnit(text, seconds % 60, sec_label);
  return text;
}

Text DeliveryTimeSpan(std::string_view headers, std::string_view sec_label,
                      std::string_view min_label, std::string_view hour_label,
                      std::string_view day_label, const DateTimeSeparators& separators) {
  const std::optional<size_t> first = FirstFieldStart(headers, "Received:");
  const size_t last = LastFieldStart(headers, "Received:");
  const double a = HeaderDateTime(first ? FieldTextAt(headers, *first) : Text(), separators);
  // A single field is both; its text is read once.
  const double b = first == last ? a : HeaderDateTime(FieldTextAt(headers, last), separators);
  return SpanText(WholeSecondsBetween(b, a), sec_label, min_label, hour_label, day_label);
}

Text ReplyTimeSpan(std::string_view headers, const platform::SystemTime& now,
                   std::string_view sec_label, std::string_view min_label,
                   std::string_view hour_label, std::string_view day_label,
                   const DateTimeSeparators& separators) {
  const double written = HeaderDateTime(FindFirstField(headers, "Date:"), separators);
  const double current = MakeDateTime(now.year, now.month, now.day, now.hour, now.minute,
                                      now.second, now.milliseconds, separators);
  return SpanText(WholeSecondsBetween(current, written), sec_label, min_label, hour_label,
                  day_label);
}

}  // namespace lintrel
