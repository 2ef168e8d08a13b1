#include "tools/inputs.h"

#include "tools/input_file.h"
#include "tools/inputs/sample_message.h"

namespace lintrel::cli {

void ReadHeadersAndBody(const Options& options, HeadersAndBody& input) {
  if (!options.headers && !options.body) {
    input.parts = SplitMessage(kSampleMessage);
    return;
  }
  if (options.headers) input.headers = ReadWholeInput(*options.headers);
  if (options.body) input.body = ReadWholeInput(*options.body);
  input.parts = {input.headers.view(), input.body.view()};
}

void ReadParameterInput(const Options& options, ParameterInput& input) {
  for (size_t n = 0; n < input.parameters.size(); ++n) {
    if (options.parameter_files[n]) {
      input.files[n].emplace(*options.parameter_files[n]);
      input.parameters[n] = input.files[n]->item();
    } else if (n < options.parameters.size()) {
      input.parameters[n] = std::string_view(options.parameters[n]);
    }
  }
}

}  // namespace lintrel::cli
