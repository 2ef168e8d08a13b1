// The table of `lintrel`'s options, and the command line cut by it into
// options and operands.
#include "tools/arguments/options_and_operands.h"

#include <utility>

#include "tools/arguments/quoted.h"
#include "tools/base/errors.h"
#include "tools/base/utf8.h"

namespace lintrel::cli {
namespace {

// The commands an option belongs to, as bits; kTop is the command line
// without a command (--version).
constexpr unsigned kRun = 1, kReport = 2, kList = 4, kHelpCommand = 8, kTop = 16, kLocales = 32;
constexpr unsigned kRunAndReport = kRun | kReport;
constexpr unsigned kAll = kRun | kReport | kList | kHelpCommand | kTop | kLocales;

struct OptionEntry {
  std::string_view name;
  char short_name;  // '\0' for none
  int values;       // how many arguments follow it
  unsigned commands;
  Option option;
};

constexpr OptionEntry kOptions[] = {
    {"--input", 'i', 1, kRunAndReport, Option::kInput},
    {"--message", '\0', 1, kRunAndReport, Option::kMessage},
    {"--mbox", '\0', 1, kRunAndReport, Option::kMbox},
    {"--files-from", '\0', 1, kRunAndReport, Option::kFilesFrom},
    {"--null", '0', 0, kRunAndReport, Option::kNull},
    {"--sample", '\0', 0, kRunAndReport, Option::kSample},
    {"--recursive", 'r', 0, kRunAndReport, Option::kRecursive},
    {"--headers", '\0', 1, kRun, Option::kHeaders},
    {"--body", '\0', 1, kRun, Option::kBody},
    {"--raw-body", '\0', 0, kRunAndReport, Option::kRawBody},
    {"--param-file", '\0', 2, kRun, Option::kParamFile},
    {"--format", '\0', 1, kRunAndReport, Option::kFormat},
    {"--now", '\0', 1, kRunAndReport, Option::kNow},
    {"--locale", '\0', 1, kRunAndReport, Option::kLocale},
    {"--output-encoding", '\0', 1, kRunAndReport, Option::kOutputEncoding},
    {"--dll", '\0', 1, kRunAndReport | kList | kTop, Option::kDll},
    {"--output", 'o', 1, kRunAndReport, Option::kOutput},
    {"--jobs", 'j', 1, kRunAndReport, Option::kJobs},
    {"--help", 'h', 0, kAll, Option::kHelp},
    {"--version", '\0', 0, kTop, Option::kVersion},
};

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions) {
    if (name.size() == 2 && name[0] == '-' && name[1] != '-' ? entry.short_name == name[1]
                                                             : entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

[[noreturn]] void Unknown(std::string_view written) {
  std::string message = "unknown option " + Shortened(written);
  if (written.size() > 1 && written[1] >= '0' && written[1] <= '9') {
    message += " (arguments that begin with \"-\" go after \"--\")";
  }
  throw UsageError(message);
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
    case Command::kLocales:
      return kLocales;
    default:
      return kHelpCommand;
  }
}

}  // namespace

OptionsAndOperands SplitArguments(const std::vector<std::string_view>& arguments) {
  OptionsAndOperands split;
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
        const OptionEntry* entry = FindOption(name);
        // Named by the whole character, not its first byte.
        if (entry == nullptr) Unknown("-" + std::string(CharacterAt(argument, j)));
        if (entry->values > 0 && j + 1 < argument.size()) {
          written.emplace_back(name, argument.substr(j + 1));
          break;
        }
        written.emplace_back(name, std::nullopt);
      }
    }
    for (auto& [name, attached] : written) {
      const OptionEntry* entry = FindOption(name);
      if (entry == nullptr) Unknown(name);
      GivenOption given{entry->option, name, {}};
      if (attached) {
        if (entry->values == 0) throw UsageError(name + " takes no value");
        given.values.emplace_back(*attached);
      }
      while (static_cast<int>(given.values.size()) < entry->values) {
        if (++i == arguments.size()) throw UsageError(name + " needs a value");
        given.values.emplace_back(arguments[i]);
      }
      split.options.push_back(std::move(given));
    }
  }
  return split;
}

bool TakesOption(std::optional<Command> command, Option option) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.option == option) return (entry.commands & Bit(command)) != 0;
  }
  return false;
}

}  // namespace lintrel::cli
