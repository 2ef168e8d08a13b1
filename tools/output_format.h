// How results are written out by `run --mbox` and `report`.
#ifndef LINTREL_TOOLS_OUTPUT_FORMAT_H_
#define LINTREL_TOOLS_OUTPUT_FORMAT_H_

#include <string_view>

#include "text/text.h"

namespace lintrel::cli {

// Appends `text` with backslash, tab, CR and LF written as "\\", "\t", "\r"
// and "\n", so that it fits on one line; every other byte is copied.
void AppendEscaped(Text& out, std::string_view text);

// Appends `text` with each of its line breaks (CR, LF or CR LF) written as
// LF and two blanks, so that its later lines stand indented under the
// first. A break at the very end is dropped; a final LF is appended.
void AppendIndented(Text& out, std::string_view text);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_FORMAT_H_
