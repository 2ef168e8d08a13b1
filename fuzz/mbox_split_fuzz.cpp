// The mbox reader fed in random chunk sizes, with small limits so that long
// messages are handed on by their place and oversized ones skipped: every
// chunking gives the same messages as one read of the whole input, each a
// piece of the input in order, with no "From " separator line inside one.
// And the input split as a file a stretch at a time, in stretches of a
// random size, gives the messages of one read, numbered the same.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/inputs/mbox_reader.h"
#include "tools/inputs/message_reader.h"
#include "tools/inputs/message_split.h"

namespace {

struct Found {
  bool oversized = false;
  std::string bytes;
  bool operator==(const Found&) const = default;
};

// The messages of `input`, read `chunks` bytes at a time in turn.
std::vector<Found> ReadAll(const std::string& input, const std::vector<size_t>& chunks,
                           const lintrel::cli::MboxLimits& limits) {
  size_t offset = 0;
  size_t turn = 0;
  lintrel::cli::MboxReader reader(
      [&](char* buffer, size_t capacity) {
        const size_t chunk = chunks[turn++ % chunks.size()];
        const size_t n = std::min({capacity, chunk, input.size() - offset});
        std::memcpy(buffer, input.data() + offset, n);
        offset += n;
        return n;
      },
      limits);
  std::vector<Found> found;
  while (std::optional<lintrel::cli::MboxMessage> message = reader.Next()) {
    if (message->oversized) {
      lintrel::fuzz::Check(message->size > limits.max_message, "oversized within the limit");
      found.push_back({true, {}});
    } else if (message->offset) {
      lintrel::fuzz::Check(message->size > limits.max_held, "handed on though short");
      found.push_back({false, input.substr(*message->offset, message->size)});
    } else {
      lintrel::fuzz::Check(message->bytes.size() == message->size, "size differs from bytes");
      found.push_back({false, std::string(message->bytes)});
    }
  }
  lintrel::fuzz::Check(reader.bytes_read() == input.size(), "input not read to its end");
  return found;
}

// The header block and body of each message of `input`, read at once.
std::vector<std::pair<std::string, std::string>> WholeParts(const std::string& input) {
  size_t offset = 0;
  lintrel::cli::MboxReader reader([&](char* buffer, size_t capacity) {
    const size_t n = std::min(capacity, input.size() - offset);
    std::memcpy(buffer, input.data() + offset, n);
    offset += n;
    return n;
  });
  std::vector<std::pair<std::string, std::string>> parts;
  while (std::optional<lintrel::cli::MboxMessage> message = reader.Next()) {
    const lintrel::cli::MessageParts split = lintrel::cli::SplitMessage(message->bytes);
    parts.emplace_back(split.headers, split.body);
  }
  return parts;
}

// The same, the input split as a file, a stretch of `stretch` bytes at a
// time; the numbers must run on from stretch to stretch.
std::vector<std::pair<std::string, std::string>> StretchParts(const std::string& input,
                                                              uint64_t stretch) {
  static const std::string path = "/tmp/mbox_split_fuzz." + std::to_string(::getpid());
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(input.data(), 1, input.size(), file);
  std::fclose(file);
  auto open = std::make_shared<lintrel::cli::InputFile>(path, lintrel::cli::Listed::kRegularFile);
  auto pool = std::make_shared<lintrel::cli::BlockPool>();
  std::vector<std::pair<std::string, std::string>> parts;
  for (uint64_t begin = 0; begin < input.size(); begin += stretch) {
    const uint64_t end = std::min<uint64_t>(input.size(), begin + stretch);
    std::vector<lintrel::cli::Message> messages =
        lintrel::cli::ReadMboxStretch(open, path, begin, end, pool);
    for (size_t n = 0; n < messages.size(); ++n) {
      lintrel::fuzz::Check(messages[n].origin().index == static_cast<int64_t>(n) + 1,
                           "a stretch's messages numbered out of order");
      const std::string_view body = messages[n].ReadBody();
      parts.emplace_back(messages[n].ReadHeaders(), body);
    }
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  cli::MboxLimits limits;
  limits.max_message = 1 + reader.Byte() % 64;
  limits.max_held = 1 + reader.Byte() % limits.max_message;
  limits.read_size = 1 + reader.Byte() % 16;
  std::vector<size_t> chunks;
  for (int n = 1 + reader.Byte() % 4; n > 0; --n) chunks.push_back(1 + reader.Byte() % 32);
  const std::string input = reader.Rest();

  cli::MboxLimits whole = limits;
  whole.read_size = input.size() + 1;
  const std::vector<Found> expected = ReadAll(input, {input.size() + 1}, whole);
  fuzz::Check(ReadAll(input, chunks, limits) == expected, "chunking changed the messages");
  // At most a few dozen stretches, some of them a few bytes long.
  const uint64_t stretch = std::max<uint64_t>(1 + chunks.front() % 16, input.size() / 32);
  fuzz::Check(StretchParts(input, stretch) == WholeParts(input),
              "splitting by stretches changed the messages");
  size_t from = 0;
  for (const Found& message : expected) {
    if (message.oversized) continue;
    const size_t at = input.find(message.bytes, from);
    fuzz::Check(at != std::string::npos, "message not found in order", message.bytes);
    fuzz::Check(message.bytes.find("\n\nFrom ") == std::string::npos &&
                    message.bytes.find("\n\r\nFrom ") == std::string::npos,
                "separator inside a message", message.bytes);
    from = at + message.bytes.size();
  }
  return 0;
}
