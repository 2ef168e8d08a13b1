// The commands of `lintrel`, each answering its exit status. Failures of the
// command itself raise CliError (exit status 2).
#ifndef LINTREL_TOOLS_COMMANDS_H_
#define LINTREL_TOOLS_COMMANDS_H_

#include "tools/arguments.h"
#include "tools/plugin.h"

namespace lintrel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitMacroFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPluginFault = 3;

// `run`: MACRO on each message of the inputs. On a single message and in
// the text format, the result's bytes on standard output and 0, or
// "lintrel: MESSAGE" on standard error and 1 when the macro raises.
// Otherwise one record per message (see RecordWriter; tsv unless another
// format is asked for), and 0 when every message succeeded and every input
// could be read, 1 otherwise; a file in a folder that cannot be read is
// named on standard error and the run goes on. A progress line goes to
// standard error when that is a terminal.
int RunCommand(const Options& options, const Plugin& plugin);

// `report`: the report on each message of the inputs, or on the built-in
// sample. 0 when every macro succeeded and every input could be read, 1
// otherwise.
int ReportCommand(const Options& options, const Plugin& plugin);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMANDS_H_
