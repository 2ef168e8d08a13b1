// Tokenize with fuzzed separator and white-space sets: tokens are non-empty,
// in order, taken from the content up to its first byte 0, and counted.
#include <string>

#include "fuzz_support.h"
#include "text/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const ByteSet separators(reader.Text());
  const ByteSet white(reader.Text());
  const std::string content = reader.Rest();
  const std::string_view terminated = std::string_view(content).substr(0, content.find('\0'));
  LineList list;
  const int32_t count = Tokenize(separators, white, content, list);
  fuzz::Check(count == LineCount(list), "count differs from tokens appended");
  size_t from = 0;
  for (const Text& token : list) {
    fuzz::Check(!token.empty(), "empty token");
    const size_t at = terminated.find(token, from);
    fuzz::Check(at != std::string_view::npos, "token not found in order", token);
    fuzz::Check(!white.Contains(static_cast<unsigned char>(token[0])) && token[0] != '\r' &&
                    token[0] != '\n',
                "token starts with white space", token);
    from = at + token.size();
  }
  return 0;
}
