#include "text/date_time_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "text/calendar.h"
#include "text/errors.h"

namespace lintrel {
namespace {

double At(int64_t year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0,
          int millisecond = 0) {
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(DaysFromCivil(year, month, day)) + ms / 86400000.0;
}

// Tuesday 5 February 2002, 08:04:03.007 and 18:35:09.
const double kMorning = At(2002, 2, 5, 8, 4, 3, 7);
const double kEvening = At(2002, 2, 5, 18, 35, 9);

struct Case {
  std::string format;
  double value;
  std::string expected;
};

void ExpectCases(const std::vector<Case>& cases, const RegionalSettings& settings) {
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateTime(c.format, c.value, settings), c.expected)
        << "format \"" << c.format << "\" value " << c.value;
  }
}

TEST(DateTimeTextTest, RendersWithTheSettingsGiven) {
  RegionalSettings german;
  german.short_date_format = "dd.MM.yyyy";
  german.date_separator = '.';
  german.long_time_format = "hh:mm:ss";
  RegionalSettings dashes;
  dashes.short_date_format = "yyyy/MM/dd";
  dashes.date_separator = '-';
  const RegionalSettings defaults;
  EXPECT_EQ(DateTimeText(37257.0, defaults), "1/1/02");
  EXPECT_EQ(DateTimeText(37257.75, defaults), "1/1/02 6:00:00 pm");
  EXPECT_EQ(DateTimeText(At(2002, 1, 1, 0, 0, 0, 400), defaults), "1/1/02");
  EXPECT_EQ(DateTimeText(At(2002, 1, 1, 0, 0, 1), defaults), "1/1/02 12:00:01 am");
  EXPECT_EQ(DateTimeText(At(2002, 1, 1, 10, 5, 3), german), "01.01.2002 10:05:03");
  EXPECT_EQ(DateTimeText(At(2002, 1, 1, 10, 5, 3), dashes), "2002-01-01 10:05:03 am");
}

TEST(FormatDateTimeTest, EachLetterAndRunLength) {
  // "|" has no meaning, so each case lists the runs of one letter.
  ExpectCases(
      {
          {"d|dd|ddd|dddd", kMorning, "5|05|Tue|Tuesday"},
          {"ddddd|dddddd|ddddddddd", kMorning, "2/5/02|February 5, 2002|February 5, 2002"},
          {"m|mm|mmm|mmmm|MMMMMM", kMorning, "2|02|Feb|February|February"},
          {"y|yy|yyy|yyyyyy", kMorning, "02|02|2002|2002"},
          {"yy|yyyy", At(5, 3, 1), "05|0005"},
          {"yyyy", At(12345, 3, 1), "12345"},
          {"h|hh|hhhh|H", kMorning, "8|08|08|8"},
          {"H", kEvening, "18"},
          {"n|nn|NNN|s|ss|sss", kMorning, "4|04|04|3|03|03"},
          {"z|zz|zzz|zzzzz", kMorning, "7|07|007|007"},
          {"t|tt", kMorning, "8:04 am|8:04:03 am"},
          {"T", kEvening, "6:35 pm"},
          {"c", kMorning, "2/5/02 8:04:03 am"},
          {"C", At(2002, 2, 5), "2/5/02"},
          // Runs compare exact bytes: "dD" is two runs of one.
          {"dD|Mm", kMorning, "55|22"},
          // Letters without a meaning, and other bytes, print as they are.
          {"bfijkloqruvwx", kMorning, "bfijkloqruvwx"},
          {"d, m; y!", kMorning, "5, 2; 02!"},
          {std::string("d\0m", 3), kMorning,
           std::string("5\0"
                       "2",
                       3)},
      },
      RegionalSettings());
}

TEST(FormatDateTimeTest, MinutesFollowAnHour) {
  ExpectCases(
      {
          {"h:m", kMorning, "8:4"},
          {"hh:mm", kMorning, "08:04"},
          {"h/mm", kMorning, "8/04"},
          {"h mm", kMorning, "8 04"},
          {"mm h", kMorning, "02 8"},
          {"d mm", kMorning, "5 02"},
          // The first "M" becomes a minute and is the last letter seen then.
          {"h:Mm", kMorning, "8:42"},
          // Any letter in between breaks the link, "A" of a marker too.
          {"h ampm mm", kMorning, "8 am 02"},
          {"h 'x' mm", kMorning, "8 x 04"},
      },
      RegionalSettings());
}

