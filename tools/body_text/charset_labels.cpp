#include "tools/body_text/charset_labels.h"

#include <algorithm>
#include <array>

#include "text/text.h"

namespace lintrel::cli {
namespace {

constexpr bool IsLabelWhitespace(char c) {
  return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// No label is longer than this; a longer text names no encoding.
constexpr size_t kLongestLabel = 32;

}  // namespace

const CharsetEncoding* EncodingForLabel(std::string_view label) {
  while (!label.empty() && IsLabelWhitespace(label.front())) label.remove_prefix(1);
  while (!label.empty() && IsLabelWhitespace(label.back())) label.remove_suffix(1);
  if (label.size() > kLongestLabel) return nullptr;
  std::array<char, kLongestLabel> lower{};
  std::transform(label.begin(), label.end(), lower.begin(), AsciiLowerByte);
  const std::string_view key(lower.data(), label.size());
  const std::span<const CharsetLabel> labels = CharsetLabels();
  const auto found = std::lower_bound(
      labels.begin(), labels.end(), key,
      [](const CharsetLabel& entry, std::string_view k) { return entry.label < k; });
  if (found == labels.end() || found->label != key) return nullptr;
  return &CharsetEncodings()[found->encoding];
}

}  // namespace lintrel::cli
