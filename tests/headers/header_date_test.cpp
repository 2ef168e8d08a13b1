#include "headers/header_date.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "headers/field_lookup.h"
#include "text/errors.h"

namespace lintrel {
namespace {

Text Received(std::string_view date) {
  return "Received: from a by b; Tue, " + Text(date);
}

// Parses `field`, expecting a date.
double Parsed(const Text& field) {
  const std::optional<double> value = ParseHeaderDate(field);
  EXPECT_TRUE(value.has_value()) << field;
  return value.value_or(-1.5);
}

// Shifted values may differ from a direct encoding in their last bits.
void ExpectUtc(const Text& field, unsigned y, unsigned mo, unsigned d, unsigned h, unsigned mi) {
  EXPECT_NEAR(Parsed(field), EncodeDateTime({y, mo, d, h, mi, 0, 0}).value(), 1e-9) << field;
}

TEST(HeaderDateTest, ExactValues) {
  EXPECT_EQ(Parsed(Received("01 Jan 2002 10:00:00 +0300 (MSK)")), 37257.291666666664);
  EXPECT_EQ(Parsed("Date: Tue, 1 Jan 02 10:00:00 GMT"), 37257.416666666664);
  EXPECT_EQ(Parsed("Date: 01 Jan 2002 10:00:00 +0300"), 37257.291666666664);
  EXPECT_EQ(Parsed(FindFirstField("Date: Tue, 01 Jan 2002\r\n 10:00:00 +0300", "Date:")),
            37257.291666666664);
  EXPECT_EQ(Parsed(Received("01 Jan 2002 10:00:00 +0530")), 37257.1875);
}

TEST(HeaderDateTest, Zones) {
  const std::pair<std::string_view, uint16_t> cases[] = {
      {"+0000", 10}, {"+03:00", 10}, {"0530", 5}, {"-0500", 15}, {"UT", 10},
      {"UTC", 10},   {"UMC", 10},    {"EST", 15}, {"EDT", 14},   {"CST", 16},
      {"CDT", 15},   {"MST", 17},    {"MDT", 16}, {"PST", 18},   {"PDT", 17},
  };
  for (const auto& [zone, hour] : cases) {
    ExpectUtc(Received("01 Jan 2002 10:00:00 " + Text(zone)), 2002, 1, 1, hour, 0);
  }
  ExpectUtc(Received("01 Jan 2002 10:00:00 -0330"), 2002, 1, 1, 13, 30);
  ExpectUtc("Received: by b; 01/Jan/2002:10:00:00 +0000", 2002, 1, 1, 10, 0);
  // The least 32-bit number is negated without overflow.
  EXPECT_EQ(Parsed(Received("01 Jan 2002 10:00:00 -2147483648")),
            ShiftHours(EncodeDateTime({2002, 1, 1, 10, 0, 0, 0}).value(), 21474836));
}

TEST(HeaderDateTest, YearsMonthsAndDays) {
  const std::pair<std::string_view, uint16_t> years[] = {
      {"02", 2002},  {"49", 2049}, {"50", 1950},   {"99", 1999},
      {"101", 2001}, {"-5", 1995}, {"1999", 1999}, {"1000", 1000},
  };
  for (const auto& [year, full] : years) {
    ExpectUtc(Received("01 Jan " + Text(year) + " 10:00:00 GMT"), full, 1, 1, 10, 0);
  }
  const std::pair<std::string_view, uint16_t> months[] = {
      {"Sept", 9}, {"december", 12}, {"d", 12}, {"JAN", 1}, {"may", 5}, {"MAY", 5},
  };
  for (const auto& [month, number] : months) {
    ExpectUtc(Received("01 " + Text(month) + " 2002 10:00:00 GMT"), 2002, number, 1, 10, 0);
  }
  ExpectUtc(Received("29 Feb 2004 10:00:00 GMT"), 2004, 2, 29, 10, 0);
  // Numbers reach the encoder as their low 16 bits.
  ExpectUtc(Received("65537 Jan 2002 10:00:00 GMT"), 2002, 1, 1, 10, 0);
}

TEST(HeaderDateTest, InvalidDates) {
  // The parts as read, each number as its low 16 bits.
  const std::pair<std::string_view, DateTimeParts> cases[] = {
      {"01 January 2002 10:00:00 GMT", {2002, 0, 1, 10, 0, 0, 0}},
      {"01 Mayo 2002 10:00:00 GMT", {2002, 0, 1, 10, 0, 0, 0}},
      {"31 Apr 2002 10:00:00 GMT", {2002, 4, 31, 10, 0, 0, 0}},
      {"29 Feb 2100 10:00:00 GMT", {2100, 2, 29, 10, 0, 0, 0}},
      {"01 Jan 2002 23:59:60 GMT", {2002, 1, 1, 23, 59, 60, 0}},
      {"01 Jan 12000 10:00:00 GMT", {12000, 1, 1, 10, 0, 0, 0}},
      {"01 Jan 2002 -1:00:00 GMT", {2002, 1, 1, 65535, 0, 0, 0}},
  };
  for (const auto& [date, parts] : cases) {
    const Text field = Received(date);
    EXPECT_EQ(ParseHeaderDate(field), std::nullopt) << field;
    EXPECT_EQ(ReadHeaderDate(field).local, parts) << field;
  }
}

TEST(HeaderDateTest, UnreadableDates) {
  const std::pair<Text, std::string_view> cases[] = {
      {"", "List index out of bounds (0)"},
      {"Received: from a by b;", "List index out of bounds (0)"},
      {"Date: Tue, 1", "List index out of bounds (1)"},
      {Received("1 Jan 2002 10:00 +0300"), "List index out of bounds (6)"},
      {"Received: from a (b)", "'from' is not a valid integer value"},
      {Received("xx Jan yy 10:00:00 +0300"), "'xx' is not a valid integer value"},
      {Received("1 Jan 2002 10:00:00 gmt"), "'gmt' is not a valid integer value"},
      {Received("1 Jan 2002 10:00:00 +03x0"), "'+03x0' is not a valid integer value"},
  };
  for (const auto& [field, message] : cases) {
    EXPECT_THAT([&] { ParseHeaderDate(field); },
                testing::ThrowsMessage<Exception>(std::string(message)))
        << field;
  }
}

}  // namespace
}  // namespace lintrel
