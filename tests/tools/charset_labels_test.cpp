#include "tools/body_text/charset_labels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace lintrel::cli {
namespace {

TEST(CharsetLabelsTest, ResolvesLabelsAsTheEncodingStandard) {
  struct Case {
    std::string label;
    std::string_view encoding;  // empty: no encoding
    uint32_t code_page;
  };
  const Case cases[] = {
      {"utf-8", "UTF-8", 65001},
      {"UTF8", "UTF-8", 65001},
      {"unicode-1-1-utf-8", "UTF-8", 65001},
      // Latin-1 and ASCII are windows-1252; the Chinese and Korean labels
      // name the supersets.
      {"iso-8859-1", "windows-1252", 1252},
      {"US-ASCII", "windows-1252", 1252},
      {"latin1", "windows-1252", 1252},
      {"gb2312", "GBK", 936},
      {"ks_c_5601-1987", "EUC-KR", 949},
      {"koi8-r", "KOI8-R", 20866},
      {"shift_jis", "Shift_JIS", 932},
      {"x-sjis", "Shift_JIS", 932},
      {"euc-jp", "EUC-JP", 20932},
      {"big5", "Big5", 950},
      {"iso-8859-15", "ISO-8859-15", 28605},
      {"utf-16", "UTF-16LE", 1200},
      {"utf-16be", "UTF-16BE", 1201},
      {"macintosh", "macintosh", 10000},
      {"x-user-defined", "x-user-defined", kUserDefinedCodePage},
      // The encodings that the package leaves out, added from the standard.
      {"iso-2022-jp", "ISO-2022-JP", 50220},
      {"csISO2022JP", "ISO-2022-JP", 50220},
      {"iso-8859-8-i", "ISO-8859-8-I", 38598},
      {"logical", "ISO-8859-8-I", 38598},
      {"x-mac-ukrainian", "x-mac-cyrillic", 10007},
      // ASCII whitespace trimmed at both ends, and nothing else.
      {" \t\r\n\fwindows-1251 \n", "windows-1251", 1251},
      {"\vwindows-1251", "", 0},
      {"windows-1251\xa0", "", 0},
      {"utf 8", "", 0},
      // Only ASCII letters fold: the Kelvin sign is not a K.
      {"\xe2\x84\xaaoi8-r", "", 0},
      // The "replacement" encoding's labels, and labels nobody knows.
      {"iso-2022-kr", "", 0},
      {"hz-gb-2312", "", 0},
      {"replacement", "", 0},
      {"x-unknown", "", 0},
      {"", "", 0},
      {"utf-8utf-8utf-8utf-8utf-8utf-8utf-8", "", 0},
      {std::string("utf-8\0", 6), "", 0},
  };
  for (const Case& c : cases) {
    const CharsetEncoding* encoding = EncodingForLabel(c.label);
    if (c.encoding.empty()) {
      EXPECT_EQ(encoding, nullptr) << c.label;
      continue;
    }
    ASSERT_NE(encoding, nullptr) << c.label;
    EXPECT_EQ(encoding->name, c.encoding) << c.label;
    EXPECT_EQ(encoding->code_page, c.code_page) << c.label;
  }
}

// The lookup is a binary search: the labels must be sorted, unique, in the
// form it compares, and every encoding must have one.
TEST(CharsetLabelsTest, TableIsSortedAndComplete) {
  const auto labels = CharsetLabels();
  std::set<uint16_t> named;
  for (size_t i = 0; i < labels.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(labels[i - 1].label, labels[i].label);
    }
    for (const char c : labels[i].label) EXPECT_FALSE(c >= 'A' && c <= 'Z') << labels[i].label;
    ASSERT_LT(labels[i].encoding, CharsetEncodings().size());
    EXPECT_EQ(EncodingForLabel(labels[i].label), &CharsetEncodings()[labels[i].encoding]);
    named.insert(labels[i].encoding);
  }
  EXPECT_EQ(named.size(), CharsetEncodings().size());
}

}  // namespace
}  // namespace lintrel::cli
