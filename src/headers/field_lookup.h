// Finding one field in a raw header block.
//
// A header block is split into lines at CR, LF and CR LF, up to its first
// byte 0. A field is a line that begins with the field name, compared byte
// for byte (no case folding, no colon added, so "Sub" also finds "Subject:"),
// together with the lines that directly follow it and begin with a byte of
// 32 or less. The field text is the trimmed field line and, after one blank
// each, its trimmed continuation lines that are not empty; an empty line ends
// the field. An empty name matches no line.
#ifndef LINTREL_HEADERS_FIELD_LOOKUP_H_
#define LINTREL_HEADERS_FIELD_LOOKUP_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace lintrel {

// The text of the topmost field whose line begins with `name`, or the empty
// text when there is none. Never raises.
Text FindFirstField(std::string_view headers, std::string_view name);

// As `FindFirstField` on `LocaleLower(headers)` with a lower-case `name`,
// lower-casing only the bytes it compares and the field it returns.
Text FindFirstFieldLowered(std::string_view headers, std::string_view name);

// Where the topmost field whose line begins with `name` starts in
// `headers`, or nullopt when there is none.
std::optional<size_t> FirstFieldStart(std::string_view headers, std::string_view name);

// Where the lowest field whose line begins with `name` starts. When no line
// matches, the field that begins at line 0 stands in; a block without any
// line raises EStringListError "List index out of bounds (0)".
size_t LastFieldStart(std::string_view headers, std::string_view name);

// The text of the field that starts at `start`, a position that one of the
// two above gave: a caller that needs both fields copies each once.
Text FieldTextAt(std::string_view headers, size_t start);

}  // namespace lintrel

#endif  // LINTREL_HEADERS_FIELD_LOOKUP_H_
