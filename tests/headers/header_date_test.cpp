#include "headers/header_date.h"

#include <gtest/gtest.h>

#include "headers/field_lookup.h"
#include "text/errors.h"

namespace lintrel {
namespace {

double Utc(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s = 0) {
  return MakeDateTime(y, mo, d, h, mi, s, 0);
}

Text Received(std::string_view date) {
  return "Received: from a by b; Tue, " + Text(date);
}

TEST(HeaderDateTest, ReadsDates) {
  struct Case {
    Text field;
    double utc;
  };
  const Case cases[] = {
      {"Date: Tue, 1 Jan 02 10:00:00 GMT", 37257.416666666664},
      {Received("01 Jan 2002 10:00:00 +0300"), 37257.291666666664},
      {Received("01 Jan 2002 10:00:00 +0300 (MSK)"), 37257.291666666664},
      {"Received: by b; 01/Jan/2002:10:00:00 +0000", Utc(2002, 1, 1, 10, 0)},
      {Received("01 Jan 2002 10:00:00 +03:00"), Utc(2002, 1, 1, 10, 0)},
      {Received("01 Jan 2002 10:00:00 0530"), Utc(2002, 1, 1, 5, 0)},
      // Zones with minutes move by the whole offset.
      {Received("01 Jan 2002 10:00:00 +0530"), Utc(2002, 1, 1, 4, 30)},
      {Received("01 Jan 2002 10:00:00 -0330"), Utc(2002, 1, 1, 13, 30)},
      // Zone names.
      {Received("01 Jan 2002 10:00:00 UT"), Utc(2002, 1, 1, 10, 0)},
      {Received("01 Jan 2002 10:00:00 UTC"), Utc(2002, 1, 1, 10, 0)},
      {Received("01 Jan 2002 10:00:00 UMC"), Utc(2002, 1, 1, 10, 0)},
      {Received("01 Jan 2002 10:00:00 EST"), Utc(2002, 1, 1, 15, 0)},
      {Received("01 Jan 2002 10:00:00 EDT"), Utc(2002, 1, 1, 14, 0)},
      {Received("01 Jan 2002 10:00:00 CST"), Utc(2002, 1, 1, 16, 0)},
      {Received("01 Jan 2002 10:00:00 CDT"), Utc(2002, 1, 1, 15, 0)},
      {Received("01 Jan 2002 10:00:00 MST"), Utc(2002, 1, 1, 17, 0)},
      {Received("01 Jan 2002 10:00:00 MDT"), Utc(2002, 1, 1, 16, 0)},
      {Received("01 Jan 2002 10:00:00 PST"), Utc(2002, 1, 1, 18, 0)},
      {Received("01 Jan 2002 10:00:00 PDT"), Utc(2002, 1, 1, 17, 0)},
      // Years as mailers write them.
      {Received("01 Jan 99 10:00:00 GMT"), Utc(1999, 1, 1, 10, 0)},
      {Received("01 Jan 101 10:00:00 GMT"), Utc(2001, 1, 1, 10, 0)},
      {Received("01 Jan -5 10:00:00 GMT"), Utc(1995, 1, 1, 10, 0)},
      {Received("01 Jan 49 10:00:00 GMT"), Utc(2049, 1, 1, 10, 0)},
      {Received("01 Jan 50 10:00:00 GMT"), Utc(1950, 1, 1, 10, 0)},
      {Received("01 Jan 1999 10:00:00 GMT"), Utc(1999, 1, 1, 10, 0)},
      {Received("01 Jan 1000 10:00:00 GMT"), Utc(1000, 1, 1, 10, 0)},
      // Month names: first letters, then whole three-letter names.
      {Received("01 Sept 2002 10:00:00 GMT"), Utc(2002, 9, 1, 10, 0)},
      {Received("01 december 2002 10:00:00 GMT"), Utc(2002, 12, 1, 10, 0)},
      {Received("01 JAN 2002 10:00:00 GMT"), Utc(2002, 1, 1, 10, 0)},
      {Received("01 may 2002 10:00:00 GMT"), Utc(2002, 5, 1, 10, 0)},
      {Received("01 MAY 2002 10:00:00 GMT"), Utc(2002, 5, 1, 10, 0)},
      {Received("29 Feb 2004 10:00:00 GMT"), Utc(2004, 2, 29, 10, 0)},
      // A number is taken as its low 16 bits.
      {Received("65537 Jan 2002 10:00:00 GMT"), Utc(2002, 1, 1, 10, 0)},
      // Without a weekday the field name is dropped.
      {"Date: 01 Jan 2002 10:00:00 +0300", 37257.291666666664},
      // A date folded inside the time of day.
      {FindFirstField("Date: Tue, 01 Jan 2002\r\n 10:00:00 +0300", "Date:"), 37257.291666666664},
  };
  for (const Case& c : cases) {
    double value = -1.5;
    EXPECT_TRUE(ParseHeaderDate(c.field, value)) << c.field;
    // Shifted values may differ from a direct encoding in the last bits.
    EXPECT_NEAR(value, c.utc, 1e-9) << c.field;
    EXPECT_EQ(HeaderDateTime(c.field), value) << c.field;
  }
}

TEST(HeaderDateTest, RoundsAsTheEncoderAndShiftDo) {
  double value = 0;
  ASSERT_TRUE(ParseHeaderDate(Received("01 Jan 2002 10:00:00 +0300"), value));
  EXPECT_EQ(value, 37257.291666666664);
  ASSERT_TRUE(ParseHeaderDate("Date: Tue, 1 Jan 02 10:00:00 GMT", value));
  EXPECT_EQ(value, 37257.416666666664);
  ASSERT_TRUE(ParseHeaderDate(Received("01 Jan 2002 10:00:00 +0530"), value));
  EXPECT_EQ(value, 37257.1875);
}

TEST(HeaderDateTest, InvalidDates) {
  struct Case {
    std::string_view date, message;
  };
  const Case cases[] = {
      {"01 January 2002 10:00:00 GMT", "''2002/0/1 10:0:0.0''"},
      {"01 Mayo 2002 10:00:00 GMT", "''2002/0/1 10:0:0.0''"},
      {"31 Apr 2002 10:00:00 GMT", "''2002/4/31 10:0:0.0''"},
      {"29 Feb 2002 10:00:00 GMT", "''2002/2/29 10:0:0.0''"},
      {"29 Feb 2100 10:00:00 GMT", "''2100/2/29 10:0:0.0''"},
      {"01 Jan 2002 23:59:60 GMT", "''2002/1/1 23:59:60.0''"},
      {"01 Jan 12000 10:00:00 GMT", "''12000/1/1 10:0:0.0''"},
      {"01 Jan 2002 -1:00:00 GMT", "''2002/1/1 65535:0:0.0''"},
  };
  for (const Case& c : cases) {
    const Text field = Received(c.date);
    double value = -1.5;
    EXPECT_FALSE(ParseHeaderDate(field, value)) << field;
    EXPECT_EQ(value, -1.5) << field;
    try {
      HeaderDateTime(field);
      ADD_FAILURE() << "no error for " << field;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(), Text(c.message) + " is not a valid date and time");
    }
  }
}

TEST(HeaderDateTest, UnreadableDates) {
  struct Case {
    Text field, message;
  };
  const Case cases[] = {
      {"", "List index out of bounds (0)"},
      {"Received: from a by b;", "List index out of bounds (0)"},
      {"Date: Tue, 1", "List index out of bounds (1)"},
      {Received("1 Jan 2002 10:00 +0300"), "List index out of bounds (6)"},
      {"Received: from a (b)", "'from' is not a valid integer value"},
      {Received("xx Jan yy 10:00:00 +0300"), "'xx' is not a valid integer value"},
      {Received("1 Jan 2002 10:00:00 gmt"), "'gmt' is not a valid integer value"},
      {Received("1 Jan 2002 10:00:00 CET"), "'CET' is not a valid integer value"},
      {Received("1 Jan 2002 10:00:00 +03x0"), "'+03x0' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    double value = -1.5;
    try {
      ParseHeaderDate(c.field, value);
      ADD_FAILURE() << "no error for " << c.field;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(value, -1.5);
  }
}

TEST(HeaderDateTest, ExtremeZoneNumbers) {
  double value = 0;
  ASSERT_TRUE(ParseHeaderDate(Received("01 Jan 2002 10:00:00 -2147483648"), value));
  EXPECT_EQ(value, ShiftHours(Utc(2002, 1, 1, 10, 0), 21474836));
  ASSERT_TRUE(ParseHeaderDate(Received("01 Jan 2002 10:00:00 2147483647"), value));
  EXPECT_EQ(value, ShiftHours(Utc(2002, 1, 1, 10, 0), -21474836));
}

}  // namespace
}  // namespace lintrel
