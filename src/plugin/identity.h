// The plug-in's constant texts, handed to the host on request.
#ifndef LINTREL_PLUGIN_IDENTITY_H_
#define LINTREL_PLUGIN_IDENTITY_H_

#include <string_view>

namespace lintrel {

inline constexpr std::string_view kDisplayName = "K.O.R.: Lintrel";
inline constexpr std::string_view kVersion = "1.0.292";
inline constexpr std::string_view kVersionBanner = "Korvale: Lintrel ver.1.0.292";
inline constexpr std::string_view kInformation =
    "K.O.R.: Lintrel ver. 1.0.292 by the Lintrel project\r\n"
    "Build date: 292\r\n"
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
