#include "tools/message_split.h"

#include <cstddef>

namespace lintrel::cli {

MessageParts SplitMessage(std::string_view message) {
  const size_t n = message.size();
  size_t p = 0;  // always the start of a line
  while (p < n) {
    if (message[p] == '\r' || message[p] == '\n') {
      const size_t break_length = message.compare(p, 2, "\r\n") == 0 ? 2 : 1;
      return {message.substr(0, p), message.substr(p + break_length)};
    }
    while (p < n && message[p] != '\r' && message[p] != '\n') ++p;
    if (p < n && message[p] == '\r') ++p;
    if (p < n && message[p] == '\n') ++p;
  }
  return {message, std::string_view()};
}

}  // namespace lintrel::cli
