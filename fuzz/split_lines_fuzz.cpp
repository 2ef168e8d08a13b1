// SplitLines: the lines hold no break and no byte 0, and putting them back
// with their breaks gives the text up to its first byte 0.
#include <string>

#include "fuzz_support.h"
#include "text/line_list.h"
#include "text/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string_view terminated = std::string_view(text).substr(0, text.find('\0'));
  LineList list;
  AppendLine(list, "stale");
  SplitLines(list, text);
  size_t p = 0;
  for (const Text& line : list) {
    fuzz::Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos, "break in line");
    fuzz::Check(terminated.substr(p, line.size()) == line, "line is not the next bytes");
    p += line.size();
    // Exactly one break follows each line but perhaps the last: CR, LF or CR LF.
    if (p < terminated.size() && terminated[p] == '\r') ++p;
    if (p < terminated.size() && terminated[p] == '\n') ++p;
  }
  fuzz::Check(p == terminated.size(), "lines do not cover the text");
  int32_t visited = 0;
  ForEachLine(text, [&](std::string_view line) {
    fuzz::Check(line == LineAt(list, visited++), "ForEachLine differs from SplitLines");
  });
  fuzz::Check(visited == LineCount(list), "ForEachLine count differs");
  return 0;
}
