#include "tools/file_items.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tools/cli_error.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

std::string Bytes(const ItemBytes& item) {
  std::string bytes(item.size(), '\0');
  item.CopyFront(bytes.data(), bytes.size());
  return bytes;
}

// The first read of a message file is 64 KiB; header blocks around that
// size make it read on, and line breaks across its end must pair as they
// do in the whole message.
TEST(FileItemsTest, MessageFilesSplitAsTheWholeMessageDoes) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const size_t first_read = size_t{1} << 16;
  std::vector<std::string> messages = {"", "Subject: s\r\n\r\nbody", "no empty line"};
  for (const size_t at : {first_read - 3, first_read - 2, first_read - 1, first_read,
                          first_read + 1, 3 * first_read}) {
    for (const std::string_view end : {"\r\n\r\n", "\n\n", "\r\r", "\r\n\r"}) {
      std::string message(at, 'h');
      message += end;
      message += "body line\r\n";
      messages.push_back(message);
    }
  }
  messages.push_back(std::string(5 * first_read, 'x'));
  for (const std::string& message : messages) {
    const std::string path = folder.Write("m.eml", message);
    InputFile file(path);
    MessageFile message_file(file, {});
    const MessageParts whole = SplitMessage(message);
    const MessageItems items = message_file.items();
    EXPECT_EQ(message_file.headers(), whole.headers) << message.size();
    EXPECT_EQ(Bytes(items.headers), whole.headers) << message.size();
    EXPECT_EQ(Bytes(items.body), whole.body) << message.size();
    EXPECT_EQ(message_file.size(), message.size());
    EXPECT_EQ(message_file.Whole(), message);
  }
}

TEST(FileItemsTest, FilesAboveTheLimitAreRefused) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = folder.Write("big", "0123456789");
  EXPECT_EQ(Bytes(WholeFile(path, 10).item()), "0123456789");
  EXPECT_THAT([&] { WholeFile(path, 9); },
              testing::ThrowsMessage<InputError>(path + ": larger than 9 bytes"));
  InputFile file(path);
  EXPECT_THAT([&] { MessageFile(file, {}, 9); },
              testing::ThrowsMessage<InputError>(path + ": larger than 9 bytes"));
}

TEST(FileItemsTest, AFileThatShrinksIsAnError) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = folder.Write("p", "parameter text");
  const WholeFile parameter(path);
  folder.Write("p", "short");
  EXPECT_THAT([&] { Bytes(parameter.item()); },
              testing::ThrowsMessage<InputError>(path + ": changed while it was read"));
}

}  // namespace
}  // namespace lintrel::cli
