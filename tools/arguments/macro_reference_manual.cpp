// The MACROS section of the manual page: the macro reference in roff.
#include <string>
#include <string_view>

#include "tools/arguments/macro_reference.h"
#include "tools/arguments/macro_reference_shared.h"

namespace lintrel::cli {
namespace {

// roff: backslashes escaped, and the hyphens of a text in double quotes kept
// as hyphens (so that options and names can be copied from the page).
std::string RoffText(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == '\\') {
      out += "\\(rs";
    } else if (c == '-' && quoted) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

// Filled roff text: wrapped, and no line taken for a request.
std::string RoffParagraph(std::string_view text) {
  const std::string wrapped = Wrap(RoffText(text), "", "");
  std::string out;
  size_t at = 0;
  while (at < wrapped.size()) {
    const size_t end = wrapped.find('\n', at) + 1;
    if (wrapped[at] == '.' || wrapped[at] == '\'') out += "\\&";
    out.append(wrapped, at, end - at);
    at = end;
  }
  return out;
}

// One unfilled line of roff, such as the tag of a .TP entry, every hyphen
// kept as a hyphen.
std::string RoffVerbatim(std::string_view line) {
  std::string out = line.starts_with('.') || line.starts_with('\'') ? "\\&" : "";
  for (char c : line) {
    if (c == '\\') {
      out += "\\(rs";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ManualEntry(const MacroReference& macro) {
  std::string out = ".TP\n.B " + std::string(macro.name) + "\n";
  out += RoffParagraph(std::string(macro.summary) + ".");
  out += ".IP\n" + RoffParagraph(macro.computes);
  if (macro.parameters.empty()) {
    out += ".IP\nParameters: none.\n";
  } else {
    out += ".IP\nParameters:\n.RS\n";
    for (const MacroParameter& parameter : macro.parameters) {
      out += ".TP\n\\fB" + ParameterLabel(parameter) + "\\fP \\fI" + std::string(parameter.name) +
             "\\fP" + (parameter.number ? ", a number" : "") + "\n";
      out += RoffParagraph(std::string(parameter.meaning) +
                           " When empty or missing: " + std::string(parameter.when_empty));
    }
    out += ".RE\n";
  }
  out += ".IP\n" + RoffParagraph("Result: " + std::string(macro.result));
  if (macro.errors.empty()) {
    out += ".IP\nErrors: none.\n";
  } else {
    out += ".IP\nErrors, " + std::string(kMacroErrorsNote) + ":\n.RS\n";
    for (const MacroError& error : macro.errors) {
      out += ".TP\n" + RoffVerbatim("\"" + std::string(error.text) + "\"") + "\n";
      out += RoffParagraph(error.when);
    }
    out += ".RE\n";
  }
  out += ".IP\n" + RoffText(ExampleHeading(macro)) + "\n.RS\n.in +4n\n.nf\n";
  out += RoffVerbatim("$ " + ExampleCommandLine(macro)) + "\n";
  for (const std::string& line : ShownExampleOutput(macro.example.output)) {
    out += RoffVerbatim(line) + "\n";
  }
  out += ".fi\n.in\n.RE\n";
  return out;
}

}  // namespace

std::string MacroReferenceManual() {
  std::string out = ".\\\" " + std::string(kGeneratedDocumentNote) + "\n.SH MACROS\n";
  bool first = true;
  for (std::string_view paragraph : kReferenceIntroduction) {
    if (!first) out += ".PP\n";
    first = false;
    out += RoffParagraph(paragraph);
  }
  for (const MacroReference& macro : MacroReferences()) out += ManualEntry(macro);
  return out;
}

}  // namespace lintrel::cli
