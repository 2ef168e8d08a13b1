// The date of a fuzzed field text, read two ways. ReadHeaderDate either
// reads the components or raises the integer or list-index error, and
// ParseHeaderDate raises exactly what it raises. Otherwise ParseHeaderDate
// has no value exactly when the components name no moment, whose error
// message shows them with the given separators, and when it has one it is
// the components encoded, moved by the zone, finite and within the range
// that a date can be rendered in.
#include <cmath>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "headers/header_date.h"
#include "text/integer.h"
#include "text/regional_settings.h"

namespace {

using lintrel::fuzz::Check;

std::string InvalidDateMessage(const lintrel::DateTimeParts& d,
                               const lintrel::RegionalSettings& s) {
  using lintrel::IntText;
  auto sep = [](char c) { return c == '\0' ? std::string() : std::string(1, c); };
  return "''" + IntText(d.year) + sep(s.date_separator) + IntText(d.month) + sep(s.date_separator) +
         IntText(d.day) + " " + IntText(d.hour) + sep(s.time_separator) + IntText(d.minute) +
         sep(s.time_separator) + IntText(d.second) + sep(s.decimal_separator) +
         "0'' is not a valid date and time";
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
  RegionalSettings settings;
  settings.date_separator = static_cast<char>(reader.Byte());
  settings.time_separator = static_cast<char>(reader.Byte());
  settings.decimal_separator = static_cast<char>(reader.Byte());
  const std::string field = reader.Rest();

  HeaderDate date;
  const std::optional<std::string> read_error = ErrorOf([&] { date = ReadHeaderDate(field); });
  std::optional<double> parsed;
  const std::optional<std::string> parse_error = ErrorOf([&] { parsed = ParseHeaderDate(field); });

  if (read_error) {
    Check(!read_error->ends_with("is not a valid date and time"), "reading raised a date error",
          *read_error);
    Check(parse_error == read_error, "ParseHeaderDate raised otherwise than the reading");
    return 0;
  }
  Check(!parse_error, "ParseHeaderDate raised where the reading did not", *parse_error);
  Check(date.local.month <= 12, "month beyond 12");
  if (!parsed) {
    Check(!IsValidDateTime(date.local), "no date for components that name a moment");
    Check(InvalidDateTimeError(date.local, settings).Message() ==
              InvalidDateMessage(date.local, settings),
          "invalid-date message");
    return 0;
  }
  Check(std::isfinite(*parsed), "date is not finite");

  // The components, encoded without the zone, come back out unchanged.
  const std::optional<double> local = EncodeDateTime(date.local);
  Check(local.has_value(), "a date for components that do not encode");
  Check(PartsOfMoment(*WholeMilliseconds(*local)) == date.local,
        "components do not survive encoding");
  Check(*local >= DaysFromCivil(1, 1, 1) && *local < DaysFromCivil(9999, 12, 31) + 1,
        "local date outside years 1 to 9999");

  // The zone moves the date by its minutes; a zone is at most what a 32-bit
  // number of hundreds of hours gives.
  const double expected = *local + static_cast<double>(date.shift_minutes) / 1440;
  Check(std::fabs(*parsed - expected) <= 1e-6, "zone shift misapplied");
  Check(std::llabs(date.shift_minutes) <= (int64_t{INT32_MAX} / 100 + 1) * 60, "zone too large");
  // The delivery date renders it.
  Check(WholeMilliseconds(*parsed).has_value(), "date beyond the renderer's range");
  return 0;
}
