#include "headers/field_lookup.h"

#include <optional>

#include "text/errors.h"
#include "text/line_list.h"

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
  bool done = false;
  ForEachLine(rest, [&](std::string_view line) {
    if (done) return;
    if (field_line) {
      text = StripBlanksView(line);
      field_line = false;
      return;
    }
    if (line.empty() || !IsBlankOrControl(line.front())) {
      done = true;
      return;
    }
    const std::string_view piece = StripBlanksView(line);
    if (piece.empty()) return;
    // A fold stands for white space, so the pieces keep one blank between them.
    if (!text.empty()) text += ' ';
    text += piece;
  });
  return text;
}

}  // namespace

Text FindFirstField(std::string_view headers, std::string_view name) {
  std::optional<size_t> found;
  ForEachLine(headers, [&](std::string_view line) {
    if (!found && BeginsField(line, name)) found = OffsetIn(headers, line);
  });
  return found ? ReadField(headers.substr(*found)) : Text();
}

Text FindLastField(std::string_view headers, std::string_view name) {
  std::optional<size_t> first_line;
  std::optional<size_t> found;
  ForEachLine(headers, [&](std::string_view line) {
    if (!first_line) first_line = OffsetIn(headers, line);
    if (BeginsField(line, name)) found = OffsetIn(headers, line);
  });
  if (!first_line) throw ListIndexError(0);
  return ReadField(headers.substr(found.value_or(*first_line)));
}

}  // namespace lintrel
