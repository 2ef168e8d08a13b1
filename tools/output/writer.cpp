#include "tools/output/writer.h"

#include <algorithm>
#include <cerrno>

#include "tools/base/errors.h"
#include "tools/base/system.h"

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

#if !defined(O_BINARY)
constexpr int O_BINARY = 0;
#endif

}  // namespace

// The file is the command's own and empty: a result is written from its
// start, and the file cut to the result's length.
class Output::InPlace final : public ResultSink {
 public:
  InPlace(int fd, const std::string& name) : fd_(fd), name_(name) {}

  void Write(std::string_view result) override {
    int error = 0;
    if (::lseek(fd_, 0, SEEK_SET) < 0) error = errno;
    if (error == 0) error = WriteAll(fd_, result);
    if (error == 0 && ::ftruncate(fd_, static_cast<off_t>(result.size())) != 0) error = errno;
    if (error != 0) throw CliError(SystemReason(name_, error));
  }

  void Withdraw() override {
    if (::ftruncate(fd_, 0) == 0) ::lseek(fd_, 0, SEEK_SET);
  }

 private:
  int fd_;
  const std::string& name_;
};

Output::Output(const std::optional<std::string>& path, const std::vector<FileId>& inputs,
               std::optional<FileId> standard_input)
    : fd_(STDOUT_FILENO), name_("standard output") {
  if (!path) return;
  name_ = *path;
  // Emptied only once it is known not to be an input.
  fd_ = ::open(path->c_str(), O_WRONLY | O_CREAT | O_BINARY, 0666);
  if (fd_ < 0) throw CliError(SystemReason(name_, errno));
  owned_ = true;
  id_ = FileIdOfDescriptor(fd_);
  const auto refuse = [&](const char* what) {
    ::close(fd_);
    throw UsageError("--output " + name_ + what);
  };
  if (id_ && id_ == standard_input) refuse(" is standard input, one of the inputs");
  if (id_ && std::find(inputs.begin(), inputs.end(), *id_) != inputs.end()) {
    refuse(" is one of the inputs");
  }
  if (id_ && id_ == FileIdOfDescriptor(STDOUT_FILENO)) {
    ::close(fd_);
    fd_ = STDOUT_FILENO;
    owned_ = false;
    return;
  }
  struct stat status;
  if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
    if (::ftruncate(fd_, 0) != 0) {
      const int error = errno;
      ::close(fd_);
      throw CliError(SystemReason(name_, error));
    }
    in_place_ = std::make_unique<InPlace>(fd_, name_);
  }
}

Output::~Output() {
  if (owned_) ::close(fd_);
}

void Output::Close() {
  if (!owned_) return;
  owned_ = false;
  if (::close(fd_) != 0) throw CliError(SystemReason(name_, errno));
}

void Output::Write(std::string_view bytes) {
  in_place_.reset();
  if (const int error = WriteAll(fd_, bytes)) throw CliError(SystemReason(name_, error));
}

ResultSink* Output::InPlaceResult() {
  return in_place_.get();
}

void WriteError(std::string_view bytes) {
  WriteAll(STDERR_FILENO, bytes);
}

}  // namespace lintrel::cli
