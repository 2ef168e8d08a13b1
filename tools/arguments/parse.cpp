#include "tools/arguments/parse.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "tools/arguments/now_time.h"
#include "tools/base/errors.h"

namespace lintrel::cli {
namespace {

enum class Option {
  kInput,
  kMessage,
  kMbox,
  kFilesFrom,
  kNull,
  kSample,
  kRecursive,
  kHeaders,
  kBody,
  kParamFile,
  kFormat,
  kNow,
  kLocale,
  kDll,
  kOutput,
  kJobs,
  kHelp,
  kVersion
};

// The commands an option belongs to, as bits; kTop is the command line
// without a command (--version).
constexpr unsigned kRun = 1, kReport = 2, kList = 4, kHelpCommand = 8, kTop = 16;
constexpr unsigned kRunAndReport = kRun | kReport;
constexpr unsigned kAll = kRun | kReport | kList | kHelpCommand | kTop;

struct OptionSpec {
  std::string_view name;
  char short_name;  // '\0' for none
  int values;       // how many arguments follow it
  unsigned commands;
  Option option;
};

constexpr OptionSpec kOptions[] = {
    {"--input", 'i', 1, kRunAndReport, Option::kInput},
    {"--message", '\0', 1, kRunAndReport, Option::kMessage},
    {"--mbox", '\0', 1, kRunAndReport, Option::kMbox},
    {"--files-from", '\0', 1, kRunAndReport, Option::kFilesFrom},
    {"--null", '0', 0, kRunAndReport, Option::kNull},
    {"--sample", '\0', 0, kRunAndReport, Option::kSample},
    {"--recursive", 'r', 0, kRunAndReport, Option::kRecursive},
    {"--headers", '\0', 1, kRun, Option::kHeaders},
    {"--body", '\0', 1, kRun, Option::kBody},
    {"--param-file", '\0', 2, kRun, Option::kParamFile},
    {"--format", '\0', 1, kRunAndReport, Option::kFormat},
    {"--now", '\0', 1, kRunAndReport, Option::kNow},
    {"--locale", '\0', 1, kRunAndReport, Option::kLocale},
    {"--dll", '\0', 1, kRunAndReport | kList | kTop, Option::kDll},
    {"--output", 'o', 1, kRunAndReport, Option::kOutput},
    {"--jobs", 'j', 1, kRunAndReport, Option::kJobs},
    {"--help", 'h', 0, kAll, Option::kHelp},
    {"--version", '\0', 0, kTop, Option::kVersion},
};

// An option as written, with its values.
struct Given {
  const OptionSpec* spec;
  std::string written;  // "--input" or "-i"
  std::vector<std::string> values;
};

struct Split {
  std::vector<Given> options;
  std::vector<std::string_view> operands;
};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& spec : kOptions) {
    if (name.size() == 2 && name[0] == '-' && name[1] != '-' ? spec.short_name == name[1]
                                                             : spec.name == name) {
      return &spec;
    }
  }
  return nullptr;
}

[[noreturn]] void Unknown(std::string_view written) {
  std::string message = "unknown option " + std::string(written);
  if (written.size() > 1 && written[1] >= '0' && written[1] <= '9') {
    message += " (arguments that begin with \"-\" go after \"--\")";
  }
  throw UsageError(message);
}

