// The command line of `lintrel`.
#ifndef LINTREL_TOOLS_ARGUMENTS_H_
#define LINTREL_TOOLS_ARGUMENTS_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/calendar.h"

namespace lintrel::cli {

enum class Command { kRun, kReport, kList, kHelp, kVersion };

// What an input holds: found out from the input itself, or forced by the
// option that named it.
enum class InputKind { kDetect, kMessage, kMbox };

// One input of `run` or `report`, in command-line order.
struct Input {
  InputKind kind = InputKind::kDetect;
  // A file or folder; "-" is standard input.
  std::string path;
  // The option that named it ("--input", "-i", "--message" or "--mbox").
  std::string option;
};

enum class Format { kText, kTsv, kJsonl };

struct Options {
  Command command = Command::kHelp;
  std::vector<Input> inputs;
  // The header block and body verbatim, by file name ("-" is standard
  // input); they exclude the inputs above.
  std::optional<std::string> headers;
  std::optional<std::string> body;
  bool recursive = false;
  // The output format; nullopt leaves the choice to the command.
  std::optional<Format> format;
  std::array<std::optional<std::string>, 4> parameter_files;
  std::optional<DateTimeParts> now;
  std::optional<std::string> locale;
  // The plug-in's DLL (Windows).
  std::optional<std::string> dll;
  std::string macro;
  // P0 and on as given after the macro name; at most four.
  std::vector<std::string> parameters;
};

// Reads the arguments that follow the program's name. Options come before
// the macro name; "--" ends them. Raises UsageError, naming the fault, for a
// command line that does not fit: unknown or repeated options, a missing
// value, a bad "--now" time or format, inputs that exclude each other,
// standard input named twice, more than four parameters.
Options ParseArguments(const std::vector<std::string_view>& arguments);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_H_
