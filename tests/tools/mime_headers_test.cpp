#include "tools/body_text/mime_headers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lintrel::cli {
namespace {

TEST(MimeHeadersTest, LinesEndAtCrLfOrEither) {
  struct Case {
    std::string_view text;
    bool complete;
    std::optional<size_t> end;  // nullopt: the line's end is not known yet
    size_t next;
  };
  const Case cases[] = {
      {"ab\ncd", false, 2, 3},          {"ab\r\ncd", false, 2, 4},      {"ab\rcd", false, 2, 3},
      {"ab\r\rcd", false, 2, 3},        {"ab", false, std::nullopt, 0}, {"ab", true, 2, 2},
      {"ab\r", false, std::nullopt, 0}, {"ab\r", true, 2, 3},           {"\n", false, 0, 1},
  };
  for (const Case& c : cases) {
    const std::optional<LineSpan> line = LineAt(c.text, 0, c.complete);
    ASSERT_EQ(line.has_value(), c.end.has_value()) << c.text;
    if (!line) continue;
    EXPECT_EQ(line->end, *c.end) << c.text;
    EXPECT_EQ(line->next, c.next) << c.text;
  }
}

TEST(MimeHeadersTest, HeaderLinesAsFeedparserMatchesThem) {
  for (const std::string_view line :
       {"Subject: x", "X:", ":", "x-y_z!#$%&'*+.^`|~:", " continued", "\tcontinued", "From a b"}) {
    EXPECT_TRUE(IsHeaderLine(line)) << line;
  }
  for (const std::string_view line :
       {"", "Subject : x", "no colon", "From", "Fromx y", "Sub\xe9ject: x", "\vx: y"}) {
    EXPECT_FALSE(IsHeaderLine(line)) << line;
  }
}

// What str(msg['subject']) gives, under Python 3.11, for the header block;
// nullopt for None.
TEST(MimeHeadersTest, ReadsFieldsAsFeedparser) {
  struct Case {
    std::string_view headers;
    std::optional<std::string> subject;
  };
  const Case cases[] = {
      // Unfolded: the line breaks go, the blanks stay; the first field counts.
      {"Subject: one\n  two\n\tthree\nSubject: second\n", "one  two\tthree"},
      {"SUBJECT:\ta\r\n b\r\n", "a b"},
      {"Subject:a\rX: b\r", "a"},
      // Only the blanks after the colon on the field's first line go.
      {"Subject:\n  a  \n", "  a  "},
      // An envelope line first; a continuation line with no field before it.
      {"From x y\nSubject: a\n", "a"},
      {" lead\nSubject: a\n b\n", "a b"},
      // A field without a name, and a "From " line inside the block, end
      // the field before them; the continuation lines after them are lost.
      {":nameless\n cont\nSubject: a\n", "a"},
      {"Subject: a\nFrom x\n cont\nX: b\n", "a"},
      // The block ends at the first line that is not a header line.
      {"X: y\nnot a header\nSubject: a\n", std::nullopt},
      {"Subject : a\n", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadHeaderBlock(c.headers).Value(HeaderField::kSubject), c.subject) << c.headers;
  }
  EXPECT_FALSE(ReadHeaderBlock("From a\nSubject: b\n").EndsWithEnvelopeLine());
  EXPECT_TRUE(ReadHeaderBlock("Subject: b\nFrom a\n").EndsWithEnvelopeLine());
  const HeaderFields fields = ReadHeaderBlock(
      "Content-type: text/plain\nCONTENT-TRANSFER-ENCODING: base64\ncontent-disposition: inline\n"
      "Content-ID: <a>\n");
  EXPECT_EQ(fields.Value(HeaderField::kContentType), "text/plain");
  EXPECT_EQ(fields.Value(HeaderField::kTransferEncoding), "base64");
  EXPECT_EQ(fields.Value(HeaderField::kDisposition), "inline");
  EXPECT_EQ(fields.Value(HeaderField::kContentId), "<a>");
}

}  // namespace
}  // namespace lintrel::cli
