// What the written forms of the macro reference (plain text, Markdown and
// roff) share: the common texts, wrapping, and the example shown as its
// command line and output. Private to the files that write those forms.
#ifndef LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_SHARED_H_
#define LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_SHARED_H_

#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/macro_reference.h"

namespace lintrel::cli {

inline constexpr std::string_view kGeneratedDocumentNote =
    "Made by lintrel_macro_docs from the table in tools/arguments/macro_reference.cpp: edit the "
    "table, not this text.";

// The introduction of docs/macros.md and of the manual page's section, one
// paragraph each.
inline constexpr std::string_view kReferenceIntroduction[] = {
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

inline constexpr std::string_view kMacroErrorsNote =
    "each of which ends the macro without a result";

// `text`'s words on lines of at most 79 columns, the first line
// after `first`, the others after `indent`; each line ends in a line break.
// A word longer than a line stands alone on its line.
std::string Wrap(std::string_view text, std::string_view first, std::string_view indent);

// "lintrel run --sample", the example's options, the macro's name and the
// example's parameters, each quoted as a POSIX shell needs it.
std::string ExampleCommandLine(const MacroReference& macro);

// The example's output as lines to show: CR, LF, tab and backslash written
// as \r, \n, \t and \\, and a shown line ending after each LF.
std::vector<std::string> ShownExampleOutput(std::string_view output);

// The line that introduces the example, which says how line breaks are
// shown when its output has any.
std::string ExampleHeading(const MacroReference& macro);

// "P0" to "P3".
std::string ParameterLabel(const MacroParameter& parameter);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_MACRO_REFERENCE_SHARED_H_
