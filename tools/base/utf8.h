// Telling valid UTF-8 from other bytes, for output that must show bytes of
// any kind safely.
#ifndef LINTREL_TOOLS_BASE_UTF8_H_
#define LINTREL_TOOLS_BASE_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lintrel::cli {

// A character read from UTF-8: its code point when `valid`, and its length
// in bytes. An ill-formed sequence is as long as the bytes that could begin
// a character, at least one.
struct Utf8Character {
  char32_t code_point;
  size_t length;
  bool valid;
};

// The character at `at` (< bytes.size()) of `bytes`. Overlong forms,
// surrogates and code points above U+10FFFF are not valid.
inline Utf8Character ReadUtf8(std::string_view bytes, size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return {lead, 1, true};
  size_t length = 0;
  char32_t code_point = 0;
  // The bounds of the second byte; every later one is 80-BF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {0, 1, false};
  }
  for (size_t i = 1; i < length; ++i) {
    if (at + i == bytes.size()) return {0, i, false};
    const auto next = static_cast<unsigned char>(bytes[at + i]);
    if (next < low || next > high) return {0, i, false};
    code_point = code_point << 6 | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {code_point, length, true};
}

// The length of the valid UTF-8 sequence of two or more bytes that begins
// at `at` of `bytes`, or 0 when the byte there begins none.
inline size_t Utf8SequenceAt(std::string_view bytes, size_t at) {
  const Utf8Character c = ReadUtf8(bytes, at);
  return c.valid && c.length > 1 ? c.length : 0;
}

// Whether the valid sequence of `length` bytes at `at` of `bytes` encodes a
// C1 control, U+0080 to U+009F.
inline bool IsC1Sequence(std::string_view bytes, size_t at, size_t length) {
  return length == 2 && static_cast<unsigned char>(bytes[at]) == 0xC2 &&
         static_cast<unsigned char>(bytes[at + 1]) <= 0x9F;
}

// The bytes at `at` of `bytes` that make one character: a valid UTF-8
// sequence, or a single byte.
inline std::string_view CharacterAt(std::string_view bytes, size_t at) {
  const size_t length = Utf8SequenceAt(bytes, at);
  return bytes.substr(at, length > 0 ? length : 1);
}

// Appends the UTF-8 form of `code_point`, at most U+10FFFF.
inline void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | code_point >> 6);
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | code_point >> 12);
    out += static_cast<char>(0x80 | (code_point >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code_point >> 18);
    out += static_cast<char>(0x80 | (code_point >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code_point >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_UTF8_H_
