// The clock that --now fixes for the loaded plug-in: its import of
// GetSystemTime pointed at a function of lintrel.exe that answers that time.
#ifndef LINTREL_TOOLS_WINDOWS_FIXED_CLOCK_H_
#define LINTREL_TOOLS_WINDOWS_FIXED_CLOCK_H_

#include <windows.h>

#include "text/calendar.h"

namespace lintrel::cli {

// Makes the plug-in loaded as `module` read `now` wherever it calls
// KERNEL32.dll's GetSystemTime. Answers false when it does not import that
// function by name. Called once, before the plug-in is first called.
bool FixPluginClock(HMODULE module, const DateTimeParts& now);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_WINDOWS_FIXED_CLOCK_H_
