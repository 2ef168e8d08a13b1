#include "tools/inputs/message.h"

#include <algorithm>
#include <utility>

#include "tools/inputs/message_split.h"

namespace lintrel::cli {
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
  whole_ = {};
}

Message Message::FromParts(Origin origin, std::shared_ptr<const void> storage,
                           std::string_view headers, ItemBytes body) {
  Message message;
  message.origin_ = std::move(origin);
  message.storage_ = std::move(storage);
  message.headers_ = headers;
  message.body_ = body;
  return message;
}

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
  return FromParts(std::move(origin), std::move(storage), bytes.substr(0, split->headers_end),
                   body);
}

Message Message::Oversized(Origin origin) {
  Message message;
  message.origin_ = std::move(origin);
  message.oversized_ = true;
  return message;
}

std::string_view Message::ReadBody() {
  Split();
  if (!body_.in_file()) return body_.memory();
  // The header block stays where it is; the body gets storage of its own.
  struct Both {
    std::shared_ptr<const void> front;
    ByteBuffer body;
  };
  auto both = std::make_shared<Both>(Both{std::move(storage_), {}});
  both->body.Reserve(body_.size());
  body_.CopyFront(both->body.data(), body_.size());
  both->body.Resize(body_.size());
  body_ = both->body.view();
  storage_ = std::move(both);
  return body_.memory();
}

}  // namespace lintrel::cli
