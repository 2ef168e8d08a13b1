// Searching a text for any of a few byte values eight bytes at a time, for
// the body tools that read texts of many megabytes.
#ifndef LINTREL_BODY_BYTE_SEARCH_H_
#define LINTREL_BODY_BYTE_SEARCH_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace lintrel::byte_search {

inline constexpr uint64_t kOnes = 0x0101010101010101;
inline constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;

// The high bit of each byte of `word` that equals `b`, and no other bit.
// Exact, unlike the usual zero-byte test: no borrow runs between bytes.
constexpr uint64_t Equal(uint64_t word, unsigned char b) {
  const uint64_t x = word ^ (kOnes * b);
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

template <char... kBytes>
constexpr uint64_t EqualAny(uint64_t word) {
  return (Equal(word, static_cast<unsigned char>(kBytes)) | ...);
}

constexpr bool IsAny(char c, std::initializer_list<char> bytes) {
  for (char b : bytes) {
    if (c == b) return true;
  }
  return false;
}

inline uint64_t Load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

inline constexpr bool kWordWise = std::endian::native == std::endian::little;

}  // namespace lintrel::byte_search

namespace lintrel {

// The position of the first byte of `t` at or after `from` that is one of
// `kBytes`, or t.size() when there is none.
template <char... kBytes>
size_t FindFirstOf(std::string_view t, size_t from) {
  using namespace byte_search;
  const char* data = t.data();
  if constexpr (kWordWise) {
    for (; from + 8 <= t.size(); from += 8) {
      if (const uint64_t hits = EqualAny<kBytes...>(Load(data + from))) {
        return from + static_cast<size_t>(std::countr_zero(hits)) / 8;
      }
    }
  }
  for (; from < t.size(); ++from) {
    if (IsAny(data[from], {kBytes...})) return from;
  }
  return t.size();
}

// One past the position of the last byte of `t` before `end` that is one of
// `kBytes`, or 0 when there is none.
template <char... kBytes>
size_t FindLastOf(std::string_view t, size_t end) {
  using namespace byte_search;
  const char* data = t.data();
  if constexpr (kWordWise) {
    for (; end >= 8; end -= 8) {
      if (const uint64_t hits = EqualAny<kBytes...>(Load(data + end - 8))) {
        return end - static_cast<size_t>(std::countl_zero(hits)) / 8;
      }
    }
  }
  for (; end > 0; --end) {
    if (IsAny(data[end - 1], {kBytes...})) return end;
  }
  return 0;
}

}  // namespace lintrel

#endif  // LINTREL_BODY_BYTE_SEARCH_H_
