#include "tools/base/code_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lintrel::cli {
namespace {

struct Case {
  uint32_t from;
  std::string bytes;
  uint32_t to;
  std::string converted;
};

// The bytes of a string literal, NULs included.
template <size_t kSize>
std::string Bytes(const char (&literal)[kSize]) {
  return std::string(literal, kSize - 1);
}

// Whether this system may lack `code_page`: these tests run in the Windows
// builds too, under Wine, which has no 28600, 28604, 28606 or 54936. Their
// cases are left out there.
bool MayLack(uint32_t code_page) {
#if defined(_WIN32)
  std::string out;
  return (code_page == 28600 || code_page == 28604 || code_page == 28606 || code_page == 54936) &&
         !ConvertCodePage("", code_page, kUtf8CodePage, out);
#else
  (void)code_page;
  return false;
#endif
}

std::string Converted(const std::string& bytes, uint32_t from, uint32_t to) {
  std::string out;
  EXPECT_TRUE(ConvertCodePage(bytes, from, to, out)) << from << " -> " << to;
  return out;
}

void ExpectConversions(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    if (MayLack(c.from)) continue;
    EXPECT_EQ(Converted(c.bytes, c.from, c.to), c.converted)
        << c.from << " -> " << c.to << ": " << testing::PrintToString(c.bytes);
  }
}

TEST(CodePagesTest, ReadsEverySourceCodePage) {
  ExpectConversions({
      {866, "\x8f\xe0\xa8\xa2\xa5\xe2", 65001, "Привет"},
      {874, "\xca\xc7\xd1\xca\xb4\xd5", 65001, "สวัสดี"},
      {932, "\x93\xfa\x96\x7b \xb1 \\~", 65001, "日本 ｱ \\~"},
      {936, "\xc4\xe3\xba\xc3\x80", 65001, "你好€"},
      {949, "\xc7\xd1\xb1\xdb\x81\x41", 65001, "한글갂"},
      {950, "\xa4\xa4\xa4\xe5", 65001, "中文"},
      {1250, "\x8a\x9a\xe8", 65001, "Ššč"},
      {1251, "\xcf\xf0\xe8\x88", 65001, "При€"},
      {1252, "\x93\x63\x61\x66\xe9\x94", 65001, "“café”"},
      {1253, "\xc1\xe8\xde\xed\xe1", 65001, "Αθήνα"},
      {1254, "\xd0\xfe\xdd", 65001, "Ğşİ"},
      // A point after a letter stays a character of its own.
      {1255, "\xf9\xec\xe5\xed \xe9\xc4", 65001, "שלום \u05d9\u05b4"},
      {1256, "\xe3\xd1\xcd\xc8\xc7", 65001, "مرحبا"},
      {1257, "\xc0\xe0", 65001, "Ąą"},
      {1258, "\xc3\xe3 A\xde", 65001, "Ăă A\u0303"},
      {10000, "\x8e\xa5", 65001, "é•"},
      {20866, "\xf0\xd2\xc9", 65001, "При"},
      {21866, "\xa4\xa6", 65001, "єі"},
      {20932, "\xc6\xfc\xcb\xdc\x8e\xb1\x8f\xb0\xa1", 65001, "日本ｱ丂"},
      {28592, "\xa9", 65001, "Š"},
      {28593, "\xa1", 65001, "Ħ"},
      {28594, "\xa1", 65001, "Ą"},
      {28595, "\xbf\xe0", 65001, "Пр"},
      {28596, "\xc7", 65001, "ا"},
      {28597, "\xc1", 65001, "Α"},
      {28598, "\xf9", 65001, "ש"},
      {38598, "\xf9", 65001, "ש"},
      {28600, "\xa1\xbd", 65001, "Ą―"},
      {28603, "\xc0\xa1", 65001, "Ą”"},
      {28604, "\xa1", 65001, "Ḃ"},
      {28605, "\xa4", 65001, "€"},
      {28606, "\xaa", 65001, "Ș"},
      {54936, "\xc4\xe3\x81\x30\x81\x30\x90\x30\x81\x30", 65001, "你\u0080𐀀"},
      {65001, "caf\xc3\xa9 \xf0\x9f\x98\x80", 65001, "café 😀"},
      {1200, Bytes("A\0\xe9\0=\xd8\0\xde"), 65001, "Aé😀"},
      {1201, Bytes("\0A\0\xe9\xd8=\xde\0"), 65001, "Aé😀"},
  });
}

