#include "tools/inputs/mbox_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace lintrel::cli {
namespace {

constexpr char kOversized[] = "<oversized>";

// Reads all of `input`, handed over `read_size` bytes at a time, and answers
// each message's bytes (or kOversized): held, or read from the input again
// where the reader handed a message on by its place.
std::vector<std::string> ReadAll(const std::string& input, size_t read_size,
                                 uint64_t max_message = kMaxInputBytes,
                                 uint64_t max_held = kMaxInputBytes) {
  size_t offset = 0;
  MboxReader reader(
      [&](char* buffer, size_t capacity) {
        const size_t n = std::min({capacity, read_size, input.size() - offset});
        std::memcpy(buffer, input.data() + offset, n);
        offset += n;
        return n;
      },
      {max_message, max_held, read_size});
  std::vector<std::string> messages;
  std::vector<MboxMessage> kept;
  while (std::optional<MboxMessage> message = reader.Next()) {
    if (message->oversized) {
      messages.push_back(kOversized);
    } else if (message->offset) {
      EXPECT_GT(message->size, max_held);
      messages.push_back(input.substr(*message->offset, message->size));
    } else {
      EXPECT_EQ(message->bytes.size(), message->size);
      messages.push_back(std::string(message->bytes));
    }
    // Every other message is kept while the reader goes on: its bytes must
    // stay as they were.
    if (messages.size() % 2 == 0) kept.push_back(std::move(*message));
  }
  for (size_t n = 0; n < kept.size(); ++n) {
    if (!kept[n].oversized && !kept[n].offset) {
      EXPECT_EQ(kept[n].bytes, messages[2 * n + 1]);
    }
  }
  EXPECT_EQ(reader.bytes_read(), input.size());
  return messages;
}

using Messages = std::vector<std::string>;

TEST(MboxReaderTest, SplitsAtFromLinesAfterEmptyLines) {
  struct Case {
    std::string input;
    Messages messages;
  };
  const Case cases[] = {
      {"", {}},
      {"From a\nx\n", {"x\n"}},
      {"From a\nx\n\nFrom b\ny\n", {"x\n", "y\n"}},
      // The empty line at the end is a separator too.
      {"From a\nx\n\nFrom b\ny\n\n", {"x\n", "y\n"}},
      {"From a\r\nS: 1\r\n\r\nx\r\n\r\nFrom b\r\ny\r\n\r\n", {"S: 1\r\n\r\nx\r\n", "y\r\n"}},
      // Only one empty line separates; another belongs to the message.
      {"From a\nx\n\n\nFrom b\ny", {"x\n\n", "y"}},
      // "From " that does not follow an empty line, or is quoted, stays.
      {"From a\nx\nFrom b\n", {"x\nFrom b\n"}},
      {"From a\nx\r\nFrom b\n", {"x\r\nFrom b\n"}},
      {"From a\nx\n\n>From b\n", {"x\n\n>From b\n"}},
      {"From a\nx\n\nFromage\n", {"x\n\nFromage\n"}},
      // Empty messages, and a "From " line that ends the input.
      {"From a\n\nFrom b\n\n", {"", ""}},
      {"From a\nx\n\nFrom b", {"x\n", ""}},
      {"From a", {""}},
      // Bytes before the first "From " line are a message of their own.
      {"junk\n\nFrom a\nx\n", {"junk\n", "x\n"}},
      {"\nFrom a\nx\n", {"x\n"}},
      {"Subject: s\n\nbody\n", {"Subject: s\n\nbody\n"}},
      {"\n", {}},
      // A CR alone does not end a line.
      {"From a\nx\r\rFrom b\n", {"x\r\rFrom b\n"}},
      {"From a\nx\n\r\nFrom b\ny\n", {"x\n", "y\n"}},
  };
  for (const Case& c : cases) {
    for (size_t read_size : {1, 2, 3, 5, 7, 1 << 20}) {
      EXPECT_EQ(ReadAll(c.input, read_size), c.messages)
          << "input: " << c.input << " read size: " << read_size;
    }
  }
}

TEST(MboxReaderTest, SkipsMessagesAboveTheLimitWithoutHoldingThem) {
  const std::string long_line(40, 'z');
  const std::string input = "From a\n" + long_line + "\n\nFrom b\nok\n\nFrom c\n" + long_line +
                            "\nFrom d\n\nFrom e\nabcd";
  for (size_t read_size : {1, 3, 8, 1 << 20}) {
    EXPECT_EQ(ReadAll(input, read_size, 4), (Messages{kOversized, "ok\n", kOversized, "abcd"}))
        << "read size: " << read_size;
  }
}

// From an input that can be read again, a message too long to hold is
// handed on by its place, the same bytes as if it were held; memory stays
// at the held size.
TEST(MboxReaderTest, HandsOnLongMessagesByTheirPlace) {
  const std::string long_line(40, 'z');
  const std::string input = "From a\n" + long_line + "\n\nFrom b\nok\n\nFrom c\r\n" + long_line +
                            "\r\nFrom d\r\n\r\nFrom e\n" + long_line + long_line + "\n";
  const Messages expected = {long_line + "\n", "ok\n", long_line + "\r\nFrom d\r\n", kOversized};
  for (size_t read_size : {1, 3, 8, 1 << 20}) {
    EXPECT_EQ(ReadAll(input, read_size, 60, 10), expected) << "read size: " << read_size;
  }
}

TEST(MboxReaderTest, PassesReadErrorsOn) {
  MboxReader reader([](char*, size_t) -> size_t { throw std::runtime_error("disk gone"); });
  EXPECT_THROW(reader.Next(), std::runtime_error);
}

}  // namespace
}  // namespace lintrel::cli
