#include "tools/inputs/message.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tools/base/errors.h"
#include "tools/inputs/given_items.h"
#include "tools/inputs/message_reader.h"
#include "tools/inputs/message_split.h"
#include "tools/inputs/size_limit.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

std::string Bytes(const ItemBytes& item) {
  std::string bytes(item.size(), '\0');
  item.CopyFront(bytes.data(), bytes.size());
  return bytes;
}

// The messages of one file, as the command reads them, `front_read` bytes
// read first. The listing they view is kept for the test's time.
std::vector<Message> ReadFile(const std::string& path, InputKind kind = InputKind::kDetect,
                              size_t front_read = kFrontRead) {
  static PathStore paths;
  const ListedFile listed{paths.Keep(path), kind, Listed::kRegularFile};
  OpenInput input = OpenListedFile(listed, nullptr, front_read);
  std::vector<Message> messages;
  ReadMessages(input, [&](Message message, uint64_t) { messages.push_back(std::move(message)); });
  return messages;
}

// The first read of a file is a header block's worth or 64 KiB; header
// blocks around that size make it read on, and line breaks across its end
// must pair as they do in the whole message.
TEST(MessageTest, MessageFilesSplitAsTheWholeMessageDoes) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  for (const size_t front : {kHeaderFrontRead, kFrontRead}) {
    std::vector<std::string> messages = {"", "Subject: s\r\n\r\nbody", "no empty line"};
    for (const size_t at :
         {front - 3, front - 2, front - 1, front, front + 1, 3 * front, kFrontRead + 1}) {
      for (const std::string_view end : {"\r\n\r\n", "\n\n", "\r\r", "\r\n\r"}) {
        std::string message(at, 'h');
        message += end;
        message += "body line\r\n";
        messages.push_back(message);
      }
    }
    messages.push_back(std::string(5 * kFrontRead, 'x'));
    for (const std::string& bytes : messages) {
      const std::string path = folder.Write("m.eml", bytes);
      std::vector<Message> read = ReadFile(path, InputKind::kMessage, front);
      ASSERT_EQ(read.size(), 1u);
      Message& message = read[0];
      const MessageParts whole = SplitMessage(bytes);
      EXPECT_EQ(Bytes(message.headers()), whole.headers) << bytes.size() << " from " << front;
      EXPECT_EQ(Bytes(message.body()), whole.body) << bytes.size() << " from " << front;
      if (bytes.size() <= front) {
        EXPECT_FALSE(message.body().in_file());
      }
      EXPECT_EQ(message.ReadBody(), whole.body) << bytes.size() << " from " << front;
      EXPECT_FALSE(message.body().in_file());
      EXPECT_EQ(message.origin().source, path);
    }
  }
}

// A header block longer than the command holds stays in its file, and is
// searched for its end a window at a time: an empty line on either side of
// a window's edge, or none, splits as in the whole message.
TEST(MessageTest, ALongHeaderBlockStaysInItsFile) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const size_t window = size_t{1} << 20;
  for (const size_t at :
       {kMaxHeldHeaders - 3, kMaxHeldHeaders - 2, kMaxHeldHeaders - 1, kMaxHeldHeaders,
        kMaxHeldHeaders + 1, kMaxHeldHeaders + window - 4, kMaxHeldHeaders + 2 * window + 5}) {
    for (const std::string_view end : {"\r\n\r\n", "\n\n", "\r\r", "\n\r\n", "\r\n\r", ""}) {
      std::string bytes(at, 'h');
      bytes += end;
      if (!end.empty()) bytes += "body line\r\n\r\n";
      const std::string path = folder.Write("m.eml", bytes);
      std::vector<Message> read = ReadFile(path, InputKind::kMessage);
      ASSERT_EQ(read.size(), 1u);
      Message& message = read[0];
      const MessageParts whole = SplitMessage(bytes);
      // Held when the bytes held show where it ends.
      const bool held = FindSplit(std::string_view(bytes).substr(0, kMaxHeldHeaders),
                                  bytes.size() <= kMaxHeldHeaders)
                            .has_value();
      EXPECT_EQ(message.headers().in_file(), !held) << at;
      EXPECT_EQ(Bytes(message.headers()), whole.headers) << at << " " << end.size();
      EXPECT_EQ(Bytes(message.body()), whole.body) << at << " " << end.size();
      EXPECT_EQ(message.ReadHeaders(), whole.headers) << at << " " << end.size();
      EXPECT_FALSE(message.headers().in_file());
    }
  }
}

