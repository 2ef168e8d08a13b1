// Streaming the messages of an mbox file.
//
// A message starts at a line that begins with "From " at the start of the
// input or after an empty line; that "From " line is not part of the message.
// Lines end at LF (a CR before it belongs to the break). The empty line
// before the next "From " line separates two messages and belongs to neither,
// and so does one empty line at the very end of the input. Bytes before the
// first "From " line, if any, are a message of their own. Quoted ">From "
// lines are passed on unchanged.
//
// Memory stays bounded by the largest message plus one read; a message above
// the reader's limit is skipped, not held, and reported as oversized.
#ifndef LINTREL_TOOLS_MBOX_READER_H_
#define LINTREL_TOOLS_MBOX_READER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "tools/byte_buffer.h"
#include "tools/input_file.h"

namespace lintrel::cli {

struct MboxMessage {
  // The message's bytes; valid until the next call of `Next`.
  std::string_view bytes;
  // True for a message longer than the reader's limit; `bytes` is then empty.
  bool oversized = false;
};

class MboxReader {
 public:
  // Fills up to `capacity` bytes of `buffer` and answers how many; 0 means
  // the end of the input. It may raise; the error passes to the caller.
  using ReadFunction = std::function<size_t(char* buffer, size_t capacity)>;

  explicit MboxReader(ReadFunction read, size_t max_message = kMaxInputBytes,
                      size_t read_size = size_t{1} << 20);

  // The next message, or nullopt after the last one.
  std::optional<MboxMessage> Next();

  // The number of input bytes read so far.
  uint64_t bytes_read() const { return bytes_read_; }

 private:
  enum class State { kStart, kFromLine, kMessage, kDone };

  // Reads once more, after moving the current message to the front of the
  // buffer; false at the end of the input.
  bool Fill();
  // Skips the "From " line at `from_line_`; false when the input ends in it.
  bool SkipFromLine();
  // The start of the empty line that the LF at `lf` ends, or nullopt when
  // the line that LF ends is not empty.
  std::optional<size_t> EmptyLineEndingAt(size_t lf) const;
  MboxMessage Finish(size_t end);

  ReadFunction read_;
  size_t max_message_;
  size_t read_size_;
  ByteBuffer buffer_;
  State state_ = State::kStart;
  size_t begin_ = 0;      // start of the current message in the buffer
  size_t scan_ = 0;       // where the search for the next "From " line resumes
  size_t from_line_ = 0;  // start of the "From " line that ends the message
  bool at_end_ = false;
  bool leading_ = false;    // the bytes before the first "From " line
  bool oversized_ = false;  // the current message is too long and is being dropped
  bool dropped_ = false;    // bytes of the current message have been dropped
  uint64_t bytes_read_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_MBOX_READER_H_
