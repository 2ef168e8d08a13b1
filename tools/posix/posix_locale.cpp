// The settings of an installed POSIX locale, read through nl_langinfo_l
// and handed to the plug-in as the items of a regional settings source.
#include "tools/posix/posix_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>

#include "platform/platform.h"
#include "text/locale_items.h"
#include "tools/base/errors.h"

namespace lintrel::cli {
namespace {

using namespace locale_items;

// The locale object, freed on every path.
struct LocaleDeleter {
  void operator()(locale_t locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

}  // namespace

RegionalSettings LoadPosixLocaleSettings(const std::string& name) {
  const LocaleHandle locale(newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, name.c_str(), nullptr));
  if (!locale) throw CliError("locale '" + name + "' is not installed");
  const auto info = [&](nl_item item) { return std::string(nl_langinfo_l(item, locale.get())); };

  std::map<uint32_t, std::string> items;
  const auto answer_byte = [&](uint32_t item, char b) {
    if (b != '\0') items[item] = std::string(1, b);
  };
  items[kDecimalSeparator] = info(RADIXCHAR);
  const PosixDateFormat date = TranslatePosixDateFormat(info(D_FMT));
  items[kShortDate] = date.format;
  answer_byte(kDateSeparator, date.separator);

  const PosixClock clock = ReadPosixClock(info(T_FMT), info(T_FMT_AMPM));
  if (clock.found) {
    items[kTwelveHourClock] = clock.twelve_hour ? "0" : "1";
    items[kHourLeadingZero] = clock.leading_zero ? "1" : "0";
    items[kMarkerBeforeTime] = clock.marker_first ? "1" : "0";
    answer_byte(kTimeSeparator, clock.separator);
  }
  items[kAmText] = info(AM_STR);
  items[kPmText] = info(PM_STR);

  constexpr nl_item kMonths[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                   MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  constexpr nl_item kShortMonths[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                        ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
  for (uint32_t i = 0; i < 12; ++i) {
    items[kFirstLongMonthName + i] = info(kMonths[i]);
    items[kFirstShortMonthName + i] = info(kShortMonths[i]);
  }
  // DAY_1 is Sunday, which the settings' items number last.
  constexpr nl_item kDays[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
  constexpr nl_item kShortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
  for (uint32_t i = 0; i < 7; ++i) {
    const uint32_t offset = (i + 6) % 7;
    items[kFirstLongDayName + offset] = info(kDays[i]);
    items[kFirstShortDayName + offset] = info(kShortDays[i]);
  }

  platform::LocaleService service;
  service.read_item = [&items](uint32_t item, size_t) -> std::optional<std::string> {
    const auto found = items.find(item);
    if (found == items.end()) return std::nullopt;
    return found->second;
  };
  return ReadRegionalSettings(service);
}

}  // namespace lintrel::cli
