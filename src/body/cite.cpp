#include "body/cite.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

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

// The position of the first run of `depth` (>= 1) or more ">" in `t` at or
// after `from`, which is not inside a run, or of the first byte 0 if that
// comes sooner; t.size() when there is neither. A run shorter than two
// never holds a pair, so for the usual depths only pairs are looked at.
size_t FindQuoteRunOrNul(std::string_view t, size_t from, size_t depth) {
  for (size_t p = from;;) {
    const size_t found = FindQuoteOrNul(t, p, depth >= 2);
    if (found == t.size() || t[found] == '\0') return found;
    // Nothing before `found` belongs to a run, so the run starts there.
    p = found;
    while (p < t.size() && t[p] == '>') ++p;
    if (p - found >= depth) return found;
  }
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

// Gathers the kept lines of a text at the front of the text's own storage,
// each moved no further than where it stood, so that a large text is not
// held twice. Only lines that already end in CR LF can move so: a break
// that grows into CR LF could overtake the part still to be read, and from
// the first of those on the kept lines go to a text of their own.
class KeptLines {
 public:
  explicit KeptLines(Text& text) : text_(text) {}

  // Keeps `lines`, a part of the text after every part kept so far.
  void Keep(std::string_view lines) {
    const auto start = static_cast<size_t>(lines.data() - text_.data());
    if (rest_.empty() && AllBreaksAreCrLf(lines)) {
      if (start != end_) std::memmove(text_.data() + end_, lines.data(), lines.size());
      end_ += lines.size();
      // Only the last lines of the text can lack a break.
      closed_ = lines.empty() || lines.ends_with(kLineEnd);
      return;
    }
    if (rest_.empty()) rest_.reserve(text_.size() - start + kLineEnd.size());
    AppendLines(rest_, lines);
  }

  // The text of the kept lines.
  Text Finish() && {
    text_.resize(end_);
    if (!closed_) text_.append(kLineEnd);
    if (end_ == 0) return std::move(rest_);
    text_.append(rest_);
    return std::move(text_);
  }

 private:
  Text& text_;
  size_t end_ = 0;
  bool closed_ = true;
  Text rest_;
};

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

Text KillCite(Text text, int32_t depth) {
  if (depth <= 0) return text;
  // No marker is built: runs of ">" are counted where they are found, so a
  // depth longer than every run simply never matches.
  const auto marker = static_cast<size_t>(depth);
  // The text is searched for the runs, not read line by line: the lines
  // between two dropped ones are kept whole. The same search finds the byte
  // 0 where the lines end.
  const std::string_view t = text;
  KeptLines kept_lines(text);
  size_t kept_from = 0;  // the start of the lines not yet kept or dropped
  while (kept_from < t.size()) {
    const size_t stop = FindQuoteRunOrNul(t, kept_from, marker);
    const bool quoted = stop < t.size() && t[stop] == '>';
    const size_t dropped_from =
        quoted ? kept_from +
                     FindLastOf<'\r', '\n'>(t.substr(kept_from, stop - kept_from), stop - kept_from)
               : stop;
    kept_lines.Keep(t.substr(kept_from, dropped_from - kept_from));
    if (!quoted) break;
    // Past the dropped line and its break. A byte 0 in the line stops the
    // next search where it stands.
    const size_t line_end = FindFirstOf<'\r', '\n', '\0'>(t, stop);
    kept_from = line_end + BreakLength(t.substr(line_end));
  }
  return std::move(kept_lines).Finish();
}

}  // namespace lintrel
