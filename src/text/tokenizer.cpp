#include "text/tokenizer.h"

namespace lintrel {

int32_t Tokenize(const ByteSet& separators, const ByteSet& whiteSpace, std::string_view content,
                 LineList& list, int32_t limit) {
  content = BeforeNul(content);
  if (content.empty() || limit <= 0) return 0;

  ByteSet skip = whiteSpace;
  skip.Add('\n');
  skip.Add('\r');
  ByteSet stop = separators;
  for (unsigned char b : {'\0', '\n', '\r', '"', '\''}) stop.Add(b);

  // The end of the content reads as a byte 0, which is in the stop set.
  const auto at = [&](size_t p) -> unsigned char {
    return p < content.size() ? static_cast<unsigned char>(content[p]) : 0;
  };
  const auto is_quote = [](unsigned char b) { return b == '"' || b == '\''; };

  int32_t count = 0;
  size_t p = 0;
  for (;;) {
    while (p < content.size() && skip.Contains(at(p))) ++p;
    const size_t head = p;
    unsigned char quote = 0;
    for (;;) {
      const unsigned char b = at(p);
      if (quote != 0 ? (b != 0 && !is_quote(b)) : !stop.Contains(b)) {
        ++p;
      } else if (is_quote(b)) {
        quote = quote == b ? 0 : b;
        ++p;
      } else {
        break;
      }
    }
    const bool at_end = p >= content.size();
    if (p > head && at(head) != 0) {
      AppendLine(list, Text(content.substr(head, p - head)));
      if (++count == limit) return count;
    }
    ++p;
    if (at_end) return count;
  }
}

}  // namespace lintrel
