#include "tools/message_source.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "tools/mbox_reader.h"

namespace lintrel::cli {
namespace {

// A message in an mbox file starts after a line that begins with this.
constexpr std::string_view kFrom = "From ";

}  // namespace

OpenSource OpenSourceFile(const SourceFile& source) {
  OpenSource open{std::make_unique<InputFile>(source.path), {}, source.kind};
  InputFile& file = *open.file;
  if (source.kind != InputKind::kDetect) return open;
  char start[kFrom.size()];
  size_t have = 0;
  if (const std::optional<uint64_t> size = file.RegularSize()) {
    have = static_cast<size_t>(std::min<uint64_t>(*size, kFrom.size()));
    file.ReadAt(0, start, have);
  } else {
    // A stream cannot be read twice: what is read to tell its kind is kept.
    open.front.Reserve(kFrom.size());
    while (have < kFrom.size()) {
      const size_t n = file.Read(open.front.data() + have, kFrom.size() - have);
      if (n == 0) break;
      have += n;
    }
    open.front.Resize(have);
    std::memcpy(start, open.front.data(), have);
  }
  open.kind = std::string_view(start, have) == kFrom ? InputKind::kMbox : InputKind::kMessage;
  return open;
}

MessageItems FoundMessage::items() const {
  if (file_ != nullptr) return file_->items();
  return {parts_.headers, parts_.body};
}

MessageParts FoundMessage::Whole() {
  return file_ != nullptr ? SplitMessage(file_->Whole()) : parts_;
}

void ForEachMessage(OpenSource& source, std::string_view path, const MessageVisitor& visit) {
  InputFile& file = *source.file;
  if (source.kind == InputKind::kMessage) {
    MessageFile message_file(file, std::move(source.front));
    FoundMessage message(message_file);
    visit(message, {{path, std::nullopt}, false, message_file.size()});
    return;
  }
  // The bytes read to tell the kind are handed to the reader first.
  size_t front_used = 0;
  MboxReader reader([&](char* buffer, size_t capacity) {
    if (front_used < source.front.size()) {
      const size_t n = std::min(capacity, source.front.size() - front_used);
      std::memcpy(buffer, source.front.data() + front_used, n);
      front_used += n;
      return n;
    }
    return file.Read(buffer, capacity);
  });
  int64_t index = 0;
  while (const std::optional<MboxMessage> found = reader.Next()) {
    FoundMessage message(SplitMessage(found->bytes));
    visit(message, {{path, ++index}, found->oversized, reader.bytes_read()});
  }
}

}  // namespace lintrel::cli
