// The block searches on sixteen bytes at a time with SSE2. Included by
// byte_search.h on x86 processors.
#ifndef LINTREL_BODY_SSE2_BLOCKS_H_
#define LINTREL_BODY_SSE2_BLOCKS_H_

#include <emmintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "body/word_blocks.h"
#include "text/text.h"

// Every x86-64 processor has SSE2. The 32-bit build compiles this code, and
// only this code, for SSE2: it runs only on a processor that has it.
#if !defined(__SSE2__)
#pragma GCC push_options
#pragma GCC target("sse2")
#endif

namespace lintrel::byte_search::sse2 {

// Sixteen bytes of a text, tested all at once. A test gives a block of
// marks: every bit of a byte that passes set, every bit of the others clear.
// Marks combine with & and |; Marks() sums them up in a mask, bit i for
// byte i. The operations are always inlined, also into code with a target
// attribute of its own (the SSSE3 escaping), which GCC does not otherwise
// do with the functions of a target pragma.
class Block {
 public:
  static constexpr size_t kSize = 16;
  using Mask = uint32_t;
  // The mask bit of the first byte.
  static constexpr Mask kFirst = 1;

  [[gnu::always_inline]] explicit Block(__m128i bytes) : bytes_(bytes) {}

  // The sixteen bytes from `p`, which need no alignment.
  [[gnu::always_inline]] static Block Load(const char* p) {
    return Block(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }

  [[gnu::always_inline]] __m128i bytes() const { return bytes_; }

  // Marks the bytes equal to `b`.
  [[gnu::always_inline]] Block Equal(char b) const {
    return Block(_mm_cmpeq_epi8(bytes_, _mm_set1_epi8(b)));
  }

  // Marks the bytes from `lo` to `hi` (lo <= hi < 128). Compared as signed
  // numbers, bytes from 128 up are negative and below every bound.
  [[gnu::always_inline]] Block Between(char lo, char hi) const {
    const __m128i at_least_lo = _mm_cmpgt_epi8(bytes_, _mm_set1_epi8(static_cast<char>(lo - 1)));
    const __m128i above_hi = _mm_cmpgt_epi8(bytes_, _mm_set1_epi8(hi));
    return Block(_mm_andnot_si128(above_hi, at_least_lo));
  }

  // Marks the bytes from 128 up, those outside ASCII: negative as signed
  // numbers.
  [[gnu::always_inline]] Block NonAscii() const {
    return Block(_mm_cmplt_epi8(bytes_, _mm_setzero_si128()));
  }

  // The block with the bits of `bits` set in every byte.
  [[gnu::always_inline]] Block With(char bits) const {
    return Block(_mm_or_si128(bytes_, _mm_set1_epi8(bits)));
  }

  // The bytes marked in both blocks, or in either.
  [[gnu::always_inline]] Block operator&(Block other) const {
    return Block(_mm_and_si128(bytes_, other.bytes_));
  }
  [[gnu::always_inline]] Block operator|(Block other) const {
    return Block(_mm_or_si128(bytes_, other.bytes_));
  }

  // The marks as a mask.
  [[gnu::always_inline]] Mask Marks() const { return static_cast<Mask>(_mm_movemask_epi8(bytes_)); }

  // The index of the first byte that `mask` (not 0) marks.
  [[gnu::always_inline]] static size_t First(Mask mask) {
    return static_cast<size_t>(std::countr_zero(mask));
  }

  // The marks of `mask` moved on by one byte, the last one dropped.
  [[gnu::always_inline]] static Mask Next(Mask mask) { return (mask << 1) & 0xFFFF; }

  // Whether `mask` marks the last byte.
  [[gnu::always_inline]] static bool MarksLast(Mask mask) { return (mask >> 15) != 0; }

  // A count of marks for each byte of a block, at most 255.
  using Counts = __m128i;

  // `counts` with the marks of `marks` added (a marked byte is -1).
  [[gnu::always_inline]] static Counts Add(Counts counts, Block marks) {
    return _mm_sub_epi8(counts, marks.bytes_);
  }

  // The sum of the counts of all bytes.
  [[gnu::always_inline]] static size_t Sum(Counts counts) {
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }

 private:
  __m128i bytes_;
};

#include "body/block_searches.inc"

}  // namespace lintrel::byte_search::sse2

#if !defined(__SSE2__)
#pragma GCC pop_options
#endif

#endif  // LINTREL_BODY_SSE2_BLOCKS_H_
