#include "tools/inputs/listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/base/errors.h"
#include "tools/scratch_folder.h"

namespace lintrel::cli {
namespace {

// All that a lister gives, kept.
struct Listing {
  struct File {
    std::string path;
    InputKind kind;
    Listed listed;
  };
  std::vector<File> files;
  std::vector<InputError> problems;
  std::vector<InputError> notes;
  bool one_named_file = false;
};

Listing ListAll(const Options& options, std::optional<FileId> output = std::nullopt) {
  InputLister lister(options);
  lister.LeaveOut(output);
  Listing listing;
  listing.one_named_file = lister.one_named_file();
  ListingEntry entry;
  while (lister.Next(entry)) {
    switch (entry.what) {
      case ListingEntry::What::kFile:
        listing.files.push_back({std::string(entry.file.path), entry.file.kind, entry.file.listed});
        break;
      case ListingEntry::What::kProblem:
        listing.problems.push_back(*entry.report);
        break;
      case ListingEntry::What::kNote:
        listing.notes.push_back(*entry.report);
        break;
    }
  }
  return listing;
}

// A plain folder with a subfolder, a hidden file, a link to nowhere and a
// link back up; a Maildir with a folder of its own; an mbox file.
class ListingTest : public testing::Test {
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

  // The listed paths, relative to the scratch folder, as they were found
  // (links not resolved).
  std::vector<std::string> Files(const Listing& listing) const {
    std::vector<std::string> files;
    for (const Listing::File& file : listing.files) {
      const std::string root = folder_.path().string() + "/";
      files.emplace_back(file.path.starts_with(root) ? file.path.substr(root.size()) : file.path);
    }
    return files;
  }

  // "PATH: REASON" for each error, the path relative to the scratch folder.
  std::vector<std::string> Relative(const std::vector<InputError>& errors) const {
    std::vector<std::string> lines;
    for (const InputError& error : errors) {
      lines.push_back(std::string(error.what()).erase(0, folder_.path().string().size() + 1));
    }
    return lines;
  }

  Listing List(std::vector<Input> inputs, bool recursive) const {
    Options options;
    options.inputs = std::move(inputs);
    options.recursive = recursive;
    return ListAll(options);
  }

  ScratchFolder folder_;
};

using Names = std::vector<std::string>;

// Names that share their first eight bytes, or are shorter than eight, or
// hold bytes above 127, sort byte by byte all the same.
TEST_F(ListingTest, NamesSortByteByByte) {
  const Names names = {"1700000000.M2",
                       "1700000000.M10",
                       "17000000",
                       "1700000",
                       "170000000",
                       "b",
                       "B",
                       "\xc3\xa9t\xc3\xa9",
                       "a b",
                       "a\tb"};
  for (const std::string& name : names) folder_.Write("sorted/" + name, "S: x\n");
  Names expected = names;
  std::sort(expected.begin(), expected.end());
  for (std::string& name : expected) name.insert(0, "sorted/");
  EXPECT_EQ(Files(List({{InputKind::kDetect, Path("sorted"), "-i"}}, false)), expected);
}

// Kept paths stay where they are while more are kept, a path longer than a
// block of the store among them.
TEST(PathStoreTest, KeptPathsStay) {
  PathStore store;
  std::vector<std::pair<std::string_view, std::string>> kept;
  kept.emplace_back(store.Keep("mail/a.eml"), "mail/a.eml");
  kept.emplace_back(store.Keep("-"), "-");
  const std::string long_name(100000, 'x');
  for (int n = 0; n < 3000; ++n) {
    const std::string path = "folder/" + std::to_string(n) + (n == 1500 ? long_name : "");
    kept.emplace_back(store.Keep(path), path);
  }
  for (const auto& [view, expected] : kept) EXPECT_EQ(view, expected);
}

TEST_F(ListingTest, AFolderGivesItsFilesInNameOrder) {
  const Listing listing = List({{InputKind::kDetect, Path("mail"), "-i"}}, false);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "mail/b.eml"}));
  EXPECT_FALSE(listing.one_named_file);
  EXPECT_EQ(listing.files[0].kind, InputKind::kDetect);
  EXPECT_EQ(listing.files[0].listed, Listed::kRegularFile);
  EXPECT_EQ(Relative(listing.problems), (Names{"mail/broken: No such file or directory"}));
  EXPECT_EQ(Relative(listing.notes), (Names{"mail/sub: a folder, read only with --recursive"}));
}

