#include "tools/input_list.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "tools/cli_error.h"
#include "tools/system_files.h"

namespace lintrel::cli {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

bool IsFolder(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The names in `folder` but "." and "..", in byte order; nullopt and errno
// set when the folder cannot be read.
std::optional<std::vector<std::string>> FolderNames(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) {
    errno = error;
    return std::nullopt;
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Lister {
 public:
  explicit Lister(bool recursive) : recursive_(recursive) {}

  void AddNamed(const Input& input) {
    if (input.path == "-") {
      listing_.files.push_back({input.path, input.kind, std::nullopt});
      return;
    }
    struct stat status;
    if (::stat(input.path.c_str(), &status) != 0) throw InputError(SystemReason(input.path, errno));
    if (S_ISDIR(status.st_mode)) {
      if (input.kind != InputKind::kDetect) throw InputError(SystemReason(input.path, EISDIR));
      const std::optional<std::vector<std::string>> names = FolderNames(input.path);
      if (!names) throw InputError(SystemReason(input.path, errno));
      listing_.from_folders = true;
      AddFolder(input.path, status, *names);
      return;
    }
    // Opened once here so that a file that cannot be read stops the command
    // before any output, as a mistyped name should.
    const int fd = ::open(input.path.c_str(), kOpenForReading);
    if (fd < 0) throw InputError(SystemReason(input.path, errno));
    ::close(fd);
    listing_.files.push_back({input.path, input.kind, SizeOf(status)});
  }

  InputListing Take() { return std::move(listing_); }

 private:
  static std::optional<uint64_t> SizeOf(const struct stat& status) {
    if (!S_ISREG(status.st_mode)) return std::nullopt;
    return static_cast<uint64_t>(status.st_size);
  }

  void AddFolder(const std::string& folder, const struct stat& status,
                 const std::vector<std::string>& names) {
    open_folders_.push_back(FolderIdOf(folder, status));
    AddFolderEntries(folder, names);
    open_folders_.pop_back();
  }

  bool IsOpenFolder(const std::string& path, const struct stat& status) const {
    const std::optional<FolderId> id = FolderIdOf(path, status);
    return id && std::find(open_folders_.begin(), open_folders_.end(), id) != open_folders_.end();
  }

  void AddFolderEntries(const std::string& folder, const std::vector<std::string>& names) {
    const bool maildir = std::binary_search(names.begin(), names.end(), "cur") &&
                         std::binary_search(names.begin(), names.end(), "new") &&
                         IsFolder(Join(folder, "cur")) && IsFolder(Join(folder, "new"));
    if (!maildir) {
      for (const std::string& name : names) {
        if (!name.starts_with('.')) AddEntry(Join(folder, name), InputKind::kDetect);
      }
      return;
    }
    for (const char* part : {"cur", "new"}) {
      const std::string path = Join(folder, part);
      const std::optional<std::vector<std::string>> messages = FolderNames(path);
      if (!messages) {
        listing_.problems.push_back(SystemReason(path, errno));
        continue;
      }
      for (const std::string& name : *messages) {
        if (!name.starts_with('.')) AddEntry(Join(path, name), InputKind::kMessage);
      }
    }
    if (!recursive_) return;
    for (const std::string& name : names) {
      if (name == "cur" || name == "new" || name == "tmp") continue;
      const std::string path = Join(folder, name);
      if (IsFolder(path)) AddEntry(path, InputKind::kDetect);
    }
  }

  void AddEntry(const std::string& path, InputKind kind) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
      listing_.problems.push_back(SystemReason(path, errno));
    } else if (S_ISREG(status.st_mode)) {
      listing_.files.push_back({path, kind, SizeOf(status)});
    } else if (!S_ISDIR(status.st_mode)) {
      listing_.problems.push_back(path + ": not a regular file");
    } else if (kind == InputKind::kMessage) {
      listing_.notes.push_back(path + ": a folder inside a Maildir's message folder, left out");
    } else if (!recursive_) {
      listing_.notes.push_back(path + ": a folder, read only with --recursive");
    } else if (IsOpenFolder(path, status)) {
      // Only a link can lead back into a folder being listed.
      listing_.problems.push_back(path + ": a link back to a folder that holds it");
    } else if (const std::optional<std::vector<std::string>> names = FolderNames(path)) {
      AddFolder(path, status, *names);
    } else {
      listing_.problems.push_back(SystemReason(path, errno));
    }
  }

  bool recursive_;
  InputListing listing_;
  // The folders being listed, from the named one down.
  std::vector<std::optional<FolderId>> open_folders_;
};

}  // namespace

InputListing ListInputs(const std::vector<Input>& inputs, bool recursive) {
  Lister lister(recursive);
  for (const Input& input : inputs) lister.AddNamed(input);
  return lister.Take();
}

}  // namespace lintrel::cli
