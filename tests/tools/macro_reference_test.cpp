#include "tools/arguments/macro_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "plugin/data_provider.h"
#include "plugin/fake_provider.h"
#include "plugin/identity.h"
#include "plugin/macro_call.h"
#include "text/integer.h"
#include "tools/arguments/now_time.h"
#include "tools/inputs/sample_message.h"

namespace lintrel::cli {
namespace {

constexpr std::string_view kRegenerate =
    "; run build/native/tools/lintrel_macro_docs docs/macros.md docs/lintrel.1.in in the "
    "source tree";

std::string ReadSourceFile(std::string_view path) {
  std::ifstream in(std::string(LINTREL_SOURCE_DIR) + "/" + std::string(path), std::ios::binary);
  EXPECT_TRUE(in) << path << " cannot be read";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the plug-in's own dispatcher gives for the example, on the sample
// message split as lintrel splits a message file, with the parameters and
// the --now clock as lintrel hands them over.
Text RunExample(const MacroReference& macro) {
  const std::string_view sample = kSampleMessage;
  const size_t empty_line = sample.find("\r\n\r\n");
  testing::FakeProvider message;
  message.items[kItemHeaders] = Text(sample.substr(0, empty_line + 2));
  message.items[kItemBody] = Text(sample.substr(empty_line + 4));
  testing::FakeProvider parameters;
  for (size_t n = 0; n < macro.example.parameters.size(); ++n) {
    const std::string_view parameter = macro.example.parameters[n];
    parameters.items[static_cast<int32_t>(n)] = Text(parameter);
    parameters.integers[static_cast<int32_t>(n)] = TryParseInt(parameter).value_or(0);
  }
  MacroEnvironment environment;
  const std::vector<std::string_view>& options = macro.example.options;
  for (size_t i = 0; i < options.size(); i += 2) {
    const auto parsed = options[i] == "--now" && i + 1 < options.size()
                            ? ParseNowTime(options[i + 1])
                            : std::variant<DateTimeParts, NowFault>(NowFault::kLayout);
    const DateTimeParts* now = std::get_if<DateTimeParts>(&parsed);
    if (now == nullptr) {
      ADD_FAILURE() << macro.name << ": an example's option must be --now with a time";
      return "";
    }
    environment.read_clock = [time = *now] { return time; };
  }
  return testing::RunMacro(macro.name, message, parameters, environment);
}

// The bytes that the last lines of `help`, after the example's command line,
// stand for: "\r", "\n" and "\\" read back, the indentation and the line
// breaks of the layout dropped.
std::string ShownExampleOutput(std::string_view help) {
  const size_t command = help.rfind("\n  $ lintrel run --sample ");
  if (command == std::string_view::npos) return "<no example command line>";
  std::string_view shown = help.substr(help.find('\n', command + 1) + 1);
  std::string bytes;
  while (!shown.empty()) {
    const size_t end = shown.find('\n');
    std::string_view line = shown.substr(0, end);
    if (!line.starts_with("  ")) return "<example line not indented>";
    line.remove_prefix(2);
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] != '\\' || i + 1 == line.size()) {
        bytes += line[i];
        continue;
      }
      const char escaped = line[++i];
      bytes += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
    shown.remove_prefix(end + 1);
  }
  return bytes;
}

TEST(MacroReferenceTest, ListsThePluginsMacrosInOrder) {
  std::vector<std::string_view> listed;
  for (std::string_view rest = kMacroList; !rest.empty();) {
    const size_t end = rest.find("\r\n");
    listed.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 2);
  }
  std::vector<std::string_view> documented;
  for (const MacroReference& macro : MacroReferences()) documented.push_back(macro.name);
  EXPECT_EQ(documented, listed);

  for (const MacroReference& macro : MacroReferences()) {
    EXPECT_FALSE(macro.summary.empty()) << macro.name;
    EXPECT_LE(macro.summary.size(), kMacroSummaryLength) << macro.name;
    EXPECT_FALSE(macro.summary.ends_with('.')) << macro.name;
    int position = -1;
    for (const MacroParameter& parameter : macro.parameters) {
      EXPECT_GT(parameter.position, position) << macro.name << " " << parameter.name;
      EXPECT_LE(parameter.position, 3) << macro.name << " " << parameter.name;
      position = parameter.position;
    }
  }
}

