// The compiled-in Windows locales, handed to the plug-in's settings reader
// as the answers of a regional-settings service.
#include "tools/locales/windows_locale.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <optional>
#include <span>
#include <utility>

#include "platform/platform.h"
#include "text/text.h"
#include "tools/arguments/quoted.h"
#include "tools/base/errors.h"
#include "tools/base/utf8.h"

namespace lintrel::cli {
namespace {

const WindowsLocale* FindByWindowsName(std::string_view name) {
  for (const LocaleAlias& alias : LocaleAliases()) {
    if (EqualsIgnoringCase(alias.alias, name)) {
      name = alias.name;
      break;
    }
  }
  for (const WindowsLocale& locale : WindowsLocales()) {
    if (EqualsIgnoringCase(locale.name, name)) return &locale;
  }
  return nullptr;
}

// The script of the locales whose POSIX name has none, where Windows has
// the language in several scripts in one country.
constexpr std::pair<std::string_view, std::string_view> kDefaultScripts[] = {
    {"az", "Latn"}, {"bs", "Latn"}, {"iu", "Cans"}, {"sr", "Cyrl"}, {"uz", "Latn"}};

// The modifiers of POSIX names that choose a script.
constexpr std::pair<std::string_view, std::string_view> kScriptModifiers[] = {
    {"latin", "Latn"}, {"cyrillic", "Cyrl"}, {"devanagari", "Deva"}};

// The locale "LANGUAGE-Script-COUNTRY" for `script`, or the only one of
// that language and country in any script.
const WindowsLocale* FindWithScript(std::string_view language, std::string_view country,
                                    std::string_view script) {
  if (!script.empty()) {
    return FindByWindowsName(std::string(language) + "-" + std::string(script) + "-" +
                             std::string(country));
  }
  const WindowsLocale* found = nullptr;
  for (const WindowsLocale& locale : WindowsLocales()) {
    const std::string_view name = locale.name;
    const size_t first = name.find('-');
    const size_t last = name.rfind('-');
    if (first == last || !EqualsIgnoringCase(name.substr(0, first), language) ||
        !EqualsIgnoringCase(name.substr(last + 1), country)) {
      continue;
    }
    if (found != nullptr) return nullptr;  // several scripts: none is the one
    found = &locale;
  }
  return found;
}

// "ll_CC.codeset@modifier": the code set does not matter, since the texts
// are written in the locale's code page; a modifier may name a script or a
// variant. "C" and "POSIX" are "en-US", as under Wine.
const WindowsLocale* FindByPosixName(std::string_view name) {
  std::string_view modifier;
  if (const size_t at = name.find('@'); at != std::string_view::npos) {
    modifier = name.substr(at + 1);
    name = name.substr(0, at);
  }
  name = name.substr(0, name.find('.'));
  if (EqualsIgnoringCase(name, "C") || EqualsIgnoringCase(name, "POSIX"))
    return FindByWindowsName("en-US");
  const size_t underscore = name.find('_');
  if (underscore == std::string_view::npos) return FindByWindowsName(name);
  const std::string_view language = name.substr(0, underscore);
  const std::string_view country = name.substr(underscore + 1);
  if (language.empty() || country.empty()) return nullptr;
  if (modifier == "valencia") {
    return FindByWindowsName(std::string(language) + "-" + std::string(country) + "-valencia");
  }
  std::string_view script;
  for (const auto& [word, code] : kScriptModifiers) {
    if (modifier == word) script = code;
  }
  if (script.empty()) {
    if (const WindowsLocale* plain =
            FindByWindowsName(std::string(language) + "-" + std::string(country))) {
      return plain;
    }
    for (const auto& [default_language, code] : kDefaultScripts) {
      if (EqualsIgnoringCase(language, default_language)) script = code;
    }
  }
  return FindWithScript(language, country, script);
}

std::span<const CodePageCharacter> CharactersOf(uint16_t code_page) {
  const std::span<const CodePageCharacter> all = CodePageCharacters();
  const auto first = std::partition_point(
      all.begin(), all.end(), [&](const CodePageCharacter& c) { return c.code_page < code_page; });
  const auto last = std::partition_point(
      first, all.end(), [&](const CodePageCharacter& c) { return c.code_page == code_page; });
  return {first, last};
}

std::bitset<256> LeadBytesOf(uint16_t code_page) {
  std::bitset<256> lead_bytes;
  for (const LeadByteRange& range : LeadByteRanges()) {
    if (range.code_page != code_page) continue;
    for (unsigned b = range.first; b <= range.last; ++b) lead_bytes[b] = true;
  }
  return lead_bytes;
}

// The character that the bytes of one character in `code_page` stand for,
// appended in UTF-8; U+FFFD for bytes the table does not know.
void AppendDecoded(std::string& out, std::string_view one,
                   std::span<const CodePageCharacter> characters) {
  if (one.size() == 1 && static_cast<uint8_t>(one[0]) < 0x80) {
    out += one[0];
    return;
  }
  const auto found = std::find_if(characters.begin(), characters.end(),
                                  [&](const CodePageCharacter& c) { return c.bytes == one; });
  AppendUtf8(out, found != characters.end() ? found->shown : U'\uFFFD');
}

// Stands for a double-byte character outside quotes in a UTF-8 format: the
// byte 0xFF, which UTF-8 never uses, taken as a lead byte. The format engine
// then skips it as it skips the character in the code page: it shows
// nothing and forgets the last letter.
constexpr std::string_view kSkipped = "\xFF\xFF";

// A format of the code page in UTF-8, walked as the format engine walks it.
std::string FormatInUtf8(std::string_view format, uint16_t code_page,
                         const std::bitset<256>& lead_bytes) {
  const std::span<const CodePageCharacter> characters = CharactersOf(code_page);
  std::string out;
  char quote = '\0';
  for (size_t i = 0; i < format.size();) {
    const char b = format[i];
    const size_t width = lead_bytes[static_cast<uint8_t>(b)] && i + 1 < format.size() ? 2 : 1;
    if (quote == '\0' && lead_bytes[static_cast<uint8_t>(b)]) {
      out += kSkipped;
    } else {
      if (quote == '\0' && (b == '"' || b == '\'')) {
        quote = b;
      } else if (b == quote) {
        quote = '\0';
      }
      AppendDecoded(out, format.substr(i, width), characters);
    }
    i += width;
  }
  return out;
}

// `settings`, read from the code page, with their texts in UTF-8: each
// rendering is then that of the code page, read as UTF-8.
RegionalSettings InUtf8(RegionalSettings settings, uint16_t code_page) {
  const auto format = [&](Text& text) {
    text = FormatInUtf8(text, code_page, settings.lead_bytes);
  };
  const auto decode = [&](Text& text) { text = DecodeCodePage(text, code_page); };
  format(settings.short_date_format);
  format(settings.long_date_format);
  format(settings.short_time_format);
  format(settings.long_time_format);
  decode(settings.am_text);
  decode(settings.pm_text);
  for (Text& name : settings.short_month_names) decode(name);
  for (Text& name : settings.long_month_names) decode(name);
  for (Text& name : settings.short_day_names) decode(name);
  for (Text& name : settings.long_day_names) decode(name);
  settings.lead_bytes.reset();
  settings.lead_bytes[static_cast<uint8_t>(kSkipped[0])] = true;
  return settings;
}

// The value of `item` for `locale` as UTF-8 text; nullopt for an item the
// table does not hold.
std::optional<std::string_view> TableValue(const WindowsLocale& locale, uint32_t item) {
  for (size_t i = 0; i < kLocaleRowItems.size(); ++i) {
    if (kLocaleRowItems[i] == item) return locale.values[i];
  }
  const LocaleNames& names = LocaleNameSets()[locale.names];
  using namespace locale_items;
  if (item >= kFirstLongDayName && item < kFirstLongDayName + 7) {
    return names.long_days[item - kFirstLongDayName];
  }
  if (item >= kFirstShortDayName && item < kFirstShortDayName + 7) {
    return names.short_days[item - kFirstShortDayName];
  }
  if (item >= kFirstLongMonthName && item < kFirstLongMonthName + 12) {
    return names.long_months[item - kFirstLongMonthName];
  }
  if (item >= kFirstShortMonthName && item < kFirstShortMonthName + 12) {
    return names.short_months[item - kFirstShortMonthName];
  }
  return std::nullopt;
}

// The usage error for a name that selects no locale. The name is shown as
// far as it can be on one short line: not when it holds control bytes, and
// shortened.
UsageError UnknownLocale(const EnvironmentLocale& given) {
  const std::string_view name = given.name;
  const bool shown = std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  const std::string quoted = shown ? Quoted(name) : "(a name with control bytes)";
  const std::string what = given.variable.empty()
                               ? "--locale: unknown locale " + quoted
                               : "--locale \"\": " + std::string(given.variable) + " is " + quoted +
                                     ", which names no Windows locale";
  return UsageError(what + "; lintrel locales lists the names it takes");
}

}  // namespace

const WindowsLocale* FindWindowsLocale(std::string_view name) {
  if (const WindowsLocale* locale = FindByWindowsName(name)) return locale;
  return FindByPosixName(name);
}

EnvironmentLocale EnvironmentLocaleName() {
  for (const std::string_view variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable.data());
    if (value != nullptr && *value != '\0') return {variable, value};
  }
  return {"", "C"};
}

