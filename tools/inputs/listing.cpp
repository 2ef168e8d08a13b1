#include "tools/inputs/listing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "text/integer.h"
#include "tools/base/byte_buffer.h"

namespace lintrel::cli {
namespace {

// The longest path a list may give; a longer line cannot name a file.
constexpr size_t kMaxListedPath = size_t{1} << 16;

// A list is read this many bytes at a time.
constexpr size_t kListChunk = size_t{1} << 16;

// Makes `path` the folder's path, "/" unless it ends in one, and `name`,
// in the storage `path` has already.
void JoinInto(std::string& path, std::string_view folder, std::string_view name) {
  path.assign(folder);
  if (!folder.ends_with('/')) path += '/';
  path += name;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string path;
  JoinInto(path, folder, name);
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

ListingEntry Report(ListingEntry::What what, std::string path, std::string reason) {
  ListingEntry entry;
  entry.what = what;
  entry.report.emplace(std::move(path), std::move(reason));
  return entry;
}

ListingEntry Problem(std::string path, int error) {
  return Report(ListingEntry::What::kProblem, std::move(path), std::strerror(error));
}

}  // namespace

std::string_view PathStore::Keep(std::string_view path) {
  const size_t size = path.size();
  if (size > left_) {
    const size_t block = std::max(size, next_block_);
    next_block_ = std::min(next_block_ * 2, size_t{1} << 16);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
    next_ = blocks_.back().get();
    left_ = block;
  }
  char* const kept = next_;
  std::copy(path.begin(), path.end(), kept);
  next_ += size;
  left_ -= size;
  return {kept, size};
}

// A folder being listed: its entries in name order, and how far they are
// given.
struct InputLister::Frame {
  enum class Kind {
    kFolder,    // a folder of files and mbox files
    kMaildir,   // a Maildir: its cur, then new, then its own folders
    kMessages,  // the cur or new folder of a Maildir
  };
  Kind kind;
  std::string path;
  FolderContents contents;
  size_t next = 0;
  // Of a Maildir: 0 before cur, 1 before new, 2 at its own folders.
  int phase = 0;
};

// The paths of a --files-from list, read a piece at a time: one a line (a
// CR before the LF dropped) or NUL-separated; empty ones are left out.
class InputLister::PathList {
 public:
  struct Path {
    std::string_view text;
    // The line's number (or the entry's, NUL-separated), from 1.
    size_t number = 0;
    // A line that cannot name a file: it holds a NUL byte, which a
    // NUL-separated list meant for -0 has, or is too long.
    bool holds_nul = false;
    bool too_long = false;
  };

  PathList(const std::string& path, bool nul_separated)
      : file_(path, Listed::kAsNamed), separator_(nul_separated ? '\0' : '\n') {
    buffer_.Reserve(kListChunk);
  }

  std::string_view name() const { return file_.name(); }

  // The next path, or nullopt after the last; its text stays valid until
  // the next call. Raises InputError when the list cannot be read on.
  std::optional<Path> Next() {
    if (std::exchange(again_, false)) return last_;
    for (;;) {
      last_ = NextLine();
      if (!last_ || !last_->text.empty() || last_->too_long) return last_;
    }
  }

  // Makes the next call give the path that the last one gave.
  void GiveAgain() { again_ = true; }

 private:
  std::optional<Path> NextLine() {
    bool too_long = false;
    size_t searched = start_;
    for (;;) {
      const std::string_view bytes = buffer_.view();
      const size_t end = bytes.find(separator_, searched);
      // A line dropped for its length is given even when the list ends in it.
      if (end != std::string_view::npos || (at_end_ && (start_ < bytes.size() || too_long))) {
        const size_t line_end = end == std::string_view::npos ? bytes.size() : end;
        Path path{bytes.substr(start_, line_end - start_), ++number_};
        start_ = std::min(line_end + 1, bytes.size());
        if (separator_ == '\n') {
          if (path.text.ends_with('\r')) path.text.remove_suffix(1);
          path.holds_nul = path.text.find('\0') != std::string_view::npos;
        }
        path.too_long = too_long || path.text.size() > kMaxListedPath;
        return path;
      }
      if (at_end_) return std::nullopt;
      if (bytes.size() - start_ > kMaxListedPath) {
        // No path is that long: the line is dropped as it arrives.
        too_long = true;
        start_ = bytes.size();
      }
      // The lines given are let go only before a read, not one at a time.
      buffer_.Consume(std::exchange(start_, 0));
      searched = buffer_.size();
      if (buffer_.capacity() - buffer_.size() < kListChunk) {
        buffer_.Reserve(buffer_.size() + kListChunk);
      }
      const size_t n = file_.Read(buffer_.data() + buffer_.size(), kListChunk);
      if (n == 0) at_end_ = true;
      buffer_.Resize(buffer_.size() + n);
    }
  }

