#include "text/line_list.h"

#include "text/errors.h"
#include "text/lines.h"

namespace lintrel {
void SplitLines(LineList& list, std::string_view t) {
  list.lines_.clear();
  ForEachLine(t, [&](std::string_view line) { list.lines_.emplace_back(line); });
}

int32_t LineCount(const LineList& list) {
  return static_cast<int32_t>(list.lines_.size());
}

const Text& LineAt(const LineList& list, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= list.lines_.size()) throw ListIndexError(i);
  return list.lines_[static_cast<size_t>(i)];
}

int32_t AppendLine(LineList& list, Text t) {
  list.lines_.push_back(std::move(t));
  return static_cast<int32_t>(list.lines_.size() - 1);
}

}  // namespace lintrel
