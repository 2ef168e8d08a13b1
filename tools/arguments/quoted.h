// Command-line arguments as messages quote them.
#ifndef LINTREL_TOOLS_ARGUMENTS_QUOTED_H_
#define LINTREL_TOOLS_ARGUMENTS_QUOTED_H_

#include <string>
#include <string_view>

namespace lintrel::cli {

// The most bytes of an argument that a message repeats.
inline constexpr size_t kQuotedBytes = 64;

// `text` cut after `limit` bytes, at the end of a character (a valid UTF-8
// sequence is never split), with "..." where it was cut.
std::string Shortened(std::string_view text, size_t limit = kQuotedBytes);

// `argument` shortened and in single quotes: "'html'", "'xxxx...'".
std::string Quoted(std::string_view argument);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_ARGUMENTS_QUOTED_H_
