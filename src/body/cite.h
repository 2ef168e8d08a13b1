// Line-oriented tools for quoted text: shortening a long quote to its first
// and last lines, and dropping the lines quoted at a given depth.
#ifndef LINTREL_BODY_CITE_H_
#define LINTREL_BODY_CITE_H_

#include <cstdint>
#include <string_view>

#include "text/text.h"

namespace lintrel {

// Keeps `count` lines of `text`: count / 2 (rounded toward zero) from the
// start, the rest from the end, with `insert` between them, each piece
// followed by CR LF (an empty insert adds nothing). A text of no more than
// `count` lines is returned unchanged; a count <= 0 keeps no line.
Text CiteText(std::string_view text, std::string_view insert, int32_t count);

// The lines of `text` that hold no run of `depth` or more ">" anywhere, each
// followed by CR LF. A depth <= 0 returns `text` unchanged. The lines are
// gathered in the text's own storage as far as they can be.
Text KillCite(Text text, int32_t depth);

}  // namespace lintrel

#endif  // LINTREL_BODY_CITE_H_
