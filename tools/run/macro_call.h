// One macro call as the command makes it: two providers built from the
// message and the parameters, then the plug-in.
#ifndef LINTREL_TOOLS_RUN_MACRO_CALL_H_
#define LINTREL_TOOLS_RUN_MACRO_CALL_H_

#include <string_view>

#include "text/text.h"
#include "tools/inputs/item_bytes.h"
#include "tools/run/message_items.h"
#include "tools/run/plugin.h"
#include "tools/run/result_sink.h"

namespace lintrel::cli {

struct MacroOutcome {
  bool ok = true;
  // The stored result (empty when it went to a result sink), or the message
  // of the error the macro raised.
  Text text;
};

// Runs `name` through the plug-in on the message of `items`, whose body
// text is made if the macro fetches it. An error the plug-in raises
// is caught and returned; nothing else is (an input file that cannot be read
// raises InputError, references the plug-in did not give back raise
// PluginFault). With `sink`, the result goes there as the plug-in stores it,
// and is taken back when the macro fails.
MacroOutcome RunMacro(const Plugin& plugin, std::string_view name, MessageItems& items,
                      const Parameters& parameters, ResultSink* sink = nullptr);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_MACRO_CALL_H_
