#include "tools/system_files.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lintrel::cli {

void UseBinaryStandardStreams() {
  for (FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
}

int64_t ReadSome(int fd, char* buffer, size_t capacity) {
  // The C library's read takes an unsigned int count.
  return _read(fd, buffer, static_cast<unsigned>(std::min<size_t>(capacity, size_t{1} << 30)));
}

int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset) {
  const int64_t position = _lseeki64(fd, 0, SEEK_CUR);
  if (position < 0 || _lseeki64(fd, static_cast<int64_t>(offset), SEEK_SET) < 0) return -1;
  const int64_t got = ReadSome(fd, buffer, n);
  const int error = errno;
  _lseeki64(fd, position, SEEK_SET);
  errno = error;
  return got;
}

std::optional<FolderId> FolderIdOf(const std::string& path, const struct stat&) {
  // A folder is opened only to ask for its file index, which the C library's
  // stat leaves at 0.
  const HANDLE folder =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information;
  const bool known = GetFileInformationByHandle(folder, &information) != 0;
  CloseHandle(folder);
  if (!known) return std::nullopt;
  return FolderId{information.dwVolumeSerialNumber,
                  (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

bool MayRewriteInPlace(int) {
  return false;
}

}  // namespace lintrel::cli
