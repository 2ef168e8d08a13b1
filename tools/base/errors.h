// The command's own failures, as opposed to errors that a macro raises, and
// the exit statuses they end the command with.
#ifndef LINTREL_TOOLS_BASE_ERRORS_H_
#define LINTREL_TOOLS_BASE_ERRORS_H_

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace lintrel::cli {

inline constexpr int kExitSuccess = 0;
// A macro failed on some message, or a file found among the inputs could
// not be read.
inline constexpr int kExitFailed = 1;
// A usage error, an input named on the command line that cannot be read, or
// output that cannot be written.
inline constexpr int kExitUsage = 2;
// The plug-in broke its contract with the host, or the command met a fault
// of its own.
inline constexpr int kExitInternal = 3;

// An input that cannot be read, output that cannot be written, or an option
// this build cannot honour. Reported as "lintrel: MESSAGE", exit status 2.
class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "PATH: REASON" for an input that cannot be read: a run over several
// messages reports it and goes on with the next. The path is kept apart, to
// be escaped where it is shown.
class InputError : public CliError {
 public:
  InputError(std::string path, std::string reason)
      : CliError(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

  // The reason being the system's text for errno value `error`.
  static InputError System(std::string path, int error) {
    return InputError(std::move(path), std::strerror(error));
  }

  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// A command line that does not fit. Reported with the short usage.
class UsageError : public CliError {
 public:
  using CliError::CliError;
};

// The plug-in broke its contract with the host: it raised something other
// than its own error, or did not give back the references it took. Reported
// as "lintrel: internal error: MESSAGE", exit status 3.
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

#endif  // LINTREL_TOOLS_BASE_ERRORS_H_
