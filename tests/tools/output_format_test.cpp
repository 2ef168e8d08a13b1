#include "tools/output_format.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(OutputFormatTest, EscapedTextFitsOnOneLine) {
  struct Case {
    std::string text;
    std::string escaped;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"\r\n-- ", "\\r\\n-- "},
      {"a\tb\\c", "a\\tb\\\\c"},
      {"\\n", "\\\\n"},
      {"\n\n", "\\n\\n"},
      {std::string("\0\x7f\xff", 3), std::string("\0\x7f\xff", 3)},
  };
  for (const Case& c : cases) {
    Text out = "1\t";
    AppendEscaped(out, c.text);
    EXPECT_EQ(out, "1\t" + c.escaped) << c.text;
  }
}

TEST(OutputFormatTest, LaterLinesAreIndented) {
  struct Case {
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"", "\n"},
      {"one", "one\n"},
      {"one\r\ntwo\r\nthree", "one\n  two\n  three\n"},
      {"one\ntwo\rthree\r\n", "one\n  two\n  three\n"},
      {"\r\n-- ", "\n  -- \n"},
      {"a\r\n\r\nb", "a\n  \n  b\n"},
      {"tab\tstays", "tab\tstays\n"},
  };
  for (const Case& c : cases) {
    Text out = "M: ";
    AppendIndented(out, c.text);
    EXPECT_EQ(out, "M: " + c.shown) << c.text;
  }
}

}  // namespace
}  // namespace lintrel::cli
