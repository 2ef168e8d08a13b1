#include "tools/inputs/message_reader.h"

#include <algorithm>
#include <utility>

#include "tools/inputs/mbox_reader.h"

namespace lintrel::cli {
namespace {

// A message in an mbox file starts after a line that begins with this.
constexpr std::string_view kFrom = "From ";

// A message of an mbox file longer than this is not held while the file is
// split: a regular file hands it on by its place, to be read like a message
// file.
constexpr uint64_t kMaxHeldFromFile = uint64_t{64} << 20;

}  // namespace

OpenInput OpenListedFile(const ListedFile& listed) {
  OpenInput open{
      listed.path, std::make_shared<InputFile>(listed.path, listed.listed), {}, listed.kind};
  InputFile& file = *open.file;
  if (const std::optional<uint64_t> size = file.RegularSize()) {
    const auto have = static_cast<size_t>(std::min<uint64_t>(*size, kFrontRead));
    open.front.Reserve(have);
    file.ReadAt(0, open.front.data(), have);
    open.front.Resize(have);
  } else if (listed.kind != InputKind::kMessage) {
    // A stream cannot be read twice: what is read to tell its kind is kept.
    open.front.Reserve(kFrom.size());
    while (open.front.size() < kFrom.size()) {
      const size_t n =
          file.Read(open.front.data() + open.front.size(), kFrom.size() - open.front.size());
      if (n == 0) break;
      open.front.Resize(open.front.size() + n);
    }
  }
  if (open.kind == InputKind::kDetect) {
    open.kind = open.front.view().starts_with(kFrom) ? InputKind::kMbox : InputKind::kMessage;
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
  // A regular file is read on from the end of the front, by offset; a
  // stream from where the front left it.
  uint64_t offset = input.front.size();
  MboxReader::ReadFunction read = [&](char* buffer, size_t capacity) -> size_t {
    if (!size) return file.Read(buffer, capacity);
    const auto n = static_cast<size_t>(std::min<uint64_t>(capacity, *size - offset));
    file.ReadAt(offset, buffer, n);
    offset += n;
    return n;
  };
  MboxLimits limits;
  if (size) limits.max_held = kMaxHeldFromFile;
  MboxReader reader(std::move(read), limits, std::move(input.front));
  int64_t index = 0;
  while (std::optional<MboxMessage> found = reader.Next()) {
    Origin origin{input.path, ++index};
    Message message =
        found->oversized ? Message::Oversized(std::move(origin))
        : found->offset
            ? Message::FromFile(std::move(origin), input.file, *found->offset, found->size, {})
            : Message::FromBytes(std::move(origin), std::move(found->block), found->bytes);
    sink(std::move(message), reader.bytes_read());
  }
}

}  // namespace lintrel::cli
