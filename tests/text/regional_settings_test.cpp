#include "text/regional_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "text/calendar.h"
#include "text/date_time_format.h"

namespace lintrel {
namespace {

using Items = std::map<uint32_t, std::string>;

// A service that answers from a table, with every value regardless of the
// room asked for, so that the reader's own room rule is what is tested.
platform::LocaleService ServiceOf(Items items, uint16_t primary_language = 9) {
  platform::LocaleService service;
  service.read_item = [items](uint32_t item, size_t) -> std::optional<std::string> {
    const auto found = items.find(item);
    if (found == items.end()) return std::nullopt;
    return found->second;
  };
  service.primary_language = primary_language;
  return service;
}

TEST(RegionalSettingsTest, NoServiceGivesTheDefaults) {
  const RegionalSettings settings = ReadRegionalSettings(platform::LocaleService{});
  EXPECT_EQ(settings.short_date_format, "m/d/yy");
  EXPECT_EQ(settings.long_date_format, "mmmm d, yyyy");
  EXPECT_EQ(settings.short_time_format, "h:mm AMPM");
  EXPECT_EQ(settings.long_time_format, "h:mm:ss AMPM");
  EXPECT_EQ(settings.date_separator, '/');
  EXPECT_EQ(settings.time_separator, ':');
  EXPECT_EQ(settings.decimal_separator, '.');
  EXPECT_EQ(settings.am_text, "am");
  EXPECT_EQ(settings.short_month_names[4], "May");
  EXPECT_EQ(settings.long_day_names[0], "Sunday");
  EXPECT_EQ(DateTimeText(37257.75, LoadRegionalSettings()), "1/1/02 6:00:00 pm");
}

TEST(RegionalSettingsTest, TimeFormatsAreBuiltFromTheClockSettings) {
  struct Case {
    Items items;
    std::string short_time;
    std::string long_time;
  };
  const std::vector<Case> cases = {
      {{}, "h:mm AMPM", "h:mm:ss AMPM"},
      {{{37, "1"}}, "hh:mm AMPM", "hh:mm:ss AMPM"},
      {{{35, "1"}}, "h:mm", "h:mm:ss"},
      {{{35, "1"}, {37, "1"}}, "hh:mm", "hh:mm:ss"},
      {{{4101, "1"}}, "AMPM h:mm", "AMPM h:mm:ss"},
      {{{4101, "1"}, {37, "2"}}, "AMPM hh:mm", "AMPM hh:mm:ss"},
      // The marker position is read only on the 12-hour clock.
      {{{35, "1"}, {4101, "1"}}, "h:mm", "h:mm:ss"},
      // Numbers are read leniently: no number counts as 0.
      {{{35, "x"}, {37, ""}, {4101, " 1"}}, "AMPM h:mm", "AMPM h:mm:ss"},
      {{{35, "$1"}}, "h:mm", "h:mm:ss"},
      {{{35, std::string(256, '1')}}, "h:mm AMPM", "h:mm:ss AMPM"},
  };
  for (const Case& c : cases) {
    const RegionalSettings settings = ReadRegionalSettings(ServiceOf(c.items));
    EXPECT_EQ(settings.short_time_format, c.short_time) << c.long_time;
    EXPECT_EQ(settings.long_time_format, c.long_time) << c.long_time;
  }
}

TEST(RegionalSettingsTest, TextAndByteSettingsFitTheirRoom) {
  const RegionalSettings settings = ReadRegionalSettings(ServiceOf({
      {14, ","},
      {29, ". "},  // two bytes do not fit a one-byte setting
      {30, ""},    // an empty one is byte 0
      {31, std::string(255, 'd')},
      {32, std::string(256, 'd')},
      {40, ""},
      {41, "nachm."},
  }));
  EXPECT_EQ(settings.decimal_separator, ',');
  EXPECT_EQ(settings.date_separator, '/');
  EXPECT_EQ(settings.time_separator, '\0');
  EXPECT_EQ(settings.short_date_format, std::string(255, 'd'));
  EXPECT_EQ(settings.long_date_format, "mmmm d, yyyy");
  EXPECT_EQ(settings.am_text, "");
  EXPECT_EQ(settings.pm_text, "nachm.");
}

TEST(RegionalSettingsTest, NamesComeSundayFirstAndEmptyNamesKeepTheirDefaults) {
  Items items;
  for (uint32_t item = 42; item <= 79; ++item) items[item] = "#" + std::to_string(item);
  items[56] = "";  // January's long name
  items[49] = "";  // Monday's short name
  const RegionalSettings settings = ReadRegionalSettings(ServiceOf(items));
  EXPECT_EQ(settings.long_month_names[0], "January");
  EXPECT_EQ(settings.long_month_names[1], "#57");
  EXPECT_EQ(settings.long_month_names[11], "#67");
  EXPECT_EQ(settings.short_month_names[0], "#68");
  EXPECT_EQ(settings.short_month_names[11], "#79");
  EXPECT_EQ(settings.long_day_names,
            (std::array<Text, 7>{"#48", "#42", "#43", "#44", "#45", "#46", "#47"}));
  EXPECT_EQ(settings.short_day_names,
            (std::array<Text, 7>{"#55", "Mon", "#50", "#51", "#52", "#53", "#54"}));
}

TEST(TranslateDateFormatTest, EraCalendarsAndEastAsianLanguages) {
  std::bitset<256> shift_jis;
  for (int b = 0x81; b <= 0x9F; ++b) shift_jis[b] = true;
  struct Case {
    std::string format;
    int32_t calendar;
    uint16_t language;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"gg yyyy/MM/dd", 3, 17, "ggg eeee/MM/dd"},
      {"GGy-M-d", 4, 4, "ggge-M-d"},
      {"yyyyy yyy Yy y", 5, 18, "eeeee eee ee e"},
      {"g ggg gggg", 3, 17, "g gggg gggggg"},
      {"d \x94\x79 \x81\x67", 3, 17, "d \x94\x79 \x81\x67"},
      // Other calendars in Chinese, Japanese and Korean lose their era
      // letters, but not the second bytes of double-byte characters.
      {"gg yyyy/MM/dd", 1, 17, " yyyy/MM/dd"},
      {"Gg yy\x81\x67", 2, 4, " yy\x81\x67"},
      {"ggyy", 6, 18, "yy"},
      // Everywhere else the format stays as it is.
      {"gg yyyy/MM/dd", 1, 9, "gg yyyy/MM/dd"},
      {"gg yyyy", 6, 1, "gg yyyy"},
      {"gg yyyy", 2, 7, "gg yyyy"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateDateFormat(c.format, c.calendar, c.language, shift_jis), c.expected)
        << c.format << " " << c.calendar << " " << c.language;
  }
}

TEST(RegionalSettingsTest, BothDateFormatsAreTranslatedForTheLocalesCalendar) {
  platform::LocaleService service =
      ServiceOf({{4105, "3"}, {31, "gg y/M/d"}, {32, "ggyyyy'x'"}}, 17);
  service.format_alt_date = [](int64_t, unsigned, unsigned, std::string_view picture) {
    return std::string(picture == "gg" ? "H" : picture == "yy" ? "14" : "0014");
  };
  const RegionalSettings settings = ReadRegionalSettings(service);
  EXPECT_EQ(settings.short_date_format, "ggg e/M/d");
  EXPECT_EQ(settings.long_date_format, "gggeeee'x'");
  EXPECT_EQ(DateTimeText(static_cast<double>(DaysFromCivil(2002, 1, 5)), settings), "H 14/1/5");

  // A default date format is translated too.
  EXPECT_EQ(ReadRegionalSettings(ServiceOf({{4105, "3"}})).short_date_format, "m/d/ee");
  EXPECT_EQ(ReadRegionalSettings(ServiceOf({{31, "gg yyyy"}}, 4)).short_date_format, " yyyy");
  EXPECT_EQ(ReadRegionalSettings(ServiceOf({{4105, "x"}, {31, "yy"}}, 17)).short_date_format, "yy");
}

}  // namespace
}  // namespace lintrel