// Separates options from operands, taking each option's values.
Split SplitArguments(const std::vector<std::string_view>& arguments) {
  Split split;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--") {
      split.operands.insert(split.operands.end(), arguments.begin() + i + 1, arguments.end());
      break;
    }
    if (argument.size() < 2 || argument[0] != '-') {
      split.operands.push_back(argument);
      continue;
    }
    // The written options of this argument, each with a value attached to
    // it in the same argument, if any.
    std::vector<std::pair<std::string, std::optional<std::string_view>>> written;
    if (argument[1] == '-') {
      const size_t equals = argument.find('=');
      written.emplace_back(std::string(argument.substr(0, equals)),
                           equals == std::string_view::npos
                               ? std::nullopt
                               : std::optional(argument.substr(equals + 1)));
    } else {
      for (size_t j = 1; j < argument.size(); ++j) {
        const std::string name = {'-', argument[j]};
        const OptionSpec* spec = FindOption(name);
        if (spec == nullptr) Unknown(name);
        if (spec->values > 0 && j + 1 < argument.size()) {
          written.emplace_back(name, argument.substr(j + 1));
          break;
        }
        written.emplace_back(name, std::nullopt);
      }
    }
    for (auto& [name, attached] : written) {
      const OptionSpec* spec = FindOption(name);
      if (spec == nullptr) Unknown(name);
      Given given{spec, name, {}};
      if (attached) {
        if (spec->values == 0) throw UsageError(name + " takes no value");
        given.values.emplace_back(*attached);
      }
      while (static_cast<int>(given.values.size()) < spec->values) {
        if (++i == arguments.size()) throw UsageError(name + " needs a value");
        given.values.emplace_back(arguments[i]);
      }
      split.options.push_back(std::move(given));
    }
  }
  return split;
}

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
  throw UsageError("--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not '" + text + "'");
}

unsigned Jobs(const std::string& text) {
  unsigned jobs = 0;
  for (const char c : text) {
    jobs = c >= '0' && c <= '9' && jobs <= 256 ? jobs * 10 + static_cast<unsigned>(c - '0') : 1000;
  }
  if (jobs < 1 || jobs > 256) {
    throw UsageError("--jobs takes a number of threads from 1 to 256, not '" + text + "'");
  }
  return jobs;
}

void Apply(const Given& given, Options& options) {
  const std::string& written = given.written;
  const std::string value = given.values.empty() ? std::string() : given.values[0];
  switch (given.spec->option) {
    case Option::kInput:
    case Option::kMessage:
    case Option::kMbox: {
      const InputKind kind = given.spec->option == Option::kMessage ? InputKind::kMessage
                             : given.spec->option == Option::kMbox  ? InputKind::kMbox
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
    case Option::kParamFile:
      if (value.size() != 1 || value[0] < '0' || value[0] > '3') {
        throw UsageError("--param-file takes a parameter number from 0 to 3, not '" + value + "'");
      }
      SetOnce(options.parameter_files[value[0] - '0'], "--param-file " + value, given.values[1]);
      break;
    case Option::kFormat:
      if (options.format) throw UsageError("--format is given twice");
      options.format = FormatNamed(value);
      if (!options.format) {
        throw UsageError("--format takes text, tsv or jsonl, not '" + value + "'");
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
  if (name == "help") return Command::kHelp;
  return std::nullopt;
}

unsigned Bit(std::optional<Command> command) {
  if (!command) return kTop;
  switch (*command) {
    case Command::kRun:
      return kRun;
    case Command::kReport:
      return kReport;
    case Command::kList:
      return kList;
    default:
      return kHelpCommand;
  }
}

}  // namespace

Options ParseArguments(const std::vector<std::string_view>& arguments) {
  const Split split = SplitArguments(arguments);
  Options options;
  std::optional<Command> command;
  if (!split.operands.empty()) {
    command = CommandNamed(split.operands.front());
    if (!command) {
      throw UsageError("unknown command '" + std::string(split.operands.front()) + "'");
    }
  }
  for (const Given& given : split.options) {
    if (given.spec->option == Option::kHelp) return options;
  }
  const bool version = std::any_of(split.options.begin(), split.options.end(), [](const Given& g) {
    return g.spec->option == Option::kVersion;
  });
  if (!command && !version) throw UsageError("no command given");
  options.command = command.value_or(Command::kVersion);
  for (const Given& given : split.options) {
    if ((given.spec->commands & Bit(command)) == 0) {
      throw UsageError("unknown option " + given.written +
                       (command ? " for " + std::string(split.operands.front()) : ""));
    }
    Apply(given, options);
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
    throw UsageError("unexpected argument '" + std::string(split.operands[next]) + "'");
  }
  return options;
}

}  // namespace lintrel::cli
