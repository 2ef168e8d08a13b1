#include "tools/input_file.h"

#include <algorithm>
#include <cerrno>

#include "text/integer.h"
#include "tools/cli_error.h"
#include "tools/system_files.h"

namespace lintrel::cli {
namespace {

constexpr size_t kReadChunk = size_t{1} << 20;

InputError SystemError(const std::string& name, int error) {
  return InputError(SystemReason(name, error));
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  if (path == "-") {
    fd_ = STDIN_FILENO;
    name_ = "standard input";
  } else {
    name_ = path;
    fd_ = ::open(path.c_str(), kOpenForReading);
    if (fd_ < 0) {
      // Windows refuses to open a folder at all, where POSIX opens it and
      // says what it is below.
      const int error = errno;
      struct stat status;
      throw SystemError(
          name_, ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? EISDIR : error);
    }
    owned_ = true;
  }
  struct stat status;
  if (::fstat(fd_, &status) != 0) return;
  if (S_ISDIR(status.st_mode)) {
    if (owned_) ::close(fd_);
    throw SystemError(name_, EISDIR);
  }
  if (S_ISREG(status.st_mode)) regular_size_ = static_cast<uint64_t>(status.st_size);
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

size_t InputFile::Read(char* buffer, size_t capacity) {
  for (;;) {
    const int64_t n = ReadSome(fd_, buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) throw SystemError(name_, errno);
  }
}

void InputFile::ReadAt(uint64_t offset, char* buffer, size_t n) const {
  while (n > 0) {
    const int64_t got = ReadAtOffset(fd_, buffer, n, offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw SystemError(name_, errno);
    }
    if (got == 0) throw InputError(name_ + ": changed while it was read");
    buffer += got;
    n -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
}

void RaiseTooLarge(const std::string& name, size_t limit) {
  throw InputError(name + ": larger than " + IntText(static_cast<int64_t>(limit)) + " bytes");
}

void ReadRest(InputFile& file, ByteBuffer& buffer, size_t limit) {
  // A regular file is read into storage of its own size; anything else
  // grows as it arrives. One byte beyond the limit shows an input too large.
  if (const std::optional<uint64_t> size = file.RegularSize()) {
    buffer.Reserve(static_cast<size_t>(std::min<uint64_t>(*size, limit)) + 1);
  }
  for (;;) {
    if (buffer.capacity() - buffer.size() == 0) {
      buffer.Reserve(std::max(buffer.capacity() * 2, kReadChunk));
    }
    const size_t room = std::min(buffer.capacity() - buffer.size(), limit + 1 - buffer.size());
    const size_t n = file.Read(buffer.data() + buffer.size(), room);
    if (n == 0) return;
    buffer.Resize(buffer.size() + n);
    if (buffer.size() > limit) return;
  }
}

ByteBuffer ReadWholeInput(const std::string& path, size_t limit) {
  InputFile file(path);
  ByteBuffer buffer;
  ReadRest(file, buffer, limit);
  if (buffer.size() > limit) RaiseTooLarge(file.name(), limit);
  return buffer;
}

}  // namespace lintrel::cli
