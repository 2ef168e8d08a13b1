// The platform services of the DLL, taken from the Windows API.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/windows_errors.h"

namespace lintrel::platform {
namespace {

constexpr DWORD kWritableProtections =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// Asks the memory manager about every region the range touches, so that an
// unwritable buffer is refused without raising an access violation.
bool IsWritable(void* destination, size_t n) {
  auto* cursor = static_cast<unsigned char*>(destination);
  unsigned char* const end = cursor + n;
  while (cursor < end) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(cursor, &region, sizeof region) != sizeof region) return false;
    if (region.State != MEM_COMMIT) return false;
    if ((region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) return false;
    if ((region.Protect & kWritableProtections) == 0) return false;
    cursor = static_cast<unsigned char*>(region.BaseAddress) + region.RegionSize;
  }
  return true;
}

}  // namespace

void LowerAnsiInPlace(char* bytes, size_t n) {
  // CharLowerBuffA takes a 32-bit count; texts larger than that are lowered
  // in slices.
  constexpr size_t kSlice = 1u << 30;
  while (n > 0) {
    const size_t slice = n < kSlice ? n : kSlice;
    CharLowerBuffA(bytes, static_cast<DWORD>(slice));
    bytes += slice;
    n -= slice;
  }
}

std::chrono::sys_time<std::chrono::milliseconds> ReadUtcClock() {
  using namespace std::chrono;
  SYSTEMTIME now;
  GetSystemTime(&now);
  const sys_days date{year(now.wYear) / month(now.wMonth) / day(now.wDay)};
  return date + hours(now.wHour) + minutes(now.wMinute) + seconds(now.wSecond) +
         milliseconds(now.wMilliseconds);
}

bool CopyToWritableMemory(void* destination, const void* source, size_t n) {
  if (n == 0) return true;
  if (!IsWritable(destination, n)) return false;
  std::memcpy(destination, source, n);
  return true;
}

void RaisePluginError(const char* message, size_t length) {
  const ULONG_PTR arguments[2] = {reinterpret_cast<ULONG_PTR>(message),
                                  static_cast<ULONG_PTR>(length)};
  RaiseException(kPluginErrorCode, EXCEPTION_NONCONTINUABLE, 2, arguments);
  __builtin_unreachable();
}

}  // namespace lintrel::platform
