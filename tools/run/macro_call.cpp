#include "tools/run/macro_call.h"

#include <optional>

#include "text/integer.h"
#include "tools/base/errors.h"
#include "tools/run/provider.h"

namespace lintrel::cli {
namespace {

// Every reference the plug-in takes on a provider it must give back before
// the call returns, on success and on error alike.
void CheckBalance(const CliProvider& provider, std::string_view which, std::string_view macro) {
  const int held = provider.references();
  if (held == 0) return;
  const std::string count = IntText(held > 0 ? held : -held);
  throw PluginFault(held > 0 ? std::string(macro) + " kept " + count + " reference(s) on the " +
                                   std::string(which) + " provider"
                             : std::string(macro) + " released the " + std::string(which) +
                                   " provider " + count + " time(s) more than it took it");
}

}  // namespace

MacroOutcome RunMacro(const Plugin& plugin, std::string_view name, MessageItems& items,
                      const Parameters& parameters, ResultSink* sink) {
  CliProvider message_provider;
  if (sink != nullptr) message_provider.SendResultTo(*sink);
  message_provider.SetItem(kItemHeaders, items.headers());
  message_provider.SetBody(items);
  CliProvider parameter_provider;
  for (int32_t n = 0; n < static_cast<int32_t>(parameters.size()); ++n) {
    parameter_provider.SetItem(n, parameters[n]);
  }
  const std::optional<Text> error = plugin.Exec(name, &message_provider, &parameter_provider);
  CheckBalance(message_provider, "message", name);
  CheckBalance(parameter_provider, "parameter", name);
  MacroOutcome outcome;
  if (error) {
    if (sink != nullptr) sink->Withdraw();
    outcome.ok = false;
    outcome.text = *error;
  } else {
    outcome.text = message_provider.TakeStored(kItemResult).value_or(Text());
  }
  return outcome;
}

}  // namespace lintrel::cli
