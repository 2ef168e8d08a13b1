#include "body/cite.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <random>

#include "text/line_list.h"

namespace lintrel {
namespace {

// The operations as plainly as they can be said, on a line list, for
// comparison on random texts.
Text PlainCiteText(const Text& text, const Text& insert, int32_t count) {
  LineList lines;
  SplitLines(lines, text);
  const int64_t n = LineCount(lines);
  if (n <= count) return text;
  const int64_t head = count / 2;
  const int64_t tail = int64_t{count} - head;
  Text out;
  for (int64_t i = 0; i < head; ++i) out += LineAt(lines, static_cast<int32_t>(i)) + "\r\n";
  if (!insert.empty()) out += insert + "\r\n";
  for (int64_t i = n - tail; i < n; ++i) out += LineAt(lines, static_cast<int32_t>(i)) + "\r\n";
  return out;
}

Text PlainKillCite(const Text& text, int32_t depth) {
  if (depth <= 0) return text;
  const Text marker(static_cast<size_t>(depth), '>');
  LineList lines;
  SplitLines(lines, text);
  Text out;
  for (const Text& line : lines) {
    if (FindText(marker, line) == 0) out += line + "\r\n";
  }
  return out;
}

const Text kFive = "a\r\nb\r\nc\r\nd\r\ne";

TEST(CiteTextTest, KeepsHeadAndTailAroundTheInsert) {
  struct Case {
    Text text;
    Text insert;
    int32_t count;
    Text result;
  };
  const Case cases[] = {
      {kFive, "X", 1, "X\r\ne\r\n"},
      {kFive, "X", 2, "a\r\nX\r\ne\r\n"},
      {kFive, "X", 3, "a\r\nX\r\nd\r\ne\r\n"},
      {kFive, "X", 4, "a\r\nb\r\nX\r\nd\r\ne\r\n"},
      {kFive, "X", 5, kFive},
      {kFive, "X", 6, kFive},
      {kFive, "X", INT32_MAX, kFive},
      {kFive, "X", 0, "X\r\n"},
      {kFive, "X", -1, "X\r\n"},
      {kFive, "X", -7, "X\r\n"},
      {kFive, "X", INT32_MIN, "X\r\n"},
      {kFive, "", 4, "a\r\nb\r\nd\r\ne\r\n"},
      {kFive, "", 0, ""},
      {kFive + "\r\n", "X", 5, kFive + "\r\n"},
      {kFive + "\r\n", "X", 4, "a\r\nb\r\nX\r\nd\r\ne\r\n"},
      // Every kind of break comes out as CR LF.
      {"a\nb\nc", "X", 2, "a\r\nX\r\nc\r\n"},
      {"a\rb\n\rc", "X", 3, "a\r\nX\r\n\r\nc\r\n"},
      {"a\r\r\nb", "X", 2, "a\r\nX\r\nb\r\n"},
      {"a\r\nb\nc\r\nd\r\ne\nf", "X", 5, "a\r\nb\r\nX\r\nd\r\ne\r\nf\r\n"},
      {"a\n\r", "X", 1, "X\r\n\r\n"},
      {"\r\n\r\n", "X", 1, "X\r\n\r\n"},
      {"\r\n\r\n", "X", 2, "\r\n\r\n"},
      {"", "X", 0, ""},
      {"", "X", 3, ""},
      {"", "X", -1, "X\r\n"},
      {"", "", -1, ""},
      // Lines end at the first byte 0; an unchanged text keeps what follows.
      {Text("a\r\nb\0c\r\nd", 9), "X", 2, Text("a\r\nb\0c\r\nd", 9)},
      {Text("a\r\nb\0c\r\nd", 9), "X", 1, "X\r\nb\r\n"},
      {"a\r\nb\r\nc", "in\r\nsert", 2, "a\r\nin\r\nsert\r\nc\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CiteText(c.text, c.insert, c.count), c.result)
        << testing::PrintToString(c.text) << " count " << c.count;
  }
}

TEST(KillCiteTest, DropsLinesWithARunOfQuoteMarks) {
  const Text three = "> a\r\n>> b\r\nc";
  // Ten lines whose longest run of ">" is 45.
  Text ten, ten_kept, nine_kept;
  for (int i = 0; i < 10; ++i) {
    ten += Text(5 * i, '>') + "line\n";
    ten_kept += Text(5 * i, '>') + "line\r\n";
    if (i < 9) nine_kept = ten_kept;
  }
  struct Case {
    Text text;
    int32_t depth;
    Text result;
  };
  const Case cases[] = {
      {three, 2, "> a\r\nc\r\n"},
      {three, 1, "c\r\n"},
      {three, 3, "> a\r\n>> b\r\nc\r\n"},
      {three, 0, three},
      {three, -1, three},
      {three, INT32_MIN, three},
      {"> > x\r\n", 2, "> > x\r\n"},
      {"> > x\r\n", 1, ""},
      {"running >> text\r\nok", 2, "ok\r\n"},
      {"running >> text\r\nok", 1, "ok\r\n"},
      {"ends with >>>", 3, ""},
      {"ends with >>>", 4, "ends with >>>\r\n"},
      {"> >> > >>> x", 3, ""},
      {"> >> > >>> x", 4, "> >> > >>> x\r\n"},
      {"", 2, ""},
      {">>a\r\n>>>b\n", 2, ""},
      {"a\rb\n\nc\r\n", 1, "a\r\nb\r\n\r\nc\r\n"},
      {"a\r\n>>b\nc\r\nd", 2, "a\r\nc\r\nd\r\n"},
      {"a\r\n>>b\nc\r\n>>", 2, "a\r\nc\r\n"},
      {Text("a\0>>", 4), 2, "a\r\n"},
      {Text("a\0>>", 4), 0, Text("a\0>>", 4)},
      // A depth beyond every line keeps every line, at once.
      {ten, INT32_MAX, ten_kept},
      {ten, 46, ten_kept},
      {ten, 45, nine_kept},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KillCite(c.text, c.depth), c.result)
        << testing::PrintToString(c.text) << " depth " << c.depth;
  }
}

// The kept lines are gathered in the text's own storage, lines whose breaks
// grow into CR LF as well when they fit; a text that begins with such a
// line is copied.
TEST(KillCiteTest, KeepsTheLinesInTheTextsOwnStorage) {
  struct Case {
    Text text;
    Text result;
    bool own_storage;
  };
  const Case cases[] = {
      {">> a\r\nkept line one\r\n>>> b\r\nkept line two", "kept line one\r\nkept line two\r\n",
       true},
      {"kept line one\r\n>> a\r\nkept line two\r\nkept line three\r\n",
       "kept line one\r\nkept line two\r\nkept line three\r\n", true},
      {"kept line one\r\n>> a\r\nkept line two\nkept line three\r\n>> b\r\nfour",
       "kept line one\r\nkept line two\r\nkept line three\r\nfour\r\n", true},
      {"kept line one\n>> a\r\nkept line two\r\n", "kept line one\r\nkept line two\r\n", false},
  };
  for (const Case& c : cases) {
    Text text = c.text;
    const char* const storage = text.data();
    const Text result = KillCite(std::move(text), 2);
    EXPECT_EQ(result, c.result) << testing::PrintToString(c.text);
    EXPECT_EQ(result.data() == storage, c.own_storage) << testing::PrintToString(c.text);
  }
}

// Random texts over the bytes that matter, long enough to cross the blocks
// of eight or sixteen bytes the search reads.
Text RandomText(std::mt19937& random) {
  static constexpr char kBytes[] = {'a', 'b', '>', '>', '\r', '\n', ' ', '\0'};
  std::uniform_int_distribution<int> length(0, 80);
  std::uniform_int_distribution<int> byte(0, sizeof kBytes - 1);
  std::uniform_int_distribution<int> rare(0, 30);
  Text t;
  for (int n = length(random); n > 0; --n) {
    const char b = kBytes[byte(random)];
    if (b != '\0' || rare(random) == 0) t += b;
  }
  return t;
}

// Random texts of whole lines, most of them ending in CR LF, so that runs
// of kept lines are taken as they stand across many blocks.
Text RandomLines(std::mt19937& random) {
  static const Text kLines[] = {
      "",      "plain words of a line", "> quoted", ">> deeper", "a >>> b >",
      "> > >", Text(20, '>'),           "x>"};
  static const Text kBreaks[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r"};
  std::uniform_int_distribution<int> count(0, 12);
  std::uniform_int_distribution<int> line(0, std::size(kLines) - 1);
  std::uniform_int_distribution<int> line_break(0, std::size(kBreaks) - 1);
  std::uniform_int_distribution<int> rare(0, 60);
  Text t;
  for (int n = count(random); n > 0; --n) {
    t += kLines[line(random)];
    if (rare(random) == 0) t += '\0';
    t += kBreaks[line_break(random)];
  }
  if (!t.empty() && rare(random) < 20) t.pop_back();
  return t;
}

TEST(CiteTextTest, AgreesWithTheLineListOnRandomTexts) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> count(-3, 14);
  for (int i = 0; i < 20000; ++i) {
    const Text text = RandomText(random);
    const int32_t n = count(random);
    const Text insert = i % 3 == 0 ? "" : "X";
    ASSERT_EQ(CiteText(text, insert, n), PlainCiteText(text, insert, n))
        << testing::PrintToString(text) << " count " << n;
  }
}

TEST(KillCiteTest, AgreesWithTheMarkerSearchOnRandomTexts) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> depth(-1, 6);
  for (int i = 0; i < 20000; ++i) {
    const Text text = i % 2 == 0 ? RandomText(random) : RandomLines(random);
    const int32_t d = depth(random);
    ASSERT_EQ(KillCite(text, d), PlainKillCite(text, d))
        << testing::PrintToString(text) << " depth " << d;
  }
}

}  // namespace
}  // namespace lintrel
