// lintrel.exe loads the plug-in's DLL, which reads the regional settings of
// the Windows user itself.
#include "tools/arguments/help.h"

namespace lintrel::cli {

const std::string_view kPlatformUsageOption = "[--dll PATH]";

const bool kPlatformChoosesCodePage = false;

const std::string_view kPlatformHelp =
    "--dll PATH         the plug-in's DLL, by default KOR_LINTREL.TBP beside\n"
    "                   lintrel.exe; it serves list and --version too. The date\n"
    "                   rendering follows the regional settings of the Windows user,\n"
    "                   which the plug-in reads itself: there is no --locale on Windows.\n";

}  // namespace lintrel::cli
