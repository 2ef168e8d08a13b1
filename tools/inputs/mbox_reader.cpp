#include "tools/inputs/mbox_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "body/byte_search.h"

namespace lintrel::cli {
namespace {

// Bytes kept from a message that is being dropped: enough to judge the line
// before a "From " line that has only begun to arrive.
constexpr size_t kKeptWhileDropping = 8;

}  // namespace

MboxReader::MboxReader(ReadFunction read, MboxLimits limits, ByteBuffer front, uint64_t offset,
                       std::shared_ptr<BlockPool> pool)
    : read_(std::move(read)),
      limits_(limits),
      pool_(std::move(pool)),
      buffer_(pool_->Take()),
      buffer_offset_(offset),
      message_offset_(offset),
      bytes_read_(front.size()) {
  limits_.read_size = std::max<size_t>(limits_.read_size, 1);
  limits_.max_held = std::min(limits_.max_held, limits_.max_message);
  *buffer_ = std::move(front);
}

void MboxReader::MoveToFront(size_t from) {
  if (from == 0 && !handed_on_) return;
  if (handed_on_) {
    // Only the current message is copied: it began within the last read,
    // so every byte is copied at most once.
    std::shared_ptr<ByteBuffer> block = pool_->Take();
    block->Reserve(buffer_->size() - from + limits_.read_size);
    std::memcpy(block->data(), buffer_->data() + from, buffer_->size() - from);
    block->Resize(buffer_->size() - from);
    buffer_ = std::move(block);
    handed_on_ = false;
  } else {
    buffer_->Consume(from);
  }
  buffer_offset_ += from;
  scan_ -= std::min(scan_, from);
  begin_ -= std::min(begin_, from);
}

bool MboxReader::Fill() {
  if (at_end_) return false;
  MoveToFront(begin_);
  if (buffer_->size() > limits_.max_held + kKeptWhileDropping) dropping_ = true;
  if (dropping_ && buffer_->size() > kKeptWhileDropping) {
    MoveToFront(buffer_->size() - kKeptWhileDropping);
    dropped_ = true;
  }
  ByteBuffer& buffer = *buffer_;
  const size_t want = std::max(std::exchange(limits_.first_read, 0), limits_.read_size);
  if (buffer.capacity() - buffer.size() < want) {
    buffer.Reserve(std::max(buffer.capacity() * 2, buffer.size() + want));
  }
  const size_t n = read_(buffer.data() + buffer.size(), want);
  if (n == 0) {
    at_end_ = true;
    return false;
  }
  buffer.Resize(buffer.size() + n);
  bytes_read_ += n;
  return true;
}

bool MboxReader::SkipFromLine() {
  // The previous message is no longer needed once its successor is asked for.
  begin_ = from_line_;
  message_from_line_ = buffer_offset_ + from_line_;
  for (;;) {
    const size_t lf = buffer_->view().find('\n', begin_);
    if (lf != std::string_view::npos) {
      begin_ = scan_ = lf + 1;
      message_offset_ = buffer_offset_ + begin_;
      dropping_ = dropped_ = false;
      return true;
    }
    begin_ = buffer_->size();
    if (!Fill()) return false;
  }
}

std::optional<size_t> MboxReader::EmptyLineEndingAt(size_t lf) const {
  // The message's first byte starts a line, whatever lies before it.
  if (lf == begin_) return dropped_ ? std::nullopt : std::optional(lf);
  if (lf == begin_ + 1 && buffer_->data()[begin_] == '\r') {
    return dropped_ ? std::nullopt : std::optional(begin_);
  }
  if (!EndsEmptyLine(buffer_->view(), lf)) return std::nullopt;
  return buffer_->data()[lf - 1] == '\n' ? lf : lf - 1;
}

MboxMessage MboxReader::Finish(size_t end) {
  MboxMessage message;
  message.from_line = message_from_line_;
  message.size = buffer_offset_ + end - message_offset_;
  if (message.size > limits_.max_message) {
    message.oversized = true;
  } else if (dropping_) {
    message.offset = message_offset_;
  } else {
    message.block = buffer_;
    message.bytes = buffer_->view().substr(begin_, end - begin_);
    handed_on_ = true;
  }
  return message;
}

std::optional<MboxMessage> MboxReader::Next() {
  for (;;) {
    switch (state_) {
      case State::kDone:
        return std::nullopt;

      case State::kStart:
        while (buffer_->size() < kFromLineStart.size() && Fill()) {
        }
        if (buffer_->size() == 0) {
          state_ = State::kDone;
        } else if (buffer_->view().starts_with(kFromLineStart)) {
          from_line_ = 0;
          state_ = State::kFromLine;
        } else {
          leading_ = true;
          state_ = State::kMessage;
        }
        break;

      case State::kFromLine:
        if (!SkipFromLine()) {
          // A "From " line that ends the input starts an empty message.
          state_ = State::kDone;
          MboxMessage empty;
          empty.from_line = message_from_line_;
          return empty;
        }
        state_ = State::kMessage;
        break;

      case State::kMessage: {
        const std::string_view data = buffer_->view();
        std::optional<MboxMessage> found;
        for (size_t lf = FindBytePair<'\n', 'F'>(data, scan_); lf < data.size();
             lf = FindBytePair<'\n', 'F'>(data, lf + 1)) {
          if (data.substr(lf, kFromLineAfterBreak.size()) != kFromLineAfterBreak) continue;
          if (const std::optional<size_t> separator = EmptyLineEndingAt(lf)) {
            from_line_ = lf + 1;
            state_ = State::kFromLine;
            found = Finish(*separator);
            found->next_from_line = buffer_offset_ + from_line_;
            break;
          }
        }
        if (found) {
          const bool skip = leading_ && found->size == 0;
          leading_ = false;
          if (skip) break;
          return found;
        }
        // A "From " line may have begun in the bytes that are too few to
        // hold it with its line break.
        const size_t partial = kFromLineAfterBreak.size() - 1;
        scan_ = std::max({scan_, begin_, data.size() >= partial ? data.size() - partial : 0});
        if (Fill()) break;
        state_ = State::kDone;
        size_t end = buffer_->size();
        if (end > begin_ && buffer_->data()[end - 1] == '\n') {
          end = EmptyLineEndingAt(end - 1).value_or(end);
        }
        MboxMessage last = Finish(end);
        if (leading_ && last.size == 0) return std::nullopt;
        return last;
      }
    }
  }
}

}  // namespace lintrel::cli
