// The few services the plug-in takes from the operating system. Two
// implementations exist: `windows.cpp` for the DLL and `portable.cpp` for the
// native build (unit tests and the `lintrel` command).
#ifndef LINTREL_PLATFORM_PLATFORM_H_
#define LINTREL_PLATFORM_PLATFORM_H_

#include <array>
#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lintrel::platform {

// Lower-cases the `n` bytes at `bytes` in place with the mapping of the
// user's ANSI code page (code page 1252 in the portable build).
void LowerAnsiInPlace(char* bytes, size_t n);

// The system clock in UTC, in whole milliseconds.
std::chrono::sys_time<std::chrono::milliseconds> ReadUtcClock();

// Copies `n` bytes to `destination` if every byte of it is writable and
// answers true; answers false, having copied nothing, otherwise. Never
// raises, also for a destination that is not mapped.
bool CopyToWritableMemory(void* destination, const void* source, size_t n);

// Renders a Gregorian date in the locale's alternative calendar with a
// date picture ("yy", "yyyy" or "gg"); the empty text when it cannot.
using AltCalendarFormatter = std::function<std::string(int64_t year, unsigned month, unsigned day,
                                                       std::string_view picture)>;

// The regional-settings service of one locale, as the settings reader asks
// it. Empty members mean the platform has no such service.
struct LocaleService {
  // The value of locale item `item` (a LOCALE_* number) if the platform has
  // one that fits `room` bytes with its terminating byte 0; nullopt if not.
  std::function<std::optional<std::string>(uint32_t item, size_t room)> read_item;
  // The primary language of the locale (its identifier's low 10 bits).
  uint16_t primary_language = 0;
  // The bytes that begin a double-byte character in the settings' code page.
  std::bitset<256> lead_bytes;
  AltCalendarFormatter format_alt_date;
};

// The service for the locale of the calling thread. Called once, while the
// library loads; the portable build has none and answers no values.
LocaleService ThreadLocaleService();

// A structured exception that the host raised inside one of its own
// operations, as the plug-in caught it: what raising it again unchanged
// takes.
struct HostFault {
  uint32_t code = 0;
  uint32_t flags = 0;
  uint32_t argument_count = 0;
  std::array<uintptr_t, 15> arguments{};
};

// Runs `operation(context)`, a call into the host. On Windows a structured
// exception that the host raises in it is caught here: the host's frames it
// passed are unwound and the fault is returned, so that the plug-in can
// release what it holds and raise it again. Elsewhere the host's errors are
// C++ exceptions, which unwind by themselves, and this only calls.
std::optional<HostFault> CallHost(void (*operation)(void* context), void* context);

}  // namespace lintrel::platform

#endif  // LINTREL_PLATFORM_PLATFORM_H_
