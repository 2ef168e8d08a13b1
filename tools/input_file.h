// Reading the files that a command line names; "-" is standard input.
#ifndef LINTREL_TOOLS_INPUT_FILE_H_
#define LINTREL_TOOLS_INPUT_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "plugin/data_provider.h"
#include "tools/byte_buffer.h"

namespace lintrel::cli {

// The largest input the command accepts: the largest item the plug-in
// fetches, so that a larger file is a clear input error, not a macro's
// "Out of memory".
inline constexpr size_t kMaxInputBytes = kMaxItemLength;

// An open input. Failures raise CliError with the file's name and the
// system's reason, e.g. "notes.eml: No such file or directory".
class InputFile {
 public:
  // Opens `path`, or takes standard input for "-".
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to `capacity` bytes into `buffer`; 0 at the end of the input.
  size_t Read(char* buffer, size_t capacity);

  // The name used in messages: the path, or "standard input".
  const std::string& name() const { return name_; }

 private:
  friend ByteBuffer ReadWholeInput(const std::string& path, size_t limit);

  int fd_ = -1;
  bool owned_ = false;
  std::string name_;
};

// The whole of `path` ("-" for standard input). More than `limit` bytes
// raise CliError "NAME: larger than LIMIT bytes" without reading further.
ByteBuffer ReadWholeInput(const std::string& path, size_t limit = kMaxInputBytes);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUT_FILE_H_
