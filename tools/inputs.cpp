#include "tools/inputs.h"

#include "tools/input_file.h"
#include "tools/sample_message.h"

namespace lintrel::cli {

void ReadMessageInput(const Options& options, MessageInput& input) {
  if (options.message) {
    input.message = ReadWholeInput(*options.message);
    input.parts = SplitMessage(input.message.view());
  } else if (options.headers || options.body) {
    if (options.headers) input.headers = ReadWholeInput(*options.headers);
    if (options.body) input.body = ReadWholeInput(*options.body);
    input.parts = {input.headers.view(), input.body.view()};
  } else {
    input.parts = SplitMessage(kSampleMessage);
  }
}

void ReadParameterInput(const Options& options, ParameterInput& input) {
  for (size_t n = 0; n < input.parameters.size(); ++n) {
    if (options.parameter_files[n]) {
      input.files[n] = ReadWholeInput(*options.parameter_files[n]);
      input.parameters[n] = input.files[n].view();
    } else if (n < options.parameters.size()) {
      input.parameters[n] = options.parameters[n];
    }
  }
}

}  // namespace lintrel::cli
