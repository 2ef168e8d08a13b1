// The "--locale NAME" option: regional settings for the date rendering.
#ifndef LINTREL_TOOLS_LOCALE_OPTION_H_
#define LINTREL_TOOLS_LOCALE_OPTION_H_

#include <string_view>

#include "plugin/macro_call.h"

namespace lintrel::cli {

// Puts the regional settings of the POSIX locale `name` into `environment`.
// This build has no reader of POSIX locale settings yet, so it raises
// CliError "--locale is not available in this build" (exit status 2).
void ApplyLocale(std::string_view name, MacroEnvironment& environment);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_LOCALE_OPTION_H_
