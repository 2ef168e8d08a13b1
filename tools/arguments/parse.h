// Reading the command line of `lintrel`.
#ifndef LINTREL_TOOLS_ARGUMENTS_PARSE_H_
#define LINTREL_TOOLS_ARGUMENTS_PARSE_H_

#include <string_view>
#include <vector>

#include "tools/arguments/options.h"

namespace lintrel::cli {

// Reads the arguments that follow the program's name, as getopt_long does:
// options anywhere before "--", long ones as "--name value" or
// "--name=value", short ones alone, grouped ("-0r") or with the value
// attached ("-iPATH"); "-" and everything after "--" are plain arguments.
// The first plain argument is the command; for run the next are MACRO and
// P0 to P3. Raises UsageError, naming the fault, for a command line that
// does not fit.
Options ParseArguments(const std::vector<std::string_view>& arguments);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_PARSE_H_
