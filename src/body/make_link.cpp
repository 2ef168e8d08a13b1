// MakeLink: escaping a text for a link where it stands, from its end.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "body/byte_search.h"
#include "body/links.h"
#include "text/integer.h"

#if LINTREL_SSE2_SEARCH
#include <tmmintrin.h>
#endif

namespace lintrel {
namespace {

// What link escaping writes for each byte: ASCII letters and digits stand
// for themselves, every other byte is "%" and two hexadecimal digits. The
// bytes stand at the end of the entry, which is written whole in front of
// what is written already: the text is escaped from its end.
struct Escape {
  uint8_t length;
  std::array<char, 3> bytes;
};
static_assert(sizeof(Escape) == 4);
using EscapeTable = std::array<Escape, 256>;

// Made once, from the one definition of the escaped form.
const EscapeTable& Escapes() {
  static const EscapeTable table = [] {
    EscapeTable escapes{};
    for (int b = 0; b < 256; ++b) {
      const auto c = static_cast<unsigned char>(b);
      Escape& escape = escapes[c];
      if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
        escape = {1, {0, 0, static_cast<char>(c)}};
      } else {
        const Text percent = PercentByte(c);
        escape.length = 3;
        std::copy_n(percent.data(), 3, escape.bytes.data());
      }
    }
    return escapes;
  }();
  return table;
}

#if LINTREL_SSE2_SEARCH

// Escaping with the byte shuffles of SSSE3, on the blocks of the SSE2
// searches. These functions alone are compiled for SSSE3: they run only
// where the processor has it.
namespace ssse3 {

using byte_search::sse2::Block;
using byte_search::sse2::LettersAndDigits;

// How a group of four bytes is escaped, for each set of them (bit j for
// byte j) that is escaped: a byte shuffle of the group's sources (the four
// bytes, their high digits, their low digits, "%") that places the escaped
// group at the end of sixteen bytes, and the escaped group's length.
struct GroupEscapes {
  std::array<std::array<char, 16>, 16> shuffles;
  std::array<uint8_t, 16> lengths;
};

constexpr GroupEscapes MakeGroupEscapes() {
  GroupEscapes groups{};
  for (size_t escaped = 0; escaped < 16; ++escaped) {
    std::array<char, 12> order{};
    size_t length = 0;
    for (int j = 0; j < 4; ++j) {
      if ((escaped >> j & 1) == 0) {
        order[length++] = static_cast<char>(j);
      } else {
        order[length++] = 12;
        order[length++] = static_cast<char>(4 + j);
        order[length++] = static_cast<char>(8 + j);
      }
    }
    groups.lengths[escaped] = static_cast<uint8_t>(length);
    // The bytes in front are overwritten by what is escaped next.
    std::array<char, 16>& shuffle = groups.shuffles[escaped];
    shuffle.fill(0);
    for (size_t k = 0; k < length; ++k) shuffle[16 - length + k] = order[k];
  }
  return groups;
}

constexpr GroupEscapes kGroupEscapes = MakeGroupEscapes();

// Escapes the group of four bytes whose sources are `sources` and whose
// escaped bytes are `escaped`, in front of `out`; answers where it begins.
__attribute__((target("ssse3"))) inline size_t EscapeGroup(char* data, size_t out, __m128i sources,
                                                           unsigned escaped) {
  const __m128i shuffle =
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(kGroupEscapes.shuffles[escaped].data()));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(data + out - 16), _mm_shuffle_epi8(sources, shuffle));
  return out - kGroupEscapes.lengths[escaped];
}

// A block's first group is stored sixteen bytes wide in front of where it
// ends, four bytes or more of them its own: twelve bytes in front of the
// block's link must not hold text still to be read, and the block's escapes
// take up to 32 bytes of the gap.
constexpr size_t kBlockGap = 12 + 2 * Block::kSize;

// Where escaping stands: the text still to be escaped ends at `text_end`,
// the link written so far starts at `link_start`.
struct Ends {
  size_t text_end;
  size_t link_start;
};

