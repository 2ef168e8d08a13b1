// Writing the command's output.
#ifndef LINTREL_TOOLS_OUTPUT_H_
#define LINTREL_TOOLS_OUTPUT_H_

#include <sys/types.h>

#include <optional>
#include <string_view>

namespace lintrel::cli {

// Writes all of `bytes` to standard output; raises CliError
// "standard output: REASON" when that fails, so that a full disk is not
// reported as success.
void WriteOut(std::string_view bytes);

// Writes `bytes` to standard error; failures there cannot be reported.
void WriteError(std::string_view bytes);

// Standard output as the place of one macro's result, when it is a regular
// file: the plug-in's stores are written there as they come, each in place
// of the one before, so that the command holds no copy of a large result.
class ResultFile {
 public:
  // Standard output, when it is a regular file that ends where the output
  // begins and is not opened for appending; nullopt otherwise.
  static std::optional<ResultFile> ForStandardOutput();

  // Writes `bytes` as the whole result, replacing what an earlier call
  // wrote; raises CliError "standard output: REASON" when that fails.
  void Write(std::string_view bytes);

  // Takes back what was written: the file ends where the output began.
  void Withdraw();

 private:
  explicit ResultFile(off_t start) : start_(start) {}
  off_t start_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_H_
