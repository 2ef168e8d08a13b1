// The command line read into Options: the options given applied, each value
// checked, the inputs checked to combine, and the operands read as the
// command, the macro and its parameters.
#include "tools/arguments/parse.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "tools/arguments/help.h"
#include "tools/arguments/now_time.h"
#include "tools/arguments/options_and_operands.h"
#include "tools/arguments/quoted.h"
#include "tools/base/errors.h"

namespace lintrel::cli {
namespace {

void SetOnce(std::optional<std::string>& slot, const std::string& written, std::string value) {
  if (slot) throw UsageError(written + " is given twice");
  slot = std::move(value);
}

std::optional<Format> FormatNamed(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "tsv") return Format::kTsv;
  if (name == "jsonl") return Format::kJsonl;
  return std::nullopt;
}

DateTimeParts NowTime(const std::string& text) {
  const std::variant<DateTimeParts, NowFault> now = ParseNowTime(text);
  if (const auto* time = std::get_if<DateTimeParts>(&now)) return *time;
  switch (std::get<NowFault>(now)) {
    case NowFault::kNoSuchDay:
      throw UsageError("--now: there is no day " + text.substr(0, 10));
    case NowFault::kNoSuchTime:
      throw UsageError("--now: there is no time " + text.substr(11, text.size() - 12));
    case NowFault::kLayout:
      break;
  }
  throw UsageError("--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not " + Quoted(text));
}

unsigned Jobs(const std::string& text) {
  unsigned jobs = 0;
  for (const char c : text) {
    jobs = c >= '0' && c <= '9' && jobs <= 256 ? jobs * 10 + static_cast<unsigned>(c - '0') : 1000;
  }
  if (jobs < 1 || jobs > 256) {
    throw UsageError("--jobs takes a number of threads from 1 to 256, not " + Quoted(text));
  }
  return jobs;
}

void Apply(const GivenOption& given, Options& options) {
  const std::string& written = given.written;
  const std::string value = given.values.empty() ? std::string() : given.values[0];
  switch (given.option) {
    case Option::kInput:
    case Option::kMessage:
    case Option::kMbox: {
      const InputKind kind = given.option == Option::kMessage ? InputKind::kMessage
                             : given.option == Option::kMbox  ? InputKind::kMbox
                                                              : InputKind::kDetect;
      options.inputs.push_back({kind, value, written});
      break;
    }
    case Option::kFilesFrom:
      SetOnce(options.files_from, written, value);
      break;
    case Option::kNull:
      options.nul_separated = true;
      break;
    case Option::kSample:
      options.sample = true;
      break;
    case Option::kRecursive:
      options.recursive = true;
      break;
    case Option::kHeaders:
      SetOnce(options.headers, written, value);
      break;
    case Option::kBody:
      SetOnce(options.body, written, value);
      break;
    case Option::kRawBody:
      options.raw_body = true;
      break;
    case Option::kParamFile:
      if (value.size() != 1 || value[0] < '0' || value[0] > '3') {
        throw UsageError("--param-file takes a parameter number from 0 to 3, not " + Quoted(value));
      }
      SetOnce(options.parameter_files[value[0] - '0'], "--param-file " + value, given.values[1]);
      break;
    case Option::kFormat:
      if (options.format) throw UsageError("--format is given twice");
      options.format = FormatNamed(value);
      if (!options.format) {
        throw UsageError("--format takes text, tsv or jsonl, not " + Quoted(value));
      }
      if (options.command == Command::kReport && options.format == Format::kTsv) {
        throw UsageError("report takes --format text or jsonl");
      }
      break;
    case Option::kNow:
      if (options.now) throw UsageError("--now is given twice");
      options.now = NowTime(value);
      break;
    case Option::kLocale:
      SetOnce(options.locale, written, value);
      break;
    case Option::kOutputEncoding:
      if (options.output_encoding) throw UsageError("--output-encoding is given twice");
      if (value == "ansi") {
        options.output_encoding = OutputEncoding::kAnsi;
      } else if (value == "utf-8") {
        options.output_encoding = OutputEncoding::kUtf8;
      } else {
        throw UsageError("--output-encoding takes ansi or utf-8, not " + Quoted(value));
      }
      break;
    case Option::kDll:
      SetOnce(options.dll, written, value);
      break;
    case Option::kOutput:
      SetOnce(options.output, written, value);
      break;
    case Option::kJobs:
      if (options.jobs != 0) throw UsageError("--jobs is given twice");
      options.jobs = Jobs(value);
      break;
    case Option::kHelp:
    case Option::kVersion:
      break;
  }
}

void CheckInputs(const Options& options) {
  const bool named = !options.inputs.empty() || options.files_from;
  const std::string first =
      !options.inputs.empty() ? options.inputs.front().option : "--files-from";
  if (named && (options.headers || options.body)) {
    throw UsageError(first + " cannot be combined with --headers or --body");
  }
  if (options.sample && (named || options.headers || options.body)) {
    throw UsageError("--sample cannot be combined with other inputs");
  }
  if (options.nul_separated && !options.files_from) throw UsageError("-0 needs --files-from");
  int from_standard_input = options.files_from == "-";
  for (const Input& input : options.inputs) from_standard_input += input.path == "-";
  from_standard_input += (options.headers == "-") + (options.body == "-");
  for (const auto& name : options.parameter_files) from_standard_input += name == "-";
  if (from_standard_input > 1) throw UsageError("standard input (-) can be read only once");
}

std::optional<Command> CommandNamed(std::string_view name) {
  if (name == "run") return Command::kRun;
  if (name == "report") return Command::kReport;
  if (name == "list") return Command::kList;
  if (name == "locales") return Command::kLocales;
  if (name == "help") return Command::kHelp;
  return std::nullopt;
}

}  // namespace

