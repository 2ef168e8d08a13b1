// The Linux command runs the plug-in's code built in, with the regional
// settings of a Windows locale named on the command line.
#include "tools/arguments/help.h"

namespace lintrel::cli {

const std::string_view kPlatformUsageOption = "[--locale NAME]";

const bool kPlatformChoosesCodePage = true;

const std::string_view kPlatformHelp =
    "--locale NAME      the delivery date as the plug-in renders it on Windows for a\n"
    "                   user of locale NAME: a Windows locale name (de-DE, ja-JP;\n"
    "                   `lintrel locales` lists them) or a POSIX one (de_DE.UTF-8);\n"
    "                   \"\" takes LC_ALL, LC_TIME or LANG. The settings are those of\n"
    "                   Windows, compiled in; without --locale, the plug-in's defaults.\n"
    "--output-encoding ansi|utf-8  the rendered date and the body text in the code\n"
    "                   page (--locale's, else 1252), the bytes the plug-in works on\n"
    "                   (ansi, the default), or the same text in UTF-8.\n";

}  // namespace lintrel::cli
