#include "tools/inputs/listing.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <set>
#include <utility>

#include "tools/base/system.h"

namespace lintrel::cli {
namespace {

// Paths are kept in blocks of this size, or one of its own for a longer
// one.
constexpr size_t kPathBlock = size_t{1} << 16;

std::string Join(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path += folder;
  if (!folder.ends_with('/')) path += '/';
  path += name;
  return path;
}

// Sorts entries by name, byte by byte. Each name's first eight bytes,
// read as one big-endian number (zeros past a short name's end, as no name
// holds a zero byte), decide most comparisons without reaching the names.
void SortByName(std::vector<FolderEntry>& entries) {
  struct Keyed {
    uint64_t key;
    FolderEntry entry;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(entries.size());
  for (const FolderEntry& entry : entries) {
    uint64_t key = 0;
    for (size_t i = 0; i < 8; ++i) {
      key = key << 8 | (i < entry.name.size() ? static_cast<unsigned char>(entry.name[i]) : 0);
    }
    keyed.push_back({key, entry});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return a.key != b.key ? a.key < b.key : a.entry.name < b.entry.name;
  });
  for (size_t i = 0; i < entries.size(); ++i) entries[i] = keyed[i].entry;
}

// The type of the entry at `path`, asking the system (and following links)
// where the listing did not tell; nullopt with errno set when it cannot.
std::optional<EntryType> TypeOf(std::string_view path, EntryType listed) {
  if (listed != EntryType::kUnknown) return listed;
  struct stat status;
  if (::stat(std::string(path).c_str(), &status) != 0) return std::nullopt;
  return S_ISREG(status.st_mode)   ? EntryType::kRegular
         : S_ISDIR(status.st_mode) ? EntryType::kFolder
                                   : EntryType::kOther;
}

// The paths that a --files-from list holds, one a line (a CR before the LF
// dropped) or NUL-separated; empty entries are left out.
std::vector<std::string> ReadPathList(const std::string& list, bool nul_separated) {
  InputFile file(list, Listed::kAsNamed);
  ByteBuffer bytes;
  file.ReadRest(bytes);
  const char separator = nul_separated ? '\0' : '\n';
  std::vector<std::string> paths;
  std::string_view rest = bytes.view();
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(separator), rest.size());
    std::string_view path = rest.substr(0, end);
    if (!nul_separated && path.ends_with('\r')) path.remove_suffix(1);
    // "-" in a list is a file of that name, not standard input.
    if (path == "-") path = "./-";
    if (!path.empty()) paths.emplace_back(path);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return paths;
}

class Lister {
 public:
  explicit Lister(bool recursive) : recursive_(recursive) {}

  void AddNamed(const Input& input) {
    if (input.path == "-") {
      listing_.files.push_back({listing_.paths.Keep(input.path), input.kind, Listed::kAsNamed});
      return;
    }
    struct stat status;
    if (::stat(input.path.c_str(), &status) != 0) throw InputError::System(input.path, errno);
    if (S_ISDIR(status.st_mode)) {
      if (input.kind != InputKind::kDetect) throw InputError::System(input.path, EISDIR);
      std::optional<FolderContents> contents = ReadFolder(input.path);
      if (!contents) throw InputError::System(input.path, errno);
      listing_.from_folders = true;
      AddFolder(input.path, std::move(*contents));
    } else if (S_ISREG(status.st_mode)) {
      // Opened once here so that a file that cannot be read stops the
      // command before any output, as a mistyped name should.
      const int fd = OpenForReading(input.path, false);
      if (fd < 0) throw InputError::System(input.path, errno);
      ::close(fd);
      listing_.files.push_back({listing_.paths.Keep(input.path), input.kind, Listed::kRegularFile});
    } else {
      listing_.files.push_back({listing_.paths.Keep(input.path), input.kind, Listed::kAsNamed});
    }
  }

  // A path of a --files-from list: a folder there is read as one named on
  // the command line, and what cannot be read is reported, not fatal.
  void AddListed(const std::string& path) {
    listing_.from_folders = true;
    const std::optional<EntryType> type = TypeOf(path, EntryType::kUnknown);
    if (!type) {
      listing_.problems.push_back(InputError::System(path, errno));
    } else if (*type == EntryType::kFolder) {
      AddSubfolder(path);
    } else {
      AddEntry(listing_.paths.Keep(path), *type, InputKind::kDetect);
    }
  }

  InputListing Take() { return std::move(listing_); }

