#include "tools/now_time.h"

#include <chrono>

#include "text/text.h"

namespace lintrel::cli {
namespace {

// The `count` digits at `at` as a number, or -1 when one of them is no digit.
int Digits(std::string_view text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (!IsAsciiDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<platform::SystemTime> ParseNowTime(std::string_view text) {
  // 0123456789012345678
  // YYYY-MM-DDTHH:MM:SS[.mmm]Z
  if (text.size() != 20 && text.size() != 24) return std::nullopt;
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
      text.back() != 'Z') {
    return std::nullopt;
  }
  const int year = Digits(text, 0, 4);
  const int month = Digits(text, 5, 2);
  const int day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2);
  const int minute = Digits(text, 14, 2);
  const int second = Digits(text, 17, 2);
  int milliseconds = 0;
  if (text.size() == 24) {
    if (text[19] != '.') return std::nullopt;
    milliseconds = Digits(text, 20, 3);
  }
  if (year < 1 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || milliseconds < 0) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return std::nullopt;
  platform::SystemTime reading;
  reading.year = static_cast<uint16_t>(year);
  reading.month = static_cast<uint16_t>(month);
  reading.day = static_cast<uint16_t>(day);
  reading.day_of_week =
      static_cast<uint16_t>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding());
  reading.hour = static_cast<uint16_t>(hour);
  reading.minute = static_cast<uint16_t>(minute);
  reading.second = static_cast<uint16_t>(second);
  reading.milliseconds = static_cast<uint16_t>(milliseconds);
  return reading;
}

}  // namespace lintrel::cli
