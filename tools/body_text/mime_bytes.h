// Byte classes that the MIME readers of this stage share.
#ifndef LINTREL_TOOLS_BODY_TEXT_MIME_BYTES_H_
#define LINTREL_TOOLS_BODY_TEXT_MIME_BYTES_H_

#include <string>
#include <string_view>

namespace lintrel::cli {

constexpr bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The value of a hex digit, in either case.
constexpr int HexValue(char c) {
  return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// `text` with each `escape` followed by two hex digits written as the byte
// they give, every other `escape` as it stands, and each "_" a space when
// `underscore_is_space` (an encoded-word's Q encoding).
inline std::string HexEscapesDecoded(std::string_view text, char escape,
                                     bool underscore_is_space = false) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == escape && i + 2 < text.size() && IsHexDigit(text[i + 1]) &&
        IsHexDigit(text[i + 2])) {
      out += static_cast<char>(HexValue(text[i + 1]) << 4 | HexValue(text[i + 2]));
      i += 2;
    } else {
      out += underscore_is_space && text[i] == '_' ? ' ' : text[i];
    }
  }
  return out;
}

// Python's str.isspace() for a byte of a message: tab to carriage return,
// the four separators 0x1C to 0x1F, and space. Python reads a message's
// bytes above 127 as no characters of their own, and no space.
constexpr bool IsPythonSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || (c >= '\x1c' && c <= '\x1f');
}

// `text` without Python's spaces at both ends, as str.strip() gives it.
constexpr std::string_view PythonStrip(std::string_view text) {
  while (!text.empty() && IsPythonSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsPythonSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_MIME_BYTES_H_