// The documents show a text in double quotes as a literal, so an odd quote
// would turn the rest of a paragraph into one.
TEST(MacroReferenceTest, ProseQuotesLiteralsInPairs) {
  for (const MacroReference& macro : MacroReferences()) {
    std::vector<std::string_view> prose = {macro.summary, macro.computes, macro.result};
    for (const MacroParameter& parameter : macro.parameters) {
      prose.insert(prose.end(), {parameter.meaning, parameter.when_empty});
    }
    for (const MacroError& error : macro.errors) prose.push_back(error.when);
    for (std::string_view text : prose) {
      EXPECT_EQ(std::count(text.begin(), text.end(), '"') % 2, 0) << macro.name << ": " << text;
    }
  }
}

TEST(MacroReferenceTest, FindsNamesAsThePluginMatchesThem) {
  const struct {
    std::string_view name;
    std::optional<std::string_view> found;
  } cases[] = {
      {"KORCITE", "KORCITE"},
      {"korcite", "KORCITE"},
      {"KorMkLink", "KORMKLINK"},
      {"kor_ln_ver", "KOR_LN_VER"},
      {"KORDELIVERYFROMDATE", "KORDELIVERYFROMDATE"},
      {"KORCITE ", std::nullopt},
      {" KORCITE", std::nullopt},
      {"KORCIT", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const MacroReference* macro = FindMacroReference(c.name);
    EXPECT_EQ(macro ? std::optional(macro->name) : std::nullopt, c.found) << '"' << c.name << '"';
  }
}

TEST(MacroReferenceTest, EveryExampleGivesWhatThePluginGives) {
  for (const MacroReference& macro : MacroReferences()) {
    EXPECT_EQ(RunExample(macro), macro.example.output) << macro.name;
  }
}

TEST(MacroReferenceTest, HelpFitsEightyColumnsAndEndsWithTheExampleBytes) {
  for (const MacroReference& macro : MacroReferences()) {
    const std::string help = MacroHelp(macro);
    ASSERT_TRUE(help.ends_with('\n')) << macro.name;
    size_t line_start = 0;
    for (size_t end = help.find('\n'); end != std::string::npos; end = help.find('\n', end + 1)) {
      EXPECT_LE(end - line_start, 79u)
          << macro.name << ": " << help.substr(line_start, end - line_start);
      line_start = end + 1;
    }
    EXPECT_EQ(ShownExampleOutput(help), macro.example.output) << macro.name;
  }
}

// Where `file` first departs from `made`, the text made from the table; ""
// when they are equal.
std::string FirstDifference(std::string_view file, std::string_view made) {
  if (file == made) return "";
  size_t line = 1;
  size_t start = 0;
  for (size_t i = 0; i < std::min(file.size(), made.size()) && file[i] == made[i]; ++i) {
    if (file[i] == '\n') {
      ++line;
      start = i + 1;
    }
  }
  const auto line_of = [start](std::string_view text) {
    return start < text.size() ? text.substr(start, text.find('\n', start) - start) : "<end>";
  };
  return "line " + std::to_string(line) + " is\n  " + std::string(line_of(file)) +
         "\nwhere the table gives\n  " + std::string(line_of(made)) + "\n";
}

TEST(MacroReferenceTest, DocumentsAreWrittenFromTheTable) {
  EXPECT_EQ(FirstDifference(ReadSourceFile("docs/macros.md"), MacroReferenceMarkdown()), "")
      << "docs/macros.md differs from the macro table" << kRegenerate;

  const std::string page = ReadSourceFile("docs/lintrel.1.in");
  const size_t begin = page.find(kManualSectionBegin);
  const size_t end = page.find(kManualSectionEnd);
  ASSERT_TRUE(begin != std::string::npos && end != std::string::npos && begin < end)
      << "docs/lintrel.1.in lacks the lines " << kManualSectionBegin << kManualSectionEnd;
  const size_t section = begin + kManualSectionBegin.size();
  EXPECT_EQ(FirstDifference(std::string_view(page).substr(section, end - section),
                            MacroReferenceManual()),
            "")
      << "the MACROS section of docs/lintrel.1.in differs from the macro table" << kRegenerate;
}

}  // namespace
}  // namespace lintrel::cli
