#include "text/line_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "text/errors.h"
#include "text/lines.h"

namespace lintrel {
namespace {

using Lines = std::vector<std::string>;

Lines Split(std::string_view t) {
  LineList list;
  SplitLines(list, t);
  return Lines(list.begin(), list.end());
}

Lines Visited(std::string_view t) {
  Lines lines;
  ForEachLine(t, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(SplitLinesTest, EveryKindOfLineBreak) {
  struct Case {
    std::string t;
    Lines lines;
  };
  const Case cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"", {}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\r", {"a", ""}},
      {std::string("ab\0cd\r\nef", 9), {"ab"}},
      {std::string("ab\0", 3), {"ab"}},
      {std::string("\0ab", 3), {}},
      {" a \n", {" a "}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Split(c.t), c.lines) << c.t;
    EXPECT_EQ(Visited(c.t), c.lines) << c.t;
  }
}

TEST(SplitLinesTest, EmptiesTheListFirst) {
  LineList list;
  AppendLine(list, "old");
  SplitLines(list, "new");
  EXPECT_EQ(LineCount(list), 1);
  EXPECT_EQ(LineAt(list, 0), "new");
}

TEST(LineListTest, IndexChecksRaise) {
  LineList list;
  SplitLines(list, "a\nb");
  EXPECT_EQ(AppendLine(list, "c"), 2);
  EXPECT_EQ(LineAt(list, 1), "b");
  struct Case {
    int32_t index;
    const char* message;
  };
  const Case cases[] = {{3, "List index out of bounds (3)"},
                        {-1, "List index out of bounds (-1)"},
                        {INT32_MIN, "List index out of bounds (-2147483648)"}};
  for (const Case& c : cases) {
    EXPECT_THAT([&] { LineAt(list, c.index); },
                testing::ThrowsMessage<EStringListError>(c.message));
  }
  EXPECT_EQ(Lines(list.begin(), list.end()), (Lines{"a", "b", "c"}));
  LineList empty;
  EXPECT_THAT([&] { LineAt(empty, 0); },
              testing::ThrowsMessage<EStringListError>("List index out of bounds (0)"));
}

}  // namespace
}  // namespace lintrel
