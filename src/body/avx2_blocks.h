// The block searches on thirty-two bytes at a time with AVX2, for 64-bit
// x86 builds on processors that have it. Included by byte_search.h.
#ifndef LINTREL_BODY_AVX2_BLOCKS_H_
#define LINTREL_BODY_AVX2_BLOCKS_H_

#include <immintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "body/word_blocks.h"
#include "text/text.h"

// Only this code is compiled for AVX2, and it runs only where the processor
// has it (byte_search.h asks first).
#pragma GCC push_options
#pragma GCC target("avx2")

namespace lintrel::byte_search::avx2 {

// Thirty-two bytes of a text, tested all at once, with the operations of
// sse2::Block (see there).
class Block {
 public:
  static constexpr size_t kSize = 32;
  using Mask = uint32_t;
  static constexpr Mask kFirst = 1;

  [[gnu::always_inline]] explicit Block(__m256i bytes) : bytes_(bytes) {}

  [[gnu::always_inline]] static Block Load(const char* p) {
    return Block(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
  }

  [[gnu::always_inline]] Block Equal(char b) const {
    return Block(_mm256_cmpeq_epi8(bytes_, _mm256_set1_epi8(b)));
  }

  // Compared as signed numbers, as sse2::Block::Between.
  [[gnu::always_inline]] Block Between(char lo, char hi) const {
    const __m256i at_least_lo =
        _mm256_cmpgt_epi8(bytes_, _mm256_set1_epi8(static_cast<char>(lo - 1)));
    const __m256i above_hi = _mm256_cmpgt_epi8(bytes_, _mm256_set1_epi8(hi));
    return Block(_mm256_andnot_si256(above_hi, at_least_lo));
  }

  [[gnu::always_inline]] Block NonAscii() const {
    return Block(_mm256_cmpgt_epi8(_mm256_setzero_si256(), bytes_));
  }

  [[gnu::always_inline]] Block With(char bits) const {
    return Block(_mm256_or_si256(bytes_, _mm256_set1_epi8(bits)));
  }

  [[gnu::always_inline]] Block operator&(Block other) const {
    return Block(_mm256_and_si256(bytes_, other.bytes_));
  }
  [[gnu::always_inline]] Block operator|(Block other) const {
    return Block(_mm256_or_si256(bytes_, other.bytes_));
  }

  [[gnu::always_inline]] Mask Marks() const {
    return static_cast<Mask>(_mm256_movemask_epi8(bytes_));
  }

  [[gnu::always_inline]] static size_t First(Mask mask) {
    return static_cast<size_t>(std::countr_zero(mask));
  }

  [[gnu::always_inline]] static Mask Next(Mask mask) { return mask << 1; }

  [[gnu::always_inline]] static bool MarksLast(Mask mask) { return (mask >> 31) != 0; }

  using Counts = __m256i;

  [[gnu::always_inline]] static Counts Add(Counts counts, Block marks) {
    return _mm256_sub_epi8(counts, marks.bytes_);
  }

  [[gnu::always_inline]] static size_t Sum(Counts counts) {
    const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
    return static_cast<size_t>(_mm256_extract_epi64(sums, 0)) +
           static_cast<size_t>(_mm256_extract_epi64(sums, 1)) +
           static_cast<size_t>(_mm256_extract_epi64(sums, 2)) +
           static_cast<size_t>(_mm256_extract_epi64(sums, 3));
  }

 private:
  __m256i bytes_;
};

#include "body/block_searches.inc"

}  // namespace lintrel::byte_search::avx2

#pragma GCC pop_options

#endif  // LINTREL_BODY_AVX2_BLOCKS_H_
