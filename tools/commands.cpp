#include "tools/commands.h"

#include "tools/inputs.h"
#include "tools/output.h"
#include "tools/report.h"

namespace lintrel::cli {

int RunOnMessage(const Options& options, const MacroEnvironment& environment) {
  MessageInput message;
  ReadMessageInput(options, message);
  ParameterInput parameters;
  ReadParameterInput(options, parameters);
  const MacroOutcome outcome =
      RunMacro(options.macro, message.parts, parameters.parameters, environment);
  if (!outcome.ok) {
    WriteError("lintrel: " + outcome.text + "\n");
    return kExitMacroFailed;
  }
  WriteOut(outcome.text);
  return kExitSuccess;
}

int RunReport(const Options& options, const MacroEnvironment& environment) {
  MessageInput message;
  ReadMessageInput(options, message);
  const Report report = MakeReport(message.parts, environment);
  WriteOut(report.text);
  return report.all_succeeded ? kExitSuccess : kExitMacroFailed;
}

}  // namespace lintrel::cli
