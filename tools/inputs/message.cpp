#include "tools/inputs/message.h"

#include <algorithm>
#include <utility>

#include "body/byte_search.h"
#include "text/lines.h"
#include "tools/inputs/message_split.h"

namespace lintrel::cli {
namespace {

// The same break as `bytes`, in storage that lasts.
std::string_view LastingBreak(std::string_view bytes) {
  for (const std::string_view line_break : {"\r\n", "\n", "\r"}) {
    if (bytes == line_break) return line_break;
  }
  return {};
}

}  // namespace
Message Message::FromBytes(Origin origin, std::shared_ptr<const void> storage,
                           std::string_view bytes) {
  Message message = FromParts(std::move(origin), std::move(storage), {}, {});
  message.whole_ = bytes;
  // An empty message has nothing to split: its parts are empty already.
  return message;
}

void Message::SplitWhole() const {
  const MessageParts parts = SplitMessage(whole_);
  headers_ = parts.headers;
  body_ = parts.body;
  empty_line_ = LastingBreak(whole_.substr(
      parts.headers.size(), whole_.size() - parts.headers.size() - parts.body.size()));
  whole_ = {};
}

Message Message::FromParts(Origin origin, std::shared_ptr<const void> storage, ItemBytes headers,
                           ItemBytes body) {
  Message message;
  message.origin_ = std::move(origin);
  message.storage_ = std::move(storage);
  message.headers_ = headers;
  message.body_ = body;
  return message;
}

namespace {

// Where the header block of the `size` bytes at `offset` of `file` ends,
// searched from `from` on a window at a time, holding one window: the bytes
// before `from` hold no empty line whose break they hold whole.
SplitPoint FindSplitInFile(const InputFile& file, uint64_t offset, uint64_t size, uint64_t from) {
  constexpr size_t kWindow = size_t{1} << 20;
  ByteBuffer window;
  window.Reserve(kWindow);
  // From three bytes before `from`: an empty line found there may have a
  // break that goes on past it.
  for (uint64_t at = from - std::min<uint64_t>(from, 3);;) {
    const auto n = static_cast<size_t>(std::min<uint64_t>(kWindow, size - at));
    file.ReadAt(offset + at, window.data(), n);
    window.Resize(n);
    const std::string_view bytes = window.view();
    const size_t pair = FindBreakAfterBreak(bytes, 0);
    if (pair < bytes.size()) {
      const uint64_t empty = at + pair + 1;
      // A CR at the window's end may be the first half of CR LF.
      char next[2] = {};
      const auto known = static_cast<size_t>(std::min<uint64_t>(2, size - empty));
      file.ReadAt(offset + empty, next, known);
      return {static_cast<size_t>(empty),
              static_cast<size_t>(empty + BreakLength(std::string_view(next, known)))};
    }
    if (at + n == size) return {static_cast<size_t>(size), static_cast<size_t>(size)};
    at += n - 1;
  }
}

}  // namespace

Message Message::FromFile(Origin origin, std::shared_ptr<const InputFile> file, uint64_t offset,
                          uint64_t size, ByteBuffer front) {
  // The front grows until it holds the whole header block and the break
  // after it: reading twice as much each time keeps the cost linear.
  size_t want =
      static_cast<size_t>(std::min<uint64_t>(size, front.size() == 0 ? kFrontRead : front.size()));
  std::optional<SplitPoint> split;
  for (;;) {
    if (front.size() < want) {
      const size_t have = front.size();
      front.Reserve(want);
      file->ReadAt(offset + have, front.data() + have, want - have);
      front.Resize(want);
    }
    split = FindSplit(front.view().substr(0, want), want == size);
    if (split) break;
    if (want >= kMaxHeldHeaders) {
      // A header block this long is left in the file.
      split = FindSplitInFile(*file, offset, size, want);
      const ItemBytes headers(*file, offset, split->headers_end);
      const ItemBytes body(*file, offset + split->body_start,
                           static_cast<size_t>(size - split->body_start));
      char line_break[2];
      const size_t length = split->body_start - split->headers_end;
      file->ReadAt(offset + split->headers_end, line_break, length);
      Message message = FromParts(std::move(origin), std::move(file), headers, body);
      message.empty_line_ = LastingBreak(std::string_view(line_break, length));
      return message;
    }
    want = static_cast<size_t>(std::min<uint64_t>(size, uint64_t{want} * 2));
  }
  const ItemBytes body_in_file(*file, offset + split->body_start,
                               static_cast<size_t>(size - split->body_start));
  struct FrontAndFile {
    ByteBuffer front;
    std::shared_ptr<const InputFile> file;
  };
  auto storage = std::make_shared<FrontAndFile>(
      FrontAndFile{std::move(front), want == size ? nullptr : std::move(file)});
  const std::string_view bytes = storage->front.view().substr(0, want);
  const ItemBytes body = want == size ? ItemBytes(bytes.substr(split->body_start)) : body_in_file;
  Message message =
      FromParts(std::move(origin), std::move(storage), bytes.substr(0, split->headers_end), body);
  message.body_front_ = bytes.substr(split->body_start);
  message.empty_line_ =
      LastingBreak(bytes.substr(split->headers_end, split->body_start - split->headers_end));
  return message;
}

Message Message::Oversized(Origin origin) {
  Message message;
  message.origin_ = std::move(origin);
  message.oversized_ = true;
  return message;
}

namespace {

// Reads `item` from its file into storage of its own, which `storage` then
// keeps beside what it kept.
void ReadIntoMemory(ItemBytes& item, std::shared_ptr<const void>& storage) {
  struct Both {
    std::shared_ptr<const void> before;
    ByteBuffer read;
  };
  auto both = std::make_shared<Both>(Both{std::move(storage), {}});
  both->read.Reserve(item.size());
  item.CopyFront(both->read.data(), item.size());
  both->read.Resize(item.size());
  item = both->read.view();
  storage = std::move(both);
}

}  // namespace

std::string_view Message::ReadHeaders() {
  Split();
  if (headers_.in_file()) ReadIntoMemory(headers_, storage_);
  return headers_.memory();
}

void Message::ReadBodyFront(size_t n) {
  auto read = std::make_shared<ByteBuffer>();
  read->Reserve(n);
  const size_t known = std::min(n, body_front_.size());
  std::copy_n(body_front_.begin(), known, read->data());
  body_.CopyAt(known, read->data() + known, n - known);
  read->Resize(n);
  body_front_ = read->view();
  body_read_ = std::move(read);
}

std::string_view Message::ReadBody() {
  Split();
  if (body_.in_file()) {
    ReadBodyFront(body_.size());
    body_ = body_front_;
  }
  return body_.memory();
}

std::string_view Message::BodyPrefix(size_t n) {
  Split();
  if (!body_.in_file()) return body_.memory();
  if (n >= body_.size()) return ReadBody();
  if (n > body_front_.size()) ReadBodyFront(n);
  return body_front_;
}

}  // namespace lintrel::cli