TEST_F(ListingTest, RecursionReadsSubfoldersButNeverALoop) {
  const Listing listing = List({{InputKind::kDetect, Path("mail"), "-i"}}, true);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "mail/b.eml", "mail/sub/c.eml"}));
  EXPECT_EQ(Relative(listing.problems), (Names{"mail/broken: No such file or directory"}));
  EXPECT_EQ(Relative(listing.notes), (Names{"mail/sub/up: a folder already read, left out"}));
}

// Levels of folders, each with two links to the next: each folder is read
// once, whichever way it is reached, so the work stays linear.
TEST_F(ListingTest, EveryFolderIsReadOnceHoweverManyLinksLeadToIt) {
  const int levels = 24;
  for (int n = 0; n < levels; ++n) {
    const std::string level = "fan/" + std::to_string(n);
    std::filesystem::create_directories(Path(level));
    std::filesystem::create_directory_symlink("../" + std::to_string(n + 1), Path(level + "/a"));
    std::filesystem::create_directory_symlink("../" + std::to_string(n + 1), Path(level + "/b"));
  }
  folder_.Write("fan/" + std::to_string(levels) + "/m.eml", "S: m\n");
  const Listing listing = List({{InputKind::kDetect, Path("fan/0"), "-i"}}, true);
  EXPECT_EQ(Files(listing), (Names{"fan/0/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/a/m.eml"}));
  EXPECT_EQ(listing.notes.size(), static_cast<size_t>(levels));
  EXPECT_TRUE(listing.problems.empty());
}

TEST_F(ListingTest, AMaildirNeedsOnlyCur) {
  folder_.Write("bare/cur/1", "S: 1\n");
  folder_.Write("bare/tmp/2", "S: 2\n");
  const Listing listing = List({{InputKind::kDetect, Path("bare"), "-i"}}, false);
  EXPECT_EQ(Files(listing), (Names{"bare/cur/1"}));
  EXPECT_EQ(listing.files[0].kind, InputKind::kMessage);
  EXPECT_TRUE(listing.problems.empty());
}

TEST_F(ListingTest, AMaildirGivesCurThenNew) {
  const Input maildir{InputKind::kDetect, Path("maildir"), "--input"};
  Listing listing = List({maildir}, false);
  EXPECT_EQ(Files(listing), (Names{"maildir/cur/1:2,S", "maildir/cur/2:2,S", "maildir/new/3"}));
  EXPECT_EQ(listing.files[0].kind, InputKind::kMessage);
  EXPECT_TRUE(listing.problems.empty());
  EXPECT_TRUE(listing.notes.empty());
  listing = List({maildir}, true);
  EXPECT_EQ(Files(listing), (Names{"maildir/cur/1:2,S", "maildir/cur/2:2,S", "maildir/new/3",
                                   "maildir/.Sent/cur/5"}));
}

TEST_F(ListingTest, FilesAndStandardInputStandForThemselves) {
  const Listing listing = List({{InputKind::kMbox, Path("box.mbox"), "--mbox"},
                                {InputKind::kMessage, "-", "--message"},
                                {InputKind::kDetect, Path("mail/a.eml"), "-i"}},
                               false);
  EXPECT_EQ(Files(listing)[0], "box.mbox");
  EXPECT_EQ(listing.files[0].kind, InputKind::kMbox);
  EXPECT_EQ(listing.files[1].path, "-");
  EXPECT_EQ(listing.files[1].kind, InputKind::kMessage);
  EXPECT_EQ(listing.files[1].listed, Listed::kAsNamed);
  EXPECT_FALSE(listing.one_named_file);
}

