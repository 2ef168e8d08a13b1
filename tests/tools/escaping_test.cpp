#include "tools/output/escaping.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(EscapingTest, EscapedTextFitsOnOneLine) {
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

TEST(EscapingTest, LaterLinesAreIndented) {
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

// A file name neither breaks a line nor sends a terminal a command, on
// standard output and standard error alike; a message keeps its backslashes.
TEST(EscapingTest, NamesAndMessagesCarryNoControlBytes) {
  struct Case {
    std::string text;
    std::string name;
    std::string message;
  };
  const Case cases[] = {
      {"inbox/cur/1:2,S", "inbox/cur/1:2,S", "inbox/cur/1:2,S"},
      {"a\\tb", "a\\\\tb", "a\\tb"},
      {"new\nline\r", "new\\nline\\r", "new\nline\\x0D"},
      {"\x1b]0;title\x07", "\\x1B]0;title\\x07", "\\x1B]0;title\\x07"},
      {"tab\tdel\x7f", "tab\\tdel\\x7F", "tab\\x09del\\x7F"},
      {"caf\xc3\xa9 \xe9", "caf\xc3\xa9 \xe9", "caf\xc3\xa9 \xe9"},
      // C1 controls: a lone byte from 0x80 to 0x9F, and the UTF-8 form of
      // U+0080 to U+009F; not a 0x9B that ends another character.
      {"csi\x9b"
       "31m",
       "csi\\x9B31m", "csi\\x9B31m"},
      {"nel\xc2\x85", "nel\\xC2\\x85", "nel\\xC2\\x85"},
      {"\xc2\x80\xc2\x9f\xc2\xa0", "\\xC2\\x80\\xC2\\x9F\xc2\xa0", "\\xC2\\x80\\xC2\\x9F\xc2\xa0"},
      {"s\xc5\x9b \xe2\x80\x9c", "s\xc5\x9b \xe2\x80\x9c", "s\xc5\x9b \xe2\x80\x9c"},
      {"\xe9\x9b\xc2", "\xe9\\x9B\xc2", "\xe9\\x9B\xc2"},
      {"\xff\n\x9b\\", "\xff\\n\\x9B\\\\", "\xff\n\\x9B\\"},
  };
  for (const Case& c : cases) {
    Text name;
    AppendEscapedName(name, c.text);
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(WithoutControls(c.text), c.message) << c.text;
  }
}

// Long texts are searched many bytes at a time: a byte to escape is found
// wherever it stands, on the edge of a block as within one.
TEST(EscapingTest, EscapesAtAnyPlace) {
  struct Case {
    char byte;
    std::string escaped;
    std::string name;
  };
  const Case cases[] = {
      {'\\', "\\\\", "\\\\"},    {'\n', "\\n", "\\n"},      {'\x01', "\x01", "\\x01"},
      {'\x7f', "\x7f", "\\x7F"}, {'\x1f', "\x1f", "\\x1F"}, {'\x20', " ", " "},
  };
  for (const Case& c : cases) {
    for (size_t at = 0; at < 70; ++at) {
      std::string text(70, '\xe9');
      text[at] = c.byte;
      const std::string before(at, '\xe9');
      const std::string after(69 - at, '\xe9');
      Text escaped;
      AppendEscaped(escaped, text);
      EXPECT_EQ(escaped, before + c.escaped + after) << int(c.byte) << " at " << at;
      Text name;
      AppendEscapedName(name, text);
      EXPECT_EQ(name, before + c.name + after) << int(c.byte) << " at " << at;
    }
  }
}

}  // namespace
}  // namespace lintrel::cli
