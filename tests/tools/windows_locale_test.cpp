#include "tools/locales/windows_locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "text/calendar.h"
#include "text/date_time_format.h"

namespace lintrel::cli {
namespace {

TEST(WindowsLocaleTest, NamesSelectLocales) {
  const struct {
    const char* given;
    const char* found;  // nullptr: none
  } kCases[] = {
      {"de-DE", "de-DE"},
      {"DE-de", "de-DE"},
      {"de", "de-DE"},
      {"de_DE", "de-DE"},
      {"de_DE.UTF-8", "de-DE"},
      {"de_DE.ISO-8859-15@euro", "de-DE"},
      {"sr_RS@latin", "sr-Latn-RS"},
      {"C", "en-US"},
      {"POSIX", "en-US"},
      {"C.UTF-8", "en-US"},
      {"ja_JP.eucJP", "ja-JP"},
      {"de_XX", nullptr},
      {"xx-YY", nullptr},
      {"", nullptr},
      {"de-", nullptr},
      {"_", nullptr},
      {"@latin", nullptr},
      {"de-DE\n", nullptr},
  };
  for (const auto& c : kCases) {
    const WindowsLocale* locale = FindWindowsLocale(c.given);
    if (c.found == nullptr) {
      EXPECT_EQ(locale, nullptr) << c.given;
    } else {
      ASSERT_NE(locale, nullptr) << c.given;
      EXPECT_EQ(locale->name, c.found) << c.given;
    }
  }
}

TEST(WindowsLocaleTest, TheEnvironmentNamesTheLocaleAsPosixDoes) {
  const struct {
    const char* lc_all;
    const char* lc_time;
    const char* lang;
    const char* expected;
    const char* variable;
  } kCases[] = {
      {"de_DE", "fr_FR", "hu_HU", "de_DE", "LC_ALL"},
      {"", "fr_FR", "hu_HU", "fr_FR", "LC_TIME"},
      {nullptr, nullptr, "hu_HU", "hu_HU", "LANG"},
      {nullptr, "", "", "C", ""},
  };
  const auto set = [](const char* name, const char* value) {
    value == nullptr ? unsetenv(name) : setenv(name, value, 1);
  };
  for (const auto& c : kCases) {
    set("LC_ALL", c.lc_all);
    set("LC_TIME", c.lc_time);
    set("LANG", c.lang);
    EXPECT_EQ(EnvironmentLocaleName().name, c.expected);
    EXPECT_EQ(EnvironmentLocaleName().variable, c.variable);
  }
  unsetenv("LC_ALL");
  unsetenv("LC_TIME");
  unsetenv("LANG");
}

// Lookups search the table by halves, which holds only while it is sorted.
TEST(WindowsLocaleTest, TheTableIsWhole) {
  const auto characters = CodePageCharacters();
  EXPECT_TRUE(std::ranges::is_sorted(characters, {}, [](const CodePageCharacter& c) {
    return std::pair(c.code_page, c.character);
  }));
  EXPECT_TRUE(std::ranges::is_sorted(WindowsLocales(), {}, &WindowsLocale::lcid));
  for (const WindowsLocale& locale : WindowsLocales()) {
    EXPECT_LT(locale.names, LocaleNameSets().size()) << locale.name;
    EXPECT_EQ(FindWindowsLocale(locale.name), &locale);
  }
  for (const LocaleAlias& alias : LocaleAliases()) {
    const WindowsLocale* locale = FindWindowsLocale(alias.alias);
    ASSERT_NE(locale, nullptr) << alias.alias;
    EXPECT_EQ(locale->name, alias.name);
  }
}

TEST(WindowsLocaleTest, CodePages) {
  const struct {
    const char* text;
    uint16_t code_page;
    std::string bytes;
    const char* read_back;
  } kCases[] = {
      {"Dezember", 1252, "Dezember", "Dezember"},
      {"März", 1252, "M\xe4rz", "März"},
      {"午前", 932, "\x8c\xdf\x91\x4f", "午前"},
      {"上午", 950, "\xa4W\xa4\xc8", "上午"},
      {"ص", 1256, "\xd5", "ص"},
      // No such character in the code page.
      {"a\u202fm", 1251, "a?m", "a?m"},
      {"ጥ", 1252, "?", "?"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(EncodeInCodePage(c.text, c.code_page), c.bytes) << c.text;
    EXPECT_EQ(DecodeCodePage(c.bytes, c.code_page), c.read_back) << c.text;
  }
  EXPECT_EQ(DecodeCodePage("\x81", 1252), "\xef\xbf\xbd");
  EXPECT_EQ(DecodeCodePage("a\x8c", 932), "a\xef\xbf\xbd");
}

// The promise of --output-encoding utf-8: the same rendering as the
// plug-in's, read from its code page; for every locale, on dates with one-
// and two-digit fields, before noon and after.
TEST(WindowsLocaleTest, TheUtf8RenderingIsTheAnsiRenderingReadAsUtf8) {
  const double kDates[] = {*EncodeDateTime({2024, 3, 4, 8, 6, 5, 0}),
                           *EncodeDateTime({1850, 12, 31, 23, 59, 59, 0}),
                           *EncodeDateTime({2040, 10, 10, 0, 0, 0, 0})};
  size_t with_non_ascii = 0;
  for (const WindowsLocale& locale : WindowsLocales()) {
    const RegionalSettings ansi = WindowsLocaleSettings(locale, OutputEncoding::kAnsi);
    const RegionalSettings utf8 = WindowsLocaleSettings(locale, OutputEncoding::kUtf8);
    for (const double date : kDates) {
      const Text bytes = DateTimeText(date, ansi);
      EXPECT_EQ(DateTimeText(date, utf8), DecodeCodePage(bytes, locale.code_page)) << locale.name;
      with_non_ascii += std::ranges::any_of(bytes, [](char b) { return b < 0; });
      EXPECT_EQ(FormatDateTime(utf8.long_date_format, date, utf8),
                DecodeCodePage(FormatDateTime(ansi.long_date_format, date, ansi), locale.code_page))
          << locale.name;
    }
  }
  EXPECT_GT(with_non_ascii, 50u);
}

// Made-up settings that stress the same promise: a double-byte character
// between an hour and its minutes, in quotes and at the end; and an AM text
// that fits the plug-in's room in the code page but not in UTF-8, which is
// read as the plug-in reads it all the same.
TEST(WindowsLocaleTest, TheUtf8PromiseHoldsForOddFormats) {
  std::string long_am;
  for (int i = 0; i < 150; ++i) long_am += "ä";
  const struct {
    uint16_t code_page;
    std::string_view short_date;
    std::string_view am;
  } kCases[] = {
      {932, "h年mm", "午前"}, {932, "'年'd", "午前"},  {932, "\"年'\"d", "午前"},
      {932, "d年d", "午前"},  {932, "yyyy年", "午前"}, {936, "M月d日", "上午"},
      {1252, "d/M", long_am},
  };
  const double date = *EncodeDateTime({2024, 3, 4, 8, 6, 5, 0});
  for (const auto& c : kCases) {
    const WindowsLocale locale{"xx-XX",
                               0x0411,
                               c.code_page,
                               {".", "/", ":", c.short_date, "d", "0", "0", c.am, "PM", "0", "1"},
                               0};
    const RegionalSettings ansi = WindowsLocaleSettings(locale, OutputEncoding::kAnsi);
    const RegionalSettings utf8 = WindowsLocaleSettings(locale, OutputEncoding::kUtf8);
    EXPECT_EQ(FormatDateTime(utf8.short_date_format, date, utf8),
              DecodeCodePage(FormatDateTime(ansi.short_date_format, date, ansi), c.code_page))
        << c.short_date;
    EXPECT_EQ(utf8.am_text, DecodeCodePage(ansi.am_text, c.code_page)) << c.short_date;
  }
}

// A double-byte character outside quotes in a date format is left out, as
// the plug-in leaves it out; in quotes it is kept.
TEST(WindowsLocaleTest, UnquotedDoubleByteCharactersAreLeftOut) {
  const WindowsLocale* singapore = FindWindowsLocale("zh-SG");
  ASSERT_NE(singapore, nullptr);
  ASSERT_EQ(singapore->values[3], "yyyy年M月d日");
  const double date = *EncodeDateTime({2024, 3, 4, 0, 0, 0, 0});
  EXPECT_EQ(DateTimeText(date, WindowsLocaleSettings(*singapore, OutputEncoding::kAnsi)), "202434");
  EXPECT_EQ(DateTimeText(date, WindowsLocaleSettings(*singapore, OutputEncoding::kUtf8)), "202434");
  // "d" and "dddd" stay two runs, not one of five.
  const RegionalSettings japan =
      WindowsLocaleSettings(*FindWindowsLocale("ja-JP"), OutputEncoding::kUtf8);
  EXPECT_EQ(FormatDateTime(japan.long_date_format, date, japan), "202434月曜日");
}

}  // namespace
}  // namespace lintrel::cli
