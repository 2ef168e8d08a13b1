#include "text/text.h"

#include <gtest/gtest.h>

#include <random>

namespace lintrel {
namespace {

TEST(StripBlanksTest, RemovesBytesUpTo32AtBothEndsOnly) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {" \t a b \r\n", "a b"},
      {"\t\r\n ", ""},
      {"", ""},
      {std::string("\0x\0", 3), "x"},
      {"\xa0x\xff", "\xa0x\xff"},
      {"a \x01 b", "a \x01 b"},
      {"\x20\x21", "\x21"},
  };
  for (const Case& c : cases) EXPECT_EQ(StripBlanks(c.in), c.out) << c.in;
}

TEST(CaseMappingTest, TouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("\xe4"
                       "a"),
            "\xe4"
            "A");
  EXPECT_EQ(AsciiUpper("az@[`{AZ"), "AZ@[`{AZ");
  EXPECT_EQ(AsciiUpper(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(CaseMappingTest, LocaleLowerUsesTheCodePage) {
  // Code page 1252 capitals, the multiplication sign (not a letter) and bytes
  // that have no small form.
  EXPECT_EQ(LocaleLower("ABC\xc4\xd6\xdc\xd7\x8a\x9f\xdf"
                        "1"),
            "abc\xe4\xf6\xfc\xd7\x9a\xff\xdf"
            "1");
  EXPECT_EQ(LocaleLower(std::string("A\0B", 3)), std::string("a\0b", 3));
  EXPECT_EQ(LocaleLower(""), "");
}

TEST(FindTextTest, FirstOccurrenceOneBasedOrZero) {
  struct Case {
    std::string pattern, t;
    int32_t position;
  };
  const Case cases[] = {
      {"", "abc", 0},     {"b", "", 0},
      {"abcd", "abc", 0}, {"c", "abcabc", 3},
      {"B", "abc", 0},    {"abc", "abc", 1},
      {"bc", "abc", 2},   {std::string("\0", 1), std::string("a\0", 2), 2},
      {"aab", "aaab", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(FindText(c.pattern, c.t), c.position) << c.pattern;
}

TEST(FindTextTest, LongPatternsAgreeWithAPlainSearch) {
  // Long patterns take the linear search; near misses and overlapping
  // repeats are where its border table matters.
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    const size_t pattern_size = 65 + random() % 40;
    std::string pattern, t;
    for (size_t i = 0; i < pattern_size; ++i) pattern += static_cast<char>('a' + random() % 2);
    for (size_t i = 0, n = random() % 400; i < n; ++i) t += static_cast<char>('a' + random() % 2);
    if (round % 3 == 0) t.insert(random() % (t.size() + 1), pattern);
    const size_t at = t.find(pattern);
    const int32_t expected = at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
    ASSERT_EQ(FindText(pattern, t), expected) << pattern << " in " << t;
  }
  const std::string blanks(40000, ' ');
  EXPECT_EQ(FindText(blanks + "y", blanks + blanks + "y"), 40001);
  EXPECT_EQ(FindText(blanks + "y", blanks + blanks + "z"), 0);
}

TEST(SubTextTest, ClampsStartAndCount) {
  struct Case {
    std::string t;
    int64_t start, count;
    std::string out;
  };
  const Case cases[] = {
      {"hello", 0, 2, "he"},
      {"hello", 4, 10, "lo"},
      {"hello", 6, 1, ""},
      {"hello", 2, -1, ""},
      {"hello", 1, 0, ""},
      {"hello", -5, 3, "hel"},
      {"", 1, 1, ""},
      {"hello", 5, 1, "o"},
      {"hello", 1, INT64_MAX, "hello"},
      {"hello", INT64_MIN, 1, "h"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SubText(c.t, c.start, c.count), c.out) << c.t << " " << c.start << " " << c.count;
  }
}

TEST(StartsWithIgnoringCaseTest, OnlyAsciiLettersFold) {
  EXPECT_TRUE(StartsWithIgnoringCase("AM/PM", "am/pm"));
  EXPECT_TRUE(StartsWithIgnoringCase("aMpM h", "AMPM"));
  EXPECT_TRUE(StartsWithIgnoringCase("x", ""));
  EXPECT_FALSE(StartsWithIgnoringCase("am", "AMPM"));
  EXPECT_FALSE(StartsWithIgnoringCase("\xc4", "\xe4"));
  EXPECT_FALSE(StartsWithIgnoringCase("@", "`"));
}

}  // namespace
}  // namespace lintrel
