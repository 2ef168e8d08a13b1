// Writes what the Windows regional-settings service holds for every locale
// that has a locale identifier of its own, as scripts/locale_table/
// make_table.py reads it: the items the plug-in reads at load, each as the
// wide text and as the bytes that GetLocaleInfoA gives; the bytes of every
// character of those texts in the code page they were converted with, and
// the character those bytes stand for; and
// the lead bytes of the double-byte code pages. Built with mingw-w64 and run
// under Wine by scripts/make-locale-table.sh.
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The items the settings reader asks for, in its numbering.
const LCTYPE kItems[] = {
    LOCALE_SDECIMAL,        LOCALE_SDATE,           LOCALE_STIME,           LOCALE_SSHORTDATE,
    LOCALE_SLONGDATE,       LOCALE_ITIME,           LOCALE_ITLZERO,         LOCALE_S1159,
    LOCALE_S2359,           LOCALE_ITIMEMARKPOSN,   LOCALE_ICALENDARTYPE,   LOCALE_SDAYNAME1,
    LOCALE_SDAYNAME2,       LOCALE_SDAYNAME3,       LOCALE_SDAYNAME4,       LOCALE_SDAYNAME5,
    LOCALE_SDAYNAME6,       LOCALE_SDAYNAME7,       LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2,
    LOCALE_SABBREVDAYNAME3, LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5, LOCALE_SABBREVDAYNAME6,
    LOCALE_SABBREVDAYNAME7,
};

std::vector<std::wstring> locale_names;

BOOL CALLBACK AddName(LPWSTR name, DWORD, LPARAM) {
  locale_names.emplace_back(name);
  return TRUE;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), n, nullptr, nullptr);
  bytes.pop_back();
  return bytes;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

}  // namespace

int main() {
  EnumSystemLocalesEx(AddName, LOCALE_ALL, 0, nullptr);
  std::map<LCID, std::wstring> canonical;  // by identifier, in its own name
  std::vector<std::pair<std::wstring, LCID>> aliases;
  for (const std::wstring& name : locale_names) {
    const LCID lcid = LocaleNameToLCID(name.c_str(), 0);
    // Sort orders of another locale have its settings and no name of their own.
    if (lcid == 0 || lcid == LOCALE_CUSTOM_UNSPECIFIED || name.empty() ||
        SORTIDFROMLCID(lcid) != SORT_DEFAULT) {
      continue;
    }
    wchar_t own[LOCALE_NAME_MAX_LENGTH];
    if (LCIDToLocaleName(lcid, own, LOCALE_NAME_MAX_LENGTH, 0) == 0) continue;
    canonical.emplace(lcid, own);
    if (name != own) aliases.emplace_back(name, lcid);
  }
  std::printf("acp\t%u\n", GetACP());
  std::set<std::pair<UINT, wchar_t>> characters;
  for (const auto& [lcid, name] : canonical) {
    char code_page_text[8] = "";
    GetLocaleInfoA(lcid, LOCALE_IDEFAULTANSICODEPAGE, code_page_text, sizeof code_page_text);
    UINT code_page = static_cast<UINT>(std::atoi(code_page_text));
    if (code_page == 0) code_page = GetACP();
    std::printf("locale\t%s\t%04lx\t%u\n", Utf8(name).c_str(), static_cast<unsigned long>(lcid),
                code_page);
    std::vector<LCTYPE> items(std::begin(kItems), std::end(kItems));
    for (LCTYPE month = 0; month < 12; ++month) {
      items.push_back(LOCALE_SMONTHNAME1 + month);
      items.push_back(LOCALE_SABBREVMONTHNAME1 + month);
    }
    for (LCTYPE item : items) {
      char bytes[1024];
      wchar_t wide[1024];
      const int n = GetLocaleInfoA(lcid, item, bytes, sizeof bytes);
      const int w = GetLocaleInfoW(lcid, item, wide, 1024);
      if (n <= 0 || w <= 0) {
        std::printf("missing\t%lu\n", static_cast<unsigned long>(item));
        continue;
      }
      const std::wstring text(wide, static_cast<size_t>(w) - 1);
      std::printf("item\t%lu\t%s\t%s\n", static_cast<unsigned long>(item), Hex(Utf8(text)).c_str(),
                  Hex(std::string(bytes, static_cast<size_t>(n) - 1)).c_str());
      for (wchar_t c : text) {
        if (c >= 0x80) characters.emplace(code_page, c);
      }
    }
  }
  for (const auto& [name, lcid] : aliases) {
    std::printf("alias\t%s\t%04lx\n", Utf8(name).c_str(), static_cast<unsigned long>(lcid));
  }
  std::set<UINT> double_byte;
  for (const auto& [code_page, c] : characters) {
    char bytes[8];
    const int n = WideCharToMultiByte(code_page, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
    // The character that the bytes stand for when they are read back.
    wchar_t shown[4] = {0xFFFD};
    if (n <= 0 || MultiByteToWideChar(code_page, 0, bytes, n, shown, 4) != 1) shown[0] = 0xFFFD;
    std::printf("char\t%u\t%04x\t%s\t%04x\n", code_page, static_cast<unsigned>(c),
                Hex(std::string(bytes, static_cast<size_t>(n > 0 ? n : 0))).c_str(),
                static_cast<unsigned>(shown[0]));
    CPINFO info;
    if (GetCPInfo(code_page, &info) && info.MaxCharSize == 2) double_byte.insert(code_page);
  }
  for (UINT code_page : double_byte) {
    std::string lead(256, '0');
    for (int b = 0; b < 256; ++b) {
      if (IsDBCSLeadByteEx(code_page, static_cast<BYTE>(b))) lead[b] = '1';
    }
    std::printf("lead\t%u\t%s\n", code_page, lead.c_str());
  }
  return 0;
}
