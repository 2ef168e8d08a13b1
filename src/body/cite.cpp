#include "body/cite.h"

#include <cstddef>
#include <optional>

#include "body/byte_search.h"
#include "text/lines.h"

namespace lintrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// True when `t` splits into more than `limit` (>= 0) lines; stops reading
// as soon as it knows, so a short count on a long text looks at a few lines
// only.
bool HasMoreLinesThan(std::string_view t, int64_t limit) {
  LineWalker lines(t);
  for (int64_t n = 0; n <= limit; ++n) {
    if (!lines.Next()) return false;
  }
  return true;
}

// The position just past the first `count` lines of `t` and their breaks.
size_t EndOfFirstLines(std::string_view t, int64_t count) {
  LineWalker lines(t);
  size_t end = 0;
  for (; count > 0; --count) {
    const std::optional<LineSpan> line = lines.Next();
    if (!line) break;
    end = line->next;
  }
  return end;
}

// Whether `line` holds a run of `depth` or more ">".
bool HasQuoteRun(std::string_view line, size_t depth) {
  for (size_t p = FindFirstOf<'>'>(line, 0); p < line.size(); p = FindFirstOf<'>'>(line, p)) {
    const size_t run_start = p;
    while (p < line.size() && line[p] == '>') ++p;
    if (p - run_start >= depth) return true;
  }
  return false;
}

// The start of the last `lines` lines of `t` (which has at least that many),
// found from the end. A CR before an LF always belongs to it, so reading the
// breaks backwards pairs them as the forward split does.
size_t StartOfLastLines(std::string_view t, int64_t lines) {
  size_t start = t.size();
  // A break at the very end closes the last line and opens none.
  if (start > 0 && t[start - 1] == '\n') --start;
  if (start > 0 && t[start - 1] == '\r') --start;
  for (;;) {
    start = FindLastOf<'\r', '\n'>(t, start);
    if (--lines <= 0 || start == 0) return start;
    --start;
    if (t[start] == '\n' && start > 0 && t[start - 1] == '\r') --start;
  }
}

// Builds a text from lines of a source text, each followed by CR LF. Lines
// that already end in CR LF are gathered and copied in one piece.
class LineCopier {
 public:
  LineCopier(std::string_view source, Text& out) : source_(source), out_(out) {}

  // Takes the line from `start` to `end`, whose break ends at `next`.
  void Keep(size_t start, size_t end, size_t next) {
    if (pending_ == kNone) pending_ = start;
    // A break of two bytes can only be CR LF, which stays as it is.
    if (next - end == kLineEnd.size()) return;
    out_.append(source_.substr(pending_, end - pending_));
    out_.append(kLineEnd);
    pending_ = kNone;
  }

  // Copies the lines gathered so far, up to `end`.
  void Flush(size_t end) {
    if (pending_ != kNone) out_.append(source_.substr(pending_, end - pending_));
    pending_ = kNone;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  std::string_view source_;
  Text& out_;
  size_t pending_ = kNone;
};

void AppendLines(Text& out, std::string_view text) {
  LineCopier copier(text, out);
  LineWalker lines(text);
  while (const std::optional<LineSpan> line = lines.Next()) {
    copier.Keep(line->start, line->end, line->next);
  }
  copier.Flush(text.size());
}

}  // namespace

Text CiteText(std::string_view text, std::string_view insert, int32_t count) {
  // Lines are read up to the first byte 0; what follows is in no line.
  const std::string_view t = BeforeNul(text);
  if (count >= 0 && !HasMoreLinesThan(t, count)) return Text(text);
  // Truncating division: -3 keeps -1 at the start and -2 at the end, none.
  const int64_t head = count / 2;
  const int64_t tail = int64_t{count} - head;
  const std::string_view head_part = t.substr(0, head > 0 ? EndOfFirstLines(t, head) : 0);
  const std::string_view tail_part = t.substr(tail > 0 ? StartOfLastLines(t, tail) : t.size());
  // Each kept line trades its own break (at least one byte, but for the
  // last line of the text) for CR LF.
  const size_t kept = static_cast<size_t>((head > 0 ? head : 0) + (tail > 0 ? tail : 0));
  Text out;
  out.reserve(head_part.size() + tail_part.size() + kept + 1 +
              (insert.empty() ? 0 : insert.size() + kLineEnd.size()));
  AppendLines(out, head_part);
  if (!insert.empty()) {
    out.append(insert);
    out.append(kLineEnd);
  }
  AppendLines(out, tail_part);
  return out;
}

Text KillCite(std::string_view text, int32_t depth) {
  if (depth <= 0) return Text(text);
  // No marker is built: the run of ">" is counted as the line is read, so a
  // depth longer than every line simply never matches.
  const auto marker = static_cast<size_t>(depth);
  const std::string_view t = BeforeNul(text);
  Text out;
  out.reserve(t.size() + kLineEnd.size());
  LineCopier copier(t, out);
  LineWalker lines(t);
  while (const std::optional<LineSpan> line = lines.Next()) {
    if (HasQuoteRun(t.substr(line->start, line->end - line->start), marker)) {
      copier.Flush(line->start);
    } else {
      copier.Keep(line->start, line->end, line->next);
    }
  }
  copier.Flush(t.size());
  return out;
}

}  // namespace lintrel
