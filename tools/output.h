// Writing the command's output.
#ifndef LINTREL_TOOLS_OUTPUT_H_
#define LINTREL_TOOLS_OUTPUT_H_

#include <string_view>

namespace lintrel::cli {

// Writes all of `bytes` to standard output; raises CliError
// "standard output: REASON" when that fails, so that a full disk is not
// reported as success.
void WriteOut(std::string_view bytes);

// Writes `bytes` to standard error; failures there cannot be reported.
void WriteError(std::string_view bytes);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_OUTPUT_H_
