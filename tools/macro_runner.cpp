#include "tools/macro_runner.h"

#include "plugin/dispatcher.h"
#include "text/errors.h"
#include "tools/cli_provider.h"

namespace lintrel::cli {

MacroOutcome RunMacro(std::string_view name, const MessageItems& message,
                      const Parameters& parameters, const MacroEnvironment& environment,
                      ResultFile* result_file) {
  CliProvider message_provider;
  if (result_file != nullptr) message_provider.WriteResultTo(*result_file);
  message_provider.SetItem(kItemHeaders, message.headers);
  message_provider.SetItem(kItemBody, message.body);
  CliProvider parameter_provider;
  for (int32_t n = 0; n < static_cast<int32_t>(parameters.size()); ++n) {
    parameter_provider.SetItem(n, parameters[n]);
  }
  MacroOutcome outcome;
  try {
    ExecMacro(name, &message_provider, &parameter_provider, environment);
    outcome.text = message_provider.TakeStored(kItemResult).value_or(Text());
  } catch (const Exception& error) {
    if (result_file != nullptr) result_file->Withdraw();
    outcome.ok = false;
    outcome.text = error.Message();
  }
  return outcome;
}

}  // namespace lintrel::cli
