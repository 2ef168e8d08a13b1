#include "tools/output.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include "tools/cli_error.h"
#include "tools/system_files.h"

namespace lintrel::cli {
namespace {

// Answers errno of the failed write, or 0.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    // One write at a time of at most 1 GiB, the most both systems take.
    const auto n = ::write(fd, bytes.data(),
                           static_cast<unsigned>(std::min<size_t>(bytes.size(), size_t{1} << 30)));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

}  // namespace

void WriteOut(std::string_view bytes) {
  if (const int error = WriteAll(STDOUT_FILENO, bytes)) {
    throw CliError(SystemReason("standard output", error));
  }
}

void WriteError(std::string_view bytes) {
  WriteAll(STDERR_FILENO, bytes);
}

std::optional<ResultFile> ResultFile::ForStandardOutput() {
  struct stat status;
  if (::fstat(STDOUT_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  if (!MayRewriteInPlace(STDOUT_FILENO)) return std::nullopt;
  const off_t start = ::lseek(STDOUT_FILENO, 0, SEEK_CUR);
  if (start < 0 || start != status.st_size) return std::nullopt;
  return ResultFile(start);
}

void ResultFile::Write(std::string_view bytes) {
  int error = 0;
  if (::lseek(STDOUT_FILENO, start_, SEEK_SET) < 0) error = errno;
  if (error == 0) error = WriteAll(STDOUT_FILENO, bytes);
  if (error == 0 && ::ftruncate(STDOUT_FILENO, start_ + static_cast<off_t>(bytes.size())) != 0) {
    error = errno;
  }
  if (error != 0) throw CliError(SystemReason("standard output", error));
}

void ResultFile::Withdraw() {
  if (::ftruncate(STDOUT_FILENO, start_) == 0) ::lseek(STDOUT_FILENO, start_, SEEK_SET);
}

}  // namespace lintrel::cli
