// An input file open for reading; "-" is standard input.
#ifndef LINTREL_TOOLS_INPUTS_INPUT_FILE_H_
#define LINTREL_TOOLS_INPUTS_INPUT_FILE_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/base/byte_buffer.h"
#include "tools/base/system.h"

namespace lintrel::cli {

// What an input was when it was listed.
enum class Listed {
  // A regular file: opened without waiting, and refused if it is no longer
  // one (a FIFO put in its place would otherwise block the run).
  kRegularFile,
  // Whatever a path named on the command line is (a pipe, a device, a
  // FIFO that a writer is yet to open): opened as it is.
  kAsNamed,
};

// Failures raise InputError with the file's name and the system's reason,
// e.g. "notes.eml: No such file or directory".
class InputFile {
 public:
  // Opens `path`, or takes standard input for "-"; within `folder`, when
  // given, by the name that begins at `name_at` of `path`. A folder raises
  // "NAME: Is a directory". The file views `path`, which must outlive it.
  InputFile(std::string_view path, Listed listed, const OpenFolder* folder = nullptr,
            size_t name_at = 0);

  // Opens `path` (not "-"), listed as a regular file, as above, and reads
  // its first bytes into `front`, as many as its capacity (at least 1). A
  // read that comes short ends the file, which then needs no fstat to be
  // sized. A folder, a FIFO or a device put in its place since it was
  // listed is refused ("not a regular file", or the system's reason), but a
  // device that reads short as a file does.
  InputFile(std::string_view path, ByteBuffer& front, const OpenFolder* folder = nullptr,
            size_t name_at = 0);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads up to `capacity` bytes into `buffer` from the current position;
  // 0 at the end of the input.
  size_t Read(char* buffer, size_t capacity);

  // Reads the rest of the input onto the end of `buffer`, refusing an input
  // that grows beyond the size limit without holding more than that.
  void ReadRest(ByteBuffer& buffer);

  // The size of a regular file, nullopt for standard input, a pipe or a
  // device, which can only be read from the front.
  std::optional<uint64_t> RegularSize() const { return regular_size_; }

  // Reads exactly `n` bytes at `offset` of a regular file; several threads
  // may do so at once. A file read so is not read with Read as well. A file
  // that has become shorter raises "NAME: changed while it was read".
  void ReadAt(uint64_t offset, char* buffer, size_t n) const;

  // The number of ReadFront and ReadAt calls so far, which tells a caller
  // whether the file was read again while something ran.
  uint64_t reads() const { return reads_.load(std::memory_order_relaxed); }

  // The name used in messages: the path, or "standard input".
  std::string_view name() const { return name_; }

 private:
  void Open(std::string_view path, Listed listed, const OpenFolder* folder, size_t name_at);
  // Reads the first bytes, and finds out the size from them or with fstat.
  size_t ReadFront(char* buffer, size_t capacity);

  int fd_ = -1;
  bool owned_ = false;
  std::optional<uint64_t> regular_size_;
  // Where the input begins in the file: standard input as it was given.
  uint64_t start_ = 0;
  std::string_view name_;
  mutable std::atomic<uint64_t> reads_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_INPUT_FILE_H_
