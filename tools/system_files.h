// The few file calls whose POSIX and Windows forms differ. Everything else
// the command calls on files (open, read, write, fstat, stat, opendir, ...)
// is the same in both C libraries, with the same error texts.
#ifndef LINTREL_TOOLS_SYSTEM_FILES_H_
#define LINTREL_TOOLS_SYSTEM_FILES_H_

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

namespace lintrel::cli {

// How input files are opened: bytes as they are, not inherited by children.
#if defined(_WIN32)
inline constexpr int kOpenForReading = O_RDONLY | O_BINARY | O_NOINHERIT;
#else
inline constexpr int kOpenForReading = O_RDONLY | O_CLOEXEC;
#endif

// Makes the standard streams carry bytes unchanged (Windows would turn LF
// into CR LF on output and stop input at a Ctrl-Z).
void UseBinaryStandardStreams();

// Reads up to `capacity` bytes from `fd`. Answers the count read (0 at the
// end), or -1 with errno set.
int64_t ReadSome(int fd, char* buffer, size_t capacity);

// Reads up to `n` bytes at `offset` of `fd` and leaves the position the
// descriptor reads from next as it was. Answers the count read (0 at the
// end), or -1 with errno set.
int64_t ReadAtOffset(int fd, char* buffer, size_t n, uint64_t offset);

// What tells a folder from every other: device and inode, or volume and
// file index.
struct FolderId {
  uint64_t device = 0;
  uint64_t index = 0;
  bool operator==(const FolderId&) const = default;
};

// The id of the folder at `path`, which `stat` just answered `status` for;
// nullopt when it cannot be found out.
std::optional<FolderId> FolderIdOf(const std::string& path, const struct stat& status);

// Whether a result may be written over in place in `fd`, an open regular
// file: not when it is opened for appending, which writes at the end
// whatever the position, nor where this cannot be found out.
bool MayRewriteInPlace(int fd);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_SYSTEM_FILES_H_
