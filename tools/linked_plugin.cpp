// The plug-in linked into the command: its dispatcher, called directly with
// the clock and regional settings of the command line.
#include <optional>
#include <utility>

#include "plugin/dispatcher.h"
#include "plugin/identity.h"
#include "plugin/macro_call.h"
#include "text/errors.h"
#include "text/regional_settings.h"
#include "tools/cli_error.h"
#include "tools/plugin.h"
#include "tools/posix_locale.h"

namespace lintrel::cli {

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
    state_->locale_settings = LoadPosixLocaleSettings(*options.locale);
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
  } catch (const Exception& error) {
    return Text(error.Message());
  }
  return std::nullopt;
}

void ThrowThroughPlugin(std::exception_ptr* failure) {
  const std::exception_ptr thrown = std::move(*failure);
  delete failure;
  std::rethrow_exception(thrown);
}

}  // namespace lintrel::cli
