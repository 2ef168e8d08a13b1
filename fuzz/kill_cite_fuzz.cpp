// KillCite over a fuzzed text and depth (32-bit extremes included): the
// result is exactly the input's lines, in order, that hold no run of
// `depth` or more ">", each followed by CR LF; a depth of 0 or less returns
// the text unchanged.
#include <string>

#include "body/cite.h"
#include "fuzz_support.h"
#include "text/line_list.h"

namespace {

bool HasRun(const std::string& line, int64_t depth) {
  int64_t run = 0;
  for (char c : line) {
    run = c == '>' ? run + 1 : 0;
    if (run >= depth) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const int32_t depth = reader.InterestingInteger();
  const std::string text = reader.Rest();

  const Text result = KillCite(text, depth);
  if (depth <= 0) {
    fuzz::Check(result == text, "a depth of 0 or less changed the text");
    return 0;
  }
  LineList lines;
  SplitLines(lines, text);
  std::string expected;
  for (const Text& line : lines) {
    if (!HasRun(line, depth)) expected += line + "\r\n";
  }
  fuzz::Check(result == expected, "kept lines differ", result);
  // The same, read from the output: every line ends in CR LF and none holds
  // a run of the depth.
  LineList kept;
  SplitLines(kept, result);
  for (const Text& line : kept) fuzz::Check(!HasRun(line, depth), "quoted line kept", line);
  fuzz::Check(result.empty() || result.ends_with("\r\n"), "last line without CR LF");
  return 0;
}
