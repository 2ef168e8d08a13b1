#include "tools/base/system.h"

#include <dirent.h>
#include <sched.h>
#include <sys/resource.h>

#include <cerrno>
#include <thread>

#include "tools/posix/huge_pages.h"

namespace lintrel::cli {

void UseBinaryStandardStreams() {}

void OpenClosedStandardDescriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is this one, the ones below it being open.
    const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      ::dup2(null, fd);
      ::close(null);
    }
  }
}

namespace {

int ReadingFlags(bool wait_for_writer) {
  return O_RDONLY | O_CLOEXEC | O_NOCTTY | (wait_for_writer ? 0 : O_NONBLOCK);
}

}  // namespace

int OpenForReading(const std::string& path, bool wait_for_writer) {
  return ::open(path.c_str(), ReadingFlags(wait_for_writer));
}

OpenFolder::OpenFolder(std::string path)
    : path_(std::move(path)),
      handle_(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY | O_NONBLOCK)) {}

OpenFolder::~OpenFolder() {
  if (handle_ >= 0) ::close(handle_);
}

int OpenFolder::OpenForReading(std::string_view name, bool wait_for_writer) const {
  if (handle_ < 0) return cli::OpenForReading(path_ + std::string(name), wait_for_writer);
  // A name this short (as every name in a folder is) needs no allocation
  // to be ended with a NUL.
  char terminated[256];
  if (name.size() >= sizeof terminated) {
    return ::openat(handle_, std::string(name).c_str(), ReadingFlags(wait_for_writer));
  }
  name.copy(terminated, name.size());
  terminated[name.size()] = '\0';
  return ::openat(handle_, terminated, ReadingFlags(wait_for_writer));
}

int64_t ReadSome(int fd, char* buffer, size_t capacity) {
  return ::read(fd, buffer, capacity);
}

int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset) {
  return ::pread(fd, buffer, n, static_cast<off_t>(offset));
}

std::optional<FileId> FileIdOf(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

bool FolderOpens(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY | O_NONBLOCK);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::optional<FileId> FileIdOfDescriptor(int fd) {
  struct stat status;
  if (::fstat(fd, &status) != 0) return std::nullopt;
  return FileId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

std::optional<FolderContents> ReadFolder(const std::string& path) {
  // Opened without blocking and as a folder only, so that nothing else that
  // took the folder's place since it was listed can stop the run.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  const std::optional<FileId> id = FileIdOfDescriptor(fd);
  if (!id) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return std::nullopt;
  }
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return std::nullopt;
  }
  FolderContents contents;
  contents.id = *id;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    EntryType type = EntryType::kUnknown;
    switch (entry->d_type) {
      case DT_REG:
        type = EntryType::kRegular;
        break;
      case DT_DIR:
        type = EntryType::kFolder;
        break;
      case DT_UNKNOWN:
      case DT_LNK:
        break;
      default:
        type = EntryType::kOther;
    }
    contents.AddEntry(name, type, entry->d_ino);
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
  return ::isatty(fd) == 1;
}

bool OutputSharesTerminal() {
  struct stat out;
  struct stat err;
  return IsTerminal(STDOUT_FILENO) && IsTerminal(STDERR_FILENO) &&
         ::fstat(STDOUT_FILENO, &out) == 0 && ::fstat(STDERR_FILENO, &err) == 0 &&
         out.st_rdev == err.st_rdev;
}

void AdviseLargeBlock(void* block, size_t size) {
  if (size >= kHugePageWorthy) AdviseHugePages(block, size);
}

uint32_t DefaultAnsiCodePage() {
  return 1252;
}

uint64_t OpenFileLimit() {
  struct rlimit limit;
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return UINT64_MAX;
  }
  return static_cast<uint64_t>(limit.rlim_cur);
}

unsigned ProcessorCount() {
  cpu_set_t set;
  if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
    return static_cast<unsigned>(CPU_COUNT(&set));
  }
  const unsigned count = std::thread::hardware_concurrency();
  return count > 0 ? count : 1;
}

}  // namespace lintrel::cli
