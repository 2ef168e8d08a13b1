#include "tools/output_format.h"

#include <optional>

#include "text/lines.h"

namespace lintrel::cli {

void AppendEscaped(Text& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  size_t copied = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char* replacement = nullptr;
    switch (text[i]) {
      case '\\':
        replacement = "\\\\";
        break;
      case '\t':
        replacement = "\\t";
        break;
      case '\r':
        replacement = "\\r";
        break;
      case '\n':
        replacement = "\\n";
        break;
      default:
        continue;
    }
    out.append(text, copied, i - copied);
    out += replacement;
    copied = i + 1;
  }
  out.append(text, copied);
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
