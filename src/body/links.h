// Finding the web and file-transfer links in a text, and escaping a text so
// that it can stand inside a link.
#ifndef LINTREL_BODY_LINKS_H_
#define LINTREL_BODY_LINKS_H_

#include <string_view>

#include "text/text.h"

namespace lintrel {

// Every link in `text` that begins with "http:" or "ftp:" (found in any letter
// case, copied as written), in order, separated by CR LF. A link runs on
// through the link characters and ends at any other byte; a scheme word
// inside a link starts no link of its own.
Text GetLinks(std::string_view text);

// `text` with every byte other than an ASCII letter or digit written as "%"
// and two upper-case hexadecimal digits: " " -> "%20", 0xE9 -> "%E9".
Text MakeLink(std::string_view text);

}  // namespace lintrel

#endif  // LINTREL_BODY_LINKS_H_
