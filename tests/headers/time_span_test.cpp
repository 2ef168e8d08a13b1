#include "headers/time_span.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "text/errors.h"

namespace lintrel {
namespace {

const SpanLabels kLabels = {"sec", "m", "h", "d"};
const RegionalSettings kSettings;

Text Route(std::string_view first, std::string_view last) {
  return "Received: from a by b; Tue, " + Text(first) + "\r\nSubject: x\r\n" +
         "Received: from c by d; Tue, " + Text(last) + "\r\n";
}

TEST(TimeSpanTest, SpanText) {
  const std::pair<int64_t, std::string_view> cases[] = {
      {0, "0 sec"},
      {59, "59 sec"},
      {60, "1 m 0 sec"},
      {3600, "1 h 0 m 0 sec"},
      {90061, "1 d 1 h 1 m 1 sec"},
      {int64_t{1} << 31, "24855 d 3 h 14 m 8 sec"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(SpanText(seconds, kLabels), text);
  EXPECT_EQ(SpanText(95415, {"s", "min", "hr", "days"}), "1 days 2 hr 30 min 15 s");
}

TEST(TimeSpanTest, WholeSecondsBetweenTruncatesMilliseconds) {
  const double a = EncodeDateTime({2002, 1, 1, 10, 0, 0, 0}).value();
  const double b = EncodeDateTime({2002, 1, 1, 10, 0, 59, 999}).value();
  EXPECT_EQ(WholeSecondsBetween(a, b), 59);
  EXPECT_EQ(WholeSecondsBetween(b, a), 59);
  EXPECT_EQ(WholeSecondsBetween(a, EncodeDateTime({2002, 1, 1, 10, 0, 59, 0}).value()), 59);
}

TEST(TimeSpanTest, DeliveryTimeSpan) {
  const std::pair<Text, std::string_view> cases[] = {
      {Route("01 Jan 2002 10:01:30 +0300", "01 Jan 2002 10:00:00 +0300"), "1 m 30 sec"},
      {Route("01 Jan 2002 10:00:00 +0300", "01 Jan 2002 10:01:30 +0300"), "1 m 30 sec"},
      {Route("02 Jan 2002 10:00:00 +0300", "01 Jan 2002 10:00:00 +0300"), "1 d 0 h 0 m 0 sec"},
      {Route("01 Jan 2002 10:00:59 +0300", "01 Jan 2002 10:00:00 +0300"), "59 sec"},
      {Route("02 Jan 2002 01:30:15 +0000", "31 Dec 2001 23:00:00 +0000"), "1 d 2 h 30 m 15 sec"},
      {Route("01 Jan 2002 10:00:00 +0300", "01 Jan 2002 08:00:00 +0100"), "0 sec"},
      {Route("01 Jan 2002 10:00:00 +0530", "01 Jan 2002 05:00:00 +0030"), "0 sec"},
      {Route("01 Jan 1950 00:00:00 GMT", "01 Jan 2049 00:00:00 GMT"), "36160 d 0 h 0 m 0 sec"},
      {"Received: from a by b; Tue, 01 Jan 2002 10:00:00 +0300", "0 sec"},
      // The lowest field folded with tabs, below an X-Received: line.
      {"Received: by b; Tue, 01 Jan 2002 10:05:00 +0300\r\nX-Received: by c; Tue, 01 Jan 2002 "
       "09:00:00 +0300\r\nReceived: from a (b)\r\n\tby c;\r\n\tTue, 01 Jan 2002 10:00:00 +0300\r\n",
       "5 m 0 sec"},
  };
  for (const auto& [headers, span] : cases) {
    EXPECT_EQ(DeliveryTimeSpan(headers, kLabels, kSettings), span) << headers;
  }
}

TEST(TimeSpanTest, ReplyTimeSpanCountsTheClocksMilliseconds) {
  const Text headers = "Subject: x\r\nDate: Tue, 01 Jan 2002 10:00:00 +0300\r\n";
  const std::pair<DateTimeParts, std::string_view> cases[] = {
      {{2002, 1, 1, 7, 1, 30, 250}, "1 m 30 sec"},
      {{2002, 1, 1, 8, 0, 0, 999}, "1 h 0 m 0 sec"},
      {{2002, 1, 3, 9, 33, 20, 0}, "2 d 2 h 33 m 20 sec"},
      {{2002, 1, 1, 6, 58, 30, 0}, "1 m 30 sec"},
  };
  for (const auto& [now, span] : cases) {
    EXPECT_EQ(ReplyTimeSpan(headers, now, kLabels, kSettings), span);
  }
}

TEST(TimeSpanTest, Errors) {
  const DateTimeParts now = {2002, 1, 1, 7, 0, 0, 0};
  const std::pair<Text, std::string_view> delivery[] = {
      {"", "List index out of bounds (0)"},
      {"Subject: x\r\n", "List index out of bounds (0)"},
      // The topmost field's date is read and checked first.
      {Route("31 Apr 2002 10:00:00 GMT", "30 Feb 2002 10:00:00 GMT"),
       "''2002/4/31 10:0:0.0'' is not a valid date and time"},
      {Route("01 Jan 2002 10:00:00 GMT", "30 Feb 2002 10:00:00 GMT"),
       "''2002/2/30 10:0:0.0'' is not a valid date and time"},
      {Route("1 Jan 2002 10:00 +0300", "30 Feb 2002 10:00:00 GMT"), "List index out of bounds (6)"},
  };
  for (const auto& [headers, message] : delivery) {
    EXPECT_THAT([&] { DeliveryTimeSpan(headers, kLabels, kSettings); },
                testing::ThrowsMessage<Exception>(std::string(message)))
        << headers;
  }
  EXPECT_THAT(
      [&] { ReplyTimeSpan("Date: Tue, 31 Apr 2002 10:00:00 GMT", now, kLabels, kSettings); },
      testing::ThrowsMessage<EConvertError>("''2002/4/31 10:0:0.0'' is not a valid date and time"));
  // A clock reading that names no moment, written with the settings given.
  RegionalSettings dotted;
  dotted.date_separator = '.';
  EXPECT_THAT(
      [&] {
        ReplyTimeSpan("Date: Tue, 01 Jan 2002 10:00:00 GMT", {2002, 2, 30, 7, 0, 0, 5}, kLabels,
                      dotted);
      },
      testing::ThrowsMessage<EConvertError>("''2002.2.30 7:0:0.5'' is not a valid date and time"));
}

}  // namespace
}  // namespace lintrel
