// The date of a fuzzed field text, read three ways. ReadHeaderDate either
// reads the components or raises the integer or list-index error; the other
// two raise exactly what it raises. Otherwise ParseHeaderDate is false
// exactly when HeaderDateTime raises the invalid-date error, whose message
// shows the components with the given separators, and when it is true both
// give the same value: the components encoded, moved by the zone, finite and
// within the range that a date can be rendered in.
#include <cmath>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "headers/header_date.h"
#include "text/date_time_format.h"
#include "text/integer.h"

namespace {

using lintrel::fuzz::Check;

std::string InvalidDateMessage(const lintrel::HeaderDateFields& d,
                               const lintrel::DateTimeSeparators& s) {
  using lintrel::IntText;
  auto sep = [](char c) { return c == '\0' ? std::string() : std::string(1, c); };
  return "''" + IntText(d.year) + sep(s.date) + IntText(d.month) + sep(s.date) + IntText(d.day) +
         " " + IntText(d.hour) + sep(s.time) + IntText(d.minute) + sep(s.time) + IntText(d.second) +
         sep(s.decimal) + "0'' is not a valid date and time";
}

// Runs `read` and answers the error message it raised, if any, after
// checking that the error is a documented one.
template <typename Read>
std::optional<std::string> ErrorOf(Read read) {
  try {
    read();
  } catch (const lintrel::Exception& error) {
    lintrel::fuzz::CheckDocumentedError(error);
    return std::string(error.Message());
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  DateTimeSeparators separators;
  separators.date = static_cast<char>(reader.Byte());
  separators.time = static_cast<char>(reader.Byte());
  separators.decimal = static_cast<char>(reader.Byte());
  const std::string field = reader.Rest();

  HeaderDateFields date;
  const std::optional<std::string> read_error = ErrorOf([&] { date = ReadHeaderDate(field); });
  constexpr double kUntouched = -12345.25;
  double parsed = kUntouched;
  bool valid = false;
  const std::optional<std::string> parse_error =
      ErrorOf([&] { valid = ParseHeaderDate(field, parsed); });
  double made = 0;
  const std::optional<std::string> make_error =
      ErrorOf([&] { made = HeaderDateTime(field, separators); });

  if (read_error) {
    Check(!read_error->ends_with("is not a valid date and time"),
          "reading raised a date error", *read_error);
    Check(parse_error == read_error, "ParseHeaderDate raised otherwise than the reading");
    Check(make_error == read_error, "HeaderDateTime raised otherwise than the reading");
    return 0;
  }
  Check(!parse_error, "ParseHeaderDate raised where the reading did not", *parse_error);
  Check(date.month <= 12, "month beyond 12");
  if (!valid) {
    Check(parsed == kUntouched, "a false result changed the value");
    Check(make_error == InvalidDateMessage(date, separators),
          "HeaderDateTime did not raise the invalid-date error", make_error.value_or("(none)"));
    return 0;
  }
  Check(!make_error, "HeaderDateTime raised for a valid date", make_error.value_or(""));
  Check(made == parsed, "HeaderDateTime and ParseHeaderDate differ");
  Check(std::isfinite(parsed), "date is not finite");

  // The components, encoded without the zone, come back out unchanged.
  double local = 0;
  Check(TryMakeDateTime(date.year, date.month, date.day, date.hour, date.minute, date.second, 0,
                        local),
        "true for components that do not encode");
  const fuzz::Moment moment = fuzz::MomentOf(local);
  Check(moment.date.year == date.year && moment.date.month == date.month &&
            moment.date.day == date.day && moment.hour == date.hour &&
            moment.minute == date.minute && moment.second == date.second && moment.millisecond == 0,
        "components do not survive encoding");
  Check(local >= DaysFromCivil(1, 1, 1) && local < DaysFromCivil(9999, 12, 31) + 1,
        "local date outside years 1 to 9999");

  // The zone moves the date by its minutes; a zone is at most what a 32-bit
  // number of hundreds of hours gives.
  const double expected = local + static_cast<double>(date.shift_minutes) / 1440;
  Check(std::fabs(parsed - expected) <= 1e-6, "zone shift misapplied");
  Check(std::llabs(date.shift_minutes) <= (int64_t{INT32_MAX} / 100 + 1) * 60, "zone too large");
  SplitDateTime(parsed);  // must not raise: the delivery date renders it
  return 0;
}
