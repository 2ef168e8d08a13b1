#include "tools/body_text/iso_2022_jp.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

// The Encoding Standard's ISO-2022-JP decoder, its characters written in
// EUC-JP and its errors as "?".
TEST(Iso2022JpTest, RewritesAsEucJp) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"a\x1b$B\x30\x21\x1b(Bb",
       "a\xb0\xa1"
       "b"},
      {"\x1b$@\x24\x22\x1b(B", "\xa4\xa2"},
      // Half-width katakana, 0x21 to 0x5F.
      {"\x1b(I\x31\x5f\x60\x1b(B", "\x8e\xb1\x8e\xdf?"},
      // JIS X 0201 Roman: the yen sign and overline as EUC-JP has them.
      {"\x1b(J\\~", "\\~"},
      // Two escape sequences in a row, an unknown one, one cut off.
      {"\x1b$B\x1b(Bx", "?x"},
      {"\x1bxA", "?xA"},
      {"\x1b$", "?$"},
      {"\x1b", "?"},
      // A pair cut off, by the end or by an escape sequence.
      {"\x1b$B\x30", "?"},
      {"\x1b$B\x30\x1b(Bx", "?x"},
      // Bytes that are no ASCII characters, and the shift bytes.
      {"caf\xe9", "caf?"},
      {"\x0e\x0f", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(Iso2022JpToEucJp(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace lintrel::cli
