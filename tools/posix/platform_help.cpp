// The Linux command runs the plug-in's code built in, with regional settings
// for the date rendering from a POSIX locale named on the command line.
#include "tools/arguments/help.h"

namespace lintrel::cli {

const std::string_view kPlatformUsageOption = "[--locale NAME]";

const std::string_view kPlatformHelp =
    "--locale NAME      regional settings from a POSIX locale for the date rendering.\n";

}  // namespace lintrel::cli
