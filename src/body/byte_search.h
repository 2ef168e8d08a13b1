// Searching a text for a few byte values a block of bytes at a time, for the
// body tools that read texts of many megabytes.
#ifndef LINTREL_BODY_BYTE_SEARCH_H_
#define LINTREL_BODY_BYTE_SEARCH_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "body/word_blocks.h"

// On x86 the searches read sixteen bytes at a time with SSE2: always on
// x86-64, which every such processor has, and in the 32-bit build when the
// processor has it, as found when the code is loaded. Elsewhere they read
// eight bytes at a time in a 64-bit word. LINTREL_PORTABLE_SEARCH chooses
// the word everywhere, so that its tests run on any machine.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(LINTREL_PORTABLE_SEARCH)
#define LINTREL_SSE2_SEARCH 1
#include "body/sse2_blocks.h"
#endif
// 64-bit builds read thirty-two bytes at a time with AVX2 where the
// processor has it; the 32-bit DLL keeps to SSE2, and so do clang's builds
// (the fuzz targets), since clang takes no target pragma.
#if defined(__x86_64__) && !defined(LINTREL_PORTABLE_SEARCH) && !defined(__clang__)
#define LINTREL_AVX2_SEARCH 1
#include "body/avx2_blocks.h"
#endif

namespace lintrel {
namespace byte_search {

#if LINTREL_SSE2_SEARCH

// The vector instructions of a processor that the body tools use.
struct VectorInstructions {
  bool sse2 = false;
  bool ssse3 = false;
  bool avx2 = false;  // looked for in 64-bit builds only
};

// This processor's, read once as the code is loaded: in the DLL as it is
// attached to a process, before any entry point can run. Until then both
// are false, which takes the paths that every processor runs.
extern const VectorInstructions kProcessorInstructions;

// Whether the searches read sixteen bytes at a time.
inline bool ReadsSse2Blocks() {
#if defined(__SSE2__)
  return true;
#else
  return kProcessorInstructions.sse2;
#endif
}

// Whether the searches read thirty-two bytes at a time.
inline bool ReadsAvx2Blocks() {
#if LINTREL_AVX2_SEARCH
  return kProcessorInstructions.avx2;
#else
  return false;
#endif
}

#endif

}  // namespace byte_search

// The searches of block_searches.inc, on the widest blocks this processor
// reads.

template <char... kBytes>
size_t FindFirstOf(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::FindFirstOf<kBytes...>(t, from);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::FindFirstOf<kBytes...>(t, from);
#endif
  return byte_search::word::FindFirstOf<kBytes...>(t, from);
}

template <char kByte>
size_t FindControlOr(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::FindControlOr<kByte>(t, from);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::FindControlOr<kByte>(t, from);
#endif
  return byte_search::word::FindControlOr<kByte>(t, from);
}

inline size_t FindNonAscii(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::FindNonAscii(t, from);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::FindNonAscii(t, from);
#endif
  return byte_search::word::FindNonAscii(t, from);
}

template <char kFirst, char kSecond>
size_t FindBytePair(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) {
    return byte_search::avx2::FindBytePair<kFirst, kSecond>(t, from);
  }
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) {
    return byte_search::sse2::FindBytePair<kFirst, kSecond>(t, from);
  }
#endif
  return byte_search::word::FindBytePair<kFirst, kSecond>(t, from);
}

template <char kA, char kB, char kC, char kD, char kE, char kF>
size_t FindEitherLetters(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) {
    return byte_search::avx2::FindEitherLetters<kA, kB, kC, kD, kE, kF>(t, from);
  }
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) {
    return byte_search::sse2::FindEitherLetters<kA, kB, kC, kD, kE, kF>(t, from);
  }
#endif
  return byte_search::word::FindEitherLetters<kA, kB, kC, kD, kE, kF>(t, from);
}

inline size_t FindBreakAfterBreak(std::string_view t, size_t from) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::FindBreakAfterBreak(t, from);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::FindBreakAfterBreak(t, from);
#endif
  return byte_search::word::FindBreakAfterBreak(t, from);
}

inline size_t FindQuoteOrNul(std::string_view t, size_t from, bool pair) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::FindQuoteOrNul(t, from, pair);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::FindQuoteOrNul(t, from, pair);
#endif
  return byte_search::word::FindQuoteOrNul(t, from, pair);
}

inline bool AllBreaksAreCrLf(std::string_view lines) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::AllBreaksAreCrLf(lines);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::AllBreaksAreCrLf(lines);
#endif
  return byte_search::word::AllBreaksAreCrLf(lines);
}

inline size_t CountNonAlphanumeric(std::string_view t) {
#if LINTREL_AVX2_SEARCH
  if (byte_search::ReadsAvx2Blocks()) return byte_search::avx2::CountNonAlphanumeric(t);
#endif
#if LINTREL_SSE2_SEARCH
  if (byte_search::ReadsSse2Blocks()) return byte_search::sse2::CountNonAlphanumeric(t);
#endif
  return byte_search::word::CountNonAlphanumeric(t);
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
