#include "tools/arguments/help.h"

namespace lintrel::cli {
namespace {

constexpr std::string_view kHelp =
    "\n"
    "Runs the macros of the Lintrel plug-in the way the e-mail client does.\n"
    "\n"
    "run       runs MACRO on each message. On one message it prints exactly the\n"
    "          result's bytes, nothing added. P0 to P3 are the macro's parameters.\n"
    "report    runs every macro of `lintrel list` once on each message, its\n"
    "          parameters written beside its name: \"CALL: result\", later lines\n"
    "          indented by two blanks, \"CALL: error: MESSAGE\" for a failure.\n"
    "          KORKILLCITE and KORCITE work on the message's quote (its lines from\n"
    "          the first to the last that begins with \">\"), KORMKLINK on its subject.\n"
    "list      prints the plug-in's macro names, each with a one-line summary.\n"
    "locales   prints the Windows locales, each with its identifier, its ANSI code\n"
    "          page and a delivery date rendered in it (in UTF-8).\n"
    "help MACRO  what MACRO computes, its parameters and their defaults, its\n"
    "          result, its errors and an example.\n"
    "\n"
    "Options may stand anywhere before \"--\"; a value follows its option as the\n"
    "next argument or after \"=\" (--format=jsonl). Arguments that begin with \"-\"\n"
    "go after \"--\": lintrel run KORCITE -- \"\" \"[...]\" -1.\n"
    "\n"
    "--input PATH, -i PATH  a message file, an mbox file (a file that begins with\n"
    "                   \"From \"), a Maildir (a folder with cur/: the files of cur/\n"
    "                   and new/) or a folder of message files (in name order; \".\"\n"
    "                   files left out). \"-\" is standard input.\n"
    "--message FILE     a message file, whatever it begins with: the header block is\n"
    "                   everything before the first empty line, the body the rest.\n"
    "--mbox FILE        an mbox file, whatever it begins with.\n"
    "--files-from FILE  the inputs are the paths FILE lists, one a line (\"-\" reads\n"
    "                   the list from standard input); -0, --null: NUL-separated.\n"
    "--recursive, -r    folders inside the folders given are read as well, each once.\n"
    "--sample           the built-in sample message. Without any input, standard\n"
    "                   input is read when it is not a terminal; on a terminal, the\n"
    "                   built-in sample is used.\n"
    "--headers FILE     the header block verbatim (the body is then empty unless given).\n"
    "--body FILE        the body verbatim (the header block is then empty unless given).\n"
    "--raw-body         the body is every byte after the header block, as it stands,\n"
    "                   instead of the text a client shows: the message's text part\n"
    "                   (plain, else HTML), its transfer encoding undone (base64,\n"
    "                   quoted-printable), its charset converted into the code page.\n"
    "--param-file N FILE  parameter N (0 to 3) is the bytes of FILE instead.\n"
    "--format FORMAT    the output over several messages (one mbox file, several\n"
    "                   inputs, or folders): tsv (run's default) has a line per message,\n"
    "                   \"SOURCE<tab>INDEX<tab>RESULT\" (\"INDEX<tab>RESULT\" over one mbox\n"
    "                   file), with backslash, tab, CR and LF written as \\\\, \\t, \\r and\n"
    "                   \\n and \"ERROR: MESSAGE\" for a failure; jsonl has a JSON object\n"
    "                   per message: source, index (in an mbox file), message_id, and\n"
    "                   result or error (report: a field per macro); text has\n"
    "                   \"SOURCE[#INDEX]: result\" (report: a report per message).\n"
    "                   Bytes that are not UTF-8 are written in JSON as \\udcXX; other\n"
    "                   control bytes in a SOURCE as \\xXX.\n"
    "--output FILE, -o FILE  write to FILE, created or emptied first, instead of\n"
    "                   standard output.\n"
    "--jobs N, -j N     read and run messages on N threads (default: one per\n"
    "                   processor); the output is the same for every N.\n"
    "--now TIME         the UTC clock for KORREPLYTIME: YYYY-MM-DDTHH:MM:SS[.mmm]Z.\n";

constexpr std::string_view kExitHelp =
    "\n"
    "A progress line goes to standard error, when that is a terminal, over several\n"
    "messages. Exit status: 0 on success; 1 when a macro fails or MACRO is not one\n"
    "of the plug-in's (run), or a file among the inputs cannot be read (named on\n"
    "standard error; the run goes on); 2 for a usage error, an input named on the\n"
    "command line that cannot be read, or failed output; 3 when the plug-in breaks\n"
    "its contract with the host, or for an internal error (\"lintrel: internal\n"
    "error: ...\").\n";

}  // namespace

std::string UsageText() {
  const std::string option(kPlatformUsageOption);
  return "usage: lintrel run [INPUT... | --headers FILE --body FILE] [--param-file N FILE]...\n"
         "                   [--format text|tsv|jsonl] [--output FILE] [--jobs N]\n"
         "                   [--recursive] [--raw-body] [--now TIME] " +
         option +
         "\n"
         "                   MACRO [P0 [P1 [P2 [P3]]]]\n"
         "       lintrel report [INPUT...] [--format text|jsonl] [--output FILE] [--jobs N]\n"
         "                      [--recursive] [--raw-body] [--now TIME] " +
         option +
         "\n"
         "       lintrel list\n"
         "       lintrel locales\n"
         "       lintrel help [MACRO]\n"
         "       lintrel --help | --version\n"
         "INPUT is --input PATH (-i PATH), --message FILE, --mbox FILE, --files-from\n"
         "FILE [-0] or --sample, as often as needed.\n";
}

std::string HelpText() {
  return UsageText() + std::string(kHelp) + std::string(kPlatformHelp) + std::string(kExitHelp);
}

}  // namespace lintrel::cli
