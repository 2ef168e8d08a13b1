// Splitting a message file into the two items the plug-in reads.
#ifndef LINTREL_TOOLS_INPUTS_MESSAGE_SPLIT_H_
#define LINTREL_TOOLS_INPUTS_MESSAGE_SPLIT_H_

#include <cstddef>
#include <optional>
#include <string_view>

namespace lintrel::cli {

// The header block (item 243) and the body (item 241) of one message, as
// views into the message's bytes.
struct MessageParts {
  std::string_view headers;
  std::string_view body;
};

// Splits at the first empty line. CR, LF and CR LF each end a line, as the
// plug-in's header lookup reads them. The header block is every byte before
// the empty line, the break that ends the last header line included; the body
// is every byte after the empty line's own break. Without an empty line the
// whole message is header block and the body is empty.
MessageParts SplitMessage(std::string_view message);

// Where `SplitMessage` divides a message: the header block is the bytes
// before `headers_end`, the body those from `body_start` on.
struct SplitPoint {
  size_t headers_end;
  size_t body_start;
};

// The split point of a message whose first bytes are `front`, or nullopt
// when more bytes are needed to tell; `whole` says that `front` is the whole
// message.
std::optional<SplitPoint> FindSplit(std::string_view front, bool whole);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_MESSAGE_SPLIT_H_
