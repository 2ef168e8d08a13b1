// The few services the plug-in takes from the operating system. Two
// implementations exist: `windows.cpp` for the DLL and `portable.cpp` for the
// native build (unit tests and the `lintrel` command).
#ifndef LINTREL_PLATFORM_PLATFORM_H_
#define LINTREL_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>

namespace lintrel::platform {

// A clock reading in Coordinated Universal Time, laid out as the Windows
// system time is: month 1..12, day of week 0 (Sunday)..6, milliseconds 0..999.
struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day_of_week = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Lower-cases the `n` bytes at `bytes` in place with the mapping of the
// user's ANSI code page (code page 1252 in the portable build).
void LowerAnsiInPlace(char* bytes, size_t n);

// The system clock in UTC, with milliseconds.
SystemTime ReadUtcClock();

// Copies `n` bytes to `destination` if every byte of it is writable and
// answers true; answers false, having copied nothing, otherwise. Never
// raises, also for a destination that is not mapped.
bool CopyToWritableMemory(void* destination, const void* source, size_t n);

}  // namespace lintrel::platform

#endif  // LINTREL_PLATFORM_PLATFORM_H_
