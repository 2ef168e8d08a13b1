// The files that the inputs of `run` and `report` stand for: a file is
// itself; a Maildir (a folder with "cur" and "new" folders) gives the files
// of "cur" and then of "new", each in name order, and "tmp" is left alone; any
// other folder gives its files in name order, those whose names begin with
// "." left out, and its folders too when listing is recursive. With
// recursion a Maildir's own folders (such as ".Sent") are read as well.
#ifndef LINTREL_TOOLS_INPUT_LIST_H_
#define LINTREL_TOOLS_INPUT_LIST_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/arguments.h"

namespace lintrel::cli {

// One file to read messages from.
struct SourceFile {
  // The path as named, or the folder's path, "/" and the entry's name.
  std::string path;
  // kMessage for the files of a Maildir, which hold one message each.
  InputKind kind = InputKind::kDetect;
  // The size of a regular file when it was listed.
  std::optional<uint64_t> size;
};

struct InputListing {
  std::vector<SourceFile> files;
  // True when a folder was read: the files then need their paths to be told
  // apart, however many they are.
  bool from_folders = false;
  // "PATH: REASON" for each entry of a folder that cannot be read, which
  // the command reports and counts as a failure.
  std::vector<std::string> problems;
  // "PATH: REASON" for each folder left out because listing is not
  // recursive; reported, not a failure.
  std::vector<std::string> notes;
};

// Lists the files of `inputs` in order. A path named on the command line
// that cannot be opened, and a folder named with --message or --mbox, raise
// InputError "PATH: REASON" before anything is read.
InputListing ListInputs(const std::vector<Input>& inputs, bool recursive);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUT_LIST_H_
