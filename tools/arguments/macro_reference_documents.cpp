// The macro reference written out: plain text for `lintrel help MACRO`,
// Markdown for docs/macros.md and roff for the manual page.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/macro_reference.h"

namespace lintrel::cli {
namespace {

constexpr size_t kLineWidth = 79;

constexpr std::string_view kGeneratedNote =
    "Made by lintrel_macro_docs from the table in tools/arguments/macro_reference.cpp: edit the "
    "table, not this text.";

// The introduction of docs/macros.md and of the manual page's section, one
// paragraph each.
constexpr std::string_view kIntroduction[] = {
    "A template calls a macro by its name, which the plug-in matches in any letter case, with "
    "up to four parameters, P0 to P3. The macro reads them and the message being worked on, its "
    "header block and its body, and gives one text: its result. A parameter that is empty and "
    "one that is not written at all are the same to every macro. A parameter marked as a number "
    "is read as a whole number; lintrel reads its text as one, in decimal or in hexadecimal "
    "after \"$\" or \"0x\", and as 0 when it is none. A name that is none of these macros gives "
    "\"Bad result NAME\", NAME being the name in capital letters.",
    "An error ends the macro at once, and no result is stored: the e-mail client is handed the "
    "error with its text, and lintrel reports it with that text (on a single message, "
    "\"lintrel: TEXT\" on standard error and exit status 1).",
    "Each example is run with \"lintrel run --sample\" on lintrel's built-in sample message, a "
    "reply with three folded \"Received:\" fields, a \"Date:\" field, a character set, an "
    "\"X-Mailer:\" field, links and a quote nested three levels deep. The lines below the "
    "command are exactly the bytes that it prints, with CR and LF shown as \"\\r\" and \"\\n\" "
    "(a shown line ends after each \"\\n\"), and nothing follows the last byte shown.",
};

constexpr std::string_view kErrorsNote = "each of which ends the macro without a result";

// `text`'s words on lines of at most kLineWidth columns, the first line
// after `first`, the others after `indent`; each line ends in a line break.
// A word longer than a line stands alone on its line.
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

std::string CommandLine(const MacroReference& macro) {
  std::string line = "lintrel run --sample";
  for (std::string_view option : macro.example.options) line += " " + ShellWord(option);
  line += " ";
  line += macro.name;
  for (std::string_view parameter : macro.example.parameters) line += " " + ShellWord(parameter);
  return line;
}

bool HasLineBreakBytes(std::string_view output) {
  return output.find_first_of("\r\n") != std::string_view::npos;
}

// The example's output as lines to show: CR, LF, tab and backslash written
// as \r, \n, \t and \\, and a shown line ending after each LF.
std::vector<std::string> ShownOutput(std::string_view output) {
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
    out += "**Errors**, " + std::string(kErrorsNote) + ":\n\n| Error | When |\n|---|---|\n";
    for (const MacroError& error : macro.errors) {
      out += "| `" + std::string(error.text) + "` | " + MarkdownText(error.when) + " |\n";
    }
    out += "\n";
  }
  out += "**" + MarkdownText(ExampleHeading(macro)) + "**\n\n```\n$ " + CommandLine(macro) + "\n";
  for (const std::string& line : ShownOutput(macro.example.output)) out += line + "\n";
  out += "```\n";
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
    out += ".IP\nErrors, " + std::string(kErrorsNote) + ":\n.RS\n";
    for (const MacroError& error : macro.errors) {
      out += ".TP\n" + RoffVerbatim("\"" + std::string(error.text) + "\"") + "\n";
      out += RoffParagraph(error.when);
    }
    out += ".RE\n";
  }
  out += ".IP\n" + RoffText(ExampleHeading(macro)) + "\n.RS\n.in +4n\n.nf\n";
  out += RoffVerbatim("$ " + CommandLine(macro)) + "\n";
  for (const std::string& line : ShownOutput(macro.example.output)) {
    out += RoffVerbatim(line) + "\n";
  }
  out += ".fi\n.in\n.RE\n";
  return out;
}

}  // namespace

std::string MacroHelp(const MacroReference& macro) {
  std::string out = Wrap(std::string(macro.name) + " - " + std::string(macro.summary), "", "  ");
  out += "\n" + Wrap(macro.computes, "", "") + "\n";
  if (macro.parameters.empty()) {
    out += "Parameters: none.\n";
  } else {
    out += "Parameters:\n";
    for (const MacroParameter& parameter : macro.parameters) {
      out += "  " + ParameterLabel(parameter) + " " + std::string(parameter.name) +
             (parameter.number ? ", a number" : "") + "\n";
      out += Wrap(std::string(parameter.meaning) +
                      " When empty or missing: " + std::string(parameter.when_empty),
                  "      ", "      ");
    }
  }
  out += "\n" + Wrap("Result: " + std::string(macro.result), "", "") + "\n";
  if (macro.errors.empty()) {
    out += "Errors: none.\n";
  } else {
    out += "Errors, " + std::string(kErrorsNote) + ":\n";
    for (const MacroError& error : macro.errors) {
      out += "  \"" + std::string(error.text) + "\"\n";
      out += Wrap(error.when, "      ", "      ");
    }
  }
  out += "\n" + ExampleHeading(macro) + "\n  $ " + CommandLine(macro) + "\n";
  for (const std::string& line : ShownOutput(macro.example.output)) out += "  " + line + "\n";
  return out;
}

std::string MacroReferenceMarkdown() {
  std::string out =
      "# The macros of the Lintrel plug-in\n\n<!-- " + std::string(kGeneratedNote) + " -->\n\n";
  for (std::string_view paragraph : kIntroduction) {
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

std::string MacroReferenceManual() {
  std::string out = ".\\\" " + std::string(kGeneratedNote) + "\n.SH MACROS\n";
  bool first = true;
  for (std::string_view paragraph : kIntroduction) {
    if (!first) out += ".PP\n";
    first = false;
    out += RoffParagraph(paragraph);
  }
  for (const MacroReference& macro : MacroReferences()) out += ManualEntry(macro);
  return out;
}

}  // namespace lintrel::cli
