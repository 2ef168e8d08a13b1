#include "tools/output/escaping.h"

#include <optional>

#include "body/byte_search.h"
#include "text/lines.h"
#include "tools/base/utf8.h"

namespace lintrel::cli {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsControl(unsigned char c) {
  return c < 32 || c == 127;
}

void AppendHexEscape(Text& out, unsigned char c) {
  out += "\\x";
  out += kHexDigits[c >> 4];
  out += kHexDigits[c & 15];
}

// Copies `text`, writing the control bytes and backslashes for which
// `escape(out, c)` answers true its own way.
template <typename Escape>
void AppendWith(Text& out, std::string_view text, const Escape& escape) {
  out.reserve(out.size() + text.size());
  size_t copied = 0;
  for (size_t i = FindControlOr<'\\'>(text, 0); i < text.size();
       i = FindControlOr<'\\'>(text, i + 1)) {
    out.append(text, copied, i - copied);
    const auto c = static_cast<unsigned char>(text[i]);
    if (!escape(out, c)) out += static_cast<char>(c);
    copied = i + 1;
  }
  out.append(text, copied);
}

// As AppendWith, and the C1 controls written as "\\xXX" too: a byte from
// 0x80 to 0x9F that is not part of a valid UTF-8 sequence, and both bytes
// of the UTF-8 form of U+0080 to U+009F, which a terminal may take for a
// command as well (CSI, 0x9B, among them).
template <typename Escape>
void AppendShown(Text& out, std::string_view text, const Escape& escape) {
  size_t i = 0;
  while (i < text.size()) {
    // C1 controls hide only among the bytes above 127, which most texts lack.
    const size_t high = FindNonAscii(text, i);
    AppendWith(out, text.substr(i, high - i), escape);
    i = high;
    if (i == text.size()) break;
    const auto c = static_cast<unsigned char>(text[i]);
    if (const size_t length = Utf8SequenceAt(text, i)) {
      if (IsC1Sequence(text, i, length)) {
        AppendHexEscape(out, c);
        AppendHexEscape(out, static_cast<unsigned char>(text[i + 1]));
      } else {
        out.append(text, i, length);
      }
      i += length;
    } else {
      if (c <= 0x9F) {
        AppendHexEscape(out, c);
      } else {
        out += static_cast<char>(c);
      }
      ++i;
    }
  }
}

bool EscapeLineBreaks(Text& out, unsigned char c) {
  switch (c) {
    case '\\':
      out += "\\\\";
      return true;
    case '\t':
      out += "\\t";
      return true;
    case '\r':
      out += "\\r";
      return true;
    case '\n':
      out += "\\n";
      return true;
    default:
      return false;
  }
}

}  // namespace

void AppendEscaped(Text& out, std::string_view text) {
  AppendWith(out, text, EscapeLineBreaks);
}

void AppendEscapedName(Text& out, std::string_view name) {
  AppendShown(out, name, [](Text& to, unsigned char c) {
    if (EscapeLineBreaks(to, c)) return true;
    if (!IsControl(c)) return false;
    AppendHexEscape(to, c);
    return true;
  });
}

Text WithoutControls(std::string_view text) {
  Text out;
  AppendShown(out, text, [](Text& to, unsigned char c) {
    if (!IsControl(c) || c == '\n') return false;
    AppendHexEscape(to, c);
    return true;
  });
  return out;
}

Text InputErrorLine(const InputError& error) {
  Text line = "lintrel: ";
  AppendEscapedName(line, error.path());
  return line + ": " + WithoutControls(error.reason()) + "\n";
}

void AppendIndented(Text& out, std::string_view text) {
  LineWalker lines(text);
  while (const std::optional<LineSpan> line = lines.Next()) {
    out.append(text, line->start, line->end - line->start);
    if (line->next < text.size()) out += "\n  ";
  }
  out += '\n';
}

}  // namespace lintrel::cli
