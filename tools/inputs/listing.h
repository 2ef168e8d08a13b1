// The files that the inputs of `run` and `report` stand for.
//
// A file is itself. A Maildir (a folder with a "cur" folder) gives the files
// of "cur" and then of "new", each in name order, and "tmp" is left alone.
// Any other folder gives its files in name order, those whose names begin
// with "." left out, and its folders too when listing is recursive; with
// recursion a Maildir's own folders (such as ".Sent") are read as well, and
// every folder is read once, however many links lead to it.
#ifndef LINTREL_TOOLS_INPUTS_LISTING_H_
#define LINTREL_TOOLS_INPUTS_LISTING_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/options.h"
#include "tools/base/errors.h"
#include "tools/inputs/input_file.h"

namespace lintrel::cli {

// Paths kept where they stay, in blocks: a listing of many thousands of
// files fills them with a few allocations instead of one a path.
class PathStore {
 public:
  // Keeps `folder`, "/" unless it ends in one, and `name`.
  std::string_view Keep(std::string_view folder, std::string_view name);
  // Keeps `path` as it is.
  std::string_view Keep(std::string_view path) { return Keep({}, path); }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  size_t left_ = 0;
};

// One file to read messages from.
struct ListedFile {
  // The path as named, or the folder's path, "/" and the entry's name; "-"
  // for standard input. Views the listing's paths.
  std::string_view path;
  // kMessage for the files of a Maildir, which hold one message each.
  InputKind kind = InputKind::kDetect;
  Listed listed = Listed::kRegularFile;
  // Where the entry's name begins in `path`, after its folder's path and
  // "/"; 0 for a path as named.
  size_t name_at = 0;
};

struct InputListing {
  std::vector<ListedFile> files;
  // True when a folder or a list of files was read: the files then need
  // their paths to be told apart, however many they are.
  bool from_folders = false;
  // Entries that cannot be read, which the command reports and counts as
  // failures.
  std::vector<InputError> problems;
  // Entries left out on purpose (a folder without --recursive, one already
  // read): reported, not failures.
  std::vector<InputError> notes;
  // The files' paths, where a moved listing leaves them.
  PathStore paths;
};

// Lists the files of the options' inputs (--input, --message, --mbox and
// --files-from) in order. A path named on the command line that cannot be
// opened, and a folder named with --message or --mbox, raise InputError
// before anything is read; so does a --files-from list that cannot be read.
InputListing ListInputs(const Options& options);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_LISTING_H_