TEST(CodePagesTest, WritesEveryTargetCodePage) {
  ExpectConversions({
      {65001, "สวัสดี", 874, "\xca\xc7\xd1\xca\xb4\xd5"},
      {65001, "日本ｱ", 932, "\x93\xfa\x96\x7b\xb1"},
      {65001, "你好€", 936, "\xc4\xe3\xba\xc3\x80"},
      {65001, "한글", 949, "\xc7\xd1\xb1\xdb"},
      {65001, "中文", 950, "\xa4\xa4\xa4\xe5"},
      {65001, "Ššč", 1250, "\x8a\x9a\xe8"},
      {65001, "При€", 1251, "\xcf\xf0\xe8\x88"},
      {1250, "\x8a\x9a", 1252, "\x8a\x9a"},
      {65001, "Αθήνα", 1253, "\xc1\xe8\xde\xed\xe1"},
      {65001, "Ğşİ", 1254, "\xd0\xfe\xdd"},
      {65001, "שלום", 1255, "\xf9\xec\xe5\xed"},
      {65001, "مرحبا", 1256, "\xe3\xd1\xcd\xc8\xc7"},
      {65001, "Ąą", 1257, "\xc0\xe0"},
      {65001, "Ăă A\u0303", 1258, "\xc3\xe3 A\xde"},
      {932, "\x93\xfa\x96\x7b", 936, "\xc8\xd5\xb1\xbe"},
  });
}

// Each fault is one "?", and reading goes on right after it.
TEST(CodePagesTest, WhatCannotBeReadIsOneQuestionMarkEach) {
  ExpectConversions({
      {65001, "A\xe2\x82 A", 1252, "A? A"},
      {65001, "\xed\xa0\x80|\xc0\xaf|\xff|\xf4\x90\x80\x80", 1252, "???|??|?|????"},
      {65001, "A\xf0\x9f\x98", 65001, "A?"},
      {65001, "\xe2\x82\xe2\x82\xac", 65001, "?€"},
      {1200, Bytes("A\0\0\xd8|\0\0\xdc|\0"), 1252, "A?|?|"},
      {1200, Bytes("A\0\0\xd8"), 1252, "A?"},
      {1200, Bytes("A\0\0\xd8\0"), 1252, "A?"},
      {1201, Bytes("\0A\0"), 1252, "A?"},
      {932, "\x81 A", 1252, "? A"},
      {932, "\x85\xa1|", 65001, "?｡|"},
      {932, "A\x81", 1252, "A?"},
      {932, "\xa0\xfd|", 1252, "??|"},
      {936, "\x81 A\xff", 1252, "? A?"},
      {949, "\xc9\xa0 ", 65001, "?? "},
      // glibc's 949 reads past A2 E8 as it refuses it.
      {949, "\xa2\xe8|\xa2\xe8\xa2\xe8", 65001, "??|?熬?"},
      {950, "\xa3\xff|", 65001, "??|"},
      {20932, "\xa1 A", 1252, "? A"},
      {20932, "\xa6|\x8f\xa2\xaf\x8f|\x8e\xe0", 65001, "?|˘?|??"},
      {54936, "\x81\x30\x81", 65001, "?"},
      {1253, "\xaa|\xd2", 65001, "?|?"},
      {28596, "\xa1", 1256, "?"},
  });
}

// An undefined byte from 0x80 to 0x9F is the C1 control of its number,
// both ways, as Windows has it.
TEST(CodePagesTest, UndefinedC1BytesAreC1Controls) {
  ExpectConversions({
      {1252, "\x81\x8d\x8f\x90\x9d", 65001, "\u0081\u008d\u008f\u0090\u009d"},
      {1252, "\x81", 1252, "\x81"},
      {65001, "\u0081\u0098", 1251, "?\x98"},
      {874, "\x81", 65001, "\u0081"},
      {932, "\x80", 65001, "\u0080"},
      {65001, "\u0080\u0081", 932, "\x80?"},
      {65001, "\u0080", 949, "\x80"},
      {20932, "\x80", 65001, "\u0080"},
  });
}

// Never a look-alike: a character the target lacks is "?", one per
// character, also beyond the Basic Multilingual Plane.
TEST(CodePagesTest, WhatTheTargetLacksIsOneQuestionMarkEach) {
  ExpectConversions({
      {65001, "日本", 1252, "??"},
      {65001, "x😀y", 1252, "x?y"},
      {65001, "😀", 932, "?"},
      {65001, "¥‾—‖−〜¢£¬", 932, "?????????"},
      {65001, "\u2015", 932, "\x81\x5c"},
      {65001, "Ã", 1258, "?"},
      {65001, "ﬠ\ufb1d", 1255, "??"},
      {65001, "\ufffd", 1252, "?"},
      {65001, "ĄŁ", 1252, "??"},
      {65001, "Œ", 1250, "?"},
      {65001, "\ue000", 1252, "?"},
  });
}

