#include "text/tokenizer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lintrel {
namespace {

using Tokens = std::vector<std::string>;

Tokens Split(std::string_view separators, std::string_view white, std::string_view content) {
  LineList list;
  const int32_t count = Tokenize(ByteSet(separators), ByteSet(white), content, list);
  Tokens tokens(list.begin(), list.end());
  EXPECT_EQ(count, static_cast<int32_t>(tokens.size())) << content;
  return tokens;
}

TEST(TokenizeTest, DateSeparators) {
  struct Case {
    std::string content;
    Tokens tokens;
  };
  const Case cases[] = {
      {" 01 Jan 2002 10:00:00 +0300", {"01", "Jan", "2002", "10", "00", "00", "+0300"}},
      {"a//b", {"a", "b"}},
      {"", {}},
      {"  ", {}},
      {"a 'b c' d", {"a", "'b c'", "d"}},
      {"a\r\nb", {"a", "b"}},
      {"a \"b c", {"a", "\"b c"}},
      // A quote of the other kind replaces the open one instead of closing it.
      {"a \"b'c d\" e", {"a", "\"b'c d\" e"}},
      {"a \"b\" c", {"a", "\"b\"", "c"}},
      {"a 'b\r\nc' d", {"a", "'b\r\nc'", "d"}},
      {std::string("a b\0c d", 7), {"a", "b"}},
      {"/a:", {"a"}},
      {"x'y'z w", {"x'y'z", "w"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(" /:", "", c.content), c.tokens) << c.content;
}

TEST(TokenizeTest, WhiteSpaceIsSkippedOnlyBeforeAToken) {
  EXPECT_EQ(Split(",", " ", " a , b"), (Tokens{"a ", "b"}));
  EXPECT_EQ(Split(",", " ", ",,\r\n ,"), (Tokens{}));
}

TEST(TokenizeTest, AppendsWithoutEmptyingTheList) {
  LineList list;
  AppendLine(list, "kept");
  EXPECT_EQ(Tokenize(ByteSet(" "), ByteSet(), "a b", list), 2);
  EXPECT_EQ(LineCount(list), 3);
  EXPECT_EQ(LineAt(list, 0), "kept");
}

// Reading stops after `limit` tokens: the count and the list hold no more,
// and a limit of 0 or less reads none.
TEST(TokenizeTest, StopsAtTheLimit) {
  const std::string_view content = " 01 Jan 2002 10:00:00 +0300 extra";
  const Tokens all = {"01", "Jan", "2002", "10", "00", "00", "+0300", "extra"};
  for (const int32_t limit : {-1, 0, 1, 2, 7, 8, 9, INT32_MAX}) {
    LineList list;
    const int32_t count = Tokenize(ByteSet(" /:"), ByteSet(), content, list, limit);
    const size_t expected = std::clamp<int32_t>(limit, 0, static_cast<int32_t>(all.size()));
    EXPECT_EQ(count, static_cast<int32_t>(expected)) << limit;
    EXPECT_EQ(Tokens(list.begin(), list.end()), Tokens(all.begin(), all.begin() + expected))
        << limit;
  }
}

}  // namespace
}  // namespace lintrel
