#include "tools/output_format.h"

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
  size_t p = 0;
  while (p < text.size()) {
    const size_t end = text.find_first_of("\r\n", p);
    if (end == std::string_view::npos) {
      out.append(text, p);
      break;
    }
    out.append(text, p, end - p);
    p = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (p < text.size()) out += "\n  ";
  }
  out += '\n';
}

}  // namespace lintrel::cli
