// The helpers that the written forms of the macro reference share.
#include "tools/arguments/macro_reference_shared.h"

#include <algorithm>

namespace lintrel::cli {
namespace {

constexpr size_t kLineWidth = 79;

bool IsPlainShellByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("_./:@%+=,-").find(c) != std::string_view::npos;
}

// `word` as a POSIX shell takes it back: as it is when that is safe, in
// double quotes, or in $'...' when it holds control characters.
std::string ShellWord(std::string_view word) {
  bool plain = !word.empty();
  bool control = false;
  for (char c : word) {
    plain = plain && IsPlainShellByte(c);
    control = control || static_cast<unsigned char>(c) < 32;
  }
  if (plain) return std::string(word);
  std::string out = control ? "$'" : "\"";
  for (char c : word) {
    if (control && c == '\n') {
      out += "\\n";
    } else if (control && c == '\r') {
      out += "\\r";
    } else if (control && c == '\t') {
      out += "\\t";
    } else if (control ? (c == '\\' || c == '\'')
                       : (c == '\\' || c == '"' || c == '$' || c == '`')) {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  out += control ? '\'' : '"';
  return out;
}

bool HasLineBreakBytes(std::string_view output) {
  return output.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::string Wrap(std::string_view text, std::string_view first, std::string_view indent) {
  std::string out(first);
  size_t line_start = 0;
  bool line_has_word = false;
  size_t at = 0;
  while (at < text.size()) {
    const size_t word_end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, word_end - at);
    at = word_end + 1;
    if (word.empty()) continue;
    if (line_has_word && out.size() - line_start + 1 + word.size() > kLineWidth) {
      out += '\n';
      line_start = out.size();
      out += indent;
      line_has_word = false;
    }
    if (line_has_word) out += ' ';
    out += word;
    line_has_word = true;
  }
  out += '\n';
  return out;
}

std::string ExampleCommandLine(const MacroReference& macro) {
  std::string line = "lintrel run --sample";
  for (std::string_view option : macro.example.options) line += " " + ShellWord(option);
  line += " ";
  line += macro.name;
  for (std::string_view parameter : macro.example.parameters) line += " " + ShellWord(parameter);
  return line;
}

std::vector<std::string> ShownExampleOutput(std::string_view output) {
  std::vector<std::string> lines(1);
  for (char c : output) {
    switch (c) {
      case '\r':
        lines.back() += "\\r";
        break;
      case '\n':
        lines.back() += "\\n";
        lines.emplace_back();
        break;
      case '\t':
        lines.back() += "\\t";
        break;
      case '\\':
        lines.back() += "\\\\";
        break;
      default:
        lines.back() += c;
    }
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

std::string ExampleHeading(const MacroReference& macro) {
  return HasLineBreakBytes(macro.example.output) ? "Example (CR and LF shown as \\r and \\n):"
                                                 : "Example:";
}

std::string ParameterLabel(const MacroParameter& parameter) {
  return "P" + std::to_string(parameter.position);
}

}  // namespace lintrel::cli
