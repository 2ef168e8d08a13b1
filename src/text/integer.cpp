#include "text/integer.h"

#include <charconv>

#include "text/errors.h"

namespace lintrel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The magnitudes a 32-bit number can have, and the most a hexadecimal number
// can hold before one more digit overflows 32 bits.
constexpr uint32_t kLargestPositive = INT32_MAX;
constexpr uint32_t kLargestNegative = kLargestPositive + 1;
constexpr uint32_t kLargestBeforeHexDigit = UINT32_MAX / 16;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<int32_t> ReadDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  uint32_t a = 0;
  for (char c : digits) {
    if (!IsAsciiDigit(c) || a > kLargestNegative / 10) return std::nullopt;
    a = a * 10 + static_cast<uint32_t>(c - '0');
  }
  if (negative) {
    if (a > kLargestNegative) return std::nullopt;
    return static_cast<int32_t>(0u - a);
  }
  if (a > kLargestPositive) return std::nullopt;
  return static_cast<int32_t>(a);
}

std::optional<int32_t> ReadHexadecimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint32_t a = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || a > kLargestBeforeHexDigit) return std::nullopt;
    a = a * 16 + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(a);
}

}  // namespace

std::optional<int32_t> TryParseInt(std::string_view t) {
  t = BeforeNul(t);
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i == t.size()) return std::nullopt;
  const std::string_view rest = t.substr(i + 1);
  switch (t[i]) {
    case '-':
      return ReadDecimal(rest, true);
    case '+':
      return ReadDecimal(rest, false);
    case '$':
    case 'x':
    case 'X':
      return ReadHexadecimal(rest);
    case '0':
      if (rest.empty()) return 0;
      if (rest[0] == 'x' || rest[0] == 'X') return ReadHexadecimal(rest.substr(1));
      return ReadDecimal(rest, false);
    default:
      return ReadDecimal(t.substr(i), false);
  }
}

int32_t ParseInt(std::string_view t) {
  if (const auto value = TryParseInt(t)) return *value;
  throw InvalidIntegerError(t);
}

Text IntText(int64_t n) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  return Text(buffer, result.ptr);
}

Text PercentByte(unsigned char b) {
  return {'%', kHexDigits[b >> 4], kHexDigits[b & 15]};
}

}  // namespace lintrel
