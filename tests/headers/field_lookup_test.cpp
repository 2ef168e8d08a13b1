#include "headers/field_lookup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "text/errors.h"

namespace lintrel {
namespace {

Text LastField(std::string_view headers, std::string_view name) {
  return FieldTextAt(headers, LastFieldStart(headers, name));
}

constexpr std::string_view kBlock = "Subject: Hello\r\n world\r\n\tagain\r\nX-Subject: other";
constexpr std::string_view kRoute =
    "Received: from a\r\n\tby b;\r\n\tTue, 01 Jan 2002 10:00:00 +0300\r\n"
    "Received: from c\r\n\tby d; Tue, 01 Jan 2002 09:00:00 +0300\r\n"
    "X-Received: by e; Tue, 01 Jan 2002 11:00:00 +0300\r\n"
    "X400-Received: f\r\n";

TEST(FieldLookupTest, FirstAndLastField) {
  struct Case {
    std::string_view headers, name, first, last;
  };
  const Case cases[] = {
      // Folds keep one blank; a tab continues a field in both lookups.
      {kBlock, "Subject", "Subject: Hello world again", "Subject: Hello world again"},
      {kBlock, "Sub", "Subject: Hello world again", "Subject: Hello world again"},
      {kBlock, "X-Subject", "X-Subject: other", "X-Subject: other"},
      // Case-sensitive; no match: empty, or the field at line 0.
      {kBlock, "subject", "", "Subject: Hello world again"},
      {kBlock, "Date:", "", "Subject: Hello world again"},
      {kBlock, "", "", "Subject: Hello world again"},
      // Only lines that begin with the name match, in both lookups.
      {kRoute, "Received:", "Received: from a by b; Tue, 01 Jan 2002 10:00:00 +0300",
       "Received: from c by d; Tue, 01 Jan 2002 09:00:00 +0300"},
      {"Subject: Hello   \r\n\x01\r\n", "Subject", "Subject: Hello", "Subject: Hello"},
      // A byte above 127 begins a new line; an empty line ends the field.
      {"A: x\r\n\xe4 y\r\n", "A:", "A: x", "A: x"},
      {"A: x\n\n y\r\n", "A:", "A: x", "A: x"},
      {"A: x\r   \r y\nB: z", "A:", "A: x y", "A: x y"},
      // An empty field line still gets the blank before its first piece.
      {"\r\n folded", "B:", "", " folded"},
      {"A: b\r\n\t\r\n y\r\n", "\t", " y", " y"},
      {std::string_view("A: x\0\r\n y", 9), "A:", "A: x", "A: x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindFirstField(c.headers, c.name), c.first) << c.headers << " / " << c.name;
    EXPECT_EQ(LastField(c.headers, c.name), c.last) << c.headers << " / " << c.name;
  }
}

TEST(FieldLookupTest, BlockWithoutLines) {
  for (std::string_view headers : {std::string_view(), std::string_view("\0A: x", 5)}) {
    EXPECT_EQ(FindFirstField(headers, "A:"), "");
    EXPECT_THAT([&] { LastField(headers, "A:"); },
                testing::ThrowsMessage<EStringListError>("List index out of bounds (0)"));
  }
}

}  // namespace
}  // namespace lintrel
