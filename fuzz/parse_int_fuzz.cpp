// ParseInt against a second, independent reading of the accepted forms.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "text/integer.h"

namespace {

// Optional spaces, then a sign and decimal digits, or "$", "x", "X", "0x",
// "0X" and up to eight significant hexadecimal digits; read up to a byte 0.
std::optional<int32_t> Reference(std::string t) {
  t = t.substr(0, t.find('\0'));
  size_t i = t.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  std::string rest = t.substr(i);
  int base = 10;
  bool negative = false;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    base = 16;
    rest = rest.substr(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    base = 16;
    rest = rest.substr(2);
  } else if (rest[0] == '-' || rest[0] == '+') {
    negative = rest[0] == '-';
    rest = rest.substr(1);
  }
  if (rest.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : rest) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  if (base == 16) return static_cast<int32_t>(static_cast<uint32_t>(value));
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> expected = Reference(text);
  try {
    const int32_t value = ParseInt(text);
    fuzz::Check(expected == value, "ParseInt accepted what the reference refuses", text);
  } catch (const EConvertError& error) {
    fuzz::Check(!expected, "ParseInt refused what the reference accepts", text);
    fuzz::Check(error.Message() == "'" + text + "' is not a valid integer value", "message",
                error.Message());
  }
  return 0;
}
