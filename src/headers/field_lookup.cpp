#include "headers/field_lookup.h"

#include <optional>

#include "text/errors.h"
#include "text/lines.h"

namespace lintrel {
namespace {

bool BeginsField(std::string_view line, std::string_view name) {
  return !name.empty() && line.starts_with(name);
}

size_t OffsetIn(std::string_view headers, std::string_view line) {
  return static_cast<size_t>(line.data() - headers.data());
}

// The field text of the field whose line starts `rest`.
Text ReadField(std::string_view rest) {
  Text text;
  bool field_line = true;
  ForEachLine(rest, [&](std::string_view line) {
    if (field_line) {
      text = StripBlanks(line);
      field_line = false;
      return true;
    }
    if (line.empty() || !IsBlankOrControl(line.front())) return false;
    const std::string_view piece = StripBlanks(line);
    if (!piece.empty()) {
      // A fold stands for white space, so each piece keeps one blank before it.
      text += ' ';
      text += piece;
    }
    return true;
  });
  return text;
}

}  // namespace

std::optional<size_t> FirstFieldStart(std::string_view headers, std::string_view name) {
  // A line begins with the name where the name stands at the start of the
  // block or right after a CR or LF, before the first byte 0; a name that
  // holds a line break begins no line. So the name is searched for, not
  // every line walked.
  if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  const std::string_view lines = BeforeNul(headers);
  for (size_t at = lines.find(name); at != std::string_view::npos; at = lines.find(name, at + 1)) {
    if (at == 0 || lines[at - 1] == '\r' || lines[at - 1] == '\n') return at;
  }
  return std::nullopt;
}

size_t LastFieldStart(std::string_view headers, std::string_view name) {
  std::optional<size_t> first_line;
  std::optional<size_t> found;
  ForEachLine(headers, [&](std::string_view line) {
    if (!first_line) first_line = OffsetIn(headers, line);
    if (BeginsField(line, name)) found = OffsetIn(headers, line);
  });
  if (!first_line) throw ListIndexError(0);
  return found.value_or(*first_line);
}

Text FieldTextAt(std::string_view headers, size_t start) {
  return ReadField(headers.substr(start));
}

Text FindFirstField(std::string_view headers, std::string_view name) {
  const std::optional<size_t> start = FirstFieldStart(headers, name);
  return start ? FieldTextAt(headers, *start) : Text();
}

Text FindFirstFieldLowered(std::string_view headers, std::string_view name) {
  // Lower-casing maps byte to byte and leaves the bytes of 32 or less (line
  // breaks, blanks, byte 0) alone while mapping no other byte onto them, so
  // it commutes with splitting, trimming and joining.
  std::optional<size_t> found;
  ForEachLine(headers, [&](std::string_view line) {
    if (BeginsField(LocaleLower(line.substr(0, name.size())), name)) {
      found = OffsetIn(headers, line);
    }
    return !found;
  });
  return found ? LocaleLower(ReadField(headers.substr(*found))) : Text();
}

}  // namespace lintrel
