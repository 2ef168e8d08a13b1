#include "tools/arguments/quoted.h"

#include "tools/base/utf8.h"

namespace lintrel::cli {

std::string Shortened(std::string_view text, size_t limit) {
  if (text.size() <= limit) return std::string(text);
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + CharacterAt(text, end).size();
    if (next > limit) break;
    end = next;
  }
  return std::string(text.substr(0, end)) + "...";
}

std::string Quoted(std::string_view argument) {
  return "'" + Shortened(argument) + "'";
}

}  // namespace lintrel::cli
