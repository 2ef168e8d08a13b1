// The charset labels of the WHATWG Encoding Standard, which decide what a
// part's charset parameter and an encoded-word's charset name: "latin1" and
// "us-ascii" are windows-1252, "gb2312" is GBK. charset_table.cpp is made
// by scripts/make-charset-table.sh; a label it lacks names no encoding, and
// its text is handed over as it stands.
#ifndef LINTREL_TOOLS_BODY_TEXT_CHARSET_LABELS_H_
#define LINTREL_TOOLS_BODY_TEXT_CHARSET_LABELS_H_

#include <cstdint>
#include <span>
#include <string_view>

namespace lintrel::cli {

// The code page of x-user-defined, which no Windows code page holds: its
// bytes 0 to 127 are those ASCII characters, and every other byte is a
// character that no code page has.
inline constexpr uint32_t kUserDefinedCodePage = 0;

// The code page that stands for ISO-2022-JP, which this stage rewrites as
// EUC-JP before it is converted (iso_2022_jp.h).
inline constexpr uint32_t kIso2022JpCodePage = 50220;

// An encoding: its name in the standard ("windows-1252") and the Windows
// code page of the same characters, the currency of the conversion
// (65001 for UTF-8, 1200 and 1201 for UTF-16LE and UTF-16BE, 50220 for
// ISO-2022-JP).
struct CharsetEncoding {
  std::string_view name;
  uint32_t code_page;
};

// A label in lower case ASCII, and the index of its encoding in
// CharsetEncodings().
struct CharsetLabel {
  std::string_view label;
  uint16_t encoding;
};

// The table: the encodings in the standard's order, the labels sorted byte
// by byte.
std::span<const CharsetEncoding> CharsetEncodings();
std::span<const CharsetLabel> CharsetLabels();

// The encoding that `label` names, as the standard gets an encoding: ASCII
// whitespace (tab, line feed, form feed, carriage return, space) trimmed at
// both ends, ASCII letters in either case. nullptr for a label the standard
// does not have, and for those of its "replacement" encoding.
const CharsetEncoding* EncodingForLabel(std::string_view label);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_CHARSET_LABELS_H_
