#include "headers/time_span.h"

#include <optional>

#include "headers/field_lookup.h"
#include "headers/header_date.h"
#include "text/errors.h"
#include "text/integer.h"

namespace lintrel {
namespace {

void AppendUnit(Text& out, int64_t count, std::string_view label) {
  if (!out.empty()) out += ' ';
  out += IntText(count);
  out += ' ';
  out += label;
}

// The date of a "Received:" or "Date:" field in UTC.
double FieldDate(std::string_view field, const RegionalSettings& settings) {
  const HeaderDate date = ReadHeaderDate(field);
  const std::optional<double> utc = UtcDateTime(date);
  if (!utc) throw InvalidDateTimeError(date.local, settings);
  return *utc;
}

}  // namespace

int64_t WholeSecondsBetween(double a, double b) {
  // Whole milliseconds recover the exact times that header dates and clock
  // readings are made of, which the double's fraction of a day only nears.
  const int64_t ma = WholeMilliseconds(a).value();
  const int64_t mb = WholeMilliseconds(b).value();
  return (ma >= mb ? ma - mb : mb - ma) / 1000;
}

Text SpanText(int64_t seconds, const SpanLabels& labels) {
  Text text;
  if (seconds >= 86400) AppendUnit(text, seconds / 86400, labels.day);
  if (seconds >= 3600) AppendUnit(text, seconds / 3600 % 24, labels.hour);
  if (seconds >= 60) AppendUnit(text, seconds / 60 % 60, labels.min);
  AppendUnit(text, seconds % 60, labels.sec);
  return text;
}

Text DeliveryTimeSpan(std::string_view headers, const SpanLabels& labels,
                      const RegionalSettings& settings) {
  const std::optional<size_t> first = FirstFieldStart(headers, "Received:");
  const size_t last = LastFieldStart(headers, "Received:");
  const double a = FieldDate(first ? FieldTextAt(headers, *first) : Text(), settings);
  // A single field is both; its text is read once.
  const double b = first == last ? a : FieldDate(FieldTextAt(headers, last), settings);
  return SpanText(WholeSecondsBetween(b, a), labels);
}

Text ReplyTimeSpan(std::string_view headers, const DateTimeParts& now, const SpanLabels& labels,
                   const RegionalSettings& settings) {
  const double written = FieldDate(FindFirstField(headers, "Date:"), settings);
  const std::optional<double> current = EncodeDateTime(now);
  if (!current) throw InvalidDateTimeError(now, settings);
  return SpanText(WholeSecondsBetween(*current, written), labels);
}

}  // namespace lintrel
