// The messages of one listed file: a message file holds one, an mbox file
// any number.
#ifndef LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_
#define LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_

#include <cstdint>
#include <functional>
#include <memory>

#include "tools/arguments/options.h"
#include "tools/base/byte_buffer.h"
#include "tools/inputs/input_file.h"
#include "tools/inputs/listing.h"
#include "tools/inputs/message.h"

namespace lintrel::cli {

// A listed file, open, its kind known.
struct OpenInput {
  std::string path;
  std::shared_ptr<InputFile> file;
  // The first bytes, read to tell the kind; the messages begin with them.
  ByteBuffer front;
  // kMessage or kMbox.
  InputKind kind = InputKind::kMessage;
};

// Opens `listed`. Unless its kind is given, a file that begins with "From "
// is an mbox file and any other a message file. Raises InputError.
OpenInput OpenListedFile(const ListedFile& listed);

// Takes each message with the count of the file's bytes read so far.
using MessageSink = std::function<void(Message message, uint64_t bytes_read)>;

// Hands each message of `input` to `sink` in order. Raises InputError when
// the file cannot be read.
void ReadMessages(OpenInput& input, const MessageSink& sink);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_MESSAGE_READER_H_
