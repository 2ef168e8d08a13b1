// The commands of `lintrel`, each answering its exit status. Failures of the
// command itself raise CliError (exit status 2).
#ifndef LINTREL_TOOLS_COMMANDS_H_
#define LINTREL_TOOLS_COMMANDS_H_

#include "plugin/macro_call.h"
#include "tools/arguments.h"

namespace lintrel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitMacroFailed = 1;
inline constexpr int kExitUsage = 2;

// `run` on one message: the result's bytes on standard output and 0, or
// "lintrel: MESSAGE" on standard error and 1 when the macro raises.
int RunOnMessage(const Options& options, const MacroEnvironment& environment);

// `run --mbox`: one line "NUMBER<tab>RESULT" per message, the result
// escaped; "ERROR: MESSAGE" in place of a result that was raised. 0 when every
// message succeeded, 1 otherwise. A progress line goes to standard error
// when that is a terminal.
int RunOnMailbox(const Options& options, const MacroEnvironment& environment);

// `report`: the report on the given message or the built-in sample. 0 when
// every macro succeeded, 1 otherwise.
int RunReport(const Options& options, const MacroEnvironment& environment);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMANDS_H_
