// Reading the files that a command line names; "-" is standard input.
#ifndef LINTREL_TOOLS_INPUT_FILE_H_
#define LINTREL_TOOLS_INPUT_FILE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "plugin/data_provider.h"
#include "tools/byte_buffer.h"

namespace lintrel::cli {

// The largest input the command accepts: the largest item the plug-in
// fetches, so that a larger file is a clear input error, not a macro's
// "Out of memory".
inline constexpr size_t kMaxInputBytes = kMaxItemLength;

// An open input. Failures raise InputError with the file's name and the
// system's reason, e.g. "notes.eml: No such file or directory".
class InputFile {
 public:
  // Opens `path`, or takes standard input for "-". A folder raises
  // "NAME: Is a directory".
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to `capacity` bytes into `buffer` from the current position;
  // 0 at the end of the input.
  size_t Read(char* buffer, size_t capacity);

  // The size of a regular file, nullopt for standard input, a pipe or a
  // device, which can only be read from the front.
  std::optional<uint64_t> RegularSize() const { return regular_size_; }

  // Reads exactly `n` bytes at `offset` of a regular file, leaving the
  // current position alone. A file that has become shorter raises
  // "NAME: changed while it was read".
  void ReadAt(uint64_t offset, char* buffer, size_t n) const;

  // The name used in messages: the path, or "standard input".
  const std::string& name() const { return name_; }

 private:
  int fd_ = -1;
  bool owned_ = false;
  std::optional<uint64_t> regular_size_;
  std::string name_;
};

// Raises InputError "NAME: larger than LIMIT bytes".
[[noreturn]] void RaiseTooLarge(const std::string& name, size_t limit);

// The whole of `path` ("-" for standard input). More than `limit` bytes
// raise InputError "NAME: larger than LIMIT bytes" without reading further.
ByteBuffer ReadWholeInput(const std::string& path, size_t limit = kMaxInputBytes);

// Reads the rest of `file` onto the end of `buffer`, which then holds more
// than `limit` bytes only when the input is larger than that; the caller
// reports it.
void ReadRest(InputFile& file, ByteBuffer& buffer, size_t limit);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUT_FILE_H_