// Escapes blocks of sixteen bytes of `data` from the end, with byte
// shuffles, while the gap between the text and the link is kBlockGap or
// more; answers where it stopped.
__attribute__((target("ssse3"))) Ends EscapeBlocks(char* data, Ends ends,
                                                   const EscapeTable& escapes) {
  size_t in = ends.text_end;
  size_t out = ends.link_start;
  // The hexadecimal digits and the "%", as the escape table writes them:
  // the bytes 0 to 15 are escaped, each with its own low digit.
  std::array<char, 16> digits;
  for (size_t v = 0; v < digits.size(); ++v) digits[v] = escapes[v].bytes[2];
  const __m128i hex = _mm_loadu_si128(reinterpret_cast<const __m128i*>(digits.data()));
  const __m128i percent = _mm_set1_epi8(escapes[0].bytes[0]);
  const __m128i low_nibbles = _mm_set1_epi8(0x0F);
  while (in >= Block::kSize && out - in >= kBlockGap) {
    in -= Block::kSize;
    const Block block = Block::Load(data + in);
    const Block::Mask escaped = ~LettersAndDigits(block).Marks() & 0xFFFF;
    const __m128i bytes = block.bytes();
    if (escaped == 0) {
      out -= Block::kSize;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(data + out), bytes);
      continue;
    }
    const __m128i high =
        _mm_shuffle_epi8(hex, _mm_and_si128(_mm_srli_epi16(bytes, 4), low_nibbles));
    const __m128i low = _mm_shuffle_epi8(hex, _mm_and_si128(bytes, low_nibbles));
    // Each group's sources in one register: bytes 0-3 the group's bytes,
    // 4-7 their high digits, 8-11 their low digits, 12-15 "%".
    const __m128i bytes_high_front = _mm_unpacklo_epi32(bytes, high);
    const __m128i bytes_high_back = _mm_unpackhi_epi32(bytes, high);
    const __m128i low_percent_front = _mm_unpacklo_epi32(low, percent);
    const __m128i low_percent_back = _mm_unpackhi_epi32(low, percent);
    // The last group first: each is written in front of the one after it.
    const auto escaped_in = [escaped](int group) { return escaped >> (4 * group) & 15; };
    out = EscapeGroup(data, out, _mm_unpackhi_epi64(bytes_high_back, low_percent_back),
                      escaped_in(3));
    out = EscapeGroup(data, out, _mm_unpacklo_epi64(bytes_high_back, low_percent_back),
                      escaped_in(2));
    out = EscapeGroup(data, out, _mm_unpackhi_epi64(bytes_high_front, low_percent_front),
                      escaped_in(1));
    out = EscapeGroup(data, out, _mm_unpacklo_epi64(bytes_high_front, low_percent_front),
                      escaped_in(0));
  }
  return {in, out};
}

}  // namespace ssse3

#endif

}  // namespace

Text MakeLink(Text text) {
  const size_t n = text.size();
  // Escaping writes three bytes for each of these.
  const size_t escaped = CountNonAlphanumeric(text);
  if (escaped == 0) return text;
  // Storage with room for the result keeps it; otherwise it grows once.
  text.resize(n + 2 * escaped);
  // Each byte is read before the link reaches it: the link begins two bytes
  // after the end of the text still to be escaped for each escape to come.
  const EscapeTable& escapes = Escapes();
  char* const data = text.data();
  size_t in = n;
  size_t out = text.size();
#if LINTREL_SSE2_SEARCH
  if (byte_search::kProcessorInstructions.ssse3) {
    const ssse3::Ends ends = ssse3::EscapeBlocks(data, {in, out}, escapes);
    in = ends.text_end;
    out = ends.link_start;
  }
#endif
  // With two escapes or more to come, an entry's whole four bytes fit into
  // the gap.
  while (out - in >= 4) {
    const Escape& escape = escapes[static_cast<unsigned char>(data[--in])];
    std::memcpy(data + out - sizeof escape, &escape, sizeof escape);
    out -= escape.length;
  }
  // One escape at most; the bytes before it already stand where they belong.
  while (out != in) {
    const Escape& escape = escapes[static_cast<unsigned char>(data[--in])];
    out -= escape.length;
    std::copy_n(escape.bytes.end() - escape.length, escape.length, data + out);
  }
  return text;
}

}  // namespace lintrel
