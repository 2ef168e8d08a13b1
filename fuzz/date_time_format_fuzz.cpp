// The format engine over a fuzzed format, value and regional settings
// (separators, the four formats, the marker texts, one month and one day
// name, lead bytes). A value whose milliseconds do not fit 64 bits raises
// the conversion error and nothing else does; every text is at most 256
// bytes; "c" renders as DateTimeText does; bytes without a meaning and
// quoted bytes are copied as they are.
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "text/date_time_format.h"
#include "text/errors.h"

namespace {

using lintrel::fuzz::Check;

double Value(lintrel::fuzz::FuzzReader& reader) {
  const uint8_t kind = reader.Byte();
  if (kind < 64) {
    // Any bit pattern: infinities, NaN and the far ends of the range.
    const uint64_t bits = static_cast<uint64_t>(static_cast<uint32_t>(reader.Integer())) << 32 |
                          static_cast<uint32_t>(reader.Integer());
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  // A day within years 1 to 9999 or a little beyond, and a time of day.
  const int64_t day = reader.Integer() % 3'700'000 - 700'000;
  const double fraction = static_cast<uint32_t>(reader.Integer()) / 4294967296.0;
  return static_cast<double>(day) + (day < 0 ? -fraction : fraction);
}

bool Renderable(double v) {
  return std::fabs(static_cast<long double>(v) * 86400000) < 0x1p63L;
}

template <typename Render>
void CheckRendering(double v, Render render) {
  try {
    const lintrel::Text text = render();
    Check(Renderable(v), "rendered a value out of range");
    Check(text.size() <= lintrel::kMaxDateTimeText, "longer than 256 bytes", text);
  } catch (const lintrel::EConvertError& error) {
    Check(!Renderable(v), "raised for a value in range", error.Message());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const double v = Value(reader);
  RegionalSettings settings;
  settings.date_separator = static_cast<char>(reader.Byte());
  settings.time_separator = static_cast<char>(reader.Byte());
  settings.decimal_separator = static_cast<char>(reader.Byte());
  const uint8_t lead = reader.Byte();
  if (lead >= 128) settings.lead_bytes.set(lead);
  const uint8_t names = reader.Byte();
  settings.short_month_names[names % 12] = reader.Text();
  settings.long_month_names[names / 16 % 12] = reader.Text();
  settings.short_day_names[names % 7] = reader.Text();
  settings.long_day_names[names / 32 % 7] = reader.Text();
  settings.am_text = reader.Text();
  settings.pm_text = reader.Text();
  settings.short_date_format = reader.Text();
  settings.long_date_format = reader.Text();
  settings.short_time_format = reader.Text();
  settings.long_time_format = reader.Text();
  const std::string format = reader.Rest();

  CheckRendering(v, [&] { return FormatDateTime(format, v, settings); });
  CheckRendering(v, [&] { return DateTimeText(v, settings); });
  if (!Renderable(v)) return 0;
  Check(FormatDateTime("c", v, settings) == DateTimeText(v, settings),
        "\"c\" differs from DateTimeText");

  // Without letters, quotes, separators and lead bytes a format is copied.
  std::string plain, quoted = "'";
  for (char c : format) {
    const auto b = static_cast<unsigned char>(c);
    if (settings.lead_bytes[b]) continue;
    if (c != '\'') quoted += c;
    if (!IsAsciiLetter(b) && c != '"' && c != '\'' && c != '/' && c != ':') plain += c;
  }
  quoted += '\'';
  Check(FormatDateTime(plain, v, settings) == plain.substr(0, kMaxDateTimeText),
        "bytes without a meaning not copied", plain);
  Check(FormatDateTime(quoted, v, settings) ==
            quoted.substr(1, std::min(quoted.size() - 2, kMaxDateTimeText)),
        "quoted bytes not copied", quoted);
  return 0;
}
