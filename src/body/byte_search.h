// Searching a text for a few byte values a block of bytes at a time, for the
// body tools that read texts of many megabytes.
#ifndef LINTREL_BODY_BYTE_SEARCH_H_
#define LINTREL_BODY_BYTE_SEARCH_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "body/word_blocks.h"

// SSE2 is part of every 64-bit x86 processor; the 32-bit build and other
// processors read eight bytes at a time in a 64-bit word instead.
// LINTREL_PORTABLE_SEARCH chooses the word everywhere, so that its tests run
// on any machine.
#if defined(__SSE2__) && !defined(LINTREL_PORTABLE_SEARCH)
#define LINTREL_SSE2_SEARCH 1
#include "body/sse2_blocks.h"
#endif

namespace lintrel {

// The searches of block_searches.inc, on the widest blocks of the build.

template <char... kBytes>
size_t FindFirstOf(std::string_view t, size_t from) {
#if LINTREL_SSE2_SEARCH
  return byte_search::sse2::FindFirstOf<kBytes...>(t, from);
#else
  return byte_search::word::FindFirstOf<kBytes...>(t, from);
#endif
}

inline size_t FindQuoteOrNul(std::string_view t, size_t from, bool pair) {
#if LINTREL_SSE2_SEARCH
  return byte_search::sse2::FindQuoteOrNul(t, from, pair);
#else
  return byte_search::word::FindQuoteOrNul(t, from, pair);
#endif
}

inline bool AllBreaksAreCrLf(std::string_view lines) {
#if LINTREL_SSE2_SEARCH
  return byte_search::sse2::AllBreaksAreCrLf(lines);
#else
  return byte_search::word::AllBreaksAreCrLf(lines);
#endif
}

inline size_t CountNonAlphanumeric(std::string_view t) {
#if LINTREL_SSE2_SEARCH
  return byte_search::sse2::CountNonAlphanumeric(t);
#else
  return byte_search::word::CountNonAlphanumeric(t);
#endif
}

// One past the position of the last byte of `t` before `end` that is one of
// `kBytes`, or 0 when there is none. Searched eight bytes at a time on every
// processor.
template <char... kBytes>
size_t FindLastOf(std::string_view t, size_t end) {
  using namespace byte_search;
  const char* data = t.data();
  for (; end >= 8; end -= 8) {
    if (const uint64_t hits =
            (Equal(Load(data + end - 8), static_cast<unsigned char>(kBytes)) | ...)) {
      return end - static_cast<size_t>(std::countl_zero(hits)) / 8;
    }
  }
  for (; end > 0; --end) {
    if (IsAny(data[end - 1], {kBytes...})) return end;
  }
  return 0;
}

}  // namespace lintrel

#endif  // LINTREL_BODY_BYTE_SEARCH_H_
