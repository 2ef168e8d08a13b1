// The parameters of `run`, and the message of --headers and --body, read
// from the files that the options name.
#ifndef LINTREL_TOOLS_INPUTS_H_
#define LINTREL_TOOLS_INPUTS_H_

#include <array>
#include <optional>

#include "tools/arguments.h"
#include "tools/byte_buffer.h"
#include "tools/file_items.h"
#include "tools/macro_runner.h"
#include "tools/message_split.h"

namespace lintrel::cli {

// Owns the bytes that `parts` views.
struct HeadersAndBody {
  ByteBuffer headers;
  ByteBuffer body;
  MessageParts parts;
};

// The message of --headers and --body, or the built-in sample when neither
// is given. Raises InputError for an unreadable file.
void ReadHeadersAndBody(const Options& options, HeadersAndBody& input);

// Owns the files that `parameters` reads.
struct ParameterInput {
  std::array<std::optional<WholeFile>, 4> files;
  Parameters parameters;
};

// P0 to P3 from the arguments, each replaced by its `--param-file` when one
// is given. Raises InputError for an unreadable file.
void ReadParameterInput(const Options& options, ParameterInput& input);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_H_
