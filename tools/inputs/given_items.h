// What the command line gives beside the inputs: the macro's parameters (as
// arguments or --param-file files), the message of --headers and --body, and
// the built-in sample message.
#ifndef LINTREL_TOOLS_INPUTS_GIVEN_ITEMS_H_
#define LINTREL_TOOLS_INPUTS_GIVEN_ITEMS_H_

#include <array>
#include <memory>

#include "tools/arguments/options.h"
#include "tools/inputs/input_file.h"
#include "tools/inputs/item_bytes.h"
#include "tools/inputs/message.h"

namespace lintrel::cli {

// The built-in sample message.
Message SampleMessage();

// The message of --headers and --body, both verbatim; either alone leaves
// the other empty.
// Raises InputError for a file that cannot be read or is too large.
Message HeadersAndBodyMessage(const Options& options);

// P0 to P3: each a `--param-file` when one is given, else the argument.
// The options must outlive the parameters.
class GivenParameters {
 public:
  // Raises InputError for a file that cannot be read or is too large.
  explicit GivenParameters(const Options& options);

  const Parameters& parameters() const { return parameters_; }

 private:
  std::array<std::shared_ptr<const void>, 4> storage_;
  Parameters parameters_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_GIVEN_ITEMS_H_
