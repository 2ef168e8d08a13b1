#include "text/integer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "text/errors.h"

namespace lintrel {
namespace {

TEST(ParseIntTest, AcceptedSpellings) {
  struct Case {
    std::string text;
    int32_t value;
  };
  const Case cases[] = {
      {"42", 42},
      {"  42", 42},
      {"+42", 42},
      {"-42", -42},
      {"007", 7},
      {"0", 0},
      {"-0", 0},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X1F", 31},
      {"X10", 16},
      {"x10", 16},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$0000000000000001", 1},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"00", 0},
      {std::string("12\0"
                   "34",
                   5),
       12},
      {std::string("12\0", 3), 12},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
}

TEST(ParseIntTest, RefusedSpellingsNameTheWholeText) {
  const std::string refused[] = {
      "",
      " ",
      "42 ",
      "\t42",
      "4 2",
      "+",
      "-",
      "$",
      "0x",
      "-$10",
      "+0x10",
      "2147483648",
      "-2147483649",
      "$100000000",
      "1e3",
      "12a",
      "0 1",
      "--1",
      "4294967296",
      "99999999999",
      std::string("\0"
                  "12",
                  3),
      std::string("x\0"
                  "1",
                  3),
  };
  // The message is compared whole: the text may hold a byte 0.
  for (const std::string& text : refused) {
    EXPECT_THAT([&] { ParseInt(text); },
                testing::Throws<EConvertError>(testing::Property(
                    &Exception::Message, "'" + text + "' is not a valid integer value")));
  }
}

TEST(IntTextTest, Decimal) {
  EXPECT_EQ(IntText(0), "0");
  EXPECT_EQ(IntText(-5), "-5");
  EXPECT_EQ(IntText(INT32_MAX), "2147483647");
  EXPECT_EQ(IntText(INT32_MIN), "-2147483648");
}

TEST(PercentByteTest, EveryByteIsTwoUpperCaseDigits) {
  EXPECT_EQ(PercentByte(0), "%00");
  EXPECT_EQ(PercentByte(10), "%0A");
  EXPECT_EQ(PercentByte(32), "%20");
  EXPECT_EQ(PercentByte(47), "%2F");
  EXPECT_EQ(PercentByte(233), "%E9");
  EXPECT_EQ(PercentByte(255), "%FF");
  for (int b = 0; b < 256; ++b) {
    const Text escape = PercentByte(static_cast<unsigned char>(b));
    ASSERT_EQ(escape.size(), 3u);
    EXPECT_EQ(ParseInt("$" + escape.substr(1)), b);
  }
}

}  // namespace
}  // namespace lintrel
