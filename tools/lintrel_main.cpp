// lintrel: runs the plug-in's macros over message files and mailboxes, playing
// the part of the e-mail client.
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments.h"
#include "tools/cli_error.h"
#include "tools/commands.h"
#include "tools/output.h"
#include "tools/plugin.h"
#include "tools/system_files.h"

namespace lintrel::cli {
namespace {

// Where the regional settings of the date rendering come from differs: a
// POSIX locale named on the command line on Linux, the Windows user's own
// settings, which the plug-in's DLL reads, on Windows.
#if defined(_WIN32)
#define LINTREL_PLATFORM_OPTION "[--dll PATH]"
constexpr std::string_view kPlatformHelp =
    "--dll PATH         the plug-in's DLL, by default KOR_LINTREL.TBP beside\n"
    "                   lintrel.exe; before the command, it serves list and\n"
    "                   --version too. The date rendering follows the regional\n"
    "                   settings of the Windows user, which the plug-in reads itself:\n"
    "                   there is no --locale on Windows.\n";
#else
#define LINTREL_PLATFORM_OPTION "[--locale NAME]"
constexpr std::string_view kPlatformHelp =
    "--locale NAME      regional settings from a POSIX locale for the date rendering.\n";
#endif

constexpr std::string_view kUsage =
    "usage: lintrel run [INPUT... | --headers FILE --body FILE] [--param-file N FILE]...\n"
    "                   [--format text|tsv|jsonl] [--recursive] [--now "
    "TIME] " LINTREL_PLATFORM_OPTION
    "\n"
    "                   MACRO [P0 [P1 [P2 [P3]]]]\n"
    "       lintrel report [INPUT...] [--format text|jsonl] [--recursive] [--now TIME]\n"
    "                      " LINTREL_PLATFORM_OPTION
    "\n"
    "       lintrel list\n"
    "       lintrel --help | --version\n"
    "INPUT is --input PATH (-i PATH), --message FILE or --mbox FILE, as often as needed.\n";

constexpr std::string_view kHelp =
    "\n"
    "Runs the macros of the Lintrel plug-in the way the e-mail client does.\n"
    "\n"
    "run       runs MACRO on each message. On one message it prints exactly the\n"
    "          result's bytes, nothing added. P0 to P3 are the macro's parameters.\n"
    "report    runs every macro of `lintrel list` once on each message (on a built-in\n"
    "          sample without inputs), its parameters written beside its name:\n"
    "          \"CALL: result\", later lines indented by two blanks, \"CALL: error: MESSAGE\"\n"
    "          for a failure. KORKILLCITE and KORCITE work on the message's quote (its\n"
    "          lines from the first to the last that begins with \">\"), KORMKLINK on\n"
    "          its subject.\n"
    "list      prints the plug-in's macro names, one per line.\n"
    "\n"
    "--input PATH, -i PATH  a message file, an mbox file (a file that begins with\n"
    "                   \"From \"), a Maildir (its cur/ and new/ files) or a folder of\n"
    "                   message files (in name order; \".\" files left out). \"-\" is\n"
    "                   standard input. Without inputs, a built-in sample message.\n"
    "--message FILE     a message file, whatever it begins with: the header block is\n"
    "                   everything before the first empty line, the body the rest.\n"
    "--mbox FILE        an mbox file, read as a stream.\n"
    "--recursive        folders inside the folders given are read as well.\n"
    "--headers FILE     the header block verbatim (the body is then empty unless given).\n"
    "--body FILE        the body verbatim (the header block is then empty unless given).\n"
    "--param-file N FILE  parameter N (0 to 3) is the bytes of FILE instead.\n"
    "--format FORMAT    the output over several messages (one mbox file, several\n"
    "                   inputs, or folders): tsv (run's default) has a line per message,\n"
    "                   \"SOURCE<tab>INDEX<tab>RESULT\" (\"INDEX<tab>RESULT\" over one mbox\n"
    "                   file), with backslash, tab, CR and LF written as \\\\, \\t, \\r and\n"
    "                   \\n and \"ERROR: MESSAGE\" for a failure; jsonl has a JSON object\n"
    "                   per message: source, index (in an mbox file), message_id, and\n"
    "                   result or error (report: a field per macro); text has\n"
    "                   \"SOURCE[#INDEX]: result\" (report: a report per message).\n"
    "                   Bytes that are not UTF-8 are written in JSON as \\udcXX.\n"
    "--now TIME         the UTC clock for KORREPLYTIME: YYYY-MM-DDTHH:MM:SS[.mmm]Z.\n";

constexpr std::string_view kExitHelp =
    "\n"
    "A progress line goes to standard error, when that is a terminal, over several\n"
    "messages. Exit status: 0 on success; 1 when a macro fails on some message (on\n"
    "one message: \"lintrel: MESSAGE\" on standard error) or a file in a folder cannot\n"
    "be read (named on standard error; the run goes on); 2 for a usage error, an\n"
    "input named on the command line that cannot be read, or failed output; 3 when\n"
    "the plug-in breaks its contract with the host (\"lintrel: internal error: ...\").\n";

// The version, then the plug-in's name and its information text, with
// LF line breaks.
std::string VersionText(const PluginIdentity& identity) {
  std::string text = identity.version + "\n" + identity.name + "\n" + identity.information + "\n";
  std::erase(text, '\r');
  return text;
}

int Main(const std::vector<std::string_view>& arguments) {
  try {
    const Options options = ParseArguments(arguments);
    if (options.command == Command::kHelp) {
      WriteOut(std::string(kUsage) + std::string(kHelp) + std::string(kPlatformHelp) +
               std::string(kExitHelp));
      return kExitSuccess;
    }
    const Plugin plugin(options);
    switch (options.command) {
      case Command::kVersion:
        WriteOut(VersionText(plugin.identity()));
        return kExitSuccess;
      case Command::kList: {
        std::string names = plugin.identity().macro_list;
        std::erase(names, '\r');
        WriteOut(names);
        return kExitSuccess;
      }
      case Command::kReport:
        return ReportCommand(options, plugin);
      default:
        return RunCommand(options, plugin);
    }
  } catch (const UsageError& error) {
    WriteError("lintrel: " + std::string(error.what()) + "\n" + std::string(kUsage));
  } catch (const PluginFault& error) {
    WriteError("lintrel: internal error: " + std::string(error.what()) + "\n");
    return kExitPluginFault;
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
  lintrel::cli::UseBinaryStandardStreams();
  return lintrel::cli::Main(std::vector<std::string_view>(argv + 1, argv + argc));
}
