// The run over the messages of several files: each is read, handed to the
// command's work, and its record written in order.
#ifndef LINTREL_TOOLS_COMMAND_PIPELINE_H_
#define LINTREL_TOOLS_COMMAND_PIPELINE_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"
#include "tools/inputs/listing.h"
#include "tools/inputs/message.h"
#include "tools/inputs/message_reader.h"
#include "tools/output/progress.h"
#include "tools/output/writer.h"

namespace lintrel::cli {

// What the work on one message gives.
struct MessageDone {
  // The records for standard output, to which the work appends the record.
  Text record;
  // A line for standard error, if any, ending in a line break.
  Text note;
  // The message counts against the exit status.
  bool failed = false;
};

using MessageWork = std::function<void(Message& message, MessageDone& done)>;

// How a stretch of a regular mbox file is split: ReadMboxStretch, unless a
// test puts a failure in its place.
using StretchSplit = std::function<std::vector<Message>(
    const std::shared_ptr<InputFile>& file, std::string_view path, uint64_t begin, uint64_t end,
    const std::shared_ptr<BlockPool>& pool)>;

// Reads the messages of the files that `lister` lists, in order, or of the
// one file `first` when it is given open (and `lister` is null), runs
// `work` on each on `jobs` threads (on this one alone for 1; fewer when the
// process may not hold enough files open for them), and writes the records
// in input order, the same bytes whatever `jobs`. At most four jobs per
// thread (each some files, a stretch of an mbox file or some messages of a
// stream) are handed out ahead of the oldest whose records are not yet
// written. A file that cannot be read is named on standard error and the run
// goes on; a file that fails while it is read is named once, and no record
// of it follows. Answers whether every file could be read and no message
// failed; `work` may be called on several threads at once.
bool RunOverFiles(InputLister* lister, std::optional<OpenInput> first, Output& output,
                  unsigned jobs, const MessageWork& work,
                  const StretchSplit& split = ReadMboxStretch);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMAND_PIPELINE_H_
