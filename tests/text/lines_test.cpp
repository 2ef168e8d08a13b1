#include "text/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace lintrel {
namespace {

using Spans = std::vector<std::tuple<size_t, size_t, size_t>>;

Spans Walk(std::string_view t) {
  Spans spans;
  LineWalker lines(t);
  while (const std::optional<LineSpan> line = lines.Next()) {
    spans.emplace_back(line->start, line->end, line->next);
  }
  return spans;
}

TEST(LineWalkerTest, EachLineAndItsBreak) {
  struct Case {
    std::string t;
    Spans spans;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {{0, 1, 1}}},
      {"a\r\nb", {{0, 1, 3}, {3, 4, 4}}},
      {"a\r\n", {{0, 1, 3}}},
      {"a\n\rb", {{0, 1, 2}, {2, 2, 3}, {3, 4, 4}}},
      {"\r\r\n\n", {{0, 0, 1}, {1, 1, 3}, {3, 3, 4}}},
      // A byte 0 is a byte like any other.
      {std::string("a\0\nb", 4), {{0, 2, 3}, {3, 4, 4}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Walk(c.t), c.spans) << testing::PrintToString(c.t);
}

}  // namespace
}  // namespace lintrel
