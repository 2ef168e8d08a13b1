#include "tools/arguments.h"

#include "tools/cli_error.h"
#include "tools/now_time.h"

namespace lintrel::cli {
namespace {

class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string_view>& arguments) : arguments_(arguments) {}

  bool done() const { return next_ == arguments_.size(); }
  std::string_view Peek() const { return arguments_[next_]; }
  std::string_view Take() { return arguments_[next_++]; }

  // The value of `option`, which must follow it.
  std::string TakeValue(std::string_view option) {
    if (done()) throw UsageError(std::string(option) + " needs a value");
    return std::string(Take());
  }

 private:
  const std::vector<std::string_view>& arguments_;
  size_t next_ = 0;
};

void SetOnce(std::optional<std::string>& slot, std::string_view option, std::string value) {
  if (slot) throw UsageError(std::string(option) + " is given twice");
  slot = std::move(value);
}

bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument[0] == '-';
}

std::optional<Format> FormatNamed(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "tsv") return Format::kTsv;
  if (name == "jsonl") return Format::kJsonl;
  return std::nullopt;
}

// Reads the options of `run` or `report` up to the first argument that is
// not one.
void ReadOptions(ArgumentReader& reader, Options& options) {
  const bool run = options.command == Command::kRun;
  while (!reader.done() && IsOption(reader.Peek())) {
    const std::string_view option = reader.Take();
    if (option == "--") return;
    if (option == "--input" || option == "-i" || option == "--message" || option == "--mbox") {
      const InputKind kind = option == "--message" ? InputKind::kMessage
                             : option == "--mbox"  ? InputKind::kMbox
                                                   : InputKind::kDetect;
      options.inputs.push_back({kind, reader.TakeValue(option), std::string(option)});
    } else if (option == "--recursive") {
      options.recursive = true;
    } else if (option == "--format") {
      const std::string name = reader.TakeValue(option);
      if (options.format) throw UsageError("--format is given twice");
      options.format = FormatNamed(name);
      if (!options.format) {
        throw UsageError("--format takes text, tsv or jsonl, not '" + name + "'");
      }
      if (!run && options.format == Format::kTsv) {
        throw UsageError("report takes --format text or jsonl");
      }
    } else if (option == "--headers" && run) {
      SetOnce(options.headers, option, reader.TakeValue(option));
    } else if (option == "--body" && run) {
      SetOnce(options.body, option, reader.TakeValue(option));
    } else if (option == "--param-file" && run) {
      const std::string number = reader.TakeValue(option);
      if (number.size() != 1 || number[0] < '0' || number[0] > '3') {
        throw UsageError("--param-file takes a parameter number from 0 to 3, not '" + number + "'");
      }
      std::optional<std::string>& slot = options.parameter_files[number[0] - '0'];
      SetOnce(slot, "--param-file " + number, reader.TakeValue(option));
    } else if (option == "--now") {
      const std::string text = reader.TakeValue(option);
      if (options.now) throw UsageError("--now is given twice");
      options.now = ParseNowTime(text);
      if (!options.now) {
        throw UsageError("--now takes a UTC time YYYY-MM-DDTHH:MM:SS[.mmm]Z, not '" + text + "'");
      }
    } else if (option == "--locale") {
      SetOnce(options.locale, option, reader.TakeValue(option));
    } else if (option == "--dll") {
      SetOnce(options.dll, option, reader.TakeValue(option));
    } else {
      throw UsageError("unknown option " + std::string(option) + (run ? "" : " for report"));
    }
  }
}

void CheckInputs(const Options& options) {
  if (!options.inputs.empty() && (options.headers || options.body)) {
    throw UsageError(options.inputs.front().option +
                     " cannot be combined with --headers or --body");
  }
  int from_standard_input = 0;
  for (const Input& input : options.inputs) {
    if (input.path == "-") ++from_standard_input;
  }
  for (const auto* name : {&options.headers, &options.body}) {
    if (*name == "-") ++from_standard_input;
  }
  for (const auto& name : options.parameter_files) {
    if (name == "-") ++from_standard_input;
  }
  if (from_standard_input > 1) throw UsageError("standard input (-) can be read only once");
}

}  // namespace

Options ParseArguments(const std::vector<std::string_view>& arguments) {
  ArgumentReader reader(arguments);
  Options options;
  // The plug-in's DLL may be named before any command, --version and list
  // included.
  if (!reader.done() && reader.Peek() == "--dll") {
    reader.Take();
    options.dll = reader.TakeValue("--dll");
  }
  if (reader.done()) throw UsageError("no command given");
  const std::string_view command = reader.Take();
  if (command == "--help" || command == "-h" || command == "help") {
    options.command = Command::kHelp;
  } else if (command == "--version") {
    options.command = Command::kVersion;
  } else if (command == "list") {
    options.command = Command::kList;
  } else if (command == "run" || command == "report") {
    options.command = command == "run" ? Command::kRun : Command::kReport;
    ReadOptions(reader, options);
    CheckInputs(options);
    if (options.command == Command::kRun) {
      if (reader.done()) throw UsageError("no macro name given");
      options.macro = std::string(reader.Take());
      while (!reader.done()) {
        if (options.parameters.size() == 4) throw UsageError("at most four parameters, P0 to P3");
        options.parameters.emplace_back(reader.Take());
      }
    }
  } else {
    throw UsageError("unknown command '" + std::string(command) + "'");
  }
  if (!reader.done()) {
    throw UsageError("unexpected argument '" + std::string(reader.Peek()) + "'");
  }
  return options;
}

}  // namespace lintrel::cli
