#include "tools/arguments/now_time.h"

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

std::variant<DateTimeParts, NowFault> ParseNowTime(std::string_view text) {
  // 0123456789012345678
  // YYYY-MM-DDTHH:MM:SS[.mmm]Z
  if (text.size() != 20 && text.size() != 24) return NowFault::kLayout;
  if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
      text.back() != 'Z' || (text.size() == 24 && text[19] != '.')) {
    return NowFault::kLayout;
  }
  const int fields[] = {Digits(text, 0, 4),
                        Digits(text, 5, 2),
                        Digits(text, 8, 2),
                        Digits(text, 11, 2),
                        Digits(text, 14, 2),
                        Digits(text, 17, 2),
                        text.size() == 24 ? Digits(text, 20, 3) : 0};
  for (const int field : fields) {
    if (field < 0) return NowFault::kLayout;
  }
  if (fields[0] < 1) return NowFault::kLayout;
  const auto u = [](int n) { return static_cast<unsigned>(n); };
  const DateTimeParts now = {fields[0],    u(fields[1]), u(fields[2]), u(fields[3]),
                             u(fields[4]), u(fields[5]), u(fields[6])};
  if (!IsValidDateTime({now.year, now.month, now.day})) return NowFault::kNoSuchDay;
  if (!IsValidDateTime(now)) return NowFault::kNoSuchTime;
  return now;
}

}  // namespace lintrel::cli
