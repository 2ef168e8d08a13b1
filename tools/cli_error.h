// The command's own failures, as opposed to errors that a macro raises.
// Unless caught, they end the command with exit status 2 (3 for a
// PluginFault).
#ifndef LINTREL_TOOLS_CLI_ERROR_H_
#define LINTREL_TOOLS_CLI_ERROR_H_

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lintrel::cli {

// An input that cannot be read, output that cannot be written, or an option
// this build cannot honour. Reported as "lintrel: MESSAGE".
class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An input that cannot be read: a run over several messages reports it and
// goes on with the next.
class InputError : public CliError {
 public:
  using CliError::CliError;
};

// A command line that does not fit the interface. Reported as
// "lintrel: MESSAGE" followed by the short usage.
class UsageError : public CliError {
 public:
  using CliError::CliError;
};

// The plug-in broke its contract with the host: it raised something other
// than its own error, or did not give back the references it took. Reported
// as "lintrel: internal error: MESSAGE" with exit status 3.
class PluginFault : public CliError {
 public:
  using CliError::CliError;
};

// "SUBJECT: REASON", the reason being the system's text for errno value
// `error`, e.g. "notes.eml: No such file or directory".
inline std::string SystemReason(std::string_view subject, int error) {
  return std::string(subject) + ": " + std::strerror(error);
}

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_CLI_ERROR_H_
