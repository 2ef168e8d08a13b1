#include "tools/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tools/cli_error.h"

namespace lintrel::cli {
namespace {

// Answers errno of the failed write, or 0.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
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
    throw CliError(std::string("standard output: ") + std::strerror(error));
  }
}

void WriteError(std::string_view bytes) {
  WriteAll(STDERR_FILENO, bytes);
}

}  // namespace lintrel::cli
