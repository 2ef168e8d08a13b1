// The few system calls whose POSIX and Windows forms differ; posix/ and
// windows/ each implement all of them. Everything else the command calls on
// files (read, write, fstat, stat, close) is the same in both C libraries,
// with the same error texts.
#ifndef LINTREL_TOOLS_BASE_SYSTEM_H_
#define LINTREL_TOOLS_BASE_SYSTEM_H_

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#if defined(_WIN32)
#include <io.h>
#endif
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lintrel::cli {

// Makes the standard streams carry bytes unchanged (Windows would turn LF
// into CR LF on output and stop input at a Ctrl-Z).
void UseBinaryStandardStreams();

// Opens the null device on each of the standard descriptors 0, 1 and 2
// that is closed, before the command opens any file of its own: a file it
// opened would otherwise take the lowest free number, and be read as
// standard input, or have messages written into it as standard error.
void OpenClosedStandardDescriptors();

// Opens `path` for reading, not inherited by children. Unless
// `wait_for_writer`, opening never blocks: a FIFO opens at once, and the
// caller finds out what it opened with fstat. Answers the descriptor, or -1
// with errno set.
int OpenForReading(const std::string& path, bool wait_for_writer);

// A folder held open while files in it are opened by name, so that the
// system looks up the name alone instead of the folder's whole path again.
class OpenFolder {
 public:
  // Never fails: a folder that cannot be held has its files opened by path.
  explicit OpenFolder(std::string path);
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  // The folder's path, its final "/" included.
  const std::string& path() const { return path_; }

  // As OpenForReading, for the entry `name` of the folder.
  int OpenForReading(std::string_view name, bool wait_for_writer) const;

 private:
  std::string path_;
  int handle_ = -1;
};

// Reads up to `capacity` bytes from `fd`. Answers the count read (0 at the
// end), or -1 with errno set.
int64_t ReadSome(int fd, char* buffer, size_t capacity);

// Reads up to `n` bytes at `offset` of `fd`, a regular file; several
// threads may do so at once. Where the descriptor reads from next is not
// kept: a file is read either this way or with ReadSome. Answers the count
// read (0 at the end), or -1 with errno set.
int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset);

// What tells a file or folder from every other: device and inode, or
// volume and file index.
struct FileId {
  uint64_t device = 0;
  uint64_t index = 0;
  bool operator==(const FileId&) const = default;
  auto operator<=>(const FileId&) const = default;
};

// The identity of the file or folder at `path` (links followed); nullopt
// when it cannot be found out.
std::optional<FileId> FileIdOf(const std::string& path);

// The identity of what descriptor `fd` is open on; nullopt when it cannot
// be found out (or `fd` is not open).
std::optional<FileId> FileIdOfDescriptor(int fd);

// What a folder entry is, as far as the listing itself tells; kUnknown
// where the system does not say (then stat does).
enum class EntryType { kUnknown, kRegular, kFolder, kOther };

struct FolderEntry {
  // Views the names of its FolderContents.
  std::string_view name;
  EntryType type = EntryType::kUnknown;
  // The entry's inode on the folder's device, which names a regular file
  // (not a link) with the folder's device; 0 where the system does not say.
  uint64_t inode = 0;
};

struct FolderContents {
  // nullopt where the system cannot tell.
  std::optional<FileId> id;
  // Every entry but "." and "..", in the order the system gives them.
  std::vector<FolderEntry> entries;
  // The entries' names, one after the other: one block for a folder of
  // many thousands, which a moved FolderContents keeps where it is.
  std::vector<char> names;

  // Adds an entry; `AddEntry`s are followed by one `ViewNames` before the
  // entries are read.
  void AddEntry(std::string_view name, EntryType type, uint64_t inode = 0) {
    entries.push_back({std::string_view(nullptr, name.size()), type, inode});
    names.insert(names.end(), name.begin(), name.end());
  }
  void ViewNames() {
    const char* next = names.data();
    for (FolderEntry& entry : entries) {
      entry.name = std::string_view(next, entry.name.size());
      next += entry.name.size();
    }
  }
};

// Whether the folder at `path` can be opened to be read; false with errno
// set when it cannot.
bool FolderOpens(const std::string& path);

// Reads the folder at `path`; nullopt with errno set when it cannot be read.
std::optional<FolderContents> ReadFolder(const std::string& path);

// Whether `fd` is a terminal.
bool IsTerminal(int fd);

// Whether standard output and standard error are one and the same terminal,
// so that a line drawn on one shows among the lines written to the other.
bool OutputSharesTerminal();

// The number of processors the command may run on, at least 1.
unsigned ProcessorCount();

// Advises that a large block of memory, which no one has written yet, be
// backed by the system's large pages where it has them (transparent huge
// pages on Linux; nothing on Windows): fewer page faults and cleared pages
// for the texts of big messages.
void AdviseLargeBlock(void* block, size_t size);

// How many files the process may hold open at once.
uint64_t OpenFileLimit();

// The ANSI code page that texts are handed to the plug-in in when no locale
// is chosen: the system's on Windows, where the plug-in runs; 1252, the
// Western one, on Linux, where the plug-in's built-in settings are those of
// a Western Windows.
uint32_t DefaultAnsiCodePage();

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_SYSTEM_H_
