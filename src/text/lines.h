// Walking the lines of a text. A line runs up to the next CR or LF, or to
// the end of the text; the break after it is CR LF, a lone CR or a lone LF.
// A break at the very end opens no further line.
#ifndef LINTREL_TEXT_LINES_H_
#define LINTREL_TEXT_LINES_H_

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>

#include "text/text.h"

namespace lintrel {

// The length of the line break at the start of `t`: 2 for CR LF, 1 for a
// lone CR or LF, 0 when `t` does not begin with a break.
constexpr size_t BreakLength(std::string_view t) {
  if (t.starts_with("\r\n")) return 2;
  return t.starts_with('\r') || t.starts_with('\n') ? 1 : 0;
}

// Where a line and its break lie in a text: the line is [start, end), its
// break [end, next), and the next line starts at `next`.
struct LineSpan {
  size_t start;
  size_t end;
  size_t next;
};

// Walks the lines of a text from the first to the last. Every byte counts,
// a byte 0 too.
class LineWalker {
 public:
  explicit LineWalker(std::string_view t) : t_(t) {}

  // The next line and its break, or nullopt after the last line.
  std::optional<LineSpan> Next() {
    if (p_ >= t_.size()) return std::nullopt;
    // The next LF is searched for once it lies behind the walk, and a CR only
    // up to it, as only one before it ends the line sooner: every byte is
    // looked at a bounded number of times, and a walk that stops early reads
    // no further than its last line.
    if (next_lf_ <= p_) next_lf_ = std::min(t_.find('\n', p_), t_.size());
    if (next_cr_ <= p_) next_cr_ = std::min(t_.substr(0, next_lf_).find('\r', p_), next_lf_);
    const size_t start = p_;
    const size_t end = std::min({next_cr_, next_lf_, t_.size()});
    p_ = end + BreakLength(t_.substr(end));
    return LineSpan{start, end, p_};
  }

 private:
  std::string_view t_;
  size_t p_ = 0;
  size_t next_cr_ = 0;
  size_t next_lf_ = 0;
};

// Calls `visit(line)` for each line of `t` up to its first byte 0, each a
// view into `t`. A `visit` that returns bool stops the walk by returning
// false.
template <typename Visit>
void ForEachLine(std::string_view t, Visit&& visit) {
  LineWalker lines(BeforeNul(t));
  while (const std::optional<LineSpan> line = lines.Next()) {
    const std::string_view text = t.substr(line->start, line->end - line->start);
    if constexpr (std::is_same_v<decltype(visit(text)), bool>) {
      if (!visit(text)) return;
    } else {
      visit(text);
    }
  }
}

}  // namespace lintrel

#endif  // LINTREL_TEXT_LINES_H_
