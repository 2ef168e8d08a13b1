// `lintrel report`: every macro of the plug-in's macro list, run once each
// on one message, with parameters that show what the macro does.
#ifndef LINTREL_TOOLS_RUN_REPORT_H_
#define LINTREL_TOOLS_RUN_REPORT_H_

#include <string_view>
#include <vector>

#include "text/text.h"
#include "tools/run/macro_call.h"
#include "tools/run/message_items.h"
#include "tools/run/plugin.h"

namespace lintrel::cli {

struct ReportLine {
  std::string_view macro;
  // The macro's name and the parameters it ran with, as `lintrel run` takes
  // them: each in double quotes, or <quote> or <subject> for a text taken
  // from the message, e.g. KORCITE <quote> "[...]" "4".
  Text call;
  MacroOutcome outcome;
  // The result is shown escaped and in double quotes, so that its line
  // breaks and blanks can be seen.
  bool escaped = false;
};

struct Report {
  std::vector<ReportLine> lines;
  bool all_succeeded = true;
};

// Runs the macros in the order of the macro list. Most run with their
// defaults; KORKILLCITE (depth 2) and KORCITE (four lines, "[...]") work on
// the quote of the message, the body's lines from the first that begins with
// ">" to the last that does; KORMKLINK on the subject, as a client hands it
// to a template (its encoded-words decoded into the code page that the
// body text is in); KORGETHEADER is asked for "Subject:". The body is read
// into memory.
Report MakeReport(const Plugin& plugin, MessageItems& items);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RUN_REPORT_H_
