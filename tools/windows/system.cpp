#include "tools/base/system.h"

#include <dirent.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lintrel::cli {

namespace {

// The volume and file index of an open handle.
std::optional<FileId> FileIdOfHandle(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information;
  if (file == INVALID_HANDLE_VALUE || GetFileInformationByHandle(file, &information) == 0) {
    return std::nullopt;
  }
  return FileId{information.dwVolumeSerialNumber,
                (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

}  // namespace

// The volume and file index, which the C library's stat leaves at 0: the
// file is opened only to ask for them.
std::optional<FileId> FileIdOf(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileId> id = FileIdOfHandle(file);
  CloseHandle(file);
  return id;
}

std::optional<FileId> FileIdOfDescriptor(int fd) {
  return FileIdOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

void UseBinaryStandardStreams() {
  for (FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
}

void OpenClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    // A descriptor without a valid handle behind it: the process was started
    // without that standard handle.
    const intptr_t handle = _get_osfhandle(fd);
    if (handle != 0 && handle != -1 && handle != -2) continue;
    const int null = _open("NUL", fd == 0 ? _O_RDONLY | _O_BINARY : _O_WRONLY | _O_BINARY);
    if (null >= 0 && null != fd) {
      _dup2(null, fd);
      _close(null);
    }
  }
}

int OpenForReading(const std::string& path, bool) {
  // Opening a file never waits on Windows.
  const int fd = ::open(path.c_str(), O_RDONLY | O_BINARY | O_NOINHERIT);
  if (fd < 0) {
    // Windows refuses to open a folder at all, where POSIX opens it and the
    // caller finds out what it is.
    const int error = errno;
    struct stat status;
    errno = ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? EISDIR : error;
  }
  return fd;
}

// Windows opens a file by its path alone.
OpenFolder::OpenFolder(std::string path) : path_(std::move(path)) {}

OpenFolder::~OpenFolder() = default;

int OpenFolder::OpenForReading(std::string_view name, bool wait_for_writer) const {
  return cli::OpenForReading(path_ + std::string(name), wait_for_writer);
}

int64_t ReadSome(int fd, char* buffer, size_t capacity) {
  // The C library's read takes an unsigned int count.
  return _read(fd, buffer, static_cast<unsigned>(std::min<size_t>(capacity, size_t{1} << 30)));
}

int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset) {
  // A read at an offset of its own: several threads may read one file at
  // once, each where it asks (the system takes their reads in turn, and
  // moves the file's pointer, which nothing else here uses).
  const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (file == INVALID_HANDLE_VALUE) {
    errno = EBADF;
    return -1;
  }
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!ReadFile(file, buffer, static_cast<DWORD>(std::min<size_t>(n, size_t{1} << 30)), &got,
                &at)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    errno = EIO;
    return -1;
  }
  return got;
}

bool FolderOpens(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return false;
  ::closedir(dir);
  return true;
}

std::optional<FolderContents> ReadFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return std::nullopt;
  FolderContents contents;
  contents.id = FileIdOf(path);
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") contents.AddEntry(name, EntryType::kUnknown);
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) {
    errno = error;
    return std::nullopt;
  }
  contents.ViewNames();
  return contents;
}

bool IsTerminal(int fd) {
  return _isatty(fd) != 0;
}

bool OutputSharesTerminal() {
  return IsTerminal(1) && IsTerminal(2);
}

void AdviseLargeBlock(void*, size_t) {}

uint32_t DefaultAnsiCodePage() {
  return GetACP();
}

// The C library's own table of descriptors is the limit.
uint64_t OpenFileLimit() {
  return 2048;
}

unsigned ProcessorCount() {
  SYSTEM_INFO information;
  GetSystemInfo(&information);
  return information.dwNumberOfProcessors > 0 ? information.dwNumberOfProcessors : 1;
}

}  // namespace lintrel::cli
