// Runs one macro through the DLL beside it on every message of an mbox, and
// prints the results as `lintrel run --mbox` does: the message's number, a
// tab, and the result with backslash, tab, CR and LF escaped, or "ERROR:
// MESSAGE" for a structured exception of the plug-in's. Run under each
// build, its output is compared with the other DLL's and the native
// command's.
//   lintrel_crosscheck MBOX MACRO
// With --every-locale, the DLL is loaded once in each locale that has an
// identifier of its own, with that locale as the thread locale, whose
// regional settings it reads while it loads; each line then begins with the
// locale's name and a tab.
//   lintrel_crosscheck MBOX MACRO --every-locale
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "../host_exceptions.h"
#include "../host_provider.h"

namespace {

using ExecMacro = int32_t(__stdcall*)(const char* name, int32_t length, host::HostProvider* message,
                                      host::HostProvider* parameters);

std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char byte : text) {
    switch (byte) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += byte;
    }
  }
  return escaped;
}

// The messages of the generator's mbox: after each "From " line, up to the
// empty line before the next one.
template <typename Visit>
void ForEachMessage(std::string_view mbox, Visit visit) {
  constexpr std::string_view kSeparator = "\n\nFrom ";
  size_t start = mbox.find('\n');
  while (start != std::string_view::npos) {
    ++start;
    const size_t end = mbox.find(kSeparator, start);
    if (end == std::string_view::npos) {
      std::string_view last = mbox.substr(start);
      if (last.ends_with("\n\n")) last.remove_suffix(1);
      visit(last);
      return;
    }
    visit(mbox.substr(start, end + 1 - start));
    start = mbox.find('\n', end + 2);
  }
}

// The DLL's results on every message, each line prefixed with `prefix`.
// False when the DLL cannot be loaded.
bool RunEveryMessage(std::string_view mbox, const std::string& name, const std::string& prefix) {
  HMODULE dll = LoadLibraryA("KOR_LINTREL.TBP");
  if (dll == nullptr) return false;
  const auto exec =
      reinterpret_cast<ExecMacro>(reinterpret_cast<void*>(GetProcAddress(dll, "TBP_ExecMacro")));
  if (exec == nullptr) {
    FreeLibrary(dll);
    return false;
  }
  int number = 0;
  ForEachMessage(mbox, [&](std::string_view message) {
    host::HostProvider headers, parameters;
    headers.items[243] = std::string(message);
    host::CallOutcome outcome;
    auto call = [&] {
      outcome.result = exec(name.data(), static_cast<int32_t>(name.size()), &headers, &parameters);
    };
    host::CallUnwinding(call, outcome);
    std::string line = prefix + std::to_string(++number) + "\t";
    if (outcome.raised) {
      line += "ERROR: " + outcome.message;
    } else {
      line += headers.stored.empty() ? "<nothing stored>" : Escaped(headers.stored.back());
    }
    line += "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  });
  FreeLibrary(dll);
  return true;
}

std::map<LCID, std::string> locales;

// The locales as the command's table holds them: those with an identifier
// of their own, in the default sort order, by the name Windows gives that
// identifier.
BOOL CALLBACK AddLocale(LPWSTR name, DWORD, LPARAM) {
  const LCID lcid = LocaleNameToLCID(name, 0);
  wchar_t own[LOCALE_NAME_MAX_LENGTH];
  if (lcid == 0 || lcid == LOCALE_CUSTOM_UNSPECIFIED || SORTIDFROMLCID(lcid) != SORT_DEFAULT ||
      LCIDToLocaleName(lcid, own, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
    return TRUE;
  }
  char narrow[LOCALE_NAME_MAX_LENGTH * 3];
  WideCharToMultiByte(CP_UTF8, 0, own, -1, narrow, sizeof narrow, nullptr, nullptr);
  locales.emplace(lcid, narrow);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  const bool every_locale = argc == 4 && std::string_view(argv[3]) == "--every-locale";
  if (argc != 3 && !every_locale) {
    std::fputs("usage: lintrel_crosscheck MBOX MACRO [--every-locale]\n", stderr);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string mbox{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (!file) {
    std::fputs("lintrel_crosscheck: cannot read the mbox\n", stderr);
    return 2;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  bool loaded = true;
  if (!every_locale) {
    loaded = RunEveryMessage(mbox, argv[2], "");
  } else {
    EnumSystemLocalesEx(AddLocale, LOCALE_ALL, 0, nullptr);
    const LCID own = GetThreadLocale();
    for (const auto& [lcid, name] : locales) {
      // A locale the thread cannot take would show the previous one's
      // renderings under its name.
      if (!SetThreadLocale(lcid)) {
        std::fprintf(stderr, "lintrel_crosscheck: the thread cannot take locale %s\n",
                     name.c_str());
        return 2;
      }
      loaded = loaded && RunEveryMessage(mbox, argv[2], name + "\t");
    }
    SetThreadLocale(own);
  }
  if (!loaded) {
    std::fputs("lintrel_crosscheck: cannot load KOR_LINTREL.TBP\n", stderr);
    return 2;
  }
  return 0;
}
