// The regional-settings service of the DLL: the thread locale's values from
// GetLocaleInfoA, its alternative calendar through GetDateFormatA.
#include <windows.h>

#include <cstdlib>

#include "platform/platform.h"

namespace lintrel::platform {
namespace {

constexpr size_t kMaxRoom = 256;

std::optional<std::string> ReadLocaleItem(LCID locale, uint32_t item, size_t room) {
  char buffer[kMaxRoom];
  if (room > kMaxRoom) room = kMaxRoom;
  const int written = GetLocaleInfoA(locale, item, buffer, static_cast<int>(room));
  // The count includes the terminating byte 0.
  if (written <= 0) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(written) - 1);
}

std::string FormatAltDate(LCID locale, int64_t year, unsigned month, unsigned day,
                          std::string_view picture) {
  // SYSTEMTIME cannot hold other years, and the formatter refuses them.
  if (year < 1601 || year > 30827) return std::string();
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  const std::string terminated(picture);
  char buffer[kMaxRoom];
  const int written = GetDateFormatA(locale, DATE_USE_ALT_CALENDAR, &date, terminated.c_str(),
                                     buffer, static_cast<int>(kMaxRoom));
  if (written <= 0) return std::string();
  return std::string(buffer, static_cast<size_t>(written) - 1);
}

// The texts arrive in the locale's own ANSI code page, so its lead bytes
// are the ones that matter.
std::bitset<256> LeadBytes(LCID locale) {
  std::bitset<256> lead_bytes;
  UINT code_page = CP_ACP;
  if (std::optional<std::string> value = ReadLocaleItem(locale, LOCALE_IDEFAULTANSICODEPAGE, 8)) {
    const UINT read = static_cast<UINT>(std::strtoul(value->c_str(), nullptr, 10));
    if (read != 0) code_page = read;
  }
  for (int b = 0; b < 256; ++b) {
    lead_bytes[b] = IsDBCSLeadByteEx(code_page, static_cast<BYTE>(b)) != FALSE;
  }
  return lead_bytes;
}

}  // namespace

LocaleService ThreadLocaleService() {
  const LCID locale = GetThreadLocale();
  LocaleService service;
  service.read_item = [locale](uint32_t item, size_t room) {
    return ReadLocaleItem(locale, item, room);
  };
  service.primary_language = PRIMARYLANGID(LANGIDFROMLCID(locale));
  service.lead_bytes = LeadBytes(locale);
  service.format_alt_date = [locale](int64_t year, unsigned month, unsigned day,
                                     std::string_view picture) {
    return FormatAltDate(locale, year, month, day, picture);
  };
  return service;
}

}  // namespace lintrel::platform
