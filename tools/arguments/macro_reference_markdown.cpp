// docs/macros.md: the macro reference in Markdown, an index and a section per
// macro.
#include <string>
#include <string_view>

#include "tools/arguments/macro_reference.h"
#include "tools/arguments/macro_reference_shared.h"

namespace lintrel::cli {
namespace {

// Markdown: a text in double quotes becomes code; elsewhere the characters
// that Markdown would read as markup are escaped.
std::string MarkdownText(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      out += '`';
      quoted = !quoted;
    } else if (!quoted && std::string_view("\\`*_<>[]|").find(c) != std::string_view::npos) {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

// GitHub's anchor of a heading that is a macro name.
std::string MarkdownAnchor(std::string_view name) {
  std::string anchor;
  for (char c : name) anchor += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
  return anchor;
}

std::string MarkdownSection(const MacroReference& macro) {
  std::string out = "## " + std::string(macro.name) + "\n\n";
  out += MarkdownText(macro.computes) + "\n\n";
  if (macro.parameters.empty()) {
    out += "**Parameters:** none.\n\n";
  } else {
    out += "| Parameter | Meaning | When empty or missing |\n|---|---|---|\n";
    for (const MacroParameter& parameter : macro.parameters) {
      out += "| " + ParameterLabel(parameter) + " *" + std::string(parameter.name) + "*";
      if (parameter.number) out += ", a number";
      out += " | " + MarkdownText(parameter.meaning) + " | " + MarkdownText(parameter.when_empty) +
             " |\n";
    }
    out += "\n";
  }
  out += "**Result:** " + MarkdownText(macro.result) + "\n\n";
  if (macro.errors.empty()) {
    out += "**Errors:** none.\n\n";
  } else {
    out += "**Errors**, " + std::string(kMacroErrorsNote) + ":\n\n| Error | When |\n|---|---|\n";
    for (const MacroError& error : macro.errors) {
      out += "| `" + std::string(error.text) + "` | " + MarkdownText(error.when) + " |\n";
    }
    out += "\n";
  }
  out += "**" + MarkdownText(ExampleHeading(macro)) + "**\n\n```\n$ " + ExampleCommandLine(macro) +
         "\n";
  for (const std::string& line : ShownExampleOutput(macro.example.output)) out += line + "\n";
  out += "```\n";
  return out;
}

}  // namespace

std::string MacroReferenceMarkdown() {
  std::string out = "# The macros of the Lintrel plug-in\n\n<!-- " +
                    std::string(kGeneratedDocumentNote) + " -->\n\n";
  for (std::string_view paragraph : kReferenceIntroduction) {
    out += MarkdownText(paragraph) + "\n\n";
  }
  out += "| Macro | What it gives |\n|---|---|\n";
  for (const MacroReference& macro : MacroReferences()) {
    out += "| [" + MarkdownText(macro.name) + "](#" + MarkdownAnchor(macro.name) + ") | " +
           MarkdownText(macro.summary) + " |\n";
  }
  for (const MacroReference& macro : MacroReferences()) out += "\n" + MarkdownSection(macro);
  return out;
}

}  // namespace lintrel::cli
