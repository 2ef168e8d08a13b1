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

// The position of the first run of `depth` or more ">" in `t` at or after
// `from`, or t.size(). A run never holds a line break, so it lies in one
// line.
size_t FindQuoteRun(std::string_view t, size_t from, size_t depth) {
  for (size_t p = t.find('>', from); p != std::string_view::npos; p = t.find('>', p)) {
    const size_t run_start = p;
    while (p < t.size() && t[p] == '>') ++p;
    if (p - run_start >= depth) return run_start;
  }
  return t.size();
}

// Whether every line break in `lines` is CR LF, so that its lines can be
// taken as they stand: each LF has a CR just before it and each CR an LF
// just after, checked eight bytes at a time.
bool AllBreaksAreCrLf(std::string_view lines) {
  using namespace byte_search;
  const char* data = lines.data();
  size_t p = 0;
  uint64_t carried_cr = 0;  // a CR in the last byte of the word before
  if constexpr (kWordWise) {
    for (; p + 8 <= lines.size(); p += 8) {
      const uint64_t word = Load(data + p);
      const uint64_t cr = Equal(word, '\r');
      if ((cr << 8 | carried_cr) != Equal(word, '\n')) return false;
      carried_cr = cr >> 56;
    }
  }
  bool after_cr = carried_cr != 0;
  for (; p < lines.size(); ++p) {
    if ((data[p] == '\n') != after_cr) return false;
    after_cr = data[p] == '\r';
  }
  return !after_cr;
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
  // No marker is built: runs of ">" are counted where they are found, so a
  // depth longer than every run simply never matches.
  const auto marker = static_cast<size_t>(depth);
  const std::string_view t = BeforeNul(text);
  Text out;
  out.reserve(t.size() + kLineEnd.size());
  // The text is searched for the runs, not read line by line: the lines
  // between two dropped ones are kept whole, in one piece when all their
  // breaks are CR LF already.
  size_t kept_from = 0;  // the start of the lines not yet kept or dropped
  while (kept_from < t.size()) {
    const size_t run = FindQuoteRun(t, kept_from, marker);
    const size_t dropped_from =
        run == t.size() ? run
                        : kept_from + FindLastOf<'\r', '\n'>(t.substr(kept_from, run - kept_from),
                                                             run - kept_from);
    const std::string_view kept = t.substr(kept_from, dropped_from - kept_from);
    if (AllBreaksAreCrLf(kept)) {
      out.append(kept);
      if (!kept.empty() && !kept.ends_with(kLineEnd)) out.append(kLineEnd);
    } else {
      AppendLines(out, kept);
    }
    if (run == t.size()) break;
    // Past the dropped line and its break.
    kept_from = dropped_from + LineWalker(t.substr(dropped_from)).Next()->next;
  }
  return out;
}

}  // namespace lintrel
