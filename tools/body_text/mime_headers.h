// The lines of a message and the fields of its header blocks, as Python's
// email parser (feedparser) reads them: the message's own header block and
// those of its MIME parts.
#ifndef LINTREL_TOOLS_BODY_TEXT_MIME_HEADERS_H_
#define LINTREL_TOOLS_BODY_TEXT_MIME_HEADERS_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/lines.h"

namespace lintrel::cli {

// The line of `text` that begins at `begin` (< text.size()). nullopt when
// its end is not in `text` yet and `complete` is false: no line break yet,
// or a CR that ends `text` and may be the first half of CR LF. In a
// complete text the last line may have no break.
std::optional<LineSpan> LineAt(std::string_view text, size_t begin, bool complete);

// Whether the parser takes `line` (without its break) for a line of a
// header block: one starting "From ", or with a field name of printable
// ASCII other than ":" and then ":", or a continuation line starting with
// a blank. The first other line ends the block; an empty line is dropped,
// any other begins the body.
bool IsHeaderLine(std::string_view line);

// The fields whose values this stage reads.
enum class HeaderField {
  kContentType,
  kTransferEncoding,
  kDisposition,
  kContentId,
  kSubject,
  kCount
};

// The wanted fields of one header block, read a line at a time as
// feedparser's _parse_headers reads them: the first field of each name in
// any letter case; its value unfolded (the blanks after the colon dropped,
// the line breaks removed, continuation lines kept with their blanks). A
// "From " line first in the block is the envelope, elsewhere ignored; a
// continuation line with no field before it is ignored, and so is a field
// without a name.
class HeaderFields {
 public:
  // Reads the block's next line, without its break; IsHeaderLine(line).
  void AddLine(std::string_view line);

  // The value of the first field called `field`, nullopt when the block
  // has none.
  const std::optional<std::string>& Value(HeaderField field) const {
    return values_[static_cast<size_t>(field)];
  }

  // Whether the last line read starts "From " and was not the block's
  // first. The parser reads such a line, when it ends the block, as the
  // first line of the body.
  bool EndsWithEnvelopeLine() const { return last_is_envelope_; }

  // Where the first line that is not a header line begins in the text
  // that ReadHeaderBlock read, which the parser takes for the body's first;
  // the text's size when every line is a header line.
  size_t end() const { return end_; }

 private:
  std::array<std::optional<std::string>, static_cast<size_t>(HeaderField::kCount)> values_;
  size_t lines_ = 0;
  bool in_field_ = false;             // a field began and may go on
  std::optional<size_t> collecting_;  // the wanted field being read, if any
  bool last_is_envelope_ = false;
  size_t end_ = 0;

  friend HeaderFields ReadHeaderBlock(std::string_view headers);
};

// The fields of the header block as lintrel splits a message (the bytes
// before the first empty line), read as the parser reads the same lines:
// up to the first line that is not a header line.
HeaderFields ReadHeaderBlock(std::string_view headers);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BODY_TEXT_MIME_HEADERS_H_
