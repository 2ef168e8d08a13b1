// Searching a text for a few byte values a block of bytes at a time, for the
// body tools that read texts of many megabytes.
#ifndef LINTREL_BODY_BYTE_SEARCH_H_
#define LINTREL_BODY_BYTE_SEARCH_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

// SSE2 is part of every 64-bit x86 processor; the 32-bit build and other
// processors read eight bytes at a time in a 64-bit word instead.
// LINTREL_PORTABLE_SEARCH chooses the word everywhere, so that its tests run
// on any machine.
#if defined(__SSE2__) && !defined(LINTREL_PORTABLE_SEARCH)
#include <emmintrin.h>
#define LINTREL_SSE2_SEARCH 1
#endif

namespace lintrel::byte_search {

inline constexpr uint64_t kOnes = 0x0101010101010101;
inline constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
inline constexpr uint64_t kHigh = 0x8080808080808080;

// The high bit of each byte of `word` that equals `b`, and no other bit.
// Exact, unlike the usual zero-byte test: no borrow runs between bytes.
constexpr uint64_t Equal(uint64_t word, unsigned char b) {
  const uint64_t x = word ^ (kOnes * b);
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The high bit of each byte of `word` from `lo` to `hi` (lo <= hi < 128).
// Each byte's low seven bits are added to, which never carries into the
// next byte.
constexpr uint64_t Between(uint64_t word, unsigned char lo, unsigned char hi) {
  const uint64_t low7 = word & kLow7;
  const uint64_t at_least_lo = low7 + kOnes * (0x80u - lo);
  const uint64_t above_hi = low7 + kOnes * (0x7Fu - hi);
  return at_least_lo & ~above_hi & ~word & kHigh;
}

constexpr bool IsAny(char c, std::initializer_list<char> bytes) {
  for (char b : bytes) {
    if (c == b) return true;
  }
  return false;
}

// Eight bytes as a word whose lowest byte is the first, on any machine.
inline uint64_t Load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t reversed = 0;
    for (int i = 0; i < 8; ++i) reversed |= ((word >> (8 * i)) & 0xFF) << (8 * (7 - i));
    word = reversed;
  }
  return word;
}

#if LINTREL_SSE2_SEARCH

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

#else

// Eight bytes of a text in one word, with the operations of the block above.
// A test marks a byte by its high bit; the marks are their own mask, bit
// 8 i + 7 for byte i.
class Block {
 public:
  static constexpr size_t kSize = 8;
  using Mask = uint64_t;
  static constexpr Mask kFirst = 0x80;

  explicit Block(uint64_t word) : word_(word) {}

  static Block Load(const char* p) { return Block(byte_search::Load(p)); }

  Block Equal(char b) const {
    return Block(byte_search::Equal(word_, static_cast<unsigned char>(b)));
  }

  Block Between(char lo, char hi) const {
    return Block(byte_search::Between(word_, static_cast<unsigned char>(lo),
                                      static_cast<unsigned char>(hi)));
  }

  Block With(char bits) const { return Block(word_ | kOnes * static_cast<unsigned char>(bits)); }

  Block operator&(Block other) const { return Block(word_ & other.word_); }
  Block operator|(Block other) const { return Block(word_ | other.word_); }

  Mask Marks() const { return word_; }

  static size_t First(Mask mask) { return static_cast<size_t>(std::countr_zero(mask)) / 8; }

  static Mask Next(Mask mask) { return mask << 8; }

  static bool MarksLast(Mask mask) { return (mask >> 63) != 0; }

  using Counts = uint64_t;

  static Counts Add(Counts counts, Block marks) { return counts + (marks.word_ >> 7); }

  // Pairs of bytes summed in 16 bits, then the four pairs in the top 16.
  static size_t Sum(Counts counts) {
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    const uint64_t pairs = (counts & kEvenBytes) + ((counts >> 8) & kEvenBytes);
    return static_cast<size_t>((pairs * 0x0001000100010001) >> 48);
  }

 private:
  uint64_t word_;
};

#endif

// Counts the marks of many blocks: a count for each place in a block, added
// into the total before it can overflow.
class Tally {
 public:
  // Counts the marked bytes of `marks`.
  void Add(Block marks) {
    counts_ = Block::Add(counts_, marks);
    if (++added_ == 255) Empty();
  }

  // The number of marked bytes added so far.
  size_t Total() {
    Empty();
    return total_;
  }

 private:
  void Empty() {
    total_ += Block::Sum(counts_);
    counts_ = Block::Counts{};
    added_ = 0;
  }

  Block::Counts counts_{};
  int added_ = 0;
  size_t total_ = 0;
};

}  // namespace lintrel::byte_search

namespace lintrel {

// The position of the first byte of `t` at or after `from` that is one of
// `kBytes`, or t.size() when there is none.
template <char... kBytes>
size_t FindFirstOf(std::string_view t, size_t from) {
  using byte_search::Block;
  const char* data = t.data();
  for (; from + Block::kSize <= t.size(); from += Block::kSize) {
    const Block block = Block::Load(data + from);
    if (const Block::Mask hits = (block.Equal(kBytes) | ...).Marks()) {
      return from + Block::First(hits);
    }
  }
  for (; from < t.size(); ++from) {
    if (byte_search::IsAny(data[from], {kBytes...})) return from;
  }
  return t.size();
}

// One past the position of the last byte of `t` before `end` that is one of
// `kBytes`, or 0 when there is none.
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
