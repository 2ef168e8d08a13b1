// The reference of the plug-in's macros for template authors: one table from
// which `lintrel help MACRO`, the summaries of `lintrel list`, docs/macros.md
// and the MACROS section of the manual page are all made, so that they cannot
// disagree. Standard library only.
//
// In the table's prose a text between double quotes is literal: the manual
// page keeps its hyphens as hyphens and docs/macros.md shows it as code. So
// double quotes always come in pairs there, and a double quote as a
// character is written out in words.
#ifndef LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_H_
#define LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_H_

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lintrel::cli {

// One parameter that a macro reads.
struct MacroParameter {
  int position = 0;  // 0 to 3, written P0 to P3
  std::string_view name;
  std::string_view meaning;  // a sentence
  // What the macro does when the parameter is empty or missing (the two are
  // the same to every macro): a phrase that follows "When empty or missing:".
  std::string_view when_empty;
  // Read as a whole number rather than as text.
  bool number = false;
};

// An error that a macro can raise.
struct MacroError {
  std::string_view text;  // as the plug-in writes it; a capital word stands for a part that varies
  std::string_view when;  // a sentence
};

// One run on the built-in sample message: `lintrel run --sample OPTIONS
// MACRO PARAMETERS` prints exactly `output`.
struct MacroExample {
  std::vector<std::string_view> options = {};
  std::vector<std::string_view> parameters = {};
  std::string_view output;
};

struct MacroReference {
  std::string_view name;
  std::string_view summary;   // at most kMacroSummaryLength bytes, no final full stop
  std::string_view computes;  // a paragraph: what is read and how
  std::vector<MacroParameter> parameters = {};  // by position; empty when it reads none
  std::string_view result;                      // a paragraph
  std::vector<MacroError> errors = {};          // empty when it raises none
  MacroExample example;
};

// The longest summary that fits beside a name in `lintrel list`.
inline constexpr size_t kMacroSummaryLength = 56;

// The lines of the manual page's source between which MacroReferenceManual()
// stands.
inline constexpr std::string_view kManualSectionBegin = ".\\\" macros: begin\n";
inline constexpr std::string_view kManualSectionEnd = ".\\\" macros: end\n";

// Every macro of the plug-in's macro list, in the list's order.
std::span<const MacroReference> MacroReferences();

// The macro called `name`, matched as the plug-in matches names: ASCII
// letters in either case, nothing trimmed. nullptr when there is none.
const MacroReference* FindMacroReference(std::string_view name);

// The plain text of `lintrel help MACRO`: what the macro computes, its
// parameters, result and errors, and last the example's command line and
// output. No line is longer than 79 columns.
std::string MacroHelp(const MacroReference& macro);

// The whole of docs/macros.md: an introduction, an index and a section per
// macro.
std::string MacroReferenceMarkdown();

// The MACROS section of the manual page, in roff: what stands between
// kManualSectionBegin and kManualSectionEnd in docs/lintrel.1.in.
std::string MacroReferenceManual();

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_H_
