// The plug-in's constant texts, handed to the host on request.
#ifndef LINTREL_PLUGIN_IDENTITY_H_
#define LINTREL_PLUGIN_IDENTITY_H_

#include <string_view>

#include "plugin/version.h"

namespace lintrel {

inline constexpr std::string_view kDisplayName = "K.O.R.: Lintrel";
inline constexpr std::string_view kVersion = LINTREL_VERSION;
inline constexpr std::string_view kVersionBanner = "Korvale: Lintrel ver." LINTREL_VERSION;
inline constexpr std::string_view kInformation = "K.O.R.: Lintrel ver. " LINTREL_VERSION
                                                 " by the Lintrel project\r\n"
                                                 "Build date: " LINTREL_BUILD_NUMBER
                                                 "\r\n"
                                                 "Contact: the Lintrel project's issue tracker";
inline constexpr std::string_view kMacroList =
    "KOR_LN_VER\r\n"
    "KORDELIVERYTIME\r\n"
    "KORDELIVERYFROMDATE\r\n"
    "KORDELIVERYTODATE\r\n"
    "KORCHARSET\r\n"
    "KORMAILER\r\n"
    "KORREPLYTIME\r\n"
    "KORGETLINKS\r\n"
    "KORCUTHERE\r\n"
    "KORKILLCITE\r\n"
    "KORMKLINK\r\n"
    "KORCITE\r\n"
    "KORGETHEADER\r\n";
static_assert(kMacroList.size() == 178);

// The signature separator: a line break, then "-- ".
inline constexpr std::string_view kSignatureSeparator = "\r\n-- ";

}  // namespace lintrel

#endif  // LINTREL_PLUGIN_IDENTITY_H_
