// The output of `run` and `report` over one or more messages, in the
// format the command line asks for.
#ifndef LINTREL_TOOLS_RECORDS_H_
#define LINTREL_TOOLS_RECORDS_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "text/text.h"
#include "tools/arguments.h"
#include "tools/macro_runner.h"
#include "tools/report.h"

namespace lintrel::cli {

// Where a message came from.
struct MessageOrigin {
  // The file's path as named or found in a folder, "-" for standard input;
  // nullopt for the built-in sample and for --headers and --body.
  std::optional<std::string_view> source;
  // The message's number in its mbox file, from 1; nullopt for a message
  // file.
  std::optional<int64_t> index;
};

// The source, escaped as `AppendEscaped` does, and "#" and the index for a
// message of an mbox file: "inbox.mbox#3".
Text OriginLabel(const MessageOrigin& origin);

// What the messages of a run are.
enum class Layout {
  kOneMessage,  // a single message
  kOneMailbox,  // the messages of one mbox file
  kSeveral,     // the messages of several files, or of folders
};

// One record per message, written out in pieces.
//
// run, text: "LABEL: result", the result's later lines indented by two
//   blanks, or "LABEL: error: MESSAGE"; LABEL is the source, and "#" and the
//   index for a message of an mbox file. (A single message's text is its
//   result's bytes alone, which the command writes itself.)
// run, tsv: "SOURCE<tab>INDEX<tab>RESULT", or "INDEX<tab>RESULT" for the
//   messages of one mbox file; the result and the source escaped as
//   `AppendEscaped` does, "ERROR: MESSAGE" for a failure, and an empty
//   column for a source or index that is not there.
// run, jsonl: {"source", "index", "message_id", and "result" or "error"}.
// report, text: the report; over several messages each is headed by a line
//   "==> LABEL <==" and followed by an empty line.
// report, jsonl: {"source", "index", "message_id", and a field per macro,
//   {"result": TEXT} or {"error": MESSAGE}}.
// Strings are JSON strings made by `AppendJsonString`; a missing source,
// index or message id is null. The message id is the value of the first
// "Message-ID:" field, its name in any letter case.
class RecordWriter {
 public:
  RecordWriter(Format format, Layout layout) : format_(format), layout_(layout) {}
  ~RecordWriter() = default;
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  // The record of `run` for a message with the header block `headers`.
  void AddResult(const MessageOrigin& origin, std::string_view headers,
                 const MacroOutcome& outcome);

  // The record of `report`.
  void AddReport(const MessageOrigin& origin, std::string_view headers, const Report& report);

  // Writes out what is held; raises CliError when standard output fails.
  void Flush();

 private:
  void AppendJsonOrigin(const MessageOrigin& origin, std::string_view headers);
  void FlushIfLarge();

  Format format_;
  Layout layout_;
  Text out_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_RECORDS_H_
