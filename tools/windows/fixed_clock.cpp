// The fixed clock of --now: the plug-in's GetSystemTime import replaced in
// its import address table by a function that answers the time given.
#include "tools/windows/fixed_clock.h"

#include <cstring>

namespace lintrel::cli {
namespace {

// The time --now gives, for the clock import of the plug-in. The replaced
// import is a plain function with no room for a context, so the time is
// kept here: set before the plug-in is first called, never changed after.
SYSTEMTIME fixed_clock;

void __stdcall ReadFixedClock(SYSTEMTIME* time) {
  *time = fixed_clock;
}

// Points the plug-in's import of `function` from `library` at
// `replacement`. Answers whether the plug-in imports it by that name.
bool ReplaceImport(HMODULE module, const char* library, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (auto* entry =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), library) != 0) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
        base + (entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0) continue;
      DWORD protection;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                          &protection)) {
        return false;
      }
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

SYSTEMTIME SystemTimeOf(const DateTimeParts& parts) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(parts.year);
  time.wMonth = static_cast<WORD>(parts.month);
  time.wDay = static_cast<WORD>(parts.day);
  time.wHour = static_cast<WORD>(parts.hour);
  time.wMinute = static_cast<WORD>(parts.minute);
  time.wSecond = static_cast<WORD>(parts.second);
  time.wMilliseconds = static_cast<WORD>(parts.millisecond);
  // The system counts the days of the week from 0, Sunday.
  time.wDayOfWeek =
      static_cast<WORD>(DayOfWeek(DaysFromCivil(parts.year, parts.month, parts.day)) - 1);
  return time;
}

}  // namespace

bool FixPluginClock(HMODULE module, const DateTimeParts& now) {
  fixed_clock = SystemTimeOf(now);
  return ReplaceImport(module, "KERNEL32.dll", "GetSystemTime",
                       reinterpret_cast<void*>(&ReadFixedClock));
}

}  // namespace lintrel::cli