// A list of paths, one a line or NUL-separated: its folders are read as
// folders named on the command line, and what cannot be read is reported.
TEST_F(ListingTest, AListOfFilesIsReadLikeAFolder) {
  const std::string root = folder_.path().string() + "/";
  struct Case {
    std::string list;
    bool nul_separated;
  };
  const Case cases[] = {
      {root + "mail/b.eml\n" + root + "missing\n\n" + root + "maildir\r\n", false},
      {root + "mail/b.eml" + '\0' + root + "missing" + '\0' + root + "maildir" + '\0', true},
  };
  for (const Case& c : cases) {
    Options options;
    options.files_from = folder_.Write("list", c.list);
    options.nul_separated = c.nul_separated;
    const Listing listing = ListAll(options);
    EXPECT_EQ(Files(listing),
              (Names{"mail/b.eml", "maildir/cur/1:2,S", "maildir/cur/2:2,S", "maildir/new/3"}));
    EXPECT_FALSE(listing.one_named_file);
    EXPECT_EQ(Relative(listing.problems), (Names{"missing: No such file or directory"}));
  }
}

// A newline-separated list whose lines hold NUL bytes was made for -0: its
// first path stops the command, a later one is reported; no path is cut at
// its NUL. A line longer than any path is reported, and not held.
TEST_F(ListingTest, AListLineThatNamesNoFileIsReportedByItsNumber) {
  const std::string root = folder_.path().string() + "/";
  Options options;
  options.files_from =
      folder_.Write("list", root + "mail/a.eml\n\n" + root + "mail/b.eml" + '\0' + "/etc/passwd\n" +
                                std::string(200000, 'x') + "\n" + root + "box.mbox");
  const Listing listing = ListAll(options);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "box.mbox"}));
  const std::string list = root + "list";
  ASSERT_EQ(listing.problems.size(), 2u);
  EXPECT_STREQ(listing.problems[0].what(),
               (list + ": line 3 holds a NUL byte; lists from -print0 need -0").c_str());
  EXPECT_STREQ(listing.problems[1].what(), (list + ": line 4 is longer than 65536 bytes").c_str());

  // Also when the list ends in such a line, with no line break after it.
  options.files_from = folder_.Write("last", root + "mail/a.eml\n" + std::string(200000, 'x'));
  const Listing ending = ListAll(options);
  EXPECT_EQ(Files(ending), (Names{"mail/a.eml"}));
  ASSERT_EQ(ending.problems.size(), 1u);
  EXPECT_STREQ(ending.problems[0].what(),
               (root + "last: line 2 is longer than 65536 bytes").c_str());

  options.files_from = folder_.Write("first", "\n" + root + "mail/a.eml" + '\0' + "x\n");
  EXPECT_THAT([&] { ListAll(options); }, testing::ThrowsMessage<UsageError>(
                                             root + "first: line 2 holds a NUL byte; lists from "
                                                    "-print0 need -0"));
}

// The output file is left out wherever it is found: by the listing's own
// numbers in a folder, by its path in a list.
TEST_F(ListingTest, TheOutputFileIsLeftOutWithANote) {
  const std::optional<FileId> output = FileIdOf(Path("mail/b.eml"));
  ASSERT_TRUE(output);
  Options options;
  options.inputs = {{InputKind::kDetect, Path("mail"), "-i"}};
  options.files_from = folder_.Write("list", Path("mail/b.eml") + "\n" + Path("box.mbox") + "\n");
  const Listing listing = ListAll(options, output);
  EXPECT_EQ(Files(listing), (Names{"mail/a.eml", "box.mbox"}));
  EXPECT_EQ(Relative(listing.notes), (Names{"mail/b.eml: the output file, left out",
                                            "mail/sub: a folder, read only with --recursive",
                                            "mail/b.eml: the output file, left out"}));
}

TEST_F(ListingTest, NamedPathsThatCannotBeReadStopTheCommand) {
  const std::string missing = Path("missing");
  EXPECT_THAT(
      [&] {
        List({{InputKind::kDetect, missing, "-i"}}, false);
      },
      testing::ThrowsMessage<InputError>(missing + ": No such file or directory"));
  const std::string mail = Path("mail");
  EXPECT_THAT(
      [&] {
        List({{InputKind::kMessage, mail, "--message"}}, false);
      },
      testing::ThrowsMessage<InputError>(mail + ": Is a directory"));
  EXPECT_THAT(
      [&] {
        List({{InputKind::kMbox, mail, "--mbox"}}, false);
      },
      testing::ThrowsMessage<InputError>(mail + ": Is a directory"));
}

}  // namespace
}  // namespace lintrel::cli
