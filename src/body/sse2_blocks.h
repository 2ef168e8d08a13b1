// The block searches on sixteen bytes at a time with SSE2. Included by
// byte_search.h where the processor has SSE2.
#ifndef LINTREL_BODY_SSE2_BLOCKS_H_
#define LINTREL_BODY_SSE2_BLOCKS_H_

#include <emmintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "body/word_blocks.h"
#include "text/text.h"

namespace lintrel::byte_search::sse2 {

// Sixteen bytes of a text, tested all at once. A test gives a block of
// marks: every bit of a byte that passes set, every bit of the others clear.
// Marks combine with & and |; Marks() sums them up in a mask, bit i for
// byte i.
class Block {
 public:
  static constexpr size_t kSize = 16;
  using Mask = uint32_t;
  // The mask bit of the first byte.
  static constexpr Mask kFirst = 1;

  explicit Block(__m128i bytes) : bytes_(bytes) {}

  // The sixteen bytes from `p`, which need no alignment.
  static Block Load(const char* p) {
    return Block(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }

  __m128i bytes() const { return bytes_; }

  // Marks the bytes equal to `b`.
  Block Equal(char b) const { return Block(_mm_cmpeq_epi8(bytes_, _mm_set1_epi8(b))); }

  // Marks the bytes from `lo` to `hi` (lo <= hi < 128). Compared as signed
  // numbers, bytes from 128 up are negative and below every bound.
  Block Between(char lo, char hi) const {
    const __m128i at_least_lo = _mm_cmpgt_epi8(bytes_, _mm_set1_epi8(static_cast<char>(lo - 1)));
    const __m128i above_hi = _mm_cmpgt_epi8(bytes_, _mm_set1_epi8(hi));
    return Block(_mm_andnot_si128(above_hi, at_least_lo));
  }

  // The block with the bits of `bits` set in every byte.
  Block With(char bits) const { return Block(_mm_or_si128(bytes_, _mm_set1_epi8(bits))); }

  // The bytes marked in both blocks, or in either.
  Block operator&(Block other) const { return Block(_mm_and_si128(bytes_, other.bytes_)); }
  Block operator|(Block other) const { return Block(_mm_or_si128(bytes_, other.bytes_)); }

  // The marks as a mask.
  Mask Marks() const { return static_cast<Mask>(_mm_movemask_epi8(bytes_)); }

  // The index of the first byte that `mask` (not 0) marks.
  static size_t First(Mask mask) { return static_cast<size_t>(std::countr_zero(mask)); }

  // The marks of `mask` moved on by one byte, the last one dropped.
  static Mask Next(Mask mask) { return (mask << 1) & 0xFFFF; }

  // Whether `mask` marks the last byte.
  static bool MarksLast(Mask mask) { return (mask >> 15) != 0; }

  // A count of marks for each byte of a block, at most 255.
  using Counts = __m128i;

  // `counts` with the marks of `marks` added (a marked byte is -1).
  static Counts Add(Counts counts, Block marks) { return _mm_sub_epi8(counts, marks.bytes_); }

  // The sum of the counts of all bytes.
  static size_t Sum(Counts counts) {
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }

 private:
  __m128i bytes_;
};

#include "body/block_searches.inc"

}  // namespace lintrel::byte_search::sse2

#endif  // LINTREL_BODY_SSE2_BLOCKS_H_
