// `lintrel report`: every macro that reads the message, run once each.
#ifndef LINTREL_TOOLS_REPORT_H_
#define LINTREL_TOOLS_REPORT_H_

#include "plugin/macro_call.h"
#include "text/text.h"
#include "tools/macro_runner.h"
#include "tools/message_split.h"

namespace lintrel::cli {

struct Report {
  // One "MACRO: result" line each; a result's later lines follow indented by
  // two blanks, and an error reads "MACRO: error: MESSAGE".
  Text text;
  bool all_succeeded = true;
};

Report MakeReport(const MessageParts& message, const MacroEnvironment& environment);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_REPORT_H_
