#include "tools/mbox_reader.h"

#include <algorithm>
#include <utility>

namespace lintrel::cli {
namespace {

// A line that begins with this starts a message; after a line break it is
// searched for as one piece.
constexpr std::string_view kFrom = "From ";
constexpr std::string_view kFromLine = "\nFrom ";

// Bytes kept from a message that is being dropped: enough to judge the line
// before a "From " line that has only begun to arrive.
constexpr size_t kKeptWhileDropping = 8;

}  // namespace

MboxReader::MboxReader(ReadFunction read, size_t max_message, size_t read_size)
    : read_(std::move(read)),
      max_message_(max_message),
      read_size_(std::max<size_t>(read_size, 1)) {}

bool MboxReader::Fill() {
  if (at_end_) return false;
  if (begin_ > 0) {
    // Only the current message is moved: it began within the last read, so
    // every byte is moved at most once.
    buffer_.Consume(begin_);
    scan_ -= std::min(scan_, begin_);
    begin_ = 0;
  }
  if (buffer_.size() > max_message_ + kKeptWhileDropping) oversized_ = true;
  if (oversized_ && buffer_.size() > kKeptWhileDropping) {
    const size_t drop = buffer_.size() - kKeptWhileDropping;
    buffer_.Consume(drop);
    scan_ -= std::min(scan_, drop);
    dropped_ = true;
  }
  if (buffer_.capacity() - buffer_.size() < read_size_) {
    buffer_.Reserve(std::max(buffer_.capacity() * 2, buffer_.size() + read_size_));
  }
  const size_t n = read_(buffer_.data() + buffer_.size(), read_size_);
  if (n == 0) {
    at_end_ = true;
    return false;
  }
  buffer_.Resize(buffer_.size() + n);
  bytes_read_ += n;
  return true;
}

bool MboxReader::SkipFromLine() {
  // The previous message is no longer needed once its successor is asked for.
  begin_ = from_line_;
  for (;;) {
    const size_t lf = buffer_.view().find('\n', begin_);
    if (lf != std::string_view::npos) {
      begin_ = scan_ = lf + 1;
      oversized_ = dropped_ = false;
      return true;
    }
    begin_ = buffer_.size();
    if (!Fill()) return false;
  }
}

std::optional<size_t> MboxReader::EmptyLineEndingAt(size_t lf) const {
  const char* bytes = buffer_.data();
  const auto line_start = [&](size_t p) { return p == begin_ ? !dropped_ : bytes[p - 1] == '\n'; };
  if (line_start(lf)) return lf;
  if (lf > begin_ && bytes[lf - 1] == '\r' && line_start(lf - 1)) return lf - 1;
  return std::nullopt;
}

MboxMessage MboxReader::Finish(size_t end) {
  MboxMessage message;
  if (oversized_ || end - begin_ > max_message_) {
    message.oversized = true;
  } else {
    message.bytes = buffer_.view().substr(begin_, end - begin_);
  }
  return message;
}

std::optional<MboxMessage> MboxReader::Next() {
  for (;;) {
    switch (state_) {
      case State::kDone:
        return std::nullopt;

      case State::kStart:
        while (buffer_.size() < kFrom.size() && Fill()) {
        }
        if (buffer_.size() == 0) {
          state_ = State::kDone;
        } else if (buffer_.view().starts_with(kFrom)) {
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
          return MboxMessage{};
        }
        state_ = State::kMessage;
        break;

      case State::kMessage: {
        const std::string_view data = buffer_.view();
        std::optional<MboxMessage> found;
        for (size_t lf = data.find(kFromLine, scan_); lf != std::string_view::npos;
             lf = data.find(kFromLine, lf + 1)) {
          if (const std::optional<size_t> separator = EmptyLineEndingAt(lf)) {
            from_line_ = lf + 1;
            state_ = State::kFromLine;
            found = Finish(*separator);
            break;
          }
        }
        if (found) {
          const bool skip = leading_ && found->bytes.empty() && !found->oversized;
          leading_ = false;
          if (skip) break;
          return found;
        }
        // A "From " line may have begun in the bytes that are too few to
        // hold it with its line break.
        const size_t partial = kFromLine.size() - 1;
        scan_ = std::max({scan_, begin_, data.size() >= partial ? data.size() - partial : 0});
        if (Fill()) break;
        state_ = State::kDone;
        size_t end = buffer_.size();
        if (end > begin_ && buffer_.data()[end - 1] == '\n') {
          end = EmptyLineEndingAt(end - 1).value_or(end);
        }
        MboxMessage last = Finish(end);
        if (leading_ && last.bytes.empty() && !last.oversized) return std::nullopt;
        return last;
      }
    }
  }
}

}  // namespace lintrel::cli
