#include "tools/posix/posix_locale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "text/calendar.h"
#include "text/date_time_format.h"
#include "tools/base/errors.h"
#include "tools/scratch_folder.h"

#if defined(__SANITIZE_ADDRESS__)
// The C library's newlocale loses its copy of LOCPATH on every call while
// that variable is set, which the generated locale below needs. The frame is
// named __argz_add_sep or argz_add_sep depending on how the sanitizer
// symbolizes the C library, and either holds this text.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:argz_add_sep\n";
}
#endif

namespace lintrel::cli {
namespace {

TEST(PosixLocaleTest, DateFormatsBecomeEngineLetters) {
  struct Case {
    std::string d_fmt;
    std::string format;
    char separator;
  };
  const std::vector<Case> cases = {
      {"%m/%d/%y", "MM/dd/yy", '/'},
      {"%d.%m.%Y", "dd/MM/yyyy", '.'},
      {"%Y-%m-%d", "yyyy/MM/dd", '-'},
      {"%D", "MM/dd/yy", '/'},
      {"%F", "yyyy/MM/dd", '-'},
      {"%-d.%-m.%Y", "d/M/yyyy", '.'},
      {"%e %b %Y", "d/MMM/yyyy", ' '},
      {"%a %d %B %Y", "ddd/dd/MMMM/yyyy", ' '},
      {"%A, %_d. %Om %EY", "dddd, d. MM yyyy", '\0'},
      // Literal text prints as itself: letters, quotes, "/" and ":" are
      // quoted, other bytes copied.
      {"%d de %B de %Y", "dd \"de \"MMMM \"de \"yyyy", '\0'},
      {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5",
       "yyyy\xe5\xb9\xb4MM\xe6\x9c\x88"
       "dd\xe6\x97\xa5",
       '\0'},
      {"%Y. %m. %d.", "yyyy. MM. dd.", '\0'},
      {"%d.%m/%y:x", "dd/MM\"/\"yy\":x\"", '.'},
      {"it's %d\"%m", "\"it's \"dd'\"'MM", '\0'},
      // Fields without a letter are left out; two fields of one letter stay
      // two runs.
      {"%d%e %C%j %% %", "dd\"\"d  % %", '\0'},
  };
  for (const Case& c : cases) {
    const PosixDateFormat date = TranslatePosixDateFormat(c.d_fmt);
    EXPECT_EQ(date.format, c.format) << c.d_fmt;
    EXPECT_EQ(date.separator, c.separator) << c.d_fmt;
  }
}

TEST(PosixLocaleTest, ClockComesFromTheFirstHour) {
  struct Case {
    std::string t_fmt;
    std::string t_fmt_ampm;
    bool twelve_hour;
    bool leading_zero;
    bool marker_first;
    char separator;
  };
  const std::vector<Case> cases = {
      {"%H:%M:%S", "", false, true, false, ':'},
      {"%T", "", false, true, false, ':'},
      {"%R", "", false, true, false, ':'},
      {"%r", "%I:%M:%S %p", true, true, false, ':'},
      {"%k.%M", "", false, false, false, '.'},
      {"%-H:%M", "", false, false, false, ':'},
      {"%l:%M %p", "", true, false, false, ':'},
      {"%p %I\xec\x8b\x9c %M\xeb\xb6\x84", "", true, true, true, '\0'},
      {"%r", "%r", false, false, false, '\0'},
  };
  for (const Case& c : cases) {
    const PosixClock clock = ReadPosixClock(c.t_fmt, c.t_fmt_ampm);
    const bool found = c.t_fmt_ampm != "%r";
    EXPECT_EQ(clock.found, found) << c.t_fmt;
    EXPECT_EQ(clock.twelve_hour, c.twelve_hour) << c.t_fmt;
    EXPECT_EQ(clock.leading_zero, c.leading_zero) << c.t_fmt;
    EXPECT_EQ(clock.marker_first, c.marker_first) << c.t_fmt;
    EXPECT_EQ(clock.separator, c.separator) << c.t_fmt;
  }
}

TEST(PosixLocaleTest, TheCLocale) {
  const RegionalSettings settings = LoadPosixLocaleSettings("C");
  EXPECT_EQ(settings.short_date_format, "MM/dd/yy");
  EXPECT_EQ(settings.date_separator, '/');
  EXPECT_EQ(settings.long_time_format, "hh:mm:ss");
  EXPECT_EQ(settings.short_time_format, "hh:mm");
  EXPECT_EQ(settings.time_separator, ':');
  EXPECT_EQ(settings.decimal_separator, '.');
  EXPECT_EQ(settings.am_text, "AM");
  EXPECT_EQ(settings.pm_text, "PM");
  EXPECT_EQ(settings.short_month_names[0], "Jan");
  EXPECT_EQ(settings.long_month_names[11], "December");
  EXPECT_EQ(settings.short_day_names[0], "Sun");
  EXPECT_EQ(settings.long_day_names[6], "Saturday");
  EXPECT_EQ(DateTimeText(37257.75, settings), "01/01/02 18:00:00");
}

TEST(PosixLocaleTest, ALocaleThatIsNotInstalledIsAnError) {
  EXPECT_THAT([] { LoadPosixLocaleSettings("xx_YY"); },
              testing::ThrowsMessage<CliError>("locale 'xx_YY' is not installed"));
}

// de_DE.UTF-8 as installed, or else generated into `folder`, where LOCPATH
// makes the C library find it.
bool GermanLocaleAvailable(const std::filesystem::path& folder) {
  const char* const kName = "de_DE.UTF-8";
  const auto installed = [&] {
    locale_t locale = newlocale(LC_TIME_MASK, kName, nullptr);
    if (locale != nullptr) freelocale(locale);
    return locale != nullptr;
  };
  if (installed()) return true;
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + (folder / kName).string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  setenv("LOCPATH", folder.c_str(), 1);
  return installed();
}

TEST(PosixLocaleTest, AnInstalledGermanLocale) {
  const ScratchFolder folder;
  if (folder.path().empty() || !GermanLocaleAvailable(folder.path())) {
    GTEST_SKIP() << "de_DE.UTF-8 is not installed and localedef could not generate it";
  }
  const RegionalSettings settings = LoadPosixLocaleSettings("de_DE.UTF-8");
  EXPECT_EQ(settings.short_date_format, "dd/MM/yyyy");
  EXPECT_EQ(settings.date_separator, '.');
  EXPECT_EQ(settings.long_time_format, "hh:mm:ss");
  EXPECT_EQ(settings.decimal_separator, ',');
  EXPECT_EQ(settings.long_month_names[2], "M\xc3\xa4rz");
  EXPECT_EQ(settings.long_day_names[2], "Dienstag");
  const double moment =
      static_cast<double>(DaysFromCivil(2002, 1, 1)) + (10 * 3600 + 5 * 60 + 3) / 86400.0;
  EXPECT_EQ(DateTimeText(moment, settings), "01.01.2002 10:05:03");
  EXPECT_EQ(FormatDateTime("dddd, d. mmmm yyyy", moment, settings), "Dienstag, 1. Januar 2002");
}

}  // namespace
}  // namespace lintrel::cli
