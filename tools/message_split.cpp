#include "tools/message_split.h"

#include <optional>

#include "text/lines.h"

namespace lintrel::cli {

MessageParts SplitMessage(std::string_view message) {
  LineWalker lines(message);
  while (const std::optional<LineSpan> line = lines.Next()) {
    if (line->end == line->start)
      return {message.substr(0, line->start), message.substr(line->next)};
  }
  return {message, std::string_view()};
}

}  // namespace lintrel::cli
