// How a host meets a structured exception that leaves a call into the
// plug-in: what it records of one, and a handler that unwinds, as a native
// host's exception handling does. Used by lintrel.exe and the Windows test
// host. It shares no code with the plug-in, whose own handlers around
// provider calls look alike, so that a mistake in either shows.
#ifndef LINTREL_TOOLS_WINDOWS_STRUCTURED_EXCEPTIONS_H_
#define LINTREL_TOOLS_WINDOWS_STRUCTURED_EXCEPTIONS_H_

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lintrel::cli {

// The plug-in's own error code.
inline constexpr DWORD kPluginErrorCode = 0xE04C4E54;

// A call's result, or the structured exception that left it.
struct CallOutcome {
  bool raised = false;
  int32_t result = 0;
  DWORD code = 0;
  DWORD flags = 0;
  const void* address = nullptr;
  std::vector<ULONG_PTR> arguments;
  // For the plug-in's own errors: the text the first argument points at,
  // as long as the second says or up to its NUL, read while the raising
  // frames still exist.
  std::string message;
};

// Records `record` into `outcome`.
void RecordException(const EXCEPTION_RECORD& record, CallOutcome& outcome);

// Runs `call(context)` under a handler that records any structured exception
// that leaves it, unwinds the frames between the raise and itself, and goes
// on after the call: on i686 a frame registered at fs:[0] whose handler calls
// RtlUnwind, on x86-64 a scope whose filter chooses to execute its handler.
void CallUnwinding(void (*call)(void* context), void* context, CallOutcome& outcome);

template <typename Call>
void CallUnwinding(Call& call, CallOutcome& outcome) {
  CallUnwinding([](void* context) { (*static_cast<Call*>(context))(); }, &call, outcome);
}

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_WINDOWS_STRUCTURED_EXCEPTIONS_H_
