// The texts that tell a user how to call `lintrel`.
#ifndef LINTREL_TOOLS_ARGUMENTS_HELP_H_
#define LINTREL_TOOLS_ARGUMENTS_HELP_H_

#include <string>
#include <string_view>

namespace lintrel::cli {

// The short usage, which follows the message of a usage error.
std::string UsageText();

// `lintrel --help`: the usage, every command and option, the exit statuses.
std::string HelpText();

// What differs between the platforms' commands: the usage's option for the
// plug-in (--locale NAME on Linux, --dll PATH on Windows) and its help.
// Defined in posix/ and windows/.
extern const std::string_view kPlatformUsageOption;
extern const std::string_view kPlatformHelp;

// Whether the command chooses the code page its texts are in (--locale,
// --output-encoding): the Linux command does; lintrel.exe takes the
// Windows user's, as the plug-in does.
extern const bool kPlatformChoosesCodePage;

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_HELP_H_
