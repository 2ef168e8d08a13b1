#include "body/cite.h"

#include <cstddef>

#include "text/line_list.h"

namespace lintrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

constexpr bool IsBreak(char c) {
  return c == '\n' || c == '\r';
}

// Line splitting reads up to the first byte 0; everything after it is
// outside every line.
std::string_view SplitPart(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The position just past the line that starts at `p` and its line break
// (CR LF, CR or LF).
size_t NextLineStart(std::string_view t, size_t p) {
  while (p < t.size() && !IsBreak(t[p])) ++p;
  if (p < t.size() && t[p] == '\r') ++p;
  if (p < t.size() && t[p] == '\n') ++p;
  return p;
}

// True when `t` splits into more than `limit` lines; stops reading as soon
// as it knows, so a short count on a long text looks at a few lines only.
bool HasMoreLinesThan(std::string_view t, int64_t limit) {
  int64_t lines = 0;
  for (size_t p = 0; p < t.size() && lines <= limit; p = NextLineStart(t, p)) ++lines;
  return lines > limit;
}

// The position just past the first `lines` lines of `t` and their breaks.
size_t EndOfFirstLines(std::string_view t, int64_t lines) {
  size_t p = 0;
  for (; lines > 0 && p < t.size(); --lines) p = NextLineStart(t, p);
  return p;
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
    while (start > 0 && !IsBreak(t[start - 1])) --start;
    if (--lines <= 0 || start == 0) return start;
    --start;
    if (t[start] == '\n' && start > 0 && t[start - 1] == '\r') --start;
  }
}

// True when `line` holds `length` or more ">" in a row.
bool HasQuoteRun(std::string_view line, size_t length) {
  size_t run = 0;
  for (char c : line) {
    run = c == '>' ? run + 1 : 0;
    if (run >= length) return true;
  }
  return false;
}

void AppendLines(Text& out, std::string_view lines) {
  ForEachLine(lines, [&](std::string_view line) {
    out.append(line);
    out.append(kLineEnd);
  });
}

}  // namespace

Text CiteText(std::string_view text, std::string_view insert, int32_t count) {
  const std::string_view t = SplitPart(text);
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
  // No marker is built: a run of ">" is counted as the line is read, so any
  // depth longer than the line simply never matches.
  const auto marker = static_cast<size_t>(depth);
  const std::string_view t = SplitPart(text);
  Text out;
  out.reserve(t.size() + kLineEnd.size());
  ForEachLine(t, [&](std::string_view line) {
    if (HasQuoteRun(line, marker)) return;
    out.append(line);
    out.append(kLineEnd);
  });
  return out;
}

}  // namespace lintrel
