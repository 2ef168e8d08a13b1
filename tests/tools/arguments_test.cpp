#include "tools/arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/cli_error.h"

namespace lintrel::cli {
namespace {

using Arguments = std::vector<std::string_view>;

TEST(ArgumentsTest, ReadsRunOptionsMacroAndParameters) {
  const Options options =
      ParseArguments({"run", "--headers", "h.txt", "--param-file", "1", "p1.bin", "--now",
                      "2024-03-15T10:30:00Z", "KORKILLCITE", "", "--not-an-option", "x"});
  EXPECT_EQ(options.command, Command::kRun);
  EXPECT_EQ(options.headers, "h.txt");
  EXPECT_FALSE(options.body.has_value());
  EXPECT_EQ(options.parameter_files[1], "p1.bin");
  EXPECT_FALSE(options.parameter_files[0].has_value());
  ASSERT_TRUE(options.now.has_value());
  EXPECT_EQ(options.now->hour, 10);
  EXPECT_EQ(options.macro, "KORKILLCITE");
  EXPECT_EQ(options.parameters, (std::vector<std::string>{"", "--not-an-option", "x"}));

  EXPECT_EQ(ParseArguments({"run", "--", "-ODD"}).macro, "-ODD");
  EXPECT_EQ(ParseArguments({"report", "--message", "-"}).inputs.at(0).path, "-");
  EXPECT_EQ(ParseArguments({"list"}).command, Command::kList);
  EXPECT_EQ(ParseArguments({"--version"}).command, Command::kVersion);
  EXPECT_EQ(ParseArguments({"--help"}).command, Command::kHelp);
}

TEST(ArgumentsTest, InputsKeepTheirOrderAndKind) {
  const Options options =
      ParseArguments({"report", "--input", "inbox", "-i", "-", "--mbox", "a.mbox", "--message",
                      "m.eml", "--mbox", "b.mbox", "--recursive", "--format", "jsonl"});
  ASSERT_EQ(options.inputs.size(), 5u);
  const InputKind kinds[] = {InputKind::kDetect, InputKind::kDetect, InputKind::kMbox,
                             InputKind::kMessage, InputKind::kMbox};
  const char* const paths[] = {"inbox", "-", "a.mbox", "m.eml", "b.mbox"};
  const char* const names[] = {"--input", "-i", "--mbox", "--message", "--mbox"};
  for (size_t n = 0; n < options.inputs.size(); ++n) {
    EXPECT_EQ(options.inputs[n].kind, kinds[n]);
    EXPECT_EQ(options.inputs[n].path, paths[n]);
    EXPECT_EQ(options.inputs[n].option, names[n]);
  }
  EXPECT_TRUE(options.recursive);
  EXPECT_EQ(options.format, Format::kJsonl);
  const Options run = ParseArguments({"run", "--format", "tsv", "M"});
  EXPECT_EQ(run.format, Format::kTsv);
  EXPECT_FALSE(run.recursive);
  EXPECT_FALSE(ParseArguments({"run", "M"}).format.has_value());
}

TEST(ArgumentsTest, RefusesCommandLinesThatDoNotFit) {
  struct Case {
    Arguments arguments;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"list", "extra"}, "unexpected argument 'extra'"},
      {{"run"}, "no macro name given"},
      {{"run", "--message"}, "--message needs a value"},
      {{"run", "--bogus", "M"}, "unknown option --bogus"},
      {{"report", "--headers", "h"}, "unknown option --headers for report"},
      {{"report", "KORCITE"}, "unexpected argument 'KORCITE'"},
      {{"run", "--message", "m", "--body", "b", "M"},
       "--message cannot be combined with --headers or --body"},
      {{"run", "--mbox", "m", "--headers", "h", "M"},
       "--mbox cannot be combined with --headers or --body"},
      {{"run", "--param-file", "4", "f", "M"},
       "--param-file takes a parameter number from 0 to 3, not '4'"},
      {{"run", "--param-file", "0", "f", "--param-file", "0", "g", "M"},
       "--param-file 0 is given twice"},
      {{"run", "--message", "-", "--param-file", "0", "-", "M"},
       "standard input (-) can be read only once"},
      {{"run", "--now", "yesterday", "M"},
       "--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not 'yesterday'"},
      {{"run", "M", "0", "1", "2", "3", "4"}, "at most four parameters, P0 to P3"},
      {{"run", "-i", "a", "--body", "b", "M"}, "-i cannot be combined with --headers or --body"},
      {{"run", "--input", "-", "--mbox", "-", "M"}, "standard input (-) can be read only once"},
      {{"run", "--format", "xml", "M"}, "--format takes text, tsv or jsonl, not 'xml'"},
      {{"run", "--format", "tsv", "--format", "tsv", "M"}, "--format is given twice"},
      {{"report", "--format", "tsv"}, "report takes --format text or jsonl"},
      {{"report", "-i"}, "-i needs a value"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT([&] { ParseArguments(c.arguments); },
                testing::ThrowsMessage<UsageError>(c.message));
  }
}

}  // namespace
}  // namespace lintrel::cli