TEST(FormatDateTimeTest, MarkersAndTheTwelveHourClock) {
  RegionalSettings settings;
  settings.am_text = "vorm.";
  settings.pm_text = "nachm.";
  ExpectCases(
      {
          {"am/pm", kMorning, "am"},
          {"am/pm", kEvening, "pm"},
          {"AM/PM", kEvening, "PM"},
          {"aM/Pm", kMorning, "aM"},
          {"aM/Pm", kEvening, "Pm"},
          {"a/p", kMorning, "a"},
          {"A/P", kEvening, "P"},
          {"ampm", kMorning, "vorm."},
          {"AmPm", kEvening, "nachm."},
          {"aaa aaaa AAAA", kMorning, "Tue Tuesday Tuesday"},
          {"a ab aa", kMorning, "a ab aa"},
          {"am/p", kMorning, "a2/p"},
          // A marker after the hour, or before it, puts the hour on 12.
          {"h", kEvening, "18"},
          {"h am/pm", kEvening, "6 pm"},
          {"hh:nn a/p", kEvening, "06:35 p"},
          {"ampm h", kEvening, "nachm. 6"},
          {"h ampm", At(2002, 1, 1, 0, 30), "12 vorm."},
          {"h ampm", At(2002, 1, 1, 12, 30), "12 nachm."},
          {"h ampm", At(2002, 1, 1, 13, 30), "1 nachm."},
          // The scan stops at the next hour and at the first "A" outside
          // quotes; quoted markers do not count.
          {"h h am/pm", kEvening, "18 6 pm"},
          {"h ax am/pm", kEvening, "18 ax pm"},
          {"h 'am/pm'", kEvening, "18 am/pm"},
          {"h \"it's\" am/pm", kEvening, "18 it's pm"},
          {"h 'x''y' am/pm", kEvening, "6 xy pm"},
      },
      settings);
}

TEST(FormatDateTimeTest, QuotesAndSeparators) {
  RegionalSettings other;
  other.date_separator = '-';
  other.time_separator = '.';
  RegionalSettings none;
  none.date_separator = '\0';
  none.time_separator = '\0';
  const std::vector<Case> quotes = {
      {"'d' \"mm\"", kMorning, "d mm"},
      {"'it\"s' d", kMorning, "it\"s 5"},
      {"d 'open mm", kMorning, "5 open mm"},
      {"''d\"\"", kMorning, "5"},
  };
  ExpectCases(quotes, RegionalSettings());
  ExpectCases({{"d/m h:n", kMorning, "5/2 8:4"}, {"'/:'", kMorning, "/:"}}, RegionalSettings());
  ExpectCases({{"d/m h:n", kMorning, "5-2 8.4"}}, other);
  ExpectCases({{"d/m h:n", kMorning, "52 84"}}, none);
  EXPECT_EQ(DateTimeText(kMorning, none), "2502 80403 am");
}

TEST(FormatDateTimeTest, NestsAtMostTwoFormatsDeep) {
  RegionalSettings settings;
  settings.short_date_format = "[d|ddddd|c|tt]";
  settings.long_date_format = "{dddddd}";
  settings.long_time_format = "<h|tt>";
  settings.short_time_format = "(t)";
  ExpectCases(
      {
          // A "c" two levels deep still writes its space.
          {"ddddd", kMorning, "[5|| |]"},
          {"dddddd", kMorning, "{}"},
          {"tt", kMorning, "<8|>"},
          {"t", kMorning, "()"},
          {"c", kMorning, "[5|| |] <8|>"},
          {"c", At(2002, 2, 5), "[5|||]"},
      },
      settings);
  EXPECT_EQ(DateTimeText(kMorning, settings), "[5|| |] <8|>");
}

TEST(FormatDateTimeTest, OutputStopsAt256Bytes) {
  RegionalSettings settings;
  settings.short_date_format = std::string(250, 'x');
  settings.long_time_format = "hh:nn:ss";
  EXPECT_EQ(DateTimeText(kMorning, settings), std::string(250, 'x') + " 08:04");
  EXPECT_EQ(FormatDateTime(std::string(300, 'x'), kMorning, settings), std::string(256, 'x'));
  std::string names;
  for (int i = 0; i < 40; ++i) names += "dddd ";
  std::string expected;
  for (int i = 0; i < 40; ++i) expected += "Tuesday ";
  EXPECT_EQ(FormatDateTime(names, kMorning, settings), expected.substr(0, 256));
  const std::string quoted = "'" + std::string(300, 'q') + "'";
  EXPECT_EQ(FormatDateTime(quoted, kMorning, settings).size(), 256u);
}

