// Finding the web and file-transfer links in a text, and escaping a text so
// that it can stand inside a link.
#ifndef LINTREL_BODY_LINKS_H_
#define LINTREL_BODY_LINKS_H_

#include <cstddef>
#include <string_view>

#include "text/text.h"

namespace lintrel {

// Every link in `text` that begins with "http:" or "ftp:" (found in any letter
// case, copied as written), in order, separated by CR LF. A link runs on
// through the link characters and ends at any other byte; a scheme word
// inside a link starts no link of its own.
Text GetLinks(std::string_view text);

// `text` with every byte other than an ASCII letter or digit written as "%"
// and two upper-case hexadecimal digits: " " -> "%20", 0xE9 -> "%E9". The
// text is escaped in its own storage: storage with room for
// kLinkGrowthPerByte more bytes for each byte spares a second copy of it.
Text MakeLink(Text text);

// The most that MakeLink adds for each byte of its text.
inline constexpr size_t kLinkGrowthPerByte = 2;

}  // namespace lintrel

#endif  // LINTREL_BODY_LINKS_H_
