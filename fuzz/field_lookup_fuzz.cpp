// The field lookups against a second, plain reading of the same rules: the
// block's lines as SplitLines gives them, a field line that begins with the
// name, continuation lines that begin with a byte of 32 or less, the
// trimmed pieces each after one blank. LastFieldStart raises exactly when
// the block has no line, and the lowered lookup is the lookup of the
// lowered block.
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "headers/field_lookup.h"
#include "text/errors.h"
#include "text/line_list.h"

namespace {

using lintrel::fuzz::Check;

std::string FieldFrom(const lintrel::LineList& lines, int32_t at) {
  using namespace lintrel;
  std::string text(StripBlanks(LineAt(lines, at)));
  for (int32_t j = at + 1; j < LineCount(lines); ++j) {
    const std::string& line = LineAt(lines, j);
    if (line.empty() || static_cast<unsigned char>(line[0]) > 32) break;
    const std::string_view piece = StripBlanks(line);
    if (piece.empty()) continue;
    text += ' ';
    text += piece;
  }
  return text;
}

bool Begins(const std::string& line, const std::string& name) {
  return !name.empty() && line.starts_with(name);
}

std::string ReferenceFirst(const lintrel::LineList& lines, const std::string& name) {
  for (int32_t i = 0; i < lintrel::LineCount(lines); ++i) {
    if (Begins(lintrel::LineAt(lines, i), name)) return FieldFrom(lines, i);
  }
  return {};
}

// The lowest field, or the one at line 0; none for a block without lines.
std::optional<std::string> ReferenceLast(const lintrel::LineList& lines, const std::string& name) {
  if (lintrel::LineCount(lines) == 0) return std::nullopt;
  int32_t chosen = 0;
  for (int32_t i = 0; i < lintrel::LineCount(lines); ++i) {
    if (Begins(lintrel::LineAt(lines, i), name)) chosen = i;
  }
  return FieldFrom(lines, chosen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const std::string name = reader.Text();
  const std::string headers = reader.Rest();
  LineList lines;
  SplitLines(lines, headers);

  const Text first = FindFirstField(headers, name);
  Check(first == ReferenceFirst(lines, name), "FindFirstField differs", first);
  Check(first.empty() || first.starts_with(StripBlanks(name)),
        "first field does not begin with the name", first);

  const std::optional<std::string> expected_last = ReferenceLast(lines, name);
  try {
    const Text last = FieldTextAt(headers, LastFieldStart(headers, name));
    Check(expected_last.has_value(), "LastFieldStart answered for a block without lines");
    Check(last == *expected_last, "lowest field differs", last);
  } catch (const EStringListError& error) {
    Check(!expected_last, "LastFieldStart raised for a block with lines", error.Message());
    Check(error.Message() == "List index out of bounds (0)", "message", error.Message());
  }

  const Text lower_name = LocaleLower(name);
  const Text lowered = FindFirstFieldLowered(headers, lower_name);
  Check(lowered == FindFirstField(LocaleLower(headers), lower_name),
        "lowered lookup differs from the lookup of the lowered block", lowered);
  return 0;
}
