// Command lines made of the fuzzer's bytes, split at NUL bytes: each is a
// usage error or a command line whose options hold together, never a crash.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/arguments/parse.h"
#include "tools/base/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t nul = bytes.find('\0'); start <= bytes.size();
       start = nul + 1, nul = bytes.find('\0', start)) {
    words.push_back(
        bytes.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
    if (nul == std::string::npos) break;
  }
  const std::vector<std::string_view> arguments(words.begin(), words.end());
  try {
    const cli::Options options = cli::ParseArguments(arguments);
    fuzz::Check(options.parameters.size() <= 4, "more than four parameters");
    const bool run = options.command == cli::Command::kRun;
    fuzz::Check(options.jobs <= 256, "jobs out of range");
    fuzz::Check(!options.sample || (options.inputs.empty() && !options.files_from &&
                                    !options.headers && !options.body),
                "--sample with other inputs");
    fuzz::Check(!options.nul_separated || options.files_from, "-0 without --files-from");
    fuzz::Check(options.inputs.empty() || (!options.headers && !options.body),
                "inputs with --headers or --body");
    fuzz::Check(options.command != cli::Command::kReport || options.format != cli::Format::kTsv,
                "report in tsv");
    fuzz::Check(!run || std::find(words.begin(), words.end(), options.macro) != words.end(),
                "a macro that was not given");
  } catch (const cli::UsageError& error) {
    fuzz::Check(std::string_view(error.what()).size() > 0, "empty usage error");
  }
  return 0;
}