TEST(SplitDateTimeTest, RoundsToTheNearestMillisecondTiesToEven) {
  struct Split {
    double value;
    std::string expected;
  };
  // 1/2048 and 3/2048 of a day are exactly 42187.5 and 126562.5 ms.
  const std::vector<Split> cases = {
      {1.0 / 2048, "12/30/1899 00:00:42.188"},
      {3.0 / 2048, "12/30/1899 00:02:06.562"},
      {-1.25, "12/29/1899 06:00:00.000"},
      {-0.5, "12/30/1899 12:00:00.000"},
      {-1.0 / 2048, "12/30/1899 00:00:42.188"},
      {1.0, "12/31/1899 00:00:00.000"},
      {-693593.0, "01/01/0001 00:00:00.000"},
      {2958465.99999999, "12/31/9999 23:59:59.999"},
      {At(2002, 1, 1) - 0.0000000001, "01/01/2002 00:00:00.000"},
  };
  for (const Split& c : cases) {
    EXPECT_EQ(FormatDateTime("mm/dd/yyyy hh:nn:ss.zzz", c.value, RegionalSettings()), c.expected)
        << c.value;
  }
  for (const double bad : {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), -1e300, 1.1e11}) {
    EXPECT_THROW(DateTimeText(bad, RegionalSettings()), EConvertError) << bad;
  }
  EXPECT_EQ(FormatDateTime("yyyy", 1e11, RegionalSettings()), "273792600");
}

TEST(SplitDateTimeTest, DayOfTheWeek) {
  const std::vector<Case> cases = {
      {"dddd", 0.0, "Saturday"},      {"dddd", 1.0, "Sunday"},
      {"dddd", -1.0, "Friday"},       {"dddd", -693593.0, "Monday"},  // 1 January of year 1
      {"dddd", -800000.0, "Monday"},                                  // before year 1
      {"ddd", At(2002, 1, 1), "Tue"},
  };
  ExpectCases(cases, RegionalSettings());
}

TEST(FormatDateTimeTest, EraLettersAskTheAlternativeCalendar) {
  std::vector<std::string> pictures;
  RegionalSettings settings;
  settings.format_alt_date = [&](int64_t year, unsigned month, unsigned day,
                                 std::string_view picture) -> std::string {
    pictures.emplace_back(picture);
    EXPECT_EQ(year, 2002);
    EXPECT_EQ(month, 2u);
    EXPECT_EQ(day, 5u);
    if (picture == "gg") return "Heisei";
    return picture == "yyyy" ? "0014" : "04";
  };
  ExpectCases({{"e|ee|eee|EEEE", kMorning, "4|04|0014|0014"},
               {"g|gg|GGG", kMorning, "Heisei|Heisei|Heisei"}},
              settings);
  EXPECT_EQ(pictures, (std::vector<std::string>{"yy", "yy", "yyyy", "yyyy", "gg", "gg", "gg"}));
  ExpectCases({{"e ee eee g", kMorning, "2 02 2002 "}}, RegionalSettings());
}

TEST(FormatDateTimeTest, DoubleByteCharacters) {
  RegionalSettings settings;
  for (int b = 0x81; b <= 0x9F; ++b) settings.lead_bytes[b] = true;
  ExpectCases(
      {
          // Outside quotes a double-byte character shows nothing, even when
          // its second byte is a letter, and the last letter is forgotten.
          {"yyyy\x94\x4e"
           "d\x93\x75",
           kMorning, "20025"},
          {"h\x81\x40mm", kMorning, "802"},
          {"h\x81", kMorning, "8"},
          // Inside quotes it is copied whole, a second byte equal to the
          // quote included.
          {"'\x81\x27' d", kMorning, "\x81\x27 5"},
          // The 12-hour scan steps over it too.
          {"h \x81\x41 am/pm", kEvening, "6  pm"},
      },
      settings);
}

}  // namespace
}  // namespace lintrel
