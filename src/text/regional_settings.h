// The user's regional settings as the date-time renderer and the date
// parser's error messages use them: a plain value, read once when the
// library loads and only read afterwards.
#ifndef LINTREL_TEXT_REGIONAL_SETTINGS_H_
#define LINTREL_TEXT_REGIONAL_SETTINGS_H_

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "text/text.h"

namespace lintrel {

struct RegionalSettings {
  // One-byte settings; byte 0 means "no separator".
  char decimal_separator = '.';
  char date_separator = '/';
  char time_separator = ':';
  // Formats in the letters of the date-time format engine.
  Text short_date_format = "m/d/yy";
  Text long_date_format = "mmmm d, yyyy";
  Text short_time_format = "h:mm AMPM";
  Text long_time_format = "h:mm:ss AMPM";
  Text am_text = "am";
  Text pm_text = "pm";
  // January first.
  std::array<Text, 12> short_month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<Text, 12> long_month_names = {"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
  // Sunday first.
  std::array<Text, 7> short_day_names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<Text, 7> long_day_names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
  // The bytes that begin a double-byte character in the formats' code page.
  std::bitset<256> lead_bytes;
  // The year and era name in the locale's calendar; by default the
  // Gregorian year and no era name.
  platform::AltCalendarFormatter format_alt_date = GregorianAltDate;

  // "yyyy": the year in at least four digits; "yy": its last two digits;
  // any other picture (the era name) gives the empty text.
  static Text GregorianAltDate(int64_t year, unsigned month, unsigned day,
                               std::string_view picture);
};

// The built-in defaults, shared and never changed.
const RegionalSettings& BuiltInSettings();

// Builds the settings from a regional-settings service: each item is asked
// for with the room its kind allows, missing values take the defaults, the
// two time formats are built from the clock settings and the two date
// formats are translated for the locale's calendar.
RegionalSettings ReadRegionalSettings(const platform::LocaleService& service);

// The settings of the calling thread's locale (the defaults where the
// platform has no regional-settings service). The library calls this once,
// while it loads.
RegionalSettings LoadRegionalSettings();

// Rewrites a date format read from the platform for calendar type
// `calendar_type`: the era calendars (3 to 5) take their years ("e") and era
// names ("ggg") from the alternative calendar; Chinese (4), Japanese (17)
// and Korean (18) locales otherwise lose every era letter "g". Double-byte
// characters are copied whole.
Text TranslateDateFormat(std::string_view format, int32_t calendar_type, uint16_t primary_language,
                         const std::bitset<256>& lead_bytes);

}  // namespace lintrel

#endif  // LINTREL_TEXT_REGIONAL_SETTINGS_H_