// Whatever a target reads, it writes back as bytes that read the same: the
// written character is one it has, not one that glibc or Windows would only
// write.
TEST(CodePagesTest, TargetsWriteBackWhatTheyRead) {
  for (const uint32_t page :
       {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    std::vector<std::string> sequences;
    for (int first = 0x80; first < 0x100; ++first) {
      sequences.push_back(std::string(1, static_cast<char>(first)));
      for (int second = 0x40; page >= 932 && page <= 950 && second < 0x100; ++second) {
        sequences.push_back({static_cast<char>(first), static_cast<char>(second)});
      }
    }
    for (const std::string& bytes : sequences) {
      const std::string read = Converted(bytes, page, 65001);
      if (read.find('?') != std::string::npos) continue;
      const std::string written = Converted(read, 65001, page);
      ASSERT_EQ(Converted(written, page, 65001), read)
          << page << ": " << testing::PrintToString(bytes) << " written as "
          << testing::PrintToString(written);
    }
  }
}

TEST(CodePagesTest, AsciiStaysAsItStands) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char>(i % 128);
  // Also after a character that is not ASCII, read by the system: "\xff" is
  // "?" in 1251 from each of these.
  for (const uint32_t from : {65001, 932, 1252, 54936, 20932}) {
    if (MayLack(from)) continue;
    EXPECT_EQ(Converted(text, from, 1251), text) << from;
    EXPECT_EQ(Converted("\xff" + text, from, 1251), "?" + text) << from;
  }
  // A non-ASCII byte ends the copied beginning wherever it stands.
  for (size_t at = 0; at < 70; ++at) {
    std::string mixed = text.substr(0, 70);
    mixed.insert(at, "\xc3\xa9");
    std::string expected = text.substr(0, 70);
    expected.insert(at, "\xe9");
    EXPECT_EQ(Converted(mixed, 65001, 1252), expected) << at;
  }
  // UTF-16's ASCII is not ASCII's.
  EXPECT_EQ(Converted(Bytes("h\0i\0"), 1200, 1252), "hi");
}

TEST(CodePagesTest, EmptyTextAndUnknownCodePages) {
  std::string out = "kept";
  EXPECT_TRUE(ConvertCodePage("", 932, 1252, out));
  EXPECT_TRUE(ConvertCodePage("", 1201, 65001, out));
  EXPECT_EQ(out, "kept");
  for (const auto& [from, to] : std::vector<std::pair<uint32_t, uint32_t>>{{50220, 65001},
                                                                           {0, 1252},
                                                                           {28591, 1252},
                                                                           {65001, 20932},
                                                                           {65001, 1200},
                                                                           {1252, 28605}}) {
    EXPECT_FALSE(ConvertCodePage("text \xe9", from, to, out)) << from << " -> " << to;
    EXPECT_EQ(out, "kept");
  }
}

// Long texts are converted a piece at a time: characters and faults that
// straddle the pieces' edges read as they would anywhere.
TEST(CodePagesTest, LongTexts) {
  struct LongCase {
    uint32_t from;
    std::string unit;
    uint32_t to;
    std::string converted;
  };
  const LongCase cases[] = {
      {932, "\x93\xfa\x96\x7b|", 65001, "日本|"},
      {932, "\x93\xfa\x81 x", 65001, "日? x"},
      {54936, "\x81\x30\x81\x30|", 65001, "\u0080|"},
      {20932, "\x8f\xb0\xa1|\xa4\xa2", 65001, "丂|あ"},
      {20932, "\x8f\xb0\xa1\xa1|", 65001, "丂?|"},
      {65001, "日本|", 932, "\x93\xfa\x96\x7b|"},
      {65001, "\xe6\x97", 1252, "?"},
      {65001, "😀b", 1252, "?b"},
      {1201, Bytes("\xd8=\xde\0\0a"), 65001, "😀a"},
      {1252, "\xe9", 65001, "é"},
  };
  for (const LongCase& c : cases) {
    if (MayLack(c.from)) continue;
    std::string text;
    std::string expected;
    for (size_t i = 0; text.size() < 140 * 1024; ++i) {
      text += c.unit;
      expected += c.converted;
    }
    EXPECT_EQ(Converted(text, c.from, c.to), expected) << c.from << " -> " << c.to;
  }
}

// Any bytes at all, in any code page: read to the end, written as at most
// two bytes for each byte read, in bytes that the target reads back as
// they are.
TEST(CodePagesTest, AnyBytes) {
  std::mt19937 random(11);
  std::string bytes(80 * 1024, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  for (const uint32_t from :
       {65001, 1200, 1201, 932, 936, 949, 950, 20932, 54936, 1253, 1258, 28596}) {
    if (MayLack(from)) continue;
    for (const uint32_t to : {932, 1252}) {
      const std::string out = Converted(bytes, from, to);
      EXPECT_GE(out.size(), bytes.size() / 4) << from << " -> " << to;
      EXPECT_LE(out.size(), 2 * bytes.size()) << from << " -> " << to;
      EXPECT_EQ(Converted(out, to, to), out) << from << " -> " << to;
    }
  }
}

}  // namespace
}  // namespace lintrel::cli
