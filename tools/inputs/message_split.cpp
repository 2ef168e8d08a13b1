#include "tools/inputs/message_split.h"

#include "text/lines.h"

namespace lintrel::cli {

std::optional<SplitPoint> FindSplit(std::string_view front, bool whole) {
  LineWalker lines(front);
  while (const std::optional<LineSpan> line = lines.Next()) {
    if (line->end != line->start) continue;
    // A break that ends with the known bytes may go on: a CR can be the
    // first half of CR LF.
    if (line->next == front.size() && !whole) return std::nullopt;
    return SplitPoint{line->start, line->next};
  }
  if (!whole) return std::nullopt;
  return SplitPoint{front.size(), front.size()};
}

MessageParts SplitMessage(std::string_view message) {
  const SplitPoint split = *FindSplit(message, true);
  return {message.substr(0, split.headers_end), message.substr(split.body_start)};
}

}  // namespace lintrel::cli
