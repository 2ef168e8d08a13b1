// The messages of one listed file: a message file holds one, an mbox file
// any number.
#ifndef LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_
#define LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/arguments/options.h"
#include "tools/base/byte_buffer.h"
#include "tools/inputs/block_pool.h"
#include "tools/inputs/input_file.h"
#include "tools/inputs/listing.h"
#include "tools/inputs/message.h"

namespace lintrel::cli {

// A listed file, open, its kind known.
struct OpenInput {
  // Views the path the listing holds.
  std::string_view path;
  std::shared_ptr<InputFile> file;
  // The first bytes, read to tell the kind; the messages begin with them.
  ByteBuffer front;
  // kMessage or kMbox.
  InputKind kind = InputKind::kMessage;
};

// Opens `listed`, within `folder` when it is the file's folder held open,
// and reads its first `front_read` bytes (at least 5) if it is a regular
// file. Unless its kind is given, a file that begins with "From " is an mbox
// file and any other a message file. Raises InputError.
OpenInput OpenListedFile(const ListedFile& listed, const OpenFolder* folder = nullptr,
                         size_t front_read = kFrontRead);

// Takes each message with the count of the file's bytes read so far.
using MessageSink = std::function<void(Message message, uint64_t bytes_read)>;

// Hands each message of `input` to `sink` in order. Raises InputError when
// the file cannot be read.
void ReadMessages(OpenInput& input, const MessageSink& sink);

// Splitting an mbox file a stretch at a time, so that several threads can
// split one: the stretch [begin, end) of a regular file holds the messages
// whose separating "From " line (its LF) begins in it, and for begin 0 the
// bytes before the first such line too. A message may reach beyond `end`.

// Where the "From " line begins of the first separator whose LF lies in
// [from, to) of the regular file `file`, from >= 2; nullopt for none.
std::optional<uint64_t> FindMboxSeparator(const InputFile& file, uint64_t from, uint64_t to);

// The messages of the stretch [begin, end) of `file`, named `path`,
// numbered from 1 within the stretch, read into blocks of `pool`. Raises
// InputError.
std::vector<Message> ReadMboxStretch(const std::shared_ptr<InputFile>& file, std::string_view path,
                                     uint64_t begin, uint64_t end,
                                     const std::shared_ptr<BlockPool>& pool);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_
