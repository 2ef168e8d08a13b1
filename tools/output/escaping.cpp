#include "tools/output/escaping.h"

#include <optional>

#include "body/byte_search.h"
#include "text/lines.h"

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
  AppendWith(out, name, [](Text& to, unsigned char c) {
    if (EscapeLineBreaks(to, c)) return true;
    if (!IsControl(c)) return false;
    AppendHexEscape(to, c);
    return true;
  });
}

Text WithoutControls(std::string_view text) {
  Text out;
  AppendWith(out, text, [](Text& to, unsigned char c) {
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
