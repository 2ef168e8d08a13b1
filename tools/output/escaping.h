// How texts are written so that they fit on one line of the output.
#ifndef LINTREL_TOOLS_OUTPUT_ESCAPING_H_
#define LINTREL_TOOLS_OUTPUT_ESCAPING_H_

#include <string_view>

#include "text/text.h"
#include "tools/base/errors.h"

namespace lintrel::cli {

// Appends `text` with backslash, tab, CR and LF written as "\\", "\t", "\r"
// and "\n", so that it fits on one line; every other byte is copied. Results
// and error messages in records are written so.
void AppendEscaped(Text& out, std::string_view text);

// As AppendEscaped, and every other control byte as "\xXX": below 32, 127,
// and the C1 controls (a byte from 0x80 to 0x9F outside valid UTF-8, and
// each byte of the UTF-8 form of U+0080 to U+009F). A file name, on
// standard output and standard error alike, can neither break a line nor
// send a terminal a command.
void AppendEscapedName(Text& out, std::string_view name);

// `text` with the control bytes but LF (C1 controls included, as above)
// written as "\xXX", for a message on standard error; everything else,
// backslashes included, as it is.
Text WithoutControls(std::string_view text);

// "lintrel: PATH: REASON" and a line break, the path escaped as a name.
Text InputErrorLine(const InputError& error);

// Appends `text` with each of its line breaks (CR, LF or CR LF) written as
// LF and two blanks, so that its later lines stand indented under the
// first. A break at the very end is dropped; a final LF is appended.
void AppendIndented(Text& out, std::string_view text);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_ESCAPING_H_
