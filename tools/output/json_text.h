// Writing bytes as JSON strings, whatever the bytes are.
#ifndef LINTREL_TOOLS_OUTPUT_JSON_TEXT_H_
#define LINTREL_TOOLS_OUTPUT_JSON_TEXT_H_

#include <string_view>

#include "text/text.h"

namespace lintrel::cli {

// Appends `bytes` as a JSON string, quotes included. Valid UTF-8 is copied;
// '"' and '\' are escaped, and so are the bytes below 32 (as \b, \t, \n,
// \f, \r or \u00XX). Each byte that does not belong to a valid UTF-8
// sequence (overlong forms and surrogates are not valid) is written as the
// escape of U+DC00 plus the byte, "\udcXX": the mapping that Python's
// "surrogateescape" error handler reverses, so that
// json.loads(line)[key].encode("utf-8", "surrogateescape") gives back the
// bytes exactly.
void AppendJsonString(Text& out, std::string_view bytes);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_JSON_TEXT_H_
