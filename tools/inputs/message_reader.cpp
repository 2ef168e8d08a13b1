#include "tools/inputs/message_reader.h"

#include <algorithm>
#include <utility>

#include "body/byte_search.h"
#include "tools/inputs/mbox_reader.h"

namespace lintrel::cli {
namespace {

// A message of an mbox file longer than this is not held while the file is
// split: a regular file hands it on by its place, to be read like a message
// file.
constexpr uint64_t kMaxHeldFromFile = uint64_t{64} << 20;

// Read past the end of a stretch of an mbox file at a time, to find the end
// of its last message.
constexpr size_t kStretchReadAhead = size_t{64} << 10;

// A read function that reads the regular file `file` on from `offset`.
MboxReader::ReadFunction ReadingOn(const std::shared_ptr<InputFile>& file, uint64_t offset) {
  return [file, offset](char* buffer, size_t capacity) mutable -> size_t {
    const uint64_t size = file->RegularSize().value_or(0);
    const auto n = static_cast<size_t>(std::min<uint64_t>(capacity, size - std::min(size, offset)));
    file->ReadAt(offset, buffer, n);
    offset += n;
    return n;
  };
}

// The message that the mbox reader found, as the run takes it.
Message MessageOf(MboxMessage& found, Origin origin, const std::shared_ptr<InputFile>& file) {
  if (found.oversized) return Message::Oversized(std::move(origin));
  if (found.offset)
    return Message::FromFile(std::move(origin), file, *found.offset, found.size, {});
  return Message::FromBytes(std::move(origin), std::move(found.block), found.bytes);
}

// Reads the front of an input taken as it is named: standard input (which
// may be a regular file), a pipe, a device or a FIFO. Such an input is not
// sized by its first read: a pipe may bring fewer bytes than are to come.
// A regular file gives its first `first_read` bytes.
void ReadNamedFront(OpenInput& open, size_t first_read) {
  InputFile& file = *open.file;
  if (const std::optional<uint64_t> size = file.RegularSize()) {
    // A message file is refused by its size before it is read.
    if (open.kind == InputKind::kMessage) CheckSize(file.name(), *size);
    const auto have = static_cast<size_t>(std::min<uint64_t>(*size, first_read));
    open.front.Reserve(have);
    file.ReadAt(0, open.front.data(), have);
    open.front.Resize(have);
  } else if (open.kind != InputKind::kMessage) {
    // A stream cannot be read twice: what is read to tell its kind is kept.
    open.front.Reserve(kFromLineStart.size());
    while (open.front.size() < kFromLineStart.size()) {
      const size_t n = file.Read(open.front.data() + open.front.size(),
                                 kFromLineStart.size() - open.front.size());
      if (n == 0) break;
      open.front.Resize(open.front.size() + n);
    }
  }
}

}  // namespace

OpenInput OpenListedFile(const ListedFile& listed, const OpenFolder* folder, size_t front_read) {
  OpenInput open{listed.path, nullptr, {}, listed.kind};
  // Enough to tell an mbox file by its first line, however small asked for.
  const size_t first_read = std::max(front_read, kFromLineStart.size());
  if (listed.listed == Listed::kRegularFile) {
    open.front.Reserve(first_read);
    open.file = std::make_shared<InputFile>(listed.path, open.front, folder, listed.name_at);
    // A message file is refused by its size before it is read on.
    if (listed.kind == InputKind::kMessage) {
      CheckSize(open.file->name(), *open.file->RegularSize());
    }
  } else {
    open.file = std::make_shared<InputFile>(listed.path, listed.listed, folder, listed.name_at);
    ReadNamedFront(open, first_read);
  }
  if (open.kind == InputKind::kDetect) {
    open.kind =
        open.front.view().starts_with(kFromLineStart) ? InputKind::kMbox : InputKind::kMessage;
  }
  return open;
}

void ReadMessages(OpenInput& input, const MessageSink& sink) {
  InputFile& file = *input.file;
  const std::optional<uint64_t> size = file.RegularSize();
  if (input.kind == InputKind::kMessage) {
    Origin origin{input.path, std::nullopt};
    if (size) {
      CheckSize(file.name(), *size);
      sink(Message::FromFile(std::move(origin), input.file, 0, *size, std::move(input.front)),
           *size);
      return;
    }
    auto bytes = std::make_shared<ByteBuffer>(std::move(input.front));
    file.ReadRest(*bytes);
    const std::string_view view = bytes->view();
    sink(Message::FromBytes(std::move(origin), std::move(bytes), view), view.size());
    return;
  }
  // A stream is read on from where the front left it; a regular file from
  // the end of the front, by offset.
  MboxReader::ReadFunction read = [&](char* buffer, size_t capacity) {
    return file.Read(buffer, capacity);
  };
  MboxLimits limits;
  if (size) {
    read = ReadingOn(input.file, input.front.size());
    limits.max_held = kMaxHeldFromFile;
  }
  MboxReader reader(std::move(read), limits, std::move(input.front));
  int64_t index = 0;
  while (std::optional<MboxMessage> found = reader.Next()) {
    sink(MessageOf(*found, {input.path, ++index}, input.file), reader.bytes_read());
  }
}

std::optional<uint64_t> FindMboxSeparator(const InputFile& file, uint64_t from, uint64_t to) {
  const uint64_t size = file.RegularSize().value_or(0);
  // Each window holds the two bytes before its first LF to judge the line
  // that LF ends, and the five after its last to see "From ".
  constexpr size_t kWindow = size_t{1} << 16;
  ByteBuffer window;
  window.Reserve(kWindow + kFromLineAfterBreak.size() + 2);
  for (uint64_t at = from; at < to; at += kWindow) {
    const uint64_t start = at >= 2 ? at - 2 : 0;
    const auto n = static_cast<size_t>(std::min<uint64_t>(size, at + kWindow + 5) - start);
    if (start >= size) break;
    file.ReadAt(start, window.data(), n);
    window.Resize(n);
    const std::string_view bytes = window.view();
    const size_t lead = static_cast<size_t>(at - start);
    const size_t last = static_cast<size_t>(std::min<uint64_t>(to, at + kWindow) - start);
    for (size_t lf = FindBytePair<'\n', 'F'>(bytes, lead); lf < last;
         lf = FindBytePair<'\n', 'F'>(bytes, lf + 1)) {
      if (SeparatorAt(bytes, lf)) return start + lf + 1;
    }
  }
  return std::nullopt;
}

std::vector<Message> ReadMboxStretch(const std::shared_ptr<InputFile>& file, std::string_view path,
                                     uint64_t begin, uint64_t end,
                                     const std::shared_ptr<BlockPool>& pool) {
  uint64_t start = 0;
  if (begin > 0) {
    const std::optional<uint64_t> from_line = FindMboxSeparator(*file, begin, end);
    if (!from_line) return {};
    start = *from_line;
  }
  MboxLimits limits;
  limits.max_held = kMaxHeldFromFile;
  limits.read_size = kStretchReadAhead;
  limits.first_read = static_cast<size_t>(end - start) + kStretchReadAhead;
  MboxReader reader(ReadingOn(file, start), limits, {}, start, pool);
  std::vector<Message> messages;
  while (std::optional<MboxMessage> found = reader.Next()) {
    messages.push_back(MessageOf(*found, {path, static_cast<int64_t>(messages.size()) + 1}, file));
    // The next message belongs to the stretch its separator's LF lies in.
    if (!found->next_from_line || *found->next_from_line > end) break;
  }
  return messages;
}

}  // namespace lintrel::cli
