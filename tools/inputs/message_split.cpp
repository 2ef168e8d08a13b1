#include "tools/inputs/message_split.h"

#include "body/byte_search.h"
#include "text/lines.h"

namespace lintrel::cli {

std::optional<SplitPoint> FindSplit(std::string_view front, bool whole) {
  // The empty line starts the message, or right after the first break that
  // another break follows.
  size_t empty = 0;
  if (!front.empty() && front[0] != '\r' && front[0] != '\n') {
    empty = FindBreakAfterBreak(front, 0);
    if (empty == front.size()) {
      // No empty line in what is known: the whole message is header block,
      // or more bytes are needed to tell.
      if (!whole) return std::nullopt;
      return SplitPoint{front.size(), front.size()};
    }
    ++empty;
  }
  if (empty == front.size()) {
    if (!whole) return std::nullopt;
    return SplitPoint{front.size(), front.size()};
  }
  const size_t next = empty + BreakLength(front.substr(empty));
  // A break that ends with the known bytes may go on: a CR can be the first
  // half of CR LF.
  if (next == front.size() && !whole) return std::nullopt;
  return SplitPoint{empty, next};
}

MessageParts SplitMessage(std::string_view message) {
  const SplitPoint split = *FindSplit(message, true);
  return {message.substr(0, split.headers_end), message.substr(split.body_start)};
}

}  // namespace lintrel::cli
