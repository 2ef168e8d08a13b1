// Streaming the messages of an mbox file.
//
// A message starts at a line that begins with "From " at the start of the
// input or after an empty line; that "From " line is not part of the message.
// Lines end at LF (a CR before it belongs to the break). The empty line
// before the next "From " line separates two messages and belongs to neither,
// and so does one empty line at the very end of the input. Bytes before the
// first "From " line, if any, are a message of their own. Quoted ">From "
// lines are passed on unchanged.
#ifndef LINTREL_TOOLS_INPUTS_MBOX_READER_H_
#define LINTREL_TOOLS_INPUTS_MBOX_READER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "tools/base/byte_buffer.h"
#include "tools/inputs/block_pool.h"
#include "tools/inputs/size_limit.h"

namespace lintrel::cli {

struct MboxMessage {
  // The message's bytes, in `block`, which the message keeps alive: a
  // message can be handed on while the reader reads on.
  std::shared_ptr<const ByteBuffer> block;
  std::string_view bytes;
  // A message above the size limit, skipped unread; `bytes` is then empty.
  bool oversized = false;
  // A message longer than the reader holds, from an input that can be read
  // again: where it lies in the input. `bytes` is then empty.
  std::optional<uint64_t> offset;
  uint64_t size = 0;
  // Where the "From " line that starts the message lies in the input; none
  // for the bytes before the first one.
  std::optional<uint64_t> from_line;
  // Where the "From " line after it lies; none for the last message.
  std::optional<uint64_t> next_from_line;
};

// A line that begins with this starts a message of an mbox file; after a
// line break it is searched for as one piece.
inline constexpr std::string_view kFromLineStart = "From ";
inline constexpr std::string_view kFromLineAfterBreak = "\nFrom ";

// Whether the LF at `lf` of `bytes` ends an empty line: LF or CR LF stands
// just before it. `lf` is not the first byte of a message.
inline bool EndsEmptyLine(std::string_view bytes, size_t lf) {
  return (lf >= 1 && bytes[lf - 1] == '\n') ||
         (lf >= 2 && bytes[lf - 1] == '\r' && bytes[lf - 2] == '\n');
}

// Whether `bytes` holds, at `lf`, the line break and the "From " line of a
// separator, the LF ending an empty line.
inline bool SeparatorAt(std::string_view bytes, size_t lf) {
  return bytes.substr(lf, kFromLineAfterBreak.size()) == kFromLineAfterBreak &&
         EndsEmptyLine(bytes, lf);
}

struct MboxLimits {
  // A longer message is skipped.
  uint64_t max_message = kMaxInputBytes;
  // A longer message is not held but handed on by its place in the input:
  // only for an input that the caller can read again.
  uint64_t max_held = kMaxInputBytes;
  size_t read_size = size_t{4} << 20;
  // The first read, when it is to differ from the others: a reader of a
  // stretch of a file reads the stretch at once, then on in small steps.
  size_t first_read = 0;
};

// Memory stays bounded by the longest message held plus one read.
class MboxReader {
 public:
  // Fills up to `capacity` bytes of `buffer` and answers how many; 0 means
  // the end of the input. It may raise; the error passes to the caller.
  using ReadFunction = std::function<size_t(char* buffer, size_t capacity)>;

  // `front` holds the first bytes of the input, already read. `offset` is
  // where the input begins in its file, for a reader that starts inside one
  // at a "From " line (see FindMboxSeparator).
  // `pool` gives the blocks it reads into, shared with other readers.
  explicit MboxReader(ReadFunction read, MboxLimits limits = {}, ByteBuffer front = {},
                      uint64_t offset = 0,
                      std::shared_ptr<BlockPool> pool = std::make_shared<BlockPool>());

  // The next message, or nullopt after the last one.
  std::optional<MboxMessage> Next();

  // The number of input bytes read so far.
  uint64_t bytes_read() const { return bytes_read_; }

 private:
  enum class State { kStart, kFromLine, kMessage, kDone };

  // Makes the bytes from `from` on the front of the buffer: in place, or in
  // a block of the pool's when a message has been handed on from this one
  // (it may be read on another thread still).
  void MoveToFront(size_t from);
  // Reads once more; false at the end of the input.
  bool Fill();
  // Skips the "From " line at `from_line_`; false when the input ends in it.
  bool SkipFromLine();
  // The start of the empty line that the LF at `lf` ends, or nullopt when
  // the line that LF ends is not empty.
  std::optional<size_t> EmptyLineEndingAt(size_t lf) const;
  MboxMessage Finish(size_t end);

  ReadFunction read_;
  MboxLimits limits_;
  std::shared_ptr<BlockPool> pool_;
  std::shared_ptr<ByteBuffer> buffer_;
  bool handed_on_ = false;      // a message holds the buffer
  uint64_t buffer_offset_ = 0;  // where the buffer's first byte lies in the input
  State state_ = State::kStart;
  size_t begin_ = 0;             // start of the current message in the buffer
  uint64_t message_offset_ = 0;  // and in the input
  std::optional<uint64_t> message_from_line_;
  size_t scan_ = 0;       // where the search for the next "From " line resumes
  size_t from_line_ = 0;  // start of the "From " line that ends the message
  bool at_end_ = false;
  bool leading_ = false;   // the bytes before the first "From " line
  bool dropping_ = false;  // the current message is too long to hold
  bool dropped_ = false;   // bytes of the current message have been dropped
  uint64_t bytes_read_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_MBOX_READER_H_
