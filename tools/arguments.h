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

struct Options {
  Command command = Command::kHelp;
  // Inputs by file name; "-" is standard input.
  std::optional<std::string> message;
  std::optional<std::string> headers;
  std::optional<std::string> body;
  std::optional<std::string> mbox;
  std::array<std::optional<std::string>, 4> parameter_files;
  std::optional<DateTimeParts> now;
  std::optional<std::string> locale;
  std::string macro;
  // P0 and on as given after the macro name; at most four.
  std::vector<std::string> parameters;
};

// Reads the arguments that follow the program's name. Options come before
// the macro name; "--" ends them. Raises UsageError, naming the fault, for a
// command line that does not fit: unknown or repeated options, a missing
// value, a bad "--now" time, inputs that exclude each other, standard input
// named twice, more than four parameters.
Options ParseArguments(const std::vector<std::string_view>& arguments);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_H_
