#include "headers/field_extraction.h"

#include <gtest/gtest.h>

namespace lintrel {
namespace {

TEST(FieldExtractionTest, StripQuotes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},         {"\"a\"", "a"},       {"'a'", "a"},
      {"\"'a'\"", "a"}, {"'\"a\"'", "\"a\""}, {"\"\"a\"\"", "\"a\""},
      {"\"", ""},       {"a\"b", "a\"b"},
  };
  for (const auto& [value, stripped] : cases) EXPECT_EQ(StripQuotes(value), stripped) << value;
}

TEST(FieldExtractionTest, ExtractCharset) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"Content-Type: text/plain; charset=KOI8-R", "koi8-r"},
      {"Content-Type: text/plain; charset=\"windows-1251\"", "windows-1251"},
      {"Content-Type: text/plain; charset=utf-8; format=flowed", "utf-8"},
      {"Content-Type: text/plain; charset=\"utf-8\"; format=flowed", "utf-8"},
      {"CONTENT-TYPE: TEXT/PLAIN; CHARSET=UTF-8", "utf-8"},
      {"Content-Type: text/plain;\r\n\tcharset=koi8-r\r\n", "koi8-r"},
      {"Content-Type: text/plain; charset=ISO-8859-1\xC0", "iso-8859-1\xE0"},
      {"Content-Type: text/plain", "<unknown>"},
      {"Subject: charset=utf-8", "<unknown>"},
      {"Content-Type: text/plain; charset=\"\"", "<unknown>"},
      {"Content-Type: text/plain; charset=;", "<unknown>"},
      {"Content-Type: text/plain; charset= utf-8", "<unknown>"},
      {"Content-Type: text/plain; charset = utf-8", "<unknown>"},
      {"Content-Type: text/plain\r\nContent-Type: text/plain; charset=utf-8", "<unknown>"},
  };
  for (const auto& [headers, charset] : cases) {
    EXPECT_EQ(ExtractCharset(headers), charset) << headers;
  }
}

TEST(FieldExtractionTest, ExtractMailer) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"X-Mailer: Example Mail 2.0", "Example Mail 2.0"},
      {"X-Mailer: Example\r\n Mail", "Example Mail"},
      {"X-Mailer:", ""},
      // No blank is needed after the colon.
      {"X-Mailer:Example", "Example"},
      {"X-Mailer:\tExample", "Example"},
      {"x-mailer: Example", "none"},
      {"X-MAILER: Example", "none"},
      {"", "none"},
  };
  for (const auto& [headers, mailer] : cases) {
    EXPECT_EQ(ExtractMailer(headers, "none"), mailer) << headers;
  }
}

TEST(FieldExtractionTest, HeaderFieldValue) {
  struct Case {
    std::string_view headers, name, value;
  };
  const Case cases[] = {
      {"Subject: Hello", "Subject", "Hello"},
      {"Subject: Hello", "Subject:", "Hello"},
      {"Subject: Hello", "Sub", "ect: Hello"},
      {"Subject: Hello", "subject", ""},
      {"Subject: Hello", "", ""},
      {"Subject:Hello", "Subject:", "ello"},
      {"Subject: Hello\r\n world", "Subject", "Hello world"},
      {"Subject: one\r\nSubject: two", "Subject", "one"},
      {"Subject:", "Subject", ""},
      {"A: b\r\n Subject: x", " Subject", "x"},
      // The field " y" holds no tab: the value starts two bytes in.
      {"A: b\r\n\t\r\n y\r\n", "\t", "y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HeaderFieldValue(c.headers, c.name), c.value) << c.headers << " / " << c.name;
  }
}

}  // namespace
}  // namespace lintrel
