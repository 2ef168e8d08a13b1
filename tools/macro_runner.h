// One macro call as the command makes it: two providers built from the
// message and the parameters, then the plug-in's own dispatcher.
#ifndef LINTREL_TOOLS_MACRO_RUNNER_H_
#define LINTREL_TOOLS_MACRO_RUNNER_H_

#include <array>
#include <string_view>

#include "text/text.h"
#include "tools/item_bytes.h"
#include "tools/output.h"
#include "tools/plugin.h"

namespace lintrel::cli {

// Items 243 and 241 of the message provider.
struct MessageItems {
  ItemBytes headers;
  ItemBytes body;
};

// Items 0 to 3 of the parameter provider.
using Parameters = std::array<ItemBytes, 4>;

struct MacroOutcome {
  bool ok = true;
  // The stored result (empty when it went to a result file), or the message
  // of the error the macro raised.
  Text text;
};

// Runs `name` through the plug-in. An error the plug-in raises is caught and
// returned; nothing else is (an input file that cannot be read raises
// InputError, references the plug-in did not give back raise PluginFault).
// With `result_file`, the result is written there as the plug-in stores it,
// and taken back when the macro fails.
MacroOutcome RunMacro(const Plugin& plugin, std::string_view name, const MessageItems& message,
                      const Parameters& parameters, ResultFile* result_file = nullptr);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_MACRO_RUNNER_H_
