#include "tools/body_text/mime_parameters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

namespace lintrel::cli {
namespace {

// What Python 3.11's get_content_type(), get_boundary() and
// get_param('charset') give for these Content-Type values under
// policy.default.
TEST(MimeParametersTest, ReadsContentTypeAsPython) {
  struct Case {
    std::string value;
    std::string type;
    std::optional<std::string> boundary;
    std::optional<std::string> charset;
  };
  const Case cases[] = {
      // a plain value.
      {"text/plain; charset=utf-8", "text/plain", std::nullopt, "utf-8"},
      // names in any case, values as they stand.
      {"TEXT/PLAIN; CHARSET=\"UTF-8\"", "text/plain", std::nullopt, "UTF-8"},
      // comments and blanks around tokens.
      {" text/plain (Plain text) ; charset = us-ascii (comment)", "text/plain (plain text)",
       std::nullopt, "us-ascii"},
      // no ";": all of it is the type.
      {"text/plain charset=utf-8", "text/plain charset=utf-8", std::nullopt, std::nullopt},
      // nothing after ";".
      {"text/plain;", "text/plain", std::nullopt, std::nullopt},
      // no "/": text/plain.
      {"text", "text/plain", std::nullopt, std::nullopt},
      // two "/": text/plain.
      {"a/b/c", "text/plain", std::nullopt, std::nullopt},
      // no type, and a parameter read from what stands before ";".
      {"charset=utf-8", "text/plain", std::nullopt, "utf-8"},
      // a ";" in a comment splits the type.
      {"text/plain (a;b); charset=x", "text/plain (a", std::nullopt, "x"},
      // a quote in a comment joins what follows.
      {"text/plain (a\"b); charset=x", "text/plain (a\"b)", std::nullopt, std::nullopt},
      // an unquoted value stops at "=".
      {"multipart/mixed; boundary=----=_NextPart_000_0001", "multipart/mixed", "----",
       std::nullopt},
      // quoted, it keeps it.
      {"multipart/mixed; boundary=\"----=_NextPart_000_0001\"", "multipart/mixed",
       "----=_NextPart_000_0001", std::nullopt},
      // text after a value is dropped.
      {"multipart/mixed; boundary=a b c", "multipart/mixed", "a", std::nullopt},
      // an unclosed quote runs to the end.
      {"multipart/mixed; boundary=\"abc", "multipart/mixed", "abc", std::nullopt},
      // the boundary loses its trailing blanks.
      {"multipart/mixed; boundary=\"abc  \"", "multipart/mixed", "abc", std::nullopt},
      // but not its leading ones.
      {"multipart/mixed; boundary=\"  abc\"", "multipart/mixed", "  abc", std::nullopt},
      // an unquoted "<" drops the parameter.
      {"multipart/mixed; boundary=<abc>", "multipart/mixed", std::nullopt, std::nullopt},
      // unquoted once more: "<" and ">" go.
      {"multipart/mixed; boundary=\"<abc>\"", "multipart/mixed", "abc", std::nullopt},
      // quotes in quotes.
      {"multipart/mixed; boundary=\"\"abc\"\"", "multipart/mixed", "", std::nullopt},
      // an escaped backslash before the quote fools the split at ";".
      {"multipart/mixed; boundary=\"a\\\\\"; charset=x", "multipart/mixed", "a\"; charset=\"x",
       std::nullopt},
      // the first of two.
      {"multipart/mixed; boundary=abc; boundary=def", "multipart/mixed", "abc", std::nullopt},
      // RFC 2231 sections, in the order of their numbers.
      {"multipart/mixed; boundary*1=cd; boundary*0=ab", "multipart/mixed", "abcd", std::nullopt},
      // RFC 2231 charset and language, percent-escapes.
      {"multipart/mixed; boundary*=us-ascii'en'a%41b", "multipart/mixed", "aAb", std::nullopt},
      // an encoded-word in quotes is decoded.
      {"multipart/mixed; boundary=\"=\?utf-8\?q\?abc\?=\"", "multipart/mixed", "abc", std::nullopt},
      // unquoted, it drops the parameter.
      {"multipart/mixed; boundary==\?utf-8\?q\?abc\?=", "multipart/mixed", std::nullopt,
       std::nullopt},
      // a name alone has the empty value.
      {"text/plain; charset", "text/plain", std::nullopt, ""},
      // a name and "=" alone is dropped.
      {"text/plain; charset=", "text/plain", std::nullopt, std::nullopt},
      // quotes in an unmarked value.
      {"text/plain; charset=utf-8'en'x", "text/plain", std::nullopt, "x"},
      // a name and "*" without "=" is dropped.
      {"text/plain; name*; charset=x", "text/plain", std::nullopt, "x"},
  };
  for (const Case& c : cases) {
    const ContentTypeValue value(c.value);
    EXPECT_EQ(value.type(), c.type) << c.value;
    EXPECT_EQ(value.Boundary(), c.boundary) << c.value;
    EXPECT_EQ(value.Param("charset"), c.charset) << c.value;
  }
}

// The plainest values are read without being written again: every value
// made of the pieces that mail writes, and of those that make a value not
// plain, reads the same both ways.
TEST(MimeParametersTest, PlainValuesReadAsTheLongWayReadsThem) {
  const std::string_view pieces[] = {
      "text",      "/",           "plain",    "html",
      "Multipart", "alternative", ";",        " ",
      "  ",        "charset",     "=",        "utf-8",
      "\"",        "UTF-8",       "boundary", "----=_Part_1",
      "b",         "'",           "%",        "*",
      "\\",        "=?",          "?=",       "(",
      ")",         ",",           "\t",       "\xc3\xa9",
      "name",      "a.b",         "x-y",      "start",
      "<id@host>", "@",           "/",
  };
  uint32_t seed = 2024;
  const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int n = 0; n < 60000; ++n) {
    std::string value = n % 2 ? "text/plain" : "";
    for (uint32_t count = next() % 12; count > 0; --count)
      value += pieces[next() % std::size(pieces)];
    if (n % 3 == 0) value += "; charset=\"utf-8\"";
    EXPECT_TRUE(ContentTypeValue(value) == ContentTypeValue::ReadAsPythonWritesIt(value)) << value;
  }
}

TEST(MimeParametersTest, AttachmentIsTheFirstToken) {
  struct Case {
    std::string_view disposition;
    bool attachment;
  };
  const Case cases[] = {
      {"attachment", true},
      {"Attachment; filename=a.txt", true},
      {" (a comment) attachment (another)", true},
      {"attachment=x", true},
      {"\vattachment\f", true},
      {"inline", false},
      {"\"attachment\"", false},
      {"attach ment", false},
      {"attachment\x01", false},
      {"(attachment", false},
      {"=?us-ascii?q?attachment?=", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAttachment(c.disposition), c.attachment) << c.disposition;
}

TEST(MimeParametersTest, TransferEncodingIsTheWholeValue) {
  struct Case {
    std::string_view value;
    TransferEncoding encoding;
  };
  const Case cases[] = {
      {"base64", TransferEncoding::kBase64},
      {"BASE64", TransferEncoding::kBase64},
      {"Quoted-Printable", TransferEncoding::kQuotedPrintable},
      {"=?us-ascii?q?base64?=", TransferEncoding::kBase64},
      {"base64 ", TransferEncoding::kNone},
      // A value starting with a blank is a folded one: "Content-Transfer-Encoding:\n base64".
      {" base64", TransferEncoding::kNone},
      {"base64 (comment)", TransferEncoding::kNone},
      {"\"base64\"", TransferEncoding::kNone},
      {"x-uuencode", TransferEncoding::kNone},
      {"7bit", TransferEncoding::kNone},
      {"", TransferEncoding::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(TransferEncodingOf(c.value), c.encoding) << c.value;
}

}  // namespace
}  // namespace lintrel::cli
