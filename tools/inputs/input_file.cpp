#include "tools/inputs/input_file.h"

#include <algorithm>
#include <cerrno>

#include "tools/base/errors.h"
#include "tools/base/system.h"
#include "tools/inputs/size_limit.h"

namespace lintrel::cli {
namespace {

constexpr size_t kReadChunk = size_t{1} << 20;

InputError SystemError(std::string_view name, int error) {
  return InputError::System(std::string(name), error);
}

}  // namespace

void InputFile::Open(std::string_view path, Listed listed, const OpenFolder* folder,
                     size_t name_at) {
  name_ = path;
  const bool wait = listed == Listed::kAsNamed;
  fd_ = folder != nullptr ? folder->OpenForReading(path.substr(name_at), wait)
                          : OpenForReading(std::string(path), wait);
  if (fd_ < 0) throw SystemError(name_, errno);
  owned_ = true;
}

InputFile::InputFile(std::string_view path, Listed listed, const OpenFolder* folder,
                     size_t name_at) {
  if (path == "-") {
    fd_ = STDIN_FILENO;
    name_ = "standard input";
  } else {
    Open(path, listed, folder, name_at);
  }
  struct stat status;
  if (::fstat(fd_, &status) != 0) return;
  if (S_ISREG(status.st_mode)) {
    // Standard input may have been read from already: it begins where it
    // stands.
    if (!owned_) {
      const auto at = static_cast<int64_t>(::lseek(fd_, 0, SEEK_CUR));
      if (at > 0)
        start_ = std::min(static_cast<uint64_t>(at), static_cast<uint64_t>(status.st_size));
    }
    regular_size_ = static_cast<uint64_t>(status.st_size) - start_;
    return;
  }
  const int error = S_ISDIR(status.st_mode) ? EISDIR : 0;
  if (owned_ && (error != 0 || listed == Listed::kRegularFile)) ::close(fd_);
  if (error != 0) throw SystemError(name_, error);
  if (listed == Listed::kRegularFile) throw InputError(std::string(name_), "not a regular file");
}

InputFile::InputFile(std::string_view path, ByteBuffer& front, const OpenFolder* folder,
                     size_t name_at) {
  Open(path, Listed::kRegularFile, folder, name_at);
  try {
    front.Resize(ReadFront(front.data(), front.capacity()));
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

InputFile::~InputFile() {
  if (owned_) ::close(fd_);
}

size_t InputFile::ReadFront(char* buffer, size_t capacity) {
  reads_.fetch_add(1, std::memory_order_relaxed);
  int64_t n = 0;
  do {
    n = ReadAtOffset(fd_, buffer, capacity, 0);
  } while (n < 0 && errno == EINTR);
  // A FIFO put in the file's place cannot be read by offset; a folder
  // cannot be read at all.
  if (n < 0) {
    if (errno == ESPIPE) throw InputError(std::string(name_), "not a regular file");
    throw SystemError(name_, errno);
  }
  const auto got = static_cast<size_t>(n);
  // A regular file reads short only at its end, which spares most files
  // their fstat.
  if (got < capacity) {
    regular_size_ = got;
    return got;
  }
  struct stat status;
  if (::fstat(fd_, &status) != 0) throw SystemError(name_, errno);
  if (!S_ISREG(status.st_mode)) throw InputError(std::string(name_), "not a regular file");
  regular_size_ = static_cast<uint64_t>(status.st_size);
  return static_cast<size_t>(std::min<uint64_t>(got, *regular_size_));
}

size_t InputFile::Read(char* buffer, size_t capacity) {
  for (;;) {
    const int64_t n = ReadSome(fd_, buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) throw SystemError(name_, errno);
  }
}

void InputFile::ReadRest(ByteBuffer& buffer) {
  // A regular file is read into storage of its own size, refused by that
  // size before anything is read; anything else grows as it arrives, and one
  // byte beyond the limit shows an input too large.
  if (regular_size_) {
    CheckSize(name_, *regular_size_);
    buffer.Reserve(static_cast<size_t>(*regular_size_) + 1);
  }
  const size_t limit = static_cast<size_t>(kMaxInputBytes);
  for (;;) {
    if (buffer.capacity() == buffer.size()) {
      buffer.Reserve(std::max(buffer.capacity() * 2, kReadChunk));
    }
    const size_t room = std::min(buffer.capacity() - buffer.size(), limit + 1 - buffer.size());
    const size_t n = Read(buffer.data() + buffer.size(), room);
    if (n == 0) return;
    buffer.Resize(buffer.size() + n);
    CheckSize(name_, buffer.size());
  }
}

void InputFile::ReadAt(uint64_t offset, char* buffer, size_t n) const {
  reads_.fetch_add(1, std::memory_order_relaxed);
  while (n > 0) {
    const int64_t got = ReadAtOffset(fd_, buffer, n, start_ + offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw SystemError(name_, errno);
    }
    if (got == 0) throw InputError(std::string(name_), "changed while it was read");
    buffer += got;
    n -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
}

}  // namespace lintrel::cli
