// The plug-in linked into the command: its dispatcher, called directly with
// the clock and regional settings of the command line.
#include <algorithm>
#include <optional>
#include <utility>

#include "plugin/dispatcher.h"
#include "plugin/identity.h"
#include "plugin/macro_call.h"
#include "text/regional_settings.h"
#include "tools/arguments/quoted.h"
#include "tools/base/errors.h"
#include "tools/locales/windows_locale.h"
#include "tools/run/plugin.h"

namespace lintrel::cli {
namespace {

// Carries an exception of the command's, thrown inside a provider
// operation, through the plug-in's code: of a type the plug-in never
// catches, so that it only cleans up on the way, as it does for a host's
// error in the DLL.
struct CommandFailure {
  std::exception_ptr thrown;
};

// The usage error for a name that selects no locale. The name is shown as
// far as it can be on one short line: not when it holds control bytes, and
// shortened.
UsageError UnknownLocale(const EnvironmentLocale& given) {
  const std::string_view name = given.name;
  const bool shown = std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  const std::string quoted = shown ? Quoted(name) : "(a name with control bytes)";
  const std::string what = given.variable.empty()
                               ? "--locale: unknown locale " + quoted
                               : "--locale \"\": " + std::string(given.variable) + " is " + quoted +
                                     ", which names no Windows locale";
  return UsageError(what + "; lintrel locales lists the names it takes");
}

}  // namespace

struct Plugin::State {
  PluginIdentity identity{std::string(kDisplayName), std::string(kVersion),
                          std::string(kInformation), std::string(kMacroList)};
  std::optional<RegionalSettings> locale_settings;
  MacroEnvironment environment;
};

Plugin::Plugin(const Options& options) : state_(std::make_unique<State>()) {
  if (options.dll) {
    throw CliError(
        "--dll names the plug-in's DLL for the Windows command; this one runs the "
        "plug-in's code built in");
  }
  if (options.now) {
    state_->environment.read_clock = [now = *options.now] { return now; };
  }
  if (options.locale) {
    const EnvironmentLocale given =
        options.locale->empty() ? EnvironmentLocaleName() : EnvironmentLocale{"", *options.locale};
    const WindowsLocale* locale = FindWindowsLocale(given.name);
    if (locale == nullptr) throw UnknownLocale(given);
    state_->locale_settings =
        WindowsLocaleSettings(*locale, options.output_encoding.value_or(OutputEncoding::kAnsi));
    state_->environment.settings = &*state_->locale_settings;
  }
}

Plugin::~Plugin() = default;

const PluginIdentity& Plugin::identity() const {
  return state_->identity;
}

std::optional<Text> Plugin::Exec(std::string_view name, ITBPDataProvider* message,
                                 ITBPDataProvider* parameters) const {
  try {
    ExecMacro(name, message, parameters, state_->environment);
  } catch (const CommandFailure& failure) {
    std::rethrow_exception(failure.thrown);
  } catch (...) {
    return CurrentErrorMessage();
  }
  return std::nullopt;
}

void ThrowThroughPlugin(std::exception_ptr* failure) {
  CommandFailure thrown{std::move(*failure)};
  delete failure;
  throw thrown;
}

}  // namespace lintrel::cli
