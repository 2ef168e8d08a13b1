#include "text/regional_settings.h"

#include <cstddef>
#include <optional>
#include <string>

#include "text/integer.h"
#include "text/locale_items.h"

namespace lintrel {
namespace {

using namespace locale_items;

constexpr size_t kTextRoom = 256;
constexpr size_t kByteRoom = 2;

constexpr uint16_t kChinese = 4;
constexpr uint16_t kJapanese = 17;
constexpr uint16_t kKorean = 18;

class SettingsReader {
 public:
  explicit SettingsReader(const platform::LocaleService& service) : service_(service) {}

  // The value if it fits `room` bytes with its terminator.
  std::optional<Text> Read(uint32_t item, size_t room) const {
    if (!service_.read_item) return std::nullopt;
    std::optional<Text> value = service_.read_item(item, room);
    if (value && value->size() >= room) return std::nullopt;
    return value;
  }

  // A Text setting: the platform's value, empty or not, else the default.
  void ReadText(uint32_t item, Text& setting) const {
    if (std::optional<Text> value = Read(item, kTextRoom)) setting = std::move(*value);
  }

  // A month or day name: an empty value keeps the default too.
  void ReadName(uint32_t item, Text& name) const {
    std::optional<Text> value = Read(item, kTextRoom);
    if (value && !value->empty()) name = std::move(*value);
  }

  // A one-byte setting: the value's first byte, 0 for an empty value.
  void ReadByte(uint32_t item, char& setting) const {
    if (std::optional<Text> value = Read(item, kByteRoom))
      setting = value->empty() ? '\0' : (*value)[0];
  }

  // A number: `fallback` when there is no value or the value is no number.
  int32_t ReadNumber(uint32_t item, int32_t fallback) const {
    const std::optional<Text> value = Read(item, kTextRoom);
    if (!value) return fallback;
    return TryParseInt(*value).value_or(fallback);
  }

 private:
  const platform::LocaleService& service_;
};

bool IsEraLetter(char c) {
  return c == 'g' || c == 'G';
}

}  // namespace

Text RegionalSettings::GregorianAltDate(int64_t year, unsigned, unsigned,
                                        std::string_view picture) {
  if (picture == "yyyy") {
    Text digits = IntText(year < 0 ? -year : year);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return year < 0 ? "-" + digits : digits;
  }
  if (picture == "yy") {
    const int64_t last_two = ((year % 100) + 100) % 100;
    return Text{static_cast<char>('0' + last_two / 10), static_cast<char>('0' + last_two % 10)};
  }
  return Text();
}

const RegionalSettings& BuiltInSettings() {
  static const RegionalSettings defaults;
  return defaults;
}

Text TranslateDateFormat(std::string_view format, int32_t calendar_type, uint16_t primary_language,
                         const std::bitset<256>& lead_bytes) {
  const bool era_calendar = calendar_type >= 3 && calendar_type <= 5;
  const bool drops_era_letters =
      primary_language == kChinese || primary_language == kJapanese || primary_language == kKorean;
  if (!era_calendar && !drops_era_letters) return Text(format);

  Text result;
  size_t i = 0;
  while (i < format.size()) {
    const std::string_view rest = format.substr(i);
    if (lead_bytes[static_cast<unsigned char>(rest[0])]) {
      const size_t width = rest.size() >= 2 ? 2 : 1;
      result.append(rest.substr(0, width));
      i += width;
    } else if (!era_calendar) {
      if (!IsEraLetter(rest[0])) result += rest[0];
      ++i;
    } else if (StartsWithIgnoringCase(rest, "gg")) {
      result += "ggg";
      i += 2;
    } else if (StartsWithIgnoringCase(rest, "yyyy")) {
      result += "eeee";
      i += 4;
    } else if (StartsWithIgnoringCase(rest, "yy")) {
      result += "ee";
      i += 2;
    } else {
      result += AsciiLowerByte(rest[0]) == 'y' ? 'e' : rest[0];
      ++i;
    }
  }
  return result;
}

RegionalSettings ReadRegionalSettings(const platform::LocaleService& service) {
  const SettingsReader reader(service);
  RegionalSettings settings;
  settings.lead_bytes = service.lead_bytes;
  if (service.format_alt_date) settings.format_alt_date = service.format_alt_date;

  reader.ReadByte(kDecimalSeparator, settings.decimal_separator);
  reader.ReadByte(kDateSeparator, settings.date_separator);
  reader.ReadByte(kTimeSeparator, settings.time_separator);
  reader.ReadText(kAmText, settings.am_text);
  reader.ReadText(kPmText, settings.pm_text);

  const int32_t calendar_type = reader.ReadNumber(kCalendarType, 1);
  reader.ReadText(kShortDate, settings.short_date_format);
  reader.ReadText(kLongDate, settings.long_date_format);
  settings.short_date_format = TranslateDateFormat(settings.short_date_format, calendar_type,
                                                   service.primary_language, service.lead_bytes);
  settings.long_date_format = TranslateDateFormat(settings.long_date_format, calendar_type,
                                                  service.primary_language, service.lead_bytes);

  // The time formats are built, not read: the hour with or without its
  // leading zero, and on the 12-hour clock the marker before or after.
  const Text hour = reader.ReadNumber(kHourLeadingZero, 0) == 0 ? "h" : "hh";
  Text prefix, suffix;
  if (reader.ReadNumber(kTwelveHourClock, 0) == 0) {
    if (reader.ReadNumber(kMarkerBeforeTime, 0) == 0) {
      suffix = " AMPM";
    } else {
      prefix = "AMPM ";
    }
  }
  settings.short_time_format = prefix + hour + ":mm" + suffix;
  settings.long_time_format = prefix + hour + ":mm:ss" + suffix;

  for (uint32_t i = 0; i < 12; ++i) {
    reader.ReadName(kFirstShortMonthName + i, settings.short_month_names[i]);
    reader.ReadName(kFirstLongMonthName + i, settings.long_month_names[i]);
  }
  // Sunday comes first in the settings but last among the service's items.
  for (uint32_t i = 0; i < 7; ++i) {
    const uint32_t offset = (i + 6) % 7;
    reader.ReadName(kFirstShortDayName + offset, settings.short_day_names[i]);
    reader.ReadName(kFirstLongDayName + offset, settings.long_day_names[i]);
  }
  return settings;
}

RegionalSettings LoadRegionalSettings() {
  return ReadRegionalSettings(platform::ThreadLocaleService());
}

}  // namespace lintrel
