// The clock reading that "--now" gives.
#ifndef LINTREL_TOOLS_NOW_TIME_H_
#define LINTREL_TOOLS_NOW_TIME_H_

#include <optional>
#include <string_view>

#include "text/calendar.h"

namespace lintrel::cli {

// Reads "YYYY-MM-DDTHH:MM:SS" with an optional ".mmm" (exactly three digits)
// and a final "Z" as a UTC reading. Nullopt for anything else: another
// layout, a year outside 1..9999, or a date or time that does not exist
// (30 February, 24:00:00, a 60th second).
std::optional<DateTimeParts> ParseNowTime(std::string_view text);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_NOW_TIME_H_