Options ParseArguments(const std::vector<std::string_view>& arguments) {
  const OptionsAndOperands split = SplitArguments(arguments);
  Options options;
  std::optional<Command> command;
  if (!split.operands.empty()) {
    command = CommandNamed(split.operands.front());
    if (!command) {
      throw UsageError("unknown command " + Quoted(split.operands.front()));
    }
  }
  for (const GivenOption& given : split.options) {
    if (given.option == Option::kHelp) return options;
  }
  const bool version =
      std::any_of(split.options.begin(), split.options.end(),
                  [](const GivenOption& g) { return g.option == Option::kVersion; });
  if (!command && !version) throw UsageError("no command given");
  options.command = command.value_or(Command::kVersion);
  for (const GivenOption& given : split.options) {
    if (!TakesOption(command, given.option)) {
      throw UsageError("unknown option " + Shortened(given.written) +
                       (command ? " for " + std::string(split.operands.front()) : ""));
    }
    Apply(given, options);
  }
  if (options.output_encoding && !kPlatformChoosesCodePage) {
    throw UsageError(
        "--output-encoding is not available on Windows: the texts are in the code page of the "
        "Windows user");
  }
  size_t next = 1;
  if (options.command == Command::kRun) {
    CheckInputs(options);
    if (split.operands.size() < 2) throw UsageError("no macro name given");
    options.macro = split.operands[next++];
    for (; next < split.operands.size(); ++next) {
      if (options.parameters.size() == 4) throw UsageError("at most four parameters, P0 to P3");
      options.parameters.emplace_back(split.operands[next]);
    }
  } else if (options.command == Command::kReport) {
    CheckInputs(options);
  } else if (options.command == Command::kHelp && split.operands.size() > 1) {
    options.macro = split.operands[next++];
  }
  if (next < split.operands.size()) {
    throw UsageError("unexpected argument " + Quoted(split.operands[next]));
  }
  return options;
}

}  // namespace lintrel::cli
