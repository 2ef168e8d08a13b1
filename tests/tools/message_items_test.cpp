#include "tools/run/message_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/inputs/listing.h"
#include "tools/inputs/message_reader.h"
#include "tools/run/macro_call.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

// A message file whose text part comes before an attachment of 1 MB, both
// past the first read.
class MessageItemsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    const std::string message =
        "X-Mailer: Kept\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n" +
        std::string(100000, ' ') +
        "\r\n--b\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
        "see http://example.org/pa=\r\nth/x=2Ey\r\n--b\r\nContent-Type: application/zip\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\n" +
        std::string(1000000, 'A') + "\r\n--b--\r\n";
    input_ = OpenListedFile(
        {paths_.Keep(folder_.Write("m.eml", message)), InputKind::kMessage, Listed::kRegularFile},
        nullptr, kHeaderFrontRead);
    ReadMessages(input_,
                 [&](Message message, uint64_t) { messages_.push_back(std::move(message)); });
    ASSERT_EQ(messages_.size(), 1u);
  }

  MacroOutcome Run(std::string_view macro, const BodyChoice& choice) {
    MessageItems items(messages_[0], choice);
    return RunMacro(plugin_, macro, items, {});
  }

  ScratchFolder folder_;
  PathStore paths_;
  OpenInput input_;
  std::vector<Message> messages_;
  const Plugin plugin_{Options()};
};

// A macro that never fetches the body reads nothing of it; one that does
// reads as far as the text part, not the attachment after it.
TEST_F(MessageItemsTest, TheBodyTextIsMadeOnlyWhenFetched) {
  const uint64_t reads = input_.file->reads();
  EXPECT_EQ(Run("KORMAILER", {}).text, "Kept");
  EXPECT_EQ(input_.file->reads(), reads);
  EXPECT_EQ(Run("KORGETLINKS", {}).text, "http://example.org/path/x.y");
  EXPECT_TRUE(messages_[0].body().in_file());
  EXPECT_LT(messages_[0].BodyPrefix(0).size(), size_t{500000});
}

// --raw-body hands over the bytes after the header block, as they stand.
TEST_F(MessageItemsTest, TheRawBodyIsTheBytesAfterTheHeaderBlock) {
  EXPECT_EQ(Run("KORGETLINKS", {true, {}}).text, "http://example.org/pa");
}

}  // namespace
}  // namespace lintrel::cli
