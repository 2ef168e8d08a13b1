// The header macros called as a host calls them, over a fuzzed header block
// and fuzzed parameters, with fuzzed separators in the regional settings.
// Every call stores its result (the reply time twice) or ends with a
// documented error and stores nothing, only the date macros raise, the
// references balance, and each result has its macro's shape: a span of
// units under the labels given, a lower-case character set without ";" or
// blank, a trimmed field value, or the delivery date as the default formats
// write it.
#include <array>
#include <optional>
#include <string>

#include "fuzz_provider.h"
#include "fuzz_support.h"
#include "headers/field_lookup.h"
#include "headers/header_date.h"
#include "plugin/dispatcher.h"
#include "text/date_time_format.h"
#include "text/integer.h"

namespace {

using lintrel::fuzz::Check;

constexpr std::array<const char*, 6> kMacros = {"KORDELIVERYTIME", "KORREPLYTIME",
                                                "KORCHARSET",      "KORMAILER",
                                                "KORGETHEADER",    "KORDELIVERYTODATE"};

// Reads a decimal number without leading zeros at `p`.
bool ReadNumber(std::string_view t, size_t& p, int64_t& value) {
  const size_t start = p;
  value = 0;
  while (p < t.size() && t[p] >= '0' && t[p] <= '9' && p - start < 12) {
    value = value * 10 + (t[p++] - '0');
  }
  return p > start && (p - start == 1 || t[start] != '0');
}

bool Expect(std::string_view t, size_t& p, std::string_view bytes) {
  if (t.substr(p, bytes.size()) != bytes) return false;
  p += bytes.size();
  return true;
}

// "D day H hour M min S sec", beginning with the largest unit reached: the
// leading number is not 0 unless it stands alone, and the ones after it stay
// below 24 and 60.
bool IsSpan(std::string_view t, const std::array<std::string, 4>& labels) {
  constexpr std::array<int64_t, 4> kLimits = {10'000'000, 24, 60, 60};
  for (size_t units = 1; units <= 4; ++units) {
    size_t p = 0;
    bool fits = true;
    for (size_t u = 4 - units; u < 4 && fits; ++u) {
      int64_t n = 0;
      fits = ReadNumber(t, p, n) && n < kLimits[u] && (u == 3 || u > 4 - units || n > 0) &&
             Expect(t, p, " ") && Expect(t, p, labels[u]) && (u == 3 || Expect(t, p, " "));
    }
    if (fits && p == t.size()) return true;
  }
  return false;
}

bool Trimmed(std::string_view t) {
  return lintrel::StripBlanks(t).size() == t.size();
}

// The moment `value` names, as the built-in formats "m/d/yy" and
// "h:mm:ss AMPM" write it with the settings' separators.
std::string DefaultRendering(double value, const lintrel::RegionalSettings& settings) {
  using lintrel::IntText;
  const lintrel::DateTimeParts p = lintrel::PartsOfMoment(*lintrel::WholeMilliseconds(value));
  auto sep = [](char c) { return c == '\0' ? std::string() : std::string(1, c); };
  auto two = [](int64_t n) { return (n < 10 ? "0" : "") + IntText(n); };
  std::string text = IntText(p.month) + sep(settings.date_separator) + IntText(p.day) +
                     sep(settings.date_separator) + two((p.year % 100 + 100) % 100);
  if (p.hour != 0 || p.minute != 0 || p.second != 0) {
    const unsigned hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    text += " " + IntText(hour12) + sep(settings.time_separator) + two(p.minute) +
            sep(settings.time_separator) + two(p.second) + " " + (p.hour < 12 ? "am" : "pm");
  }
  return text;
}

void CheckResult(const std::string& macro, const std::string& result,
                 const std::array<std::string, 4>& parameters, const std::string& headers,
                 const lintrel::RegionalSettings& settings) {
  using namespace lintrel;
  auto or_default = [](const std::string& given, const char* fallback) {
    return given.empty() ? std::string(fallback) : given;
  };
  if (macro == "KORDELIVERYTIME" || macro == "KORREPLYTIME") {
    const std::array<std::string, 4> labels = {
        or_default(parameters[3], "d"), or_default(parameters[2], "h"),
        or_default(parameters[1], "m"), or_default(parameters[0], "sec")};
    Check(IsSpan(result, labels), "span of another shape", result);
    if (macro == "KORDELIVERYTIME" &&
        FirstFieldStart(headers, "Received:") == LastFieldStart(headers, "Received:")) {
      Check(result == "0 " + labels[3], "a single Received: field spans time", result);
    }
  } else if (macro == "KORCHARSET") {
    if (result == "<unknown>") return;
    Check(!result.empty() && result.find_first_of("; ") == std::string::npos,
          "character set with ';' or a blank", result);
    Check(result == LocaleLower(result), "character set not lower-cased", result);
    Check(LocaleLower(headers).find(result) != std::string::npos,
          "character set not taken from the block", result);
  } else if (macro == "KORMAILER") {
    const Text field = FindFirstField(headers, "X-Mailer:");
    if (field.empty()) {
      Check(result == or_default(parameters[0], "<unknown>"), "mailer fallback", result);
    } else {
      Check(result == StripBlanks(std::string_view(field).substr(9)), "mailer value", result);
    }
  } else if (macro == "KORGETHEADER") {
    const Text field = FindFirstField(headers, parameters[0]);
    Check(Trimmed(result), "field value not trimmed", result);
    Check(result.empty() || field.find(result) != std::string::npos,
          "field value not taken from the field", result);
  } else {
    const std::optional<double> value = ParseHeaderDate(FindFirstField(headers, "Received:"));
    if (!value) {
      Check(result == or_default(parameters[0], "n/a"), "delivery date fallback", result);
    } else {
      Check(result == DefaultRendering(*value, settings), "delivery date rendering", result);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const std::string macro = kMacros[reader.Byte() % kMacros.size()];
  RegionalSettings settings;
  settings.date_separator = static_cast<char>(reader.Byte());
  settings.time_separator = static_cast<char>(reader.Byte());
  settings.decimal_separator = static_cast<char>(reader.Byte());
  const DateTimeParts now = reader.ClockReading();
  MacroEnvironment environment;
  environment.read_clock = [now] { return now; };
  environment.settings = &settings;

  std::array<std::string, 4> parameters;
  for (std::string& parameter : parameters) parameter = reader.Text();
  // Items are read up to their first byte 0, as the plug-in fetches them.
  for (std::string& parameter : parameters) parameter = parameter.substr(0, parameter.find('\0'));
  std::string headers = reader.Rest();
  fuzz::TableProvider message, parameter_provider;
  message.items[kItemHeaders] = headers;
  headers = headers.substr(0, headers.find('\0'));
  for (int32_t i = 0; i < 4; ++i) parameter_provider.items[i] = parameters[i];

  try {
    Check(ExecMacro(macro, &message, &parameter_provider, environment) == kItemResult,
          "answer is not 123257");
    Check(message.stores == (macro == "KORREPLYTIME" ? 2 : 1), "stored too often or too rarely");
    CheckResult(macro, message.stored, parameters, headers, settings);
  } catch (const Exception& error) {
    fuzz::CheckDocumentedError(error);
    Check(macro == "KORDELIVERYTIME" || macro == "KORREPLYTIME" || macro == "KORDELIVERYTODATE",
          "an extraction macro raised", error.Message());
    Check(message.stores == 0, "stored before an error");
  }
  Check(message.references == 0 && parameter_provider.references == 0, "references unbalanced");
  Check(parameter_provider.stores == 0, "stored in the parameter provider");
  return 0;
}
