// The "--locale NAME" option: regional settings taken from an installed
// POSIX locale, its LC_TIME data (and the decimal point of LC_NUMERIC)
// translated into the letters of the date-time format engine.
#ifndef LINTREL_TOOLS_POSIX_POSIX_LOCALE_H_
#define LINTREL_TOOLS_POSIX_POSIX_LOCALE_H_

#include <string>
#include <string_view>

#include "text/regional_settings.h"
#include "text/text.h"

namespace lintrel::cli {

// A strftime date format in the engine's letters. `separator` is the single
// byte that stands between the first two fields, written as "/" in
// `format`, or byte 0 when the fields are not parted by one byte.
struct PosixDateFormat {
  Text format;
  char separator = '\0';
};

// Translates `d_fmt`: %d %e %m %y %Y %b %B %a %A (and %D, %F) become the
// engine's letters, with "%-d"-style flags giving unpadded numbers; other
// conversions are left out; literal letters, quotes, "/" and ":" are
// quoted so that they print as themselves.
PosixDateFormat TranslatePosixDateFormat(std::string_view d_fmt);

// The clock a strftime time format uses, from its first hour conversion.
struct PosixClock {
  bool found = false;  // whether the format has an hour at all
  bool twelve_hour = false;
  bool leading_zero = false;
  bool marker_first = false;  // the %p comes before the hour
  char separator = '\0';      // the single byte after the hour, if any
};

// Reads `t_fmt`, where %r stands for `t_fmt_ampm`, %T for "%H:%M:%S" and %R
// for "%H:%M".
PosixClock ReadPosixClock(std::string_view t_fmt, std::string_view t_fmt_ampm);

// The settings of the installed locale `name` (for example "de_DE.UTF-8";
// "C" always exists): date format, separators, clock, AM and PM texts,
// month and day names, in the locale's own character set. Settings that the
// locale does not give keep their built-in defaults (the long date format
// always does). Raises CliError "locale 'NAME' is not installed" (exit
// status 2) when there is no such locale.
RegionalSettings LoadPosixLocaleSettings(const std::string& name);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_POSIX_POSIX_LOCALE_H_
