// The mbox reader fed in random chunk sizes, with small limits so that long
// messages are handed on by their place and oversized ones skipped: every
// chunking gives the same messages as one read of the whole input, each a
// piece of the input in order, with no "From " separator line inside one.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/inputs/mbox_reader.h"

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
