// The "--locale NAME" option: regional settings for the date rendering.
#ifndef LINTREL_TOOLS_LOCALE_OPTION_H_
#define LINTREL_TOOLS_LOCALE_OPTION_H_

#include <string_view>

#include "text/regional_settings.h"

namespace lintrel::cli {

// The regional settings of the installed POSIX locale `name`; raises
// CliError (exit status 2) when there is no such locale.
RegionalSettings LocaleSettings(std::string_view name);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_LOCALE_OPTION_H_