  InputFile file_;
  char separator_;
  ByteBuffer buffer_;
  size_t start_ = 0;  // where the line after the last one given begins
  size_t number_ = 0;
  bool at_end_ = false;
  std::optional<Path> last_;
  bool again_ = false;
};

namespace {

// "line N holds a NUL byte; ..." for a path of a list that no file can have.
std::string Unusable(const InputLister::PathList::Path& path) {
  const std::string line = "line " + IntText(static_cast<int64_t>(path.number));
  return path.holds_nul
             ? line + " holds a NUL byte; lists from -print0 need -0"
             : line + " is longer than " + IntText(static_cast<int64_t>(kMaxListedPath)) + " bytes";
}

}  // namespace

InputLister::InputLister(const Options& options) : options_(options) {
  bool folder_named = false;
  for (const Input& input : options.inputs) {
    if (input.path == "-") continue;
    struct stat status;
    if (::stat(input.path.c_str(), &status) != 0) throw InputError::System(input.path, errno);
    if (S_ISDIR(status.st_mode)) {
      if (input.kind != InputKind::kDetect) throw InputError::System(input.path, EISDIR);
      // Read only when its turn comes; a folder that cannot be read stops
      // the command now all the same.
      if (!FolderOpens(input.path)) throw InputError::System(input.path, errno);
      folder_named = true;
    } else if (S_ISREG(status.st_mode)) {
      // Opened once here so that a file that cannot be read stops the
      // command before any output, as a mistyped name should.
      const int fd = OpenForReading(input.path, false);
      if (fd < 0) throw InputError::System(input.path, errno);
      ::close(fd);
    }
  }
  one_named_file_ = options.inputs.size() == 1 && !folder_named && !options.files_from;
  if (options.files_from) {
    list_ = std::make_unique<PathList>(*options.files_from, options.nul_separated);
    // A list of NUL-separated paths read one a line shows in its first path,
    // before anything runs.
    if (const std::optional<PathList::Path> first = list_->Next()) {
      if (first->holds_nul) throw UsageError(std::string(list_->name()) + ": " + Unusable(*first));
      list_->GiveAgain();
    }
  }
}

InputLister::~InputLister() = default;

bool InputLister::Next(ListingEntry& entry) {
  for (;;) {
    if (!frames_.empty()) {
      if (FromFrame(entry)) return true;
      continue;
    }
    if (next_input_ < options_.inputs.size()) {
      const Input& input = options_.inputs[next_input_++];
      entry = {};
      if (input.path == "-") {
        entry.file = {input.path, input.kind, Listed::kAsNamed};
        return true;
      }
      struct stat status;
      if (::stat(input.path.c_str(), &status) != 0) {
        entry = Problem(input.path, errno);
        return true;
      }
      if (S_ISDIR(status.st_mode)) {
        if (EnterFolder(input.path, true, entry)) return true;
        continue;
      }
      entry.file = {input.path, input.kind,
                    S_ISREG(status.st_mode) ? Listed::kRegularFile : Listed::kAsNamed};
      return true;
    }
    if (!list_) return false;
    const std::optional<PathList::Path> path = list_->Next();
    if (!path) {
      list_.reset();
      return false;
    }
    if (path->holds_nul || path->too_long) {
      entry = Report(ListingEntry::What::kProblem, std::string(list_->name()), Unusable(*path));
      return true;
    }
    // "-" in a list is a file of that name, not standard input.
    current_ = path->text == "-" ? "./-" : std::string(path->text);
    if (FromListed(current_, entry)) return true;
  }
}

bool InputLister::FromListed(const std::string& path, ListingEntry& entry) {
  const std::optional<EntryType> type = TypeOf(path, EntryType::kUnknown);
  if (!type) {
    entry = Problem(path, errno);
    return true;
  }
  if (*type == EntryType::kFolder) return EnterFolder(path, false, entry);
  return FromEntry(path, *type, 0, 0, InputKind::kDetect, 0, entry);
}

bool InputLister::FromFrame(ListingEntry& entry) {
  Frame& frame = *frames_.back();
  const std::vector<FolderEntry>& entries = frame.contents.entries;
  const uint64_t device = frame.contents.id ? frame.contents.id->device : 0;
  if (frame.kind == Frame::Kind::kMaildir && frame.phase < 2) {
    const char* part = frame.phase++ == 0 ? "cur" : "new";
    const bool present = std::any_of(entries.begin(), entries.end(),
                                     [&](const FolderEntry& e) { return e.name == part; });
    if (!present) return false;
    std::string path = Join(frame.path, part);
    std::optional<FolderContents> messages = ReadFolder(path);
    if (!messages) {
      entry = Problem(std::move(path), errno);
      return true;
    }
    if (messages->id) read_.insert(*messages->id);
    SortByName(messages->entries);
    frames_.push_back(std::make_unique<Frame>(
        Frame{Frame::Kind::kMessages, std::move(path), std::move(*messages)}));
    return false;
  }
  while (frame.next < entries.size()) {
    const FolderEntry& found = entries[frame.next++];
    if (frame.kind == Frame::Kind::kMaildir) {
      // Its own folders, read with --recursive alone; nothing else beside
      // cur and new is a message.
      if (!options_.recursive || found.name == "cur" || found.name == "new" ||
          found.name == "tmp") {
        continue;
      }
      std::string path = Join(frame.path, found.name);
      if (TypeOf(path, found.type) != EntryType::kFolder) continue;
      return EnterFolder(path, false, entry);
    }
    if (found.name.starts_with('.')) continue;
    JoinInto(current_, frame.path, found.name);
    const InputKind kind =
        frame.kind == Frame::Kind::kMessages ? InputKind::kMessage : InputKind::kDetect;
    return FromEntry(current_, found.type, found.inode, device, kind,
                     current_.size() - found.name.size(), entry);
  }
  frames_.pop_back();
  return false;
}

bool InputLister::FromEntry(std::string_view path, EntryType type, uint64_t inode, uint64_t device,
                            InputKind kind, size_t name_at, ListingEntry& entry) {
  const std::optional<EntryType> found = TypeOf(path, type);
  if (!found) {
    entry = Problem(std::string(path), errno);
  } else if (*found == EntryType::kRegular) {
    if (output_) {
      // The listing's own numbers tell a regular file where it has them.
      const std::optional<FileId> id = type == EntryType::kRegular && inode != 0
                                           ? std::optional(FileId{device, inode})
                                           : FileIdOf(std::string(path));
      if (id == output_) {
        entry = Report(ListingEntry::What::kNote, std::string(path), "the output file, left out");
        return true;
      }
    }
    entry = {};
    entry.file = {path, kind, Listed::kRegularFile, name_at};
  } else if (*found != EntryType::kFolder) {
    entry = Report(ListingEntry::What::kProblem, std::string(path), "not a regular file");
  } else if (kind == InputKind::kMessage) {
    entry = Report(ListingEntry::What::kNote, std::string(path),
                   "a folder inside a Maildir's message folder, left out");
  } else if (!options_.recursive) {
    entry = Report(ListingEntry::What::kNote, std::string(path),
                   "a folder, read only with --recursive");
  } else {
    return EnterFolder(std::string(path), false, entry);
  }
  return true;
}

bool InputLister::EnterFolder(const std::string& path, bool named, ListingEntry& entry) {
  std::optional<FolderContents> contents = ReadFolder(path);
  if (!contents) {
    entry = Problem(path, errno);
    return true;
  }
  if (contents->id) {
    // Only a link (or a mount) leads to a folder a second time; a folder
    // named twice is read twice, as asked.
    if (!named && read_.contains(*contents->id)) {
      entry = Report(ListingEntry::What::kNote, path, "a folder already read, left out");
      return true;
    }
    read_.insert(*contents->id);
  }
  SortByName(contents->entries);
  const auto cur = std::find_if(contents->entries.begin(), contents->entries.end(),
                                [](const FolderEntry& e) { return e.name == "cur"; });
  const bool maildir =
      cur != contents->entries.end() && TypeOf(Join(path, "cur"), cur->type) == EntryType::kFolder;
  frames_.push_back(std::make_unique<Frame>(
      Frame{maildir ? Frame::Kind::kMaildir : Frame::Kind::kFolder, path, std::move(*contents)}));
  return false;
}

}  // namespace lintrel::cli
