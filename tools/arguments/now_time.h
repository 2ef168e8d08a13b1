// The clock reading that "--now" gives.
#ifndef LINTREL_TOOLS_ARGUMENTS_NOW_TIME_H_
#define LINTREL_TOOLS_ARGUMENTS_NOW_TIME_H_

#include <string_view>
#include <variant>

#include "text/calendar.h"

namespace lintrel::cli {

// Why a text is not a "--now" time.
enum class NowFault {
  kLayout,     // not YYYY-MM-DDTHH:MM:SS[.mmm]Z, or a year outside 1..9999
  kNoSuchDay,  // a date that does not exist, such as 30 February
  kNoSuchTime  // a time that does not exist, such as 24:00:00 or a 60th second
};

// Reads "YYYY-MM-DDTHH:MM:SS" with an optional ".mmm" (exactly three digits)
// and a final "Z" as a UTC reading, or says what is wrong with it.
std::variant<DateTimeParts, NowFault> ParseNowTime(std::string_view text);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_NOW_TIME_H_
