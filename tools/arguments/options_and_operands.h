// The command line of `lintrel` cut into the options given, each with its
// values, and the operands; and which commands take which option. Private
// to the reading of the command line.
#ifndef LINTREL_TOOLS_ARGUMENTS_OPTIONS_AND_OPERANDS_H_
#define LINTREL_TOOLS_ARGUMENTS_OPTIONS_AND_OPERANDS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/options.h"

namespace lintrel::cli {

enum class Option {
  kInput,
  kMessage,
  kMbox,
  kFilesFrom,
  kNull,
  kSample,
  kRecursive,
  kHeaders,
  kBody,
  kRawBody,
  kParamFile,
  kFormat,
  kNow,
  kLocale,
  kOutputEncoding,
  kDll,
  kOutput,
  kJobs,
  kHelp,
  kVersion
};

// An option as written, with its values.
struct GivenOption {
  Option option;
  std::string written;  // "--input" or "-i"
  std::vector<std::string> values;
};

struct OptionsAndOperands {
  std::vector<GivenOption> options;
  std::vector<std::string_view> operands;
};

// Separates options from operands, taking each option's values. Raises
// UsageError for an option that no command has, a value that is missing,
// or one given to an option that takes none.
OptionsAndOperands SplitArguments(const std::vector<std::string_view>& arguments);

// Whether `command` takes `option`; nullopt is the command line without a
// command, which takes --version.
bool TakesOption(std::optional<Command> command, Option option);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_OPTIONS_AND_OPERANDS_H_
