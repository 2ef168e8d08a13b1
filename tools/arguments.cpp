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

// Reads the options of `run` or `report` up to the first argument that is
// not one.
void ReadOptions(ArgumentReader& reader, Options& options) {
  while (!reader.done() && IsOption(reader.Peek())) {
    const std::string_view option = reader.Take();
    if (option == "--") return;
    if (option == "--message") {
      SetOnce(options.message, option, reader.TakeValue(option));
    } else if (option == "--headers" && options.command == Command::kRun) {
      SetOnce(options.headers, option, reader.TakeValue(option));
    } else if (option == "--body" && options.command == Command::kRun) {
      SetOnce(options.body, option, reader.TakeValue(option));
    } else if (option == "--mbox" && options.command == Command::kRun) {
      SetOnce(options.mbox, option, reader.TakeValue(option));
    } else if (option == "--param-file" && options.command == Command::kRun) {
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
    } else {
      throw UsageError("unknown option " + std::string(option) +
                       (options.command == Command::kReport ? " for report" : ""));
    }
  }
}

void CheckInputs(const Options& options) {
  if (options.message && (options.headers || options.body)) {
    throw UsageError("--message cannot be combined with --headers or --body");
  }
  if (options.mbox && (options.message || options.headers || options.body)) {
    throw UsageError("--mbox cannot be combined with --message, --headers or --body");
  }
  int from_standard_input = 0;
  for (const auto* name : {&options.message, &options.headers, &options.body, &options.mbox}) {
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
  if (reader.done()) throw UsageError("no command given");
  const std::string_view command = reader.Take();
  Options options;
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
