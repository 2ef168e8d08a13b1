#include "headers/header_date.h"

#include <array>
#include <optional>

#include "text/integer.h"
#include "text/line_list.h"
#include "text/text.h"
#include "text/tokenizer.h"

namespace lintrel {
namespace {

constexpr int32_t kTokensRead = 7;

struct ZoneName {
  std::string_view name;
  int32_t shift_hours;
};

// Case-sensitive, as mailers write them.
constexpr std::array<ZoneName, 12> kZoneNames = {{
    {"GMT", 0},
    {"UMC", 0},
    {"UT", 0},
    {"UTC", 0},
    {"EST", 5},
    {"EDT", 4},
    {"CST", 6},
    {"CDT", 5},
    {"MST", 7},
    {"MDT", 6},
    {"PST", 8},
    {"PDT", 7},
}};

// The part of the field text that holds the date, found by position so a
// long field is not copied.
std::string_view DateText(std::string_view field) {
  const size_t semicolon = field.rfind(';');
  std::string_view t = semicolon == std::string_view::npos ? field : field.substr(semicolon + 1);
  const size_t comma = t.rfind(',');
  if (comma != std::string_view::npos) t = t.substr(comma + 1);
  if (semicolon == std::string_view::npos && comma == std::string_view::npos) {
    // No weekday and no route: only the field name stands before the date.
    const size_t colon = t.find(':');
    if (colon != std::string_view::npos) t = t.substr(colon + 1);
  }
  return t;
}

// A sign and exactly four digits hhmm: the whole offset, minutes included.
std::optional<int64_t> NumericZoneMinutes(std::string_view zone) {
  if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-')) return std::nullopt;
  for (char c : zone.substr(1)) {
    if (!IsAsciiDigit(c)) return std::nullopt;
  }
  const int64_t offset =
      ((zone[1] - '0') * 10 + (zone[2] - '0')) * 60 + (zone[3] - '0') * 10 + (zone[4] - '0');
  return zone[0] == '+' ? -offset : offset;
}

int64_t ZoneShiftMinutes(std::string_view zone) {
  for (const ZoneName& known : kZoneNames) {
    if (zone == known.name) return int64_t{known.shift_hours} * 60;
  }
  if (const auto minutes = NumericZoneMinutes(zone)) return *minutes;
  // Widened first: negating the least 32-bit number does not fit 32 bits.
  return -int64_t{ParseInt(zone)} / 100 * 60;
}

int32_t FullYear(int32_t year) {
  if (year < 50) return year + 2000;
  if (year < 1000) return year + 1900;
  return year;
}

// The number as the encoder takes it.
unsigned Low16(int32_t n) {
  return static_cast<uint16_t>(static_cast<uint32_t>(n));
}

// The month of a month name, any letter case: 0 when it names none.
int MonthNumber(std::string_view name) {
  if (name.empty()) return 0;
  switch (AsciiLowerByte(name.front())) {
    case 'd':
      return 12;
    case 'f':
      return 2;
    case 'n':
      return 11;
    case 'o':
      return 10;
    case 's':
      return 9;
    default:
      break;
  }
  constexpr std::array<std::string_view, 7> kNames = {"jan", "mar", "apr", "may",
                                                      "jun", "jul", "aug"};
  constexpr std::array<int, 7> kMonths = {1, 3, 4, 5, 6, 7, 8};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (name.size() == kNames[i].size() && StartsWithIgnoringCase(name, kNames[i])) {
      return kMonths[i];
    }
  }
  return 0;
}

}  // namespace

HeaderDate ReadHeaderDate(std::string_view field) {
  static constexpr ByteSet kSeparators(" /:");
  LineList tokens;
  Tokenize(kSeparators, ByteSet(), DateText(field), tokens, kTokensRead);
  HeaderDate date;
  date.local.day = Low16(ParseInt(LineAt(tokens, 0)));
  date.local.month = static_cast<unsigned>(MonthNumber(LineAt(tokens, 1)));
  const int32_t year = ParseInt(LineAt(tokens, 2));
  date.local.hour = Low16(ParseInt(LineAt(tokens, 3)));
  date.local.minute = Low16(ParseInt(LineAt(tokens, 4)));
  date.local.second = Low16(ParseInt(LineAt(tokens, 5)));
  date.shift_minutes = ZoneShiftMinutes(LineAt(tokens, 6));
  date.local.year = Low16(FullYear(year));
  return date;
}

std::optional<double> UtcDateTime(const HeaderDate& date) {
  const std::optional<double> local = EncodeDateTime(date.local);
  if (!local) return std::nullopt;
  return date.shift_minutes % 60 == 0 ? ShiftHours(*local, date.shift_minutes / 60)
                                      : ShiftMinutes(*local, date.shift_minutes);
}

std::optional<double> ParseHeaderDate(std::string_view field) {
  return UtcDateTime(ReadHeaderDate(field));
}

}  // namespace lintrel
