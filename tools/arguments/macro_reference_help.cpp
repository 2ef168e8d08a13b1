// The plain text of `lintrel help MACRO`, wrapped to the width of a terminal.
#include <string>

#include "tools/arguments/macro_reference.h"
#include "tools/arguments/macro_reference_shared.h"

namespace lintrel::cli {

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
    out += "Errors, " + std::string(kMacroErrorsNote) + ":\n";
    for (const MacroError& error : macro.errors) {
      out += "  \"" + std::string(error.text) + "\"\n";
      out += Wrap(error.when, "      ", "      ");
    }
  }
  out += "\n" + ExampleHeading(macro) + "\n  $ " + ExampleCommandLine(macro) + "\n";
  for (const std::string& line : ShownExampleOutput(macro.example.output)) {
    out += "  " + line + "\n";
  }
  return out;
}

}  // namespace lintrel::cli
