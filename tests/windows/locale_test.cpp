// The plug-in's delivery date against the platform's own formatters, for
// fifteen locales. The DLL reads the regional settings while it loads, so
// for each locale the thread locale is set first, then the DLL is loaded,
// and it is freed again afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "host_provider.h"
#include "plugin_library.h"

namespace host {
namespace {

struct LocaleCase {
  const char* tag;
  LANGID language;
};

const LocaleCase kLocales[] = {
    {"en-US", 0x0409}, {"en-GB", 0x0809}, {"de-DE", 0x0407}, {"fr-FR", 0x040C}, {"es-ES", 0x0C0A},
    {"it-IT", 0x0410}, {"nl-NL", 0x0413}, {"pl-PL", 0x0415}, {"ru-RU", 0x0419}, {"pt-BR", 0x0416},
    {"sv-SE", 0x041D}, {"cs-CZ", 0x0405}, {"ja-JP", 0x0411}, {"zh-CN", 0x0804}, {"ko-KR", 0x0412},
};

struct Moment {
  const char* header_date;
  SYSTEMTIME time;  // year, month, day of week, day, hour, minute, second, ms
};

// Single-digit and two-digit fields, morning and evening; the dates are
// in UTC and the plug-in converts nothing.
const Moment kMoments[] = {
    {"Tue, 5 Feb 2002 08:04:03 +0000", {2002, 2, 2, 5, 8, 4, 3, 0}},
    {"Sat, 23 Nov 2002 18:35:59 +0000", {2002, 11, 6, 23, 18, 35, 59, 0}},
    {"Mon, 1 Dec 2003 00:00:00 +0000", {2003, 12, 1, 1, 0, 0, 0, 0}},
};

std::string LocaleText(LCID locale, LCTYPE item) {
  char buffer[256];
  const int n = GetLocaleInfoA(locale, item, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n) - 1) : std::string();
}

int LocaleNumber(LCID locale, LCTYPE item) {
  return std::atoi(LocaleText(locale, item).c_str());
}

// The plug-in's long time format, built from the same three numbers, in the
// platform's picture letters: "H" is the 24-hour clock, "tt" the marker, and
// the separator is written out (quoted) because a picture has no letter for
// it.
std::string TimePicture(LCID locale) {
  const bool leading_zero = LocaleNumber(locale, LOCALE_ITLZERO) != 0;
  const bool twelve_hour = LocaleNumber(locale, LOCALE_ITIME) == 0;
  const std::string separator = std::string("'").append(LocaleText(locale, LOCALE_STIME)) + "'";
  std::string picture = twelve_hour ? (leading_zero ? "hh" : "h") : (leading_zero ? "HH" : "H");
  picture += separator + "mm" + separator + "ss";
  if (!twelve_hour) return picture;
  return LocaleNumber(locale, LOCALE_ITIMEMARKPOSN) != 0 ? std::string("tt ").append(picture)
                                                         : picture + " tt";
}

std::string PlatformRendering(LCID locale, const SYSTEMTIME& time) {
  char date[256];
  if (GetDateFormatA(locale, DATE_SHORTDATE, &time, nullptr, date, sizeof date) == 0) return "?";
  // Deliberate difference: the plug-in leaves the time out when it is
  // 0:00:00, where the platform's formatter would write it.
  if (time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0) return date;
  char clock[256];
  const std::string picture = TimePicture(locale);
  if (GetTimeFormatA(locale, 0, &time, picture.c_str(), clock, sizeof clock) == 0) return "?";
  return std::string(date) + " " + clock;
}

// Loads the DLL with `locale` as the thread locale and renders every moment.
std::vector<std::string> PluginRenderings(LCID locale) {
  std::vector<std::string> renderings;
  if (GetModuleHandleA("KOR_LINTREL.TBP") != nullptr) {
    ADD_FAILURE() << "KOR_LINTREL.TBP is already loaded elsewhere in this process, so it would "
                     "not read the thread locale again";
    return renderings;
  }
  const LCID previous = GetThreadLocale();
  SetThreadLocale(locale);
  HMODULE dll = LoadLibraryA("KOR_LINTREL.TBP");
  SetThreadLocale(previous);
  if (dll == nullptr) {
    ADD_FAILURE() << "KOR_LINTREL.TBP does not load: " << GetLastError();
    return renderings;
  }
  const Plugin::ExecMacro exec = ResolveEntries(dll).exec_macro;
  if (exec.address() == nullptr) {
    ADD_FAILURE() << "TBP_ExecMacro is not exported";
  } else {
    for (const Moment& moment : kMoments) {
      HostProvider message;
      HostProvider parameters;
      message.items[243] = "Return-Path: <a@example.org>\r\nReceived: from relay by mx; " +
                           std::string(moment.header_date) +
                           "\r\nReceived: from origin by relay; Mon, 1 Jan 2001 00:00:00 +0000\r\n";
      const std::string name = "KORDELIVERYTODATE";
      EXPECT_EQ(exec(name.data(), static_cast<int32_t>(name.size()), &message, &parameters),
                123257);
      EXPECT_EQ(message.references, 1);
      EXPECT_EQ(parameters.references, 1);
      renderings.push_back(message.stored.empty() ? "<nothing stored>" : message.stored.back());
    }
  }
  FreeLibrary(dll);
  return renderings;
}

TEST(LocaleTest, DeliveryDateMatchesThePlatformsFormatters) {
  for (const LocaleCase& c : kLocales) {
    const LCID locale = MAKELCID(c.language, SORT_DEFAULT);
    const std::vector<std::string> renderings = PluginRenderings(locale);
    ASSERT_EQ(renderings.size(), std::size(kMoments)) << c.tag;
    for (size_t i = 0; i < renderings.size(); ++i) {
      EXPECT_EQ(renderings[i], PlatformRendering(locale, kMoments[i].time))
          << c.tag << " " << kMoments[i].header_date;
    }
  }
}

// The settings are those of the locale the DLL was loaded in: loading it
// again in another locale gives the other rendering.
TEST(LocaleTest, SettingsAreReadWhenTheLibraryLoads) {
  const std::vector<std::string> american = PluginRenderings(MAKELCID(0x0409, SORT_DEFAULT));
  const std::vector<std::string> german = PluginRenderings(MAKELCID(0x0407, SORT_DEFAULT));
  ASSERT_FALSE(american.empty());
  ASSERT_FALSE(german.empty());
  EXPECT_NE(american[0], german[0]);
  EXPECT_EQ(american, PluginRenderings(MAKELCID(0x0409, SORT_DEFAULT)));
}

}  // namespace
}  // namespace host