const WindowsLocale& ChosenLocale(const std::string& name) {
  const EnvironmentLocale given =
      name.empty() ? EnvironmentLocaleName() : EnvironmentLocale{"", name};
  const WindowsLocale* locale = FindWindowsLocale(given.name);
  if (locale == nullptr) throw UnknownLocale(given);
  return *locale;
}

RegionalSettings WindowsLocaleSettings(const WindowsLocale& locale, OutputEncoding encoding) {
  platform::LocaleService service;
  service.read_item = [&locale](uint32_t item, size_t room) -> std::optional<std::string> {
    const std::optional<std::string_view> value = TableValue(locale, item);
    if (!value) return std::nullopt;
    std::string bytes = EncodeInCodePage(*value, locale.code_page);
    if (bytes.size() + 1 > room) return std::nullopt;
    return bytes;
  };
  // The language is the low ten bits of the identifier.
  service.primary_language = static_cast<uint16_t>(locale.lcid & 0x3FF);
  service.lead_bytes = LeadBytesOf(locale.code_page);
  const RegionalSettings settings = ReadRegionalSettings(service);
  return encoding == OutputEncoding::kAnsi ? settings : InUtf8(settings, locale.code_page);
}

std::string EncodeInCodePage(std::string_view text, uint16_t code_page) {
  const std::span<const CodePageCharacter> characters = CharactersOf(code_page);
  std::string bytes;
  for (size_t i = 0; i < text.size();) {
    const Utf8Character read = ReadUtf8(text, i);
    i += read.length;
    const char32_t c = read.valid ? read.code_point : U'\uFFFD';
    if (c < 0x80) {
      bytes += static_cast<char>(c);
      continue;
    }
    const auto found =
        std::partition_point(characters.begin(), characters.end(),
                             [&](const CodePageCharacter& listed) { return listed.character < c; });
    bytes += found != characters.end() && found->character == c ? found->bytes : "?";
  }
  return bytes;
}

std::string DecodeCodePage(std::string_view bytes, uint16_t code_page) {
  const std::span<const CodePageCharacter> characters = CharactersOf(code_page);
  const std::bitset<256> lead_bytes = LeadBytesOf(code_page);
  std::string text;
  for (size_t i = 0; i < bytes.size();) {
    const size_t width = lead_bytes[static_cast<uint8_t>(bytes[i])] && i + 1 < bytes.size() ? 2 : 1;
    AppendDecoded(text, bytes.substr(i, width), characters);
    i += width;
  }
  return text;
}

}  // namespace lintrel::cli
