#include "tools/arguments/parse.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/base/errors.h"

namespace lintrel::cli {
namespace {

using Arguments = std::vector<std::string_view>;
using Strings = std::vector<std::string>;

TEST(ParseTest, ReadsRunOptionsMacroAndParameters) {
  const Options options =
      ParseArguments({"run", "--headers", "h.txt", "--param-file", "1", "p1.bin", "--now",
                      "2024-03-15T10:30:00Z", "KORKILLCITE", "", "--", "--not-an-option", "x"});
  EXPECT_EQ(options.command, Command::kRun);
  EXPECT_EQ(options.headers, "h.txt");
  EXPECT_FALSE(options.body.has_value());
  EXPECT_EQ(options.parameter_files[1], "p1.bin");
  EXPECT_FALSE(options.parameter_files[0].has_value());
  ASSERT_TRUE(options.now.has_value());
  EXPECT_EQ(options.now->hour, 10u);
  EXPECT_EQ(options.macro, "KORKILLCITE");
  EXPECT_EQ(options.parameters, (Strings{"", "--not-an-option", "x"}));

  EXPECT_EQ(ParseArguments({"report", "--message", "-"}).inputs.at(0).path, "-");
  EXPECT_EQ(ParseArguments({"list"}).command, Command::kList);
  EXPECT_EQ(ParseArguments({"--version"}).command, Command::kVersion);
  EXPECT_EQ(ParseArguments({"--dll", "x.TBP", "--version"}).dll, "x.TBP");
  EXPECT_EQ(ParseArguments({"--help"}).command, Command::kHelp);
  EXPECT_EQ(ParseArguments({"run", "--help"}).command, Command::kHelp);
  EXPECT_EQ(ParseArguments({"run", "KORCITE", "-h"}).command, Command::kHelp);
  EXPECT_EQ(ParseArguments({"help", "korcite"}).macro, "korcite");
  EXPECT_EQ(ParseArguments({"locales"}).command, Command::kLocales);
  const Options local = ParseArguments({"run", "--locale=", "--output-encoding", "utf-8", "M"});
  EXPECT_EQ(local.locale, "");
  EXPECT_EQ(local.output_encoding, OutputEncoding::kUtf8);
}

// Options anywhere before "--", values after "=" or as the next argument,
// short options alone, grouped or with the value attached: each command
// line here means the same.
TEST(ParseTest, OptionsFollowGetoptLongConventions) {
  const Arguments lines[] = {
      {"run", "-i", "a.eml", "--format", "jsonl", "-r", "-0", "--files-from", "list", "KORCITE", "",
       "-", "3"},
      {"run", "KORCITE", "--input=a.eml", "--format=jsonl", "-r0", "--files-from=list", "", "-",
       "3"},
      {"run", "KORCITE", "", "-ia.eml", "-", "--recursive", "--null", "3", "--files-from", "list",
       "--format", "jsonl"},
      {"-i", "a.eml", "run", "--format", "jsonl", "-0r", "--files-from", "list", "--", "KORCITE",
       "", "-", "3"},
  };
  for (const Arguments& line : lines) {
    const Options options = ParseArguments(line);
    EXPECT_EQ(options.command, Command::kRun);
    ASSERT_EQ(options.inputs.size(), 1u);
    EXPECT_EQ(options.inputs[0].path, "a.eml");
    EXPECT_EQ(options.format, Format::kJsonl);
    EXPECT_TRUE(options.recursive);
    EXPECT_TRUE(options.nul_separated);
    EXPECT_EQ(options.files_from, "list");
    EXPECT_EQ(options.macro, "KORCITE");
    EXPECT_EQ(options.parameters, (Strings{"", "-", "3"}));
  }
  // After "--", what looks like an option is a parameter.
  EXPECT_EQ(ParseArguments({"run", "KORCITE", "--", "", "[...]", "-1"}).parameters,
            (Strings{"", "[...]", "-1"}));
  EXPECT_EQ(ParseArguments({"run", "--", "-ODD"}).macro, "-ODD");
  // A value that begins with "-" is taken as the value.
  EXPECT_EQ(ParseArguments({"run", "--message", "-x.eml", "M"}).inputs[0].path, "-x.eml");
  EXPECT_EQ(ParseArguments({"run", "-o", "out", "-j", "3", "M"}).output, "out");
  EXPECT_EQ(ParseArguments({"run", "--jobs=12", "M"}).jobs, 12u);
  EXPECT_TRUE(ParseArguments({"report", "--sample"}).sample);
}

TEST(ParseTest, InputsKeepTheirOrderAndKind) {
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
  EXPECT_FALSE(ParseArguments({"run", "M"}).format.has_value());
}

TEST(ParseTest, RefusesCommandLinesThatDoNotFit) {
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
      {{"run", "M", "-i"}, "-i needs a value"},
      {{"run", "--param-file", "0"}, "--param-file needs a value"},
      {{"run", "--bogus", "M"}, "unknown option --bogus"},
      {{"run", "M", "-x"}, "unknown option -x"},
      {{"run", "KORCITE", "", "x", "-1"},
       "unknown option -1 (arguments that begin with \"-\" go after \"--\")"},
      {{"run", "--recursive=yes", "M"}, "--recursive takes no value"},
      {{"report", "--headers", "h"}, "unknown option --headers for report"},
      {{"list", "-i", "x"}, "unknown option -i for list"},
      {{"run", "--version"}, "unknown option --version for run"},
      {{"report", "KORCITE"}, "unexpected argument 'KORCITE'"},
      {{"run", "--message", "m", "--body", "b", "M"},
       "--message cannot be combined with --headers or --body"},
      {{"run", "--files-from", "l", "--headers", "h", "M"},
       "--files-from cannot be combined with --headers or --body"},
      {{"run", "--sample", "-i", "m", "M"}, "--sample cannot be combined with other inputs"},
      {{"run", "-0", "M"}, "-0 needs --files-from"},
      {{"run", "--param-file", "4", "f", "M"},
       "--param-file takes a parameter number from 0 to 3, not '4'"},
      {{"run", "--param-file", "0", "f", "--param-file", "0", "g", "M"},
       "--param-file 0 is given twice"},
      {{"run", "--message", "-", "--param-file", "0", "-", "M"},
       "standard input (-) can be read only once"},
      {{"run", "--files-from", "-", "-i", "-", "M"}, "standard input (-) can be read only once"},
      {{"run", "--now", "yesterday", "M"},
       "--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not 'yesterday'"},
      {{"run", "--now", "2023-02-29T00:00:00Z", "M"}, "--now: there is no day 2023-02-29"},
      {{"run", "--now=2024-03-15T10:30:60.000Z", "M"}, "--now: there is no time 10:30:60.000"},
      {{"run", "M", "0", "1", "2", "3", "4"}, "at most four parameters, P0 to P3"},
      {{"run", "--format", "xml", "M"}, "--format takes text, tsv or jsonl, not 'xml'"},
      {{"run", "--format", "tsv", "--format", "tsv", "M"}, "--format is given twice"},
      {{"report", "--format", "tsv"}, "report takes --format text or jsonl"},
      {{"run", "--output-encoding", "UTF8", "M"},
       "--output-encoding takes ansi or utf-8, not 'UTF8'"},
      {{"report", "--output-encoding=ansi", "--output-encoding=ansi"},
       "--output-encoding is given twice"},
      {{"locales", "--locale", "de"}, "unknown option --locale for locales"},
      {{"run", "--jobs", "0", "M"}, "--jobs takes a number of threads from 1 to 256, not '0'"},
      {{"run", "-j", "99999999999", "M"},
       "--jobs takes a number of threads from 1 to 256, not '99999999999'"},
      {{"run", "-o", "a", "--output", "b", "M"}, "--output is given twice"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT([&] { ParseArguments(c.arguments); },
                testing::ThrowsMessage<UsageError>(c.message));
  }
}

}  // namespace
}  // namespace lintrel::cli
