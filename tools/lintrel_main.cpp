// lintrel: runs the plug-in's macros over message files and mailboxes, playing
// the part of the e-mail client.
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/identity.h"
#include "tools/arguments.h"
#include "tools/cli_error.h"
#include "tools/commands.h"
#include "tools/output.h"
#include "tools/posix_locale.h"

namespace lintrel::cli {
namespace {

constexpr std::string_view kUsage =
    "usage: lintrel run [--message FILE | --headers FILE --body FILE] [--param-file N FILE]...\n"
    "                   [--now TIME] [--locale NAME] MACRO [P0 [P1 [P2 [P3]]]]\n"
    "       lintrel run --mbox FILE [--param-file N FILE]... [--now TIME] [--locale NAME]\n"
    "                   MACRO [P0 [P1 [P2 [P3]]]]\n"
    "       lintrel report [--message FILE] [--now TIME] [--locale NAME]\n"
    "       lintrel list\n"
    "       lintrel --help | --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Runs the macros of the Lintrel plug-in the way the e-mail client does.\n"
    "\n"
    "run       runs MACRO once and prints exactly the result's bytes, nothing added.\n"
    "          P0 to P3 are the macro's parameters, as bytes.\n"
    "run --mbox  runs MACRO on every message of an mbox file and prints one line per\n"
    "          message: its number, a tab, and the result with backslash, tab, CR and LF\n"
    "          written as \\\\, \\t, \\r and \\n (\"ERROR: MESSAGE\" when the macro fails).\n"
    "report    runs every macro that reads the message, with default parameters, in the\n"
    "          order of `lintrel list`: KORDELIVERYTIME, KORDELIVERYTODATE, KORCHARSET,\n"
    "          KORMAILER, KORREPLYTIME, KORGETLINKS, KORCITE and KORGETHEADER (with the\n"
    "          field name \"Subject:\"). One \"MACRO: result\" line each; later lines of a\n"
    "          result follow indented by two blanks; a failure reads \"MACRO: error: MESSAGE\".\n"
    "list      prints the plug-in's macro names, one per line.\n"
    "\n"
    "--message FILE     an RFC 5322 message: the header block is everything before the\n"
    "                   first empty line, the body everything after it. \"-\" reads\n"
    "                   standard input. Without a message option, a built-in sample.\n"
    "--headers FILE     the header block verbatim (the body is then empty unless given).\n"
    "--body FILE        the body verbatim (the header block is then empty unless given).\n"
    "--mbox FILE        an mbox file (\"-\" for standard input), read as a stream.\n"
    "--param-file N FILE  parameter N (0 to 3) is the bytes of FILE instead.\n"
    "--now TIME         the UTC clock for KORREPLYTIME: YYYY-MM-DDTHH:MM:SS[.mmm]Z.\n"
    "--locale NAME      regional settings from a POSIX locale for the date rendering.\n"
    "\n"
    "Exit status: 0 on success; 1 when a macro fails (for --mbox and report: on any\n"
    "message or macro); 2 for a usage error or a file that cannot be read.\n";

int Main(const std::vector<std::string_view>& arguments) {
  try {
    const Options options = ParseArguments(arguments);
    switch (options.command) {
      case Command::kHelp:
        WriteOut(std::string(kUsage) + std::string(kHelp));
        return kExitSuccess;
      case Command::kVersion:
        WriteOut(std::string(kVersion) + "\n");
        return kExitSuccess;
      case Command::kList: {
        std::string names(kMacroList);
        std::erase(names, '\r');
        WriteOut(names);
        return kExitSuccess;
      }
      case Command::kRun:
      case Command::kReport:
        break;
    }
    MacroEnvironment environment;
    if (options.now) {
      environment.read_clock = [now = *options.now] { return now; };
    }
    std::optional<RegionalSettings> locale_settings;
    if (options.locale) {
      locale_settings = LoadPosixLocaleSettings(*options.locale);
      environment.settings = &*locale_settings;
    }
    if (options.command == Command::kReport) return RunReport(options, environment);
    return options.mbox ? RunOnMailbox(options, environment) : RunOnMessage(options, environment);
  } catch (const UsageError& error) {
    WriteError("lintrel: " + std::string(error.what()) + "\n" + std::string(kUsage));
  } catch (const CliError& error) {
    WriteError("lintrel: " + std::string(error.what()) + "\n");
  } catch (const std::bad_alloc&) {
    WriteError("lintrel: out of memory\n");
  }
  return kExitUsage;
}

}  // namespace
}  // namespace lintrel::cli

int main(int argc, char** argv) {
  return lintrel::cli::Main(std::vector<std::string_view>(argv + 1, argv + argc));
}
