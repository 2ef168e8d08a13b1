// The messages of one input file: a message file holds one, an mbox file
// any number.
#ifndef LINTREL_TOOLS_MESSAGE_SOURCE_H_
#define LINTREL_TOOLS_MESSAGE_SOURCE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "tools/arguments.h"
#include "tools/byte_buffer.h"
#include "tools/file_items.h"
#include "tools/input_file.h"
#include "tools/input_list.h"
#include "tools/macro_runner.h"
#include "tools/message_split.h"
#include "tools/records.h"

namespace lintrel::cli {

// An input file, open, its kind known.
struct OpenSource {
  std::unique_ptr<InputFile> file;
  // The bytes read from a stream to tell its kind; they come first.
  ByteBuffer front;
  // kMessage or kMbox.
  InputKind kind = InputKind::kMessage;
};

// Opens `source`. Unless its kind is given, a file that begins with "From "
// is an mbox file and any other a message file. Raises InputError.
OpenSource OpenSourceFile(const SourceFile& source);

// One message to work on; it views bytes that the caller holds.
class FoundMessage {
 public:
  // A message file, read as far as it is needed.
  explicit FoundMessage(MessageFile& file) : file_(&file) {}
  // A message in memory: one of an mbox file, the built-in sample, or the
  // files of --headers and --body.
  explicit FoundMessage(const MessageParts& parts) : parts_(parts) {}

  MessageItems items() const;
  std::string_view headers() const { return file_ != nullptr ? file_->headers() : parts_.headers; }
  // The header block and the body, both in memory (read now if need be).
  MessageParts Whole();

 private:
  MessageFile* file_ = nullptr;
  MessageParts parts_;
};

// What a visitor is told of each message besides the message itself.
struct MessageEvent {
  MessageOrigin origin;
  // A message of an mbox file above the size limit, skipped unread.
  bool oversized = false;
  // The bytes of the file read so far.
  uint64_t bytes_read = 0;
};

using MessageVisitor = std::function<void(FoundMessage& message, const MessageEvent& event)>;

// Hands each message of `source`, named `path`, to `visit` in order.
// Raises InputError when the file cannot be read.
void ForEachMessage(OpenSource& source, std::string_view path, const MessageVisitor& visit);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_MESSAGE_SOURCE_H_
