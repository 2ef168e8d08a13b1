// The compiled-in Windows locales, handed to the plug-in's settings reader
// as the answers of a regional-settings service.
#include "tools/locales/windows_locale.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "platform/platform.h"

namespace lintrel::cli {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

const WindowsLocale* FindByWindowsName(std::string_view name) {
  for (const LocaleAlias& alias : LocaleAliases()) {
    if (SameName(alias.alias, name)) name = alias.name;
  }
  for (const WindowsLocale& locale : WindowsLocales()) {
    if (SameName(locale.name, name)) return &locale;
  }
  return nullptr;
}

// "ll_CC.charset@modifier" as "ll-Script-CC": the character set does not
// matter, since the texts are written in the locale's code page, and the
// modifiers that name a script or a variant go where Windows has them.
std::optional<std::string> WindowsNameOfPosixName(std::string_view name) {
  if (name == "C" || name == "POSIX" || name.starts_with("C.")) return "en-US";
  std::string_view modifier;
  if (const size_t at = name.find('@'); at != std::string_view::npos) {
    modifier = name.substr(at + 1);
    name = name.substr(0, at);
  }
  name = name.substr(0, name.find('.'));
  const size_t underscore = name.find('_');
  if (underscore == std::string_view::npos) return std::nullopt;
  const std::string language(name.substr(0, underscore));
  const std::string country(name.substr(underscore + 1));
  if (modifier == "latin") return language + "-Latn-" + country;
  if (modifier == "cyrillic") return language + "-Cyrl-" + country;
  if (modifier == "valencia") return language + "-" + country + "-valencia";
  return language + "-" + country;
}

// The code points of the valid UTF-8 `text`, one at a time.
char32_t NextCharacter(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<char32_t>(static_cast<uint8_t>(text[k])); };
  const char32_t first = byte(i);
  size_t length = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
  length = std::min(length, text.size() - i);
  char32_t c = length == 1 ? first : first & (0x3F >> (length - 1));
  for (size_t k = 1; k < length; ++k) c = c << 6 | (byte(i + k) & 0x3F);
  i += length;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::span<const CodePageCharacter> CharactersOf(uint16_t code_page) {
  const std::span<const CodePageCharacter> all = CodePageCharacters();
  const auto [first, last] =
      std::ranges::equal_range(all, code_page, {}, &CodePageCharacter::code_page);
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

// The plug-in drops a double-byte character that stands outside quotes in a
// date format. UTF-8 has no double-byte characters, so the UTF-8 format is
// read from the code page's bytes with each of them replaced by an empty
// literal, which writes nothing and keeps the letters on its two sides
// apart, as the character did.
std::string DropUnquotedDoubleBytes(std::string_view format, const std::bitset<256>& lead_bytes) {
  std::string kept;
  char quote = '\0';
  for (size_t i = 0; i < format.size(); ++i) {
    const char b = format[i];
    if (quote == '\0' && lead_bytes[static_cast<uint8_t>(b)]) {
      kept += "''";
      ++i;
      continue;
    }
    if (quote == '\0' && (b == '"' || b == '\'')) {
      quote = b;
    } else if (b == quote) {
      quote = '\0';
    }
    kept += b;
  }
  return kept;
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

}  // namespace

const WindowsLocale* FindWindowsLocale(std::string_view name) {
  if (const WindowsLocale* locale = FindByWindowsName(name)) return locale;
  if (const std::optional<std::string> windows_name = WindowsNameOfPosixName(name)) {
    return FindByWindowsName(*windows_name);
  }
  return nullptr;
}

std::string EnvironmentLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

RegionalSettings WindowsLocaleSettings(const WindowsLocale& locale, OutputEncoding encoding) {
  platform::LocaleService service;
  service.read_item = [&locale, encoding](uint32_t item,
                                          size_t room) -> std::optional<std::string> {
    const std::optional<std::string_view> value = TableValue(locale, item);
    if (!value) return std::nullopt;
    std::string bytes = EncodeInCodePage(*value, locale.code_page);
    // The room is the plug-in's, counted in the bytes it would receive.
    if (bytes.size() + 1 > room) return std::nullopt;
    if (encoding == OutputEncoding::kAnsi) return bytes;
    if (item == locale_items::kShortDate || item == locale_items::kLongDate) {
      bytes = DropUnquotedDoubleBytes(bytes, LeadBytesOf(locale.code_page));
    }
    return DecodeCodePage(bytes, locale.code_page);
  };
  // The language is the low ten bits of the identifier.
  service.primary_language = static_cast<uint16_t>(locale.lcid & 0x3FF);
  if (encoding == OutputEncoding::kAnsi) service.lead_bytes = LeadBytesOf(locale.code_page);
  return ReadRegionalSettings(service);
}

std::string EncodeInCodePage(std::string_view text, uint16_t code_page) {
  const std::span<const CodePageCharacter> characters = CharactersOf(code_page);
  std::string bytes;
  for (size_t i = 0; i < text.size();) {
    const char32_t c = NextCharacter(text, i);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
      continue;
    }
    const auto found = std::ranges::lower_bound(characters, c, {}, &CodePageCharacter::character);
    bytes += found != characters.end() && found->character == c ? found->bytes : "?";
  }
  return bytes;
}

std::string DecodeCodePage(std::string_view bytes, uint16_t code_page) {
  const std::span<const CodePageCharacter> characters = CharactersOf(code_page);
  const std::bitset<256> lead_bytes = LeadBytesOf(code_page);
  std::string text;
  for (size_t i = 0; i < bytes.size();) {
    const uint8_t first = static_cast<uint8_t>(bytes[i]);
    const size_t length = lead_bytes[first] && i + 1 < bytes.size() ? 2 : 1;
    const std::string_view one = bytes.substr(i, length);
    i += length;
    if (first < 0x80) {
      text += static_cast<char>(first);
      continue;
    }
    const auto found = std::ranges::find(characters, one, &CodePageCharacter::bytes);
    AppendUtf8(text, found != characters.end() ? found->shown : U'\uFFFD');
  }
  return text;
}

}  // namespace lintrel::cli
