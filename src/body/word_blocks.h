// The block searches on eight bytes at a time in a 64-bit word, which every
// processor runs. Included by byte_search.h.
#ifndef LINTREL_BODY_WORD_BLOCKS_H_
#define LINTREL_BODY_WORD_BLOCKS_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "text/text.h"

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

namespace word {

// Eight bytes of a text in one word, tested all at once. A test marks a
// byte by its high bit; the marks combine with & and |, and are their own
// mask, bit 8 i + 7 for byte i.
class Block {
 public:
  static constexpr size_t kSize = 8;
  using Mask = uint64_t;
  // The mask bit of the first byte.
  static constexpr Mask kFirst = 0x80;

  explicit Block(uint64_t word) : word_(word) {}

  // The eight bytes from `p`, which need no alignment.
  static Block Load(const char* p) { return Block(byte_search::Load(p)); }

  // Marks the bytes equal to `b`.
  Block Equal(char b) const {
    return Block(byte_search::Equal(word_, static_cast<unsigned char>(b)));
  }

  // Marks the bytes from `lo` to `hi` (lo <= hi < 128).
  Block Between(char lo, char hi) const {
    return Block(byte_search::Between(word_, static_cast<unsigned char>(lo),
                                      static_cast<unsigned char>(hi)));
  }

  // Marks the bytes from 128 up, those outside ASCII.
  Block NonAscii() const { return Block(word_ & kHigh); }

  // The block with the bits of `bits` set in every byte.
  Block With(char bits) const { return Block(word_ | kOnes * static_cast<unsigned char>(bits)); }

  // The bytes marked in both blocks, or in either.
  Block operator&(Block other) const { return Block(word_ & other.word_); }
  Block operator|(Block other) const { return Block(word_ | other.word_); }

  // The marks as a mask.
  Mask Marks() const { return word_; }

  // The index of the first byte that `mask` (not 0) marks.
  static size_t First(Mask mask) { return static_cast<size_t>(std::countr_zero(mask)) / 8; }

  // The marks of `mask` moved on by one byte, the last one dropped.
  static Mask Next(Mask mask) { return mask << 8; }

  // Whether `mask` marks the last byte.
  static bool MarksLast(Mask mask) { return (mask >> 63) != 0; }

  // A count of marks for each byte of a block, at most 255.
  using Counts = uint64_t;

  // `counts` with the marks of `marks` added.
  static Counts Add(Counts counts, Block marks) { return counts + (marks.word_ >> 7); }

  // The sum of the counts of all bytes: pairs of bytes summed in 16 bits,
  // then the four pairs in the top 16.
  static size_t Sum(Counts counts) {
    constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    const uint64_t pairs = (counts & kEvenBytes) + ((counts >> 8) & kEvenBytes);
    return static_cast<size_t>((pairs * 0x0001000100010001) >> 48);
  }

 private:
  uint64_t word_;
};

#include "body/block_searches.inc"

}  // namespace word
}  // namespace lintrel::byte_search

#endif  // LINTREL_BODY_WORD_BLOCKS_H_
