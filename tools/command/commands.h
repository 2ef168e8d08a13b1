// The commands of `lintrel`, each answering its exit status. Failures of the
// command itself raise CliError.
#ifndef LINTREL_TOOLS_COMMAND_COMMANDS_H_
#define LINTREL_TOOLS_COMMAND_COMMANDS_H_

#include "tools/arguments/options.h"
#include "tools/run/plugin.h"

namespace lintrel::cli {

// `run`: MACRO on each message of the inputs. On a single message and in
// the text format, the result's bytes and 0, or "lintrel: MESSAGE" on
// standard error and 1 when the macro raises. Otherwise one record per
// message, and 0 when every message succeeded and every input could be
// read, 1 otherwise. A name that is not a macro of the plug-in gets the
// plug-in's answer, is named on standard error, and gives 1.
int RunCommand(const Options& options, const Plugin& plugin);

// `report`: the report on each message of the inputs. 0 when every input
// could be read, 1 otherwise; a macro's error shows in its line.
int ReportCommand(const Options& options, const Plugin& plugin);

// `list`: the plug-in's macro names, each with its summary.
int ListCommand(const Plugin& plugin);

// `locales`: each Windows locale that --locale takes, a line each: its name,
// identifier and code page, and a delivery date rendered in it, in UTF-8.
int LocalesCommand();

// `help [MACRO]`: the help, or the reference of one macro.
int HelpCommand(const Options& options);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMAND_COMMANDS_H_
