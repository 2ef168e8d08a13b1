// The plug-in linked into the command: its dispatcher, called directly with
// the clock and regional settings of the command line.
#include <optional>
#include <utility>

#include "plugin/dispatcher.h"
#include "plugin/identity.h"
#include "plugin/macro_call.h"
#include "text/regional_settings.h"
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
    state_->locale_settings = WindowsLocaleSettings(
        ChosenLocale(*options.locale), options.output_encoding.value_or(OutputEncoding::kAnsi));
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
