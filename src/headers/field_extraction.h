// Single values cut out of a header block: the character set, the mail
// program and the value of a field that the user names. None raises.
#ifndef LINTREL_HEADERS_FIELD_EXTRACTION_H_
#define LINTREL_HEADERS_FIELD_EXTRACTION_H_

#include <string_view>

#include "text/text.h"

namespace lintrel {

// `value` without one double quote at each end, then without one single
// quote at each end; quotes inside stay. A view into `value`.
std::string_view StripQuotes(std::string_view value);

// The character set named after "charset=" in the first content-type field
// (any letter case), lower-cased with the code page's letters, cut at the
// first ";" and then the first blank, and unquoted; "<unknown>" when that
// leaves nothing or there is no such field or parameter.
Text ExtractCharset(std::string_view headers);

// The trimmed value of the first "X-Mailer:" field (that letter case only),
// or `fallback` when there is none. A field without a value gives "".
Text ExtractMailer(std::string_view headers, std::string_view fallback);

// The trimmed text of the first field whose line begins with `name`, from
// the second byte after the name: the byte after it is taken for the colon
// (with "Subject") or the blank after the colon (with "Subject:"). The empty
// text when there is no such field or the name is empty.
Text HeaderFieldValue(std::string_view headers, std::string_view name);

}  // namespace lintrel

#endif  // LINTREL_HEADERS_FIELD_EXTRACTION_H_