 private:
  void AddFolder(const std::string& folder, FolderContents contents) {
    if (contents.id) read_.insert(*contents.id);
    std::vector<FolderEntry>& entries = contents.entries;
    SortByName(entries);
    const auto cur = std::find_if(entries.begin(), entries.end(),
                                  [](const FolderEntry& e) { return e.name == "cur"; });
    if (cur == entries.end() || TypeOf(Join(folder, "cur"), cur->type) != EntryType::kFolder) {
      for (const FolderEntry& entry : entries) {
        if (!entry.name.starts_with('.')) {
          const std::string_view path = listing_.paths.Keep(folder, entry.name);
          AddEntry(path, entry.type, InputKind::kDetect, path.size() - entry.name.size());
        }
      }
      return;
    }
    AddMaildir(folder, entries);
  }

  void AddMaildir(const std::string& folder, const std::vector<FolderEntry>& entries) {
    for (const char* part : {"cur", "new"}) {
      const bool present = std::any_of(entries.begin(), entries.end(),
                                       [&](const FolderEntry& e) { return e.name == part; });
      if (!present) continue;
      const std::string path = Join(folder, part);
      std::optional<FolderContents> messages = ReadFolder(path);
      if (!messages) {
        listing_.problems.push_back(InputError::System(path, errno));
        continue;
      }
      if (messages->id) read_.insert(*messages->id);
      SortByName(messages->entries);
      listing_.files.reserve(listing_.files.size() + messages->entries.size());
      for (const FolderEntry& entry : messages->entries) {
        if (!entry.name.starts_with('.')) {
          const std::string_view file = listing_.paths.Keep(path, entry.name);
          AddEntry(file, entry.type, InputKind::kMessage, file.size() - entry.name.size());
        }
      }
    }
    if (!recursive_) return;
    for (const FolderEntry& entry : entries) {
      if (entry.name == "cur" || entry.name == "new" || entry.name == "tmp") continue;
      const std::string path = Join(folder, entry.name);
      if (TypeOf(path, entry.type) == EntryType::kFolder) AddSubfolder(path);
    }
  }

  // `name_at` is where the entry's name begins in `path`, 0 for a path of a
  // list.
  void AddEntry(std::string_view path, EntryType type, InputKind kind, size_t name_at = 0) {
    const std::optional<EntryType> found = TypeOf(path, type);
    if (!found) {
      listing_.problems.push_back(InputError::System(std::string(path), errno));
    } else if (*found == EntryType::kRegular) {
      listing_.files.push_back({path, kind, Listed::kRegularFile, name_at});
    } else if (*found != EntryType::kFolder) {
      listing_.problems.emplace_back(std::string(path), "not a regular file");
    } else if (kind == InputKind::kMessage) {
      listing_.notes.emplace_back(std::string(path),
                                  "a folder inside a Maildir's message folder, left out");
    } else if (!recursive_) {
      listing_.notes.emplace_back(std::string(path), "a folder, read only with --recursive");
    } else {
      AddSubfolder(std::string(path));
    }
  }

  void AddSubfolder(const std::string& path) {
    std::optional<FolderContents> contents = ReadFolder(path);
    if (!contents) {
      listing_.problems.push_back(InputError::System(path, errno));
    } else if (contents->id && read_.contains(*contents->id)) {
      // Only a link (or a mount) leads to a folder a second time.
      listing_.notes.emplace_back(path, "a folder already read, left out");
    } else {
      AddFolder(path, std::move(*contents));
    }
  }

  bool recursive_;
  InputListing listing_;
  // Every folder read so far.
  std::set<FileId> read_;
};

}  // namespace

std::string_view PathStore::Keep(std::string_view folder, std::string_view name) {
  const bool slash = !folder.empty() && !folder.ends_with('/');
  const size_t size = folder.size() + (slash ? 1 : 0) + name.size();
  if (size > left_) {
    const size_t block = std::max(size, kPathBlock);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
    next_ = blocks_.back().get();
    left_ = block;
  }
  char* const path = next_;
  char* end = std::copy(folder.begin(), folder.end(), path);
  if (slash) *end++ = '/';
  std::copy(name.begin(), name.end(), end);
  next_ += size;
  left_ -= size;
  return {path, size};
}

InputListing ListInputs(const Options& options) {
  Lister lister(options.recursive);
  for (const Input& input : options.inputs) lister.AddNamed(input);
  if (options.files_from) {
    for (const std::string& path : ReadPathList(*options.files_from, options.nul_separated)) {
      lister.AddListed(path);
    }
  }
  return lister.Take();
}

}  // namespace lintrel::cli
