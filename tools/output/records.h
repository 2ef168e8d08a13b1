// The records of `run` and `report`, one per message, in the format the
// command line asks for. Each is made on its own, so that messages can be
// run apart and their records written in order.
#ifndef LINTREL_TOOLS_OUTPUT_RECORDS_H_
#define LINTREL_TOOLS_OUTPUT_RECORDS_H_

#include <string_view>

#include "text/text.h"
#include "tools/arguments/options.h"
#include "tools/inputs/message.h"
#include "tools/run/macro_call.h"
#include "tools/run/report.h"

namespace lintrel::cli {

// What the messages of a run are.
enum class Layout {
  kOneMessage,  // a single message
  kOneMailbox,  // the messages of one mbox file
  kSeveral,     // the messages of several files, or of folders
};

// The source, escaped as `AppendEscapedName` does, and "#" and the index
// for a message of an mbox file: "inbox.mbox#3".
Text OriginLabel(const Origin& origin);

// Appends the record of `run` for `message`:
// text: "LABEL: result", the result's later lines indented by two blanks,
//   or "LABEL: error: MESSAGE". (A single message's text is its result's
//   bytes alone, which the command writes itself.)
// tsv: "SOURCE<tab>INDEX<tab>RESULT", or "INDEX<tab>RESULT" for the
//   messages of one mbox file; the result escaped as `AppendEscaped` does,
//   "ERROR: MESSAGE" for a failure, and an empty column for a source or
//   index that is not there.
// jsonl: {"source", "index", "message_id", and "result" or "error"}.
// Strings are JSON strings made by `AppendJsonString`; a missing source,
// index or message id is null. The message id is the value of the first
// "Message-ID:" field, its name in any letter case; only for it is a header
// block that is still in its file read.
void AppendResultRecord(Text& out, Format format, Layout layout, Message& message,
                        const MacroOutcome& outcome);

// Appends the record of `report`:
// text: the report, one "CALL: result" line per macro (a result's later
//   lines indented by two blanks, "CALL: error: MESSAGE" for a failure);
//   over several messages each is headed by a line "==> LABEL <==" and
//   followed by an empty line.
// jsonl: {"source", "index", "message_id", and a field per macro,
//   {"result": TEXT} or {"error": MESSAGE}}.
void AppendReportRecord(Text& out, Format format, Layout layout, Message& message,
                        const Report& report);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_RECORDS_H_
