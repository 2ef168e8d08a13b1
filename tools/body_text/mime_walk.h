// Finding the text part of a message, the one that Python's email package
// picks with msg.get_body(preferencelist=('plain', 'html')) under
// policy.default: the first text/plain part that is not an attachment,
// looking into every multipart but only into the start part of a
// multipart/related (its "start" parameter's Content-ID, or its first
// part); else the first such text/html part; else none. message/* parts are
// not looked into. A message without Content-Type, or with a text/plain or
// text/html one, is its own part.
//
// The parts are found as Python's parser finds them: a boundary line is
// "--" and the boundary, "--" after it for the last, then blanks, at the
// start of a line; a boundary of any multipart around a part ends it too,
// and the outermost multipart whose boundary a line is takes it; the line
// break before a boundary line belongs to it; a multipart whose last
// boundary is missing ends with the message, and one whose first boundary
// is missing has no parts. A part's header block ends at the first line
// that is not a header line.
#ifndef LINTREL_TOOLS_BODY_TEXT_MIME_WALK_H_
#define LINTREL_TOOLS_BODY_TEXT_MIME_WALK_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tools/body_text/mime_headers.h"
#include "tools/body_text/transfer_encodings.h"

namespace lintrel::cli {

// Multiparts nested deeper than this are read as parts of no type that
// the search looks into, so that no message can make the walk keep more
// state. Python reads them up to about 500 levels deep and fails beyond.
inline constexpr size_t kMaxMultipartDepth = 64;

// The part found: its bytes as they stand in the body, still in their
// transfer encoding; the encoding to undo; the charset parameter as
// get_param('charset') gives it (nullopt when there is none), to resolve
// with EncodingForLabel; and whether it is text/html.
struct TextPart {
  std::string_view bytes;
  TransferEncoding encoding = TransferEncoding::kNone;
  std::optional<std::string> charset;
  bool html = false;
};

enum class TextPartStatus {
  kFound,
  kNone,      // the message has no text part: its body text is empty
  kNeedMore,  // the answer depends on bytes after the prefix
};

struct TextPartAnswer {
  TextPartStatus status = TextPartStatus::kNeedMore;
  TextPart part;  // when kFound; `bytes` views `body_prefix`
};

// The text part of the message whose header block is `headers` (the bytes
// before the first empty line, as lintrel splits a message) and whose body
// begins with `body_prefix`, all of it when `body_complete`. When not
// complete, the answer is kNeedMore until no later byte can change it:
// kFound and kNone on a prefix are what the whole body gives, so a caller
// can read the body a growing prefix at a time and stop at the first
// answer. Linear in the size of the prefix; the memory it takes is bounded
// by the size of the longest header block and kMaxMultipartDepth.
TextPartAnswer FindTextPart(std::string_view headers, std::string_view body_prefix,
                            bool body_complete);

// The same, for a header block read already (ReadHeaderBlock), so that a
// caller that looks at a growing prefix reads it once.
TextPartAnswer FindTextPart(const HeaderFields& fields, std::string_view body_prefix,
                            bool body_complete);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_MIME_WALK_H_
