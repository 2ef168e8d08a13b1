// Writing the command's output.
#ifndef LINTREL_TOOLS_OUTPUT_WRITER_H_
#define LINTREL_TOOLS_OUTPUT_WRITER_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/base/system.h"
#include "tools/run/result_sink.h"

namespace lintrel::cli {

// Where the output goes: standard output, used as the shell gave it, or a
// file that the command opens itself (--output).
//
// Standard output may be a file description that other processes share
// (several runs started by xargs -P into one file): bytes are only ever
// written at its current position, never over earlier ones, and it is
// never truncated.
class Output {
 public:
  // Standard output, or `path` created or emptied. Raises CliError
  // "PATH: REASON" when the file cannot be opened, and UsageError when it is
  // one of the files `inputs` or standard input read as `standard_input`
  // (which must not be emptied before they are read). A `path` that is the
  // file standard output writes to already is written through standard
  // output, where the shell may have opened it to append.
  explicit Output(const std::optional<std::string>& path, const std::vector<FileId>& inputs = {},
                  std::optional<FileId> standard_input = std::nullopt);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Writes all of `bytes`; raises CliError "NAME: REASON" when that fails,
  // so that a full disk is not reported as success.
  void Write(std::string_view bytes);

  // For a regular file of the command's own only, while nothing has been
  // written to it: a sink that writes one result there as the plug-in stores
  // it, each store in place of the one before. Null otherwise.
  ResultSink* InPlaceResult();

  // Closes a file of the command's own; raises CliError when that fails,
  // as a late write error shows only then.
  void Close();

  // The identity of the file of the command's own, which is no input.
  std::optional<FileId> file_id() const { return owned_ ? id_ : std::nullopt; }

 private:
  class InPlace;
  int fd_;
  bool owned_ = false;
  std::optional<FileId> id_;
  std::string name_;
  std::unique_ptr<InPlace> in_place_;
};

// Writes `bytes` to standard error; failures there cannot be reported.
void WriteError(std::string_view bytes);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_WRITER_H_
