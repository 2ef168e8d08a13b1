// How an error leaves the DLL: as a structured exception that a host written
// in any language can filter.
#ifndef LINTREL_PLATFORM_WINDOWS_ERRORS_H_
#define LINTREL_PLATFORM_WINDOWS_ERRORS_H_

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace lintrel::platform {

// The exception code: customer bit and error severity set, then "LNT".
inline constexpr uint32_t kPluginErrorCode = 0xE04C4E54;

// The plug-in's own error, as it goes to the host: raises kPluginErrorCode,
// non-continuable, with two arguments: the address of the NUL-terminated
// message and its length in bytes. The message stays valid while the host's
// exception filters run.
[[noreturn]] void RaisePluginError(const char* message, size_t length);

// Raises a fault of the host's own again, with its code, flags and
// arguments. Returns only if the host continues execution after a
// continuable fault.
void RaiseHostFault(const HostFault& fault);

}  // namespace lintrel::platform

#endif  // LINTREL_PLATFORM_WINDOWS_ERRORS_H_
