#include "tools/system_files.h"

namespace lintrel::cli {

void UseBinaryStandardStreams() {}

int64_t ReadSome(int fd, char* buffer, size_t capacity) {
  return ::read(fd, buffer, capacity);
}

int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset) {
  return ::pread(fd, buffer, n, static_cast<off_t>(offset));
}

std::optional<FolderId> FolderIdOf(const std::string&, const struct stat& status) {
  return FolderId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

bool MayRewriteInPlace(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_APPEND) == 0;
}

}  // namespace lintrel::cli