// A body in its file is read a growing front at a time, from what the first
// read brought on, and its end only when it is asked for.
TEST(MessageTest, ABodyIsReadAFrontAtATime) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::string body;
  for (int n = 0; body.size() < 5 * kFrontRead; ++n) body += std::to_string(n) + " ";
  const std::string path = folder.Write("m.eml", "S: s\r\n\r\n" + body);
  std::vector<Message> read = ReadFile(path, InputKind::kMessage);
  ASSERT_EQ(read.size(), 1u);
  Message& message = read[0];
  ASSERT_TRUE(message.body().in_file());
  for (const size_t n : {size_t{0}, size_t{10}, kFrontRead - 8, kFrontRead, 2 * kFrontRead,
                         size_t{3}, 4 * kFrontRead + 1, body.size() - 1}) {
    const std::string_view prefix = message.BodyPrefix(n);
    EXPECT_GE(prefix.size(), n);
    EXPECT_EQ(prefix, std::string_view(body).substr(0, prefix.size())) << n;
    EXPECT_TRUE(message.body().in_file()) << n;
  }
  EXPECT_EQ(message.BodyPrefix(body.size()), body);
  EXPECT_FALSE(message.body().in_file());
  EXPECT_EQ(message.ReadBody(), body);
}

// A message outlives the reader and the file's other messages: the run may
// take it on after its reader has gone on.
TEST(MessageTest, MessagesOfAnMboxFileStandOnTheirOwn) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::string mbox;
  for (int n = 0; n < 300; ++n) {
    mbox += "From x\nSubject: " + std::to_string(n) + "\n\n" + std::string(n * 97, 'b') + "\n\n";
  }
  const std::vector<Message> read = ReadFile(folder.Write("box", mbox));
  ASSERT_EQ(read.size(), 300u);
  for (int n = 0; n < 300; ++n) {
    EXPECT_EQ(Bytes(read[n].headers()), "Subject: " + std::to_string(n) + "\n");
    EXPECT_EQ(Bytes(read[n].body()), std::string(n * 97, 'b') + "\n");
    EXPECT_EQ(read[n].origin().index, n + 1);
  }
}

TEST(MessageTest, AFileThatShrinksIsAnError) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = folder.Write("m.eml", "S: s\r\n\r\n" + std::string(4 * kFrontRead, 'b'));
  std::vector<Message> read = ReadFile(path);
  ASSERT_TRUE(read[0].body().in_file());
  folder.Write("m.eml", "short");
  EXPECT_THAT([&] { read[0].ReadBody(); },
              testing::ThrowsMessage<InputError>(path + ": changed while it was read"));
}

TEST(MessageTest, AFileThatIsNoLongerRegularIsRefusedWithoutWaiting) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = (folder.path() / "fifo").string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  // Listed as a regular file, then found to be a FIFO with no writer; with
  // either first read.
  for (const size_t front : {kHeaderFrontRead, kFrontRead}) {
    EXPECT_THAT([&] { ReadFile(path, InputKind::kMessage, front); },
                testing::ThrowsMessage<InputError>(path + ": not a regular file"));
  }
  // A folder put in a listed file's place.
  const std::string sub = (folder.path() / "sub").string();
  ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
  EXPECT_THAT([&] { ReadFile(sub, InputKind::kMessage, kHeaderFrontRead); },
              testing::ThrowsMessage<InputError>(sub + ": Is a directory"));
}

// An input of exactly the limit is taken, one byte more refused by its size:
// a message file, a --param-file and a --body alike. The files are sparse,
// and the bodies stay in them.
TEST(MessageTest, InputsUpToTheLimitAreTakenOneByteMoreIsRefused) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = folder.Write("edge", "S: s\r\n\r\n");
  for (const uint64_t size : {kMaxInputBytes, kMaxInputBytes + 1}) {
    std::filesystem::resize_file(path, size);
    Options options;
    options.parameter_files[0] = path;
    options.body = path;
    if (size == kMaxInputBytes) {
      EXPECT_EQ(ReadFile(path)[0].body().size(), kMaxInputBytes - 8);
      EXPECT_EQ(GivenParameters(options).parameters()[0].size(), kMaxInputBytes);
      EXPECT_EQ(HeadersAndBodyMessage(options).body().size(), kMaxInputBytes);
      continue;
    }
    const std::string refused = path + ": larger than 1073741824 bytes";
    EXPECT_THAT([&] { ReadFile(path); }, testing::ThrowsMessage<InputError>(refused));
    EXPECT_THAT([&] { GivenParameters{options}; }, testing::ThrowsMessage<InputError>(refused));
    EXPECT_THAT([&] { HeadersAndBodyMessage(options); },
                testing::ThrowsMessage<InputError>(refused));
  }
}

}  // namespace
}  // namespace lintrel::cli
