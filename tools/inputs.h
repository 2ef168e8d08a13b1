// The message and parameters of a command, read from the files that its
// options name.
#ifndef LINTREL_TOOLS_INPUTS_H_
#define LINTREL_TOOLS_INPUTS_H_

#include <array>

#include "tools/arguments.h"
#include "tools/byte_buffer.h"
#include "tools/macro_runner.h"
#include "tools/message_split.h"

namespace lintrel::cli {

// Owns the bytes that `parts` views.
struct MessageInput {
  ByteBuffer message;
  ByteBuffer headers;
  ByteBuffer body;
  MessageParts parts;
};

// The message of `--message`, or of `--headers` and `--body`, or the
// built-in sample when none is given. Raises CliError for an unreadable file.
void ReadMessageInput(const Options& options, MessageInput& input);

// Owns the bytes that `parameters` views.
struct ParameterInput {
  std::array<ByteBuffer, 4> files;
  Parameters parameters;
};

// P0 to P3 from the arguments, each replaced by its `--param-file` when one
// is given. Raises CliError for an unreadable file.
void ReadParameterInput(const Options& options, ParameterInput& input);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_H_
