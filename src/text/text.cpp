#include "text/text.h"

#include <vector>

#include "platform/platform.h"

namespace lintrel {

std::string_view StripBlanks(std::string_view t) {
  size_t first = 0;
  while (first < t.size() && IsBlankOrControl(t[first])) ++first;
  if (first == t.size()) return {};
  size_t end = t.size();
  while (IsBlankOrControl(t[end - 1])) --end;
  return t.substr(first, end - first);
}

Text AsciiUpper(std::string_view t) {
  Text out(t);
  for (char& c : out) c = AsciiUpperByte(c);
  return out;
}

Text LocaleLower(std::string_view t) {
  Text out(t);
  if (!out.empty()) platform::LowerAnsiInPlace(out.data(), out.size());
  return out;
}

namespace {

// Knuth-Morris-Pratt: linear in both texts whatever they hold, where a
// naive search of a long pattern can take their product.
size_t FindLinear(std::string_view pattern, std::string_view t) {
  std::vector<size_t> border(pattern.size() + 1, 0);
  for (size_t i = 1, k = 0; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = border[k];
    if (pattern[i] == pattern[k]) ++k;
    border[i + 1] = k;
  }
  for (size_t i = 0, k = 0; i < t.size(); ++i) {
    while (k > 0 && t[i] != pattern[k]) k = border[k];
    if (t[i] == pattern[k]) ++k;
    if (k == pattern.size()) return i + 1 - k;
  }
  return std::string_view::npos;
}

// Patterns up to this length are searched with the library's search, whose
// cost per byte is bounded by the pattern's length.
constexpr size_t kShortPattern = 64;

}  // namespace

int32_t FindText(std::string_view pattern, std::string_view t) {
  if (pattern.empty() || t.empty() || pattern.size() > t.size()) return 0;
  const size_t at = pattern.size() <= kShortPattern ? t.find(pattern) : FindLinear(pattern, t);
  return at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1);
}

std::string_view SubText(std::string_view t, int64_t start, int64_t count) {
  const auto length = static_cast<int64_t>(t.size());
  if (t.empty() || count < 0) return {};
  if (start < 1) start = 1;
  if (start > length) return {};
  if (count > length - start + 1) count = length - start + 1;
  return t.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

}  // namespace lintrel
