#include "tools/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "text/integer.h"
#include "tools/cli_error.h"

namespace lintrel::cli {
namespace {

constexpr size_t kReadChunk = size_t{1} << 20;

CliError SystemError(const std::string& name, int error) {
  return CliError(name + ": " + std::strerror(error));
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  if (path == "-") {
    fd_ = STDIN_FILENO;
    name_ = "standard input";
    return;
  }
  name_ = path;
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw SystemError(name_, errno);
  owned_ = true;
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

size_t InputFile::Read(char* buffer, size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) throw SystemError(name_, errno);
  }
}

ByteBuffer ReadWholeInput(const std::string& path, size_t limit) {
  InputFile file(path);
  ByteBuffer buffer;
  // A regular file is read into storage of its own size; anything else
  // grows as it arrives. One byte beyond the limit shows an input too large.
  struct stat status;
  if (::fstat(file.fd_, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    buffer.Reserve(static_cast<size_t>(std::min<uint64_t>(status.st_size, limit)) + 1);
  }
  for (;;) {
    if (buffer.capacity() - buffer.size() == 0) {
      buffer.Reserve(std::max(buffer.capacity() * 2, kReadChunk));
    }
    const size_t room = std::min(buffer.capacity() - buffer.size(), limit + 1 - buffer.size());
    const size_t n = file.Read(buffer.data() + buffer.size(), room);
    if (n == 0) break;
    buffer.Resize(buffer.size() + n);
    if (buffer.size() > limit) {
      throw CliError(file.name() + ": larger than " + IntText(static_cast<int64_t>(limit)) +
                     " bytes");
    }
  }
  return buffer;
}

}  // namespace lintrel::cli
