// The body text: what the e-mail client hands a template as a message's
// body (item 241). Not the bytes after the header block, but the message's
// text part (its plain text, else its HTML), its transfer encoding undone
// and its charset converted into the user's ANSI code page. The header
// block (item 243) is handed over raw.
#ifndef LINTREL_TOOLS_BODY_TEXT_BODY_TEXT_H_
#define LINTREL_TOOLS_BODY_TEXT_BODY_TEXT_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tools/arguments/options.h"
#include "tools/inputs/item_bytes.h"
#include "tools/inputs/message.h"

namespace lintrel::cli {

// What texts are converted into: the ANSI code page of the user, and
// whether the command writes the same text in UTF-8 instead.
struct TextTarget {
  uint32_t code_page = 1252;
  bool utf8 = false;
};

// The target of a command line: the ANSI code page of --locale's locale, or
// else the platform's (1252 on Linux, the system's on Windows);
// --output-encoding utf-8. Raises UsageError for a locale that is unknown.
TextTarget TargetOf(const Options& options);

// Appends `bytes`, text in the charset that `label` names, to `out`,
// written in the target: a byte order mark at the front names the encoding
// instead, and is dropped; what the code page lacks is "?". Without a label,
// or with one that names no encoding, the bytes are taken to be in the code
// page already.
void AppendConverted(std::string_view bytes, std::optional<std::string_view> label,
                     const TextTarget& target, std::string& out);

// The body text of `message`. Its body is read a growing front at a time
// until its text part is found, so that what lies after the text part (an
// attachment, say) is not read. Where nothing is to be undone or converted,
// the answer is the body's own bytes, which may still be in the file;
// otherwise bytes that `storage` keeps. Raises InputError when the file
// cannot be read.
ItemBytes MakeBodyText(Message& message, const TextTarget& target,
                       std::shared_ptr<const void>& storage);

// The first Subject field of `headers` as a client hands it to a template:
// unfolded, its encoded-words decoded, all of it converted into the target,
// the bytes outside the words (and words in a charset nobody knows) read as
// UTF-8; empty when there is none.
std::string SubjectText(std::string_view headers, const TextTarget& target);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_BODY_TEXT_H_
