#include "tools/body_text/mime_headers.h"

#include "body/byte_search.h"
#include "text/text.h"

namespace lintrel::cli {
namespace {

constexpr std::array<std::string_view, static_cast<size_t>(HeaderField::kCount)> kFieldNames = {
    "content-type", "content-transfer-encoding", "content-disposition", "content-id", "subject"};

}  // namespace

std::optional<LineSpan> LineAt(std::string_view text, size_t begin, bool complete) {
  const size_t end = FindFirstOf<'\r', '\n'>(text, begin);
  // Unless the text is complete, a line ends only at a break known whole.
  if (!complete && (end == text.size() || (text[end] == '\r' && end + 1 == text.size()))) {
    return std::nullopt;
  }
  return LineSpan{begin, end, end + BreakLength(text.substr(end))};
}

bool IsHeaderLine(std::string_view line) {
  if (line.empty()) return false;
  if (line[0] == ' ' || line[0] == '\t' || line.starts_with("From ")) return true;
  for (const char c : line) {
    if (c == ':') return true;
    if (c < '!' || c > '~') return false;
  }
  return false;
}

void HeaderFields::AddLine(std::string_view line) {
  const bool first = lines_++ == 0;
  last_is_envelope_ = false;
  if (line[0] == ' ' || line[0] == '\t') {
    if (in_field_ && collecting_) values_[*collecting_]->append(line);
    return;
  }
  in_field_ = false;
  collecting_.reset();
  if (line.starts_with("From ")) {
    last_is_envelope_ = !first;
    return;
  }
  // Only a name that begins as a wanted one does can be one: most lines of a
  // header block are left at their first byte.
  const char first_letter = static_cast<char>(line[0] | 0x20);
  if (first_letter != 'c' && first_letter != 's') {
    in_field_ = true;
    return;
  }
  const size_t colon = line.find(':');
  if (colon == 0) return;
  in_field_ = true;
  const std::string_view name = line.substr(0, colon);
  for (size_t field = 0; field < kFieldNames.size(); ++field) {
    if (!values_[field] && EqualsIgnoringCase(name, kFieldNames[field])) {
      std::string_view value = line.substr(colon + 1);
      value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
      values_[field] = std::string(value);
      collecting_ = field;
      break;
    }
  }
}

HeaderFields ReadHeaderBlock(std::string_view headers) {
  HeaderFields fields;
  size_t at = 0;
  while (at < headers.size()) {
    // LineAt on a complete text, written out: a header block has many
    // lines, most of them short.
    const size_t end = FindFirstOf<'\r', '\n'>(headers, at);
    const std::string_view text = headers.substr(at, end - at);
    if (!IsHeaderLine(text)) break;
    fields.AddLine(text);
    at = end + BreakLength(headers.substr(end));
  }
  fields.end_ = at;
  return fields;
}

}  // namespace lintrel::cli
