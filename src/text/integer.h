// Conversions between texts and 32-bit integers.
#ifndef LINTREL_TEXT_INTEGER_H_
#define LINTREL_TEXT_INTEGER_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace lintrel {

// Reads `t` up to its first byte 0: optional leading spaces (byte 32 only),
// then an optional sign and decimal digits, or one of "$", "x", "X", "0x",
// "0X" and up to eight significant hexadecimal digits (read as two's
// complement). Nothing may follow the digits. Nullopt when `t` is no number.
std::optional<int32_t> TryParseInt(std::string_view t);

// As `TryParseInt`, raising EConvertError "'t' is not a valid integer value"
// (with `t` whole, not cut at a byte 0) when `t` is no number.
int32_t ParseInt(std::string_view t);

// `n` in decimal: "-" for a negative number, no leading zeros, no "+".
Text IntText(int64_t n);

// "%" and the byte's value as two upper-case hexadecimal digits: 32 -> "%20".
Text PercentByte(unsigned char b);

}  // namespace lintrel

#endif  // LINTREL_TEXT_INTEGER_H_
