// The files that the inputs of `run` and `report` stand for, met one at a
// time in input order, so that memory holds the folders being read, never
// the whole store.
//
// A file is itself. A Maildir (a folder with a "cur" folder) gives the files
// of "cur" and then of "new", each in name order, and "tmp" is left alone.
// Any other folder gives its files in name order, those whose names begin
// with "." left out, and its folders too when listing is recursive; with
// recursion a Maildir's own folders (such as ".Sent") are read as well, and
// every folder is read once, however many links lead to it. A list of
// files (--files-from) is read as its paths are needed.
#ifndef LINTREL_TOOLS_INPUTS_LISTING_H_
#define LINTREL_TOOLS_INPUTS_LISTING_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/options.h"
#include "tools/base/errors.h"
#include "tools/base/system.h"
#include "tools/inputs/input_file.h"

namespace lintrel::cli {

// Paths kept where they stay, in blocks: many paths are kept with a few
// allocations instead of one a path.
class PathStore {
 public:
  // The first block holds `block` bytes; each later one twice as many as
  // the one before, up to 64 KiB.
  explicit PathStore(size_t block = size_t{1} << 16) : next_block_(block) {}

  // Keeps `path` as it is.
  std::string_view Keep(std::string_view path);

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  size_t left_ = 0;
  size_t next_block_;
};

// One file to read messages from.
struct ListedFile {
  // The path as named, or the folder's path, "/" and the entry's name; "-"
  // for standard input.
  std::string_view path;
  // kMessage for the files of a Maildir, which hold one message each.
  InputKind kind = InputKind::kDetect;
  Listed listed = Listed::kRegularFile;
  // Where the entry's name begins in `path`, after its folder's path and
  // "/"; 0 for a path as named.
  size_t name_at = 0;
};

// What the listing meets next: a file, or what it reports instead of one.
struct ListingEntry {
  enum class What {
    kFile,
    // An entry that cannot be read, which counts as a failure.
    kProblem,
    // An entry left out on purpose (a folder without --recursive, one
    // already read, the output file): reported, not a failure.
    kNote,
  };
  What what = What::kFile;
  // For kFile; its path stays valid until the listing's next call.
  ListedFile file;
  // For kProblem and kNote.
  std::optional<InputError> report;
};

// Lists the files of the options' inputs (--input, --message, --mbox and
// --files-from), in order, as they are asked for.
class InputLister {
 public:
  class PathList;

  // Checks what the command line names before anything is read: a path that
  // cannot be opened, and a folder named with --message or --mbox, raise
  // InputError, and so does a --files-from list that cannot be opened; a
  // newline-separated list whose first path holds a NUL byte raises
  // UsageError.
  explicit InputLister(const Options& options);
  ~InputLister();
  InputLister(const InputLister&) = delete;
  InputLister& operator=(const InputLister&) = delete;

  // The next entry, false when there are no more.
  bool Next(ListingEntry& entry);

  // A file found in a folder or a list that is `output` (the output file)
  // is left out with a note from now on.
  void LeaveOut(std::optional<FileId> output) { output_ = output; }

  // Whether the inputs are one file named on the command line (or standard
  // input), and no folder or list: its messages need no path to tell them
  // apart.
  bool one_named_file() const { return one_named_file_; }

 private:
  struct Frame;

  // Each of these fills `entry` and answers true, or answers false having
  // put a folder on the stack (or taken one off) and filled nothing.
  bool FromFrame(ListingEntry& entry);
  bool FromListed(const std::string& path, ListingEntry& entry);
  // A file or folder `path` found in a folder (its inode and the folder's
  // device, 0 where unknown) or a list.
  bool FromEntry(std::string_view path, EntryType type, uint64_t inode, uint64_t device,
                 InputKind kind, size_t name_at, ListingEntry& entry);
  // Reads the folder at `path` onto the stack; one `named` on the command
  // line is read even when it was read already.
  bool EnterFolder(const std::string& path, bool named, ListingEntry& entry);

  const Options& options_;
  std::optional<FileId> output_;
  bool one_named_file_ = false;
  size_t next_input_ = 0;
  std::vector<std::unique_ptr<Frame>> frames_;
  std::unique_ptr<PathList> list_;
  std::string current_;  // the path of the last file of a list
  // Every folder read so far, so that a link cannot lead to one again.
  std::set<FileId> read_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_LISTING_H_
