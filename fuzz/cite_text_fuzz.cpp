// CiteText over a fuzzed text, insert and count (32-bit extremes included)
// against a plain reading of its rule: a text of no more than `count` lines
// comes back unchanged; otherwise count / 2 lines from the start, the insert
// and the rest of the count from the end, each followed by CR LF.
#include <string>

#include "body/cite.h"
#include "fuzz_support.h"
#include "text/line_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  fuzz::FuzzReader reader(data, size);
  const int32_t count = reader.InterestingInteger();
  const std::string insert = reader.Text();
  const std::string text = reader.Rest();
  LineList lines;
  SplitLines(lines, text);
  const int64_t n = LineCount(lines);

  const Text result = CiteText(text, insert, count);
  if (count >= 0 && n <= count) {
    fuzz::Check(result == text, "a short text was changed");
    return 0;
  }
  const int64_t head = count / 2;
  const int64_t tail = int64_t{count} - head;
  std::string expected;
  int64_t kept = 0;
  for (int64_t i = 0; i < head; ++i, ++kept) expected += LineAt(lines, i) + "\r\n";
  if (!insert.empty()) expected += insert + "\r\n";
  for (int64_t i = tail > 0 ? n - tail : n; i < n; ++i, ++kept) {
    expected += LineAt(lines, i) + "\r\n";
  }
  fuzz::Check(kept <= (count > 0 ? count : 0), "more lines kept than the count");
  fuzz::Check(result == expected, "shortened text differs", result);
  return 0;
}
