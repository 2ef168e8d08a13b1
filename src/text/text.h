// Byte-string operations that every macro is built from.
//
// A text is a byte string in the host's single-byte code page. Positions are
// 1-based and 0 means "not found". Character classes are ASCII-only; only
// `LocaleLower` consults the code page. None of these but `BeforeNul` stops
// at a byte 0: they all work on the full length.
#ifndef LINTREL_TEXT_TEXT_H_
#define LINTREL_TEXT_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lintrel {

using Text = std::string;

// True for the bytes 0 to 32, which trimming removes and which start a
// header continuation line.
constexpr bool IsBlankOrControl(unsigned char c) {
  return c <= 32;
}

constexpr bool IsAsciiLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsAsciiDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
constexpr char AsciiLowerByte(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
constexpr char AsciiUpperByte(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Whether `t` begins with `prefix`, ASCII letters compared in either case.
constexpr bool StartsWithIgnoringCase(std::string_view t, std::string_view prefix) {
  if (t.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLowerByte(t[i]) != AsciiLowerByte(prefix[i])) return false;
  }
  return true;
}

// Whether `a` and `b` are the same, ASCII letters compared in either case.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

// The bytes of `t` before its first byte 0, all of them when it has none:
// the text as the operations that read up to a byte 0 see it.
constexpr std::string_view BeforeNul(std::string_view t) {
  return t.substr(0, t.find('\0'));
}

// `t` without the bytes of value 32 or less at both ends. Bytes 128 to 255
// and bytes inside the text are kept.
std::string_view StripBlanks(std::string_view t);

// Maps "a".."z" to "A".."Z"; every other byte, 128 to 255 included, is
// copied unchanged.
Text AsciiUpper(std::string_view t);

// Lower-cases every letter of the user's ANSI code page, using the
// platform's mapping. The length never changes.
Text LocaleLower(std::string_view t);

// The 1-based position of the first occurrence of `pattern` in `t`, compared
// byte for byte; 0 when there is none or when either text is empty.
int32_t FindText(std::string_view pattern, std::string_view t);

// At most `count` bytes of `t` from the 1-based position `start`. A start
// below 1 counts as 1; a start beyond the end or a negative count gives the
// empty text.
std::string_view SubText(std::string_view t, int64_t start, int64_t count);

// Everything from the 1-based position `start` to the end.
inline std::string_view TextFrom(std::string_view t, int64_t start) {
  return SubText(t, start, static_cast<int64_t>(t.size()));
}

}  // namespace lintrel

#endif  // LINTREL_TEXT_TEXT_H_
