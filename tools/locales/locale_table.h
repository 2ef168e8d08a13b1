// The regional settings that Windows has for each of its locales, compiled
// into the command for "--locale", and what it takes to write their texts
// in the locales' ANSI code pages. locale_table.cpp is generated from the
// settings service of Windows, as Wine implements it, by
// scripts/make-locale-table.sh; the plug-in itself never uses it.
#ifndef LINTREL_TOOLS_LOCALES_LOCALE_TABLE_H_
#define LINTREL_TOOLS_LOCALES_LOCALE_TABLE_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "text/locale_items.h"

namespace lintrel::cli {

// The items of a locale's row, in the order its values are kept.
inline constexpr std::array<uint32_t, 11> kLocaleRowItems = {
    locale_items::kDecimalSeparator, locale_items::kDateSeparator, locale_items::kTimeSeparator,
    locale_items::kShortDate,        locale_items::kLongDate,      locale_items::kTwelveHourClock,
    locale_items::kHourLeadingZero,  locale_items::kAmText,        locale_items::kPmText,
    locale_items::kMarkerBeforeTime, locale_items::kCalendarType,
};

// One locale: its name ("de-DE"), its identifier, the code page its texts
// are written in, its row values as UTF-8 texts, and the index of its names
// in LocaleNameSets().
struct WindowsLocale {
  std::string_view name;
  uint32_t lcid;
  uint16_t code_page;
  std::array<std::string_view, kLocaleRowItems.size()> values;
  uint16_t names;
};

// Day and month names as UTF-8 texts, in the order of their items: long and
// short day names from Monday, long and short month names from January.
struct LocaleNames {
  std::array<std::string_view, 7> long_days;
  std::array<std::string_view, 7> short_days;
  std::array<std::string_view, 12> long_months;
  std::array<std::string_view, 12> short_months;
};

// Another name of a locale ("de" for "de-DE").
struct LocaleAlias {
  std::string_view alias;
  std::string_view name;
};

// The bytes of `character` in `code_page`, and the character that they
// stand for there: itself, or its replacement. Sorted by code page, then
// character; a character that is not listed is written as "?".
struct CodePageCharacter {
  uint16_t code_page;
  char32_t character;
  std::string_view bytes;
  char32_t shown;
};

// The bytes from `first` to `last` begin a double-byte character.
struct LeadByteRange {
  uint16_t code_page;
  uint8_t first;
  uint8_t last;
};

// Sorted by identifier.
std::span<const WindowsLocale> WindowsLocales();
std::span<const LocaleAlias> LocaleAliases();
std::span<const LocaleNames> LocaleNameSets();
std::span<const CodePageCharacter> CodePageCharacters();
std::span<const LeadByteRange> LeadByteRanges();

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_LOCALES_LOCALE_TABLE_H_
