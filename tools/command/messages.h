// The messages a command line names, handed to a command.
#ifndef LINTREL_TOOLS_COMMAND_MESSAGES_H_
#define LINTREL_TOOLS_COMMAND_MESSAGES_H_

#include <functional>

#include "tools/arguments/options.h"
#include "tools/command/pipeline.h"
#include "tools/inputs/message.h"
#include "tools/output/records.h"
#include "tools/output/writer.h"

namespace lintrel::cli {

// What a command does with its only message; answers the exit status.
// `sample` says that it is the built-in sample.
using OneMessage = std::function<int(Message& message, bool sample, Output& output)>;

// What a command does with each message of a run over several.
using EachMessage =
    std::function<void(Message& message, MessageDone& done, Format format, Layout layout)>;

// Finds the messages of the command line and hands them on: a single
// message (the sample, --headers and --body, or one message file) to `one`;
// the messages of one mbox file, of several files or of folders to `each`,
// whose records are written in `options.format`, else in `several_format`.
// Without inputs, standard input is read when it is not a terminal; on a
// terminal the built-in sample is used. Answers the exit status.
int OverMessages(const Options& options, Format several_format, const OneMessage& one,
                 const EachMessage& each);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_COMMAND_MESSAGES_H_
