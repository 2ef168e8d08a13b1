#include "tools/inputs/message_split.h"

#include <gtest/gtest.h>

#include <string>

namespace lintrel::cli {
namespace {

TEST(MessageSplitTest, SplitsAtTheFirstEmptyLine) {
  struct Case {
    std::string message;
    std::string headers;
    std::string body;
  };
  const Case cases[] = {
      {"Subject: a\r\nTo: b\r\n\r\nbody\r\n", "Subject: a\r\nTo: b\r\n", "body\r\n"},
      {"Subject: a\nTo: b\n\nbody\n", "Subject: a\nTo: b\n", "body\n"},
      // Later empty lines belong to the body.
      {"S: a\r\n\r\none\r\n\r\ntwo", "S: a\r\n", "one\r\n\r\ntwo"},
      // No empty line: all header block.
      {"Subject: a\r\nTo: b\r\n", "Subject: a\r\nTo: b\r\n", ""},
      {"Subject: a", "Subject: a", ""},
      // An empty body, with and without the empty line's break.
      {"Subject: a\r\n\r\n", "Subject: a\r\n", ""},
      {"Subject: a\n\n", "Subject: a\n", ""},
      {"Subject: a\r\n\r", "Subject: a\r\n", ""},
      // An empty line at the start: no header block.
      {"\r\nbody", "", "body"},
      {"\nbody", "", "body"},
      {"", "", ""},
      // A lone CR ends a line, as the header lookup reads it.
      {"S: a\r\rbody", "S: a\r", "body"},
      {"S: a\r\r\nbody", "S: a\r", "body"},
      // Mixed breaks: LF ends the header line, CR LF the empty one.
      {"S: a\n\r\nbody", "S: a\n", "body"},
      // A blank line is not empty.
      {"S: a\r\n \r\nb: c\r\n\r\nbody", "S: a\r\n \r\nb: c\r\n", "body"},
      {std::string("S: \0a\r\n\r\n\0b", 11), std::string("S: \0a\r\n", 7), std::string("\0b", 2)},
  };
  for (const Case& c : cases) {
    const MessageParts parts = SplitMessage(c.message);
    EXPECT_EQ(parts.headers, c.headers) << c.message;
    EXPECT_EQ(parts.body, c.body) << c.message;
    // The front of a message splits where the whole does, or not yet.
    const std::string_view message = c.message;
    for (size_t n = 0; n < message.size(); ++n) {
      if (const std::optional<SplitPoint> split = FindSplit(message.substr(0, n), false)) {
        EXPECT_EQ(split->headers_end, parts.headers.size()) << c.message << " " << n;
        EXPECT_EQ(split->body_start, message.size() - parts.body.size()) << c.message << " " << n;
      }
    }
  }
  // A CR that ends the bytes known may be the first half of CR LF.
  EXPECT_FALSE(FindSplit("S: a\r\n\r", false).has_value());
  EXPECT_FALSE(FindSplit("S: a\r\nno empty line yet", false).has_value());
  EXPECT_EQ(FindSplit("S: a\r\n\r\nb", false)->body_start, 8u);
}

}  // namespace
}  // namespace lintrel::cli
