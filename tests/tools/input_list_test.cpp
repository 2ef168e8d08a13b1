#include "tools/input_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/cli_error.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

// A plain folder with a subfolder, a hidden file, a link to nowhere and a
// link back up; a Maildir with a folder of its own; an mbox file.
class InputListTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    folder_.Write("box.mbox", "From a\n\nx\n");
    folder_.Write("mail/b.eml", "S: b\n");
    folder_.Write("mail/a.eml", "S: a\n");
    folder_.Write("mail/.hidden", "S: h\n");
    folder_.Write("mail/sub/c.eml", "S: c\n");
    std::filesystem::create_symlink("nowhere", Path("mail/broken"));
    std::filesystem::create_directory_symlink("..", Path("mail/sub/up"));
    folder_.Write("maildir/cur/2:2,S", "S: 2\n");
    folder_.Write("maildir/cur/1:2,S", "S: 1\n");
    folder_.Write("maildir/new/3", "S: 3\n");
    folder_.Write("maildir/tmp/4", "S: 4\n");
    folder_.Write("maildir/dovecot-uidlist", "3\n");
    folder_.Write("maildir/.Sent/cur/5", "S: 5\n");
    std::filesystem::create_directory(Path("maildir/.Sent/new"));
  }

  std::string Path(const std::string& name) const { return (folder_.path() / name).string(); }

  // The listed paths, relative to the scratch folder.
  std::vector<std::string> Files(const InputListing& listing) const {
    std::vector<std::string> files;
    for (const SourceFile& file : listing.files) {
      files.push_back(std::filesystem::relative(file.path, folder_.path()).string());
    }
    return files;
  }

  std::vector<std::string> Relative(std::vector<std::string> lines) const {
    for (std::string& line : lines) line.erase(0, folder_.path().string().size() + 1);
    return lines;
  }

  ScratchFolder folder_;
};

using Names = std::vector<std::string>;

TEST_F(InputListTest, AFolderGivesItsFilesInNameOrder) {
  const InputListing listing = ListInputs({{InputKind::kDetect, Path("mail"), "-i"}}, false);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "mail/b.eml"}));
  EXPECT_TRUE(listing.from_folders);
  EXPECT_EQ(listing.files[0].kind, InputKind::kDetect);
  EXPECT_EQ(listing.files[0].size, 5u);
  EXPECT_EQ(Relative(listing.problems), (Names{"mail/broken: No such file or directory"}));
  EXPECT_EQ(Relative(listing.notes), (Names{"mail/sub: a folder, read only with --recursive"}));
}

TEST_F(InputListTest, RecursionReadsSubfoldersButNeverALoop) {
  const InputListing listing = ListInputs({{InputKind::kDetect, Path("mail"), "-i"}}, true);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "mail/b.eml", "mail/sub/c.eml"}));
  EXPECT_EQ(Relative(listing.problems),
            (Names{"mail/broken: No such file or directory",
                   "mail/sub/up: a link back to a folder that holds it"}));
  EXPECT_TRUE(listing.notes.empty());
}

TEST_F(InputListTest, AMaildirGivesCurThenNew) {
  const Input maildir{InputKind::kDetect, Path("maildir"), "--input"};
  InputListing listing = ListInputs({maildir}, false);
  EXPECT_EQ(Files(listing), (Names{"maildir/cur/1:2,S", "maildir/cur/2:2,S", "maildir/new/3"}));
  EXPECT_EQ(listing.files[0].kind, InputKind::kMessage);
  EXPECT_TRUE(listing.problems.empty());
  EXPECT_TRUE(listing.notes.empty());
  listing = ListInputs({maildir}, true);
  EXPECT_EQ(Files(listing), (Names{"maildir/cur/1:2,S", "maildir/cur/2:2,S", "maildir/new/3",
                                   "maildir/.Sent/cur/5"}));
}

TEST_F(InputListTest, FilesAndStandardInputStandForThemselves) {
  const InputListing listing = ListInputs({{InputKind::kMbox, Path("box.mbox"), "--mbox"},
                                           {InputKind::kMessage, "-", "--message"},
                                           {InputKind::kDetect, Path("mail/a.eml"), "-i"}},
                                          false);
  EXPECT_EQ(Files(listing)[0], "box.mbox");
  EXPECT_EQ(listing.files[0].kind, InputKind::kMbox);
  EXPECT_EQ(listing.files[1].path, "-");
  EXPECT_EQ(listing.files[1].kind, InputKind::kMessage);
  EXPECT_FALSE(listing.files[1].size.has_value());
  EXPECT_FALSE(listing.from_folders);
}

TEST_F(InputListTest, NamedPathsThatCannotBeReadStopTheCommand) {
  const std::string missing = Path("missing");
  EXPECT_THAT(
      [&] {
        ListInputs({{InputKind::kDetect, missing, "-i"}}, false);
      },
      testing::ThrowsMessage<InputError>(missing + ": No such file or directory"));
  const std::string mail = Path("mail");
  EXPECT_THAT(
      [&] {
        ListInputs({{InputKind::kMessage, mail, "--message"}}, false);
      },
      testing::ThrowsMessage<InputError>(mail + ": Is a directory"));
  EXPECT_THAT(
      [&] {
        ListInputs({{InputKind::kMbox, mail, "--mbox"}}, false);
      },
      testing::ThrowsMessage<InputError>(mail + ": Is a directory"));
}

}  // namespace
}  // namespace lintrel::cli
