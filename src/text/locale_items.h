// The item numbers of the regional-settings service (its LOCALE_* values),
// shared by the settings reader and by the POSIX locale source that answers
// the same questions.
#ifndef LINTREL_TEXT_LOCALE_ITEMS_H_
#define LINTREL_TEXT_LOCALE_ITEMS_H_

#include <cstdint>

namespace lintrel::locale_items {

inline constexpr uint32_t kDecimalSeparator = 14;
inline constexpr uint32_t kDateSeparator = 29;
inline constexpr uint32_t kTimeSeparator = 30;
inline constexpr uint32_t kShortDate = 31;
inline constexpr uint32_t kLongDate = 32;
inline constexpr uint32_t kTwelveHourClock = 35;  // 0 means the 12-hour clock
inline constexpr uint32_t kHourLeadingZero = 37;
inline constexpr uint32_t kAmText = 40;
inline constexpr uint32_t kPmText = 41;
inline constexpr uint32_t kFirstLongDayName = 42;     // Monday; 48 is Sunday
inline constexpr uint32_t kFirstShortDayName = 49;    // Monday; 55 is Sunday
inline constexpr uint32_t kFirstLongMonthName = 56;   // January
inline constexpr uint32_t kFirstShortMonthName = 68;  // January
inline constexpr uint32_t kMarkerBeforeTime = 4101;
inline constexpr uint32_t kCalendarType = 4105;

}  // namespace lintrel::locale_items

#endif  // LINTREL_TEXT_LOCALE_ITEMS_H_
