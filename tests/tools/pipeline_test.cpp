#include "tools/command/pipeline.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "text/integer.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

// An mbox file of 36 messages of 100 KB, ten or eleven in each stretch of
// 1 MiB that the threads split it into.
class MboxFailureTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    std::string mbox;
    for (int n = 1; n <= 36; ++n) {
      mbox += "From a\nX-Mailer: M" + IntText(n) + "\n\n" + std::string(100000, 'b') + "\n\n";
    }
    path_ = folder_.Write("box.mbox", mbox);
  }

  struct Outcome {
    bool succeeded;
    std::string records;
    std::string errors;
  };

  // Runs over the mbox file on `jobs` threads, each record its message's
  // index, and then `work_also` on the message.
  Outcome RunOver(unsigned jobs, const StretchSplit& split,
                  const std::function<void(const Message&)>& work_also = nullptr) {
    const std::string out = (folder_.path() / "out.txt").string();
    Outcome outcome;
    {
      Output output(out);
      testing::internal::CaptureStderr();
      outcome.succeeded = RunOverFiles(
          nullptr, OpenListedFile({path_, InputKind::kMbox, Listed::kRegularFile}), output, jobs,
          [&](Message& message, MessageDone& done) {
            if (work_also) work_also(message);
            done.record += IntText(*message.origin().index) + "\n";
          },
          split);
      outcome.errors = testing::internal::GetCapturedStderr();
      output.Close();
    }
    std::ifstream file(out, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    outcome.records = bytes.str();
    return outcome;
  }

  static std::string Indexes(int first, int last) {
    std::string records;
    for (int n = first; n <= last; ++n) records += IntText(n) + "\n";
    return records;
  }

  ScratchFolder folder_;
  std::string path_;
};

// The second stretch fails and the third does not, as when the file shrank
// between their reads: the third's messages cannot be numbered, so nothing
// after the failure is written, whatever the order the threads took.
TEST_F(MboxFailureTest, NoRecordFollowsAStretchThatFailed) {
  const StretchSplit second_fails = [](const std::shared_ptr<InputFile>& file,
                                       std::string_view path, uint64_t begin, uint64_t end,
                                       const std::shared_ptr<BlockPool>& pool) {
    if (begin == uint64_t{1} << 20)
      throw InputError(std::string(path), "changed while it was read");
    return ReadMboxStretch(file, path, begin, end, pool);
  };
  const Outcome all = RunOver(1, ReadMboxStretch);
  ASSERT_TRUE(all.succeeded);
  ASSERT_EQ(all.records, Indexes(1, 36));
  for (const unsigned jobs : {1u, 2u, 4u}) {
    const Outcome outcome = RunOver(jobs, second_fails);
    EXPECT_FALSE(outcome.succeeded) << jobs;
    EXPECT_EQ(outcome.records, Indexes(1, 11)) << jobs;
    EXPECT_EQ(outcome.errors, "lintrel: " + path_ + ": changed while it was read\n") << jobs;
  }
}

// The file is cut short while its first stretch's messages run: it is named
// once, however many stretches are left to read.
TEST_F(MboxFailureTest, AFileCutShortIsNamedOnce) {
  const Outcome outcome = RunOver(1, ReadMboxStretch, [&](const Message& message) {
    if (message.origin().index == 1) {
      ASSERT_EQ(::truncate(path_.c_str(), 1500000), 0);
    }
  });
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.records, Indexes(1, 11));
  EXPECT_EQ(outcome.errors, "lintrel: " + path_ + ": changed while it was read\n");
}

}  // namespace
}  // namespace lintrel::cli
