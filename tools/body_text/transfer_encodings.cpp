#include "tools/body_text/transfer_encodings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "body/byte_search.h"
#include "tools/body_text/mime_bytes.h"

namespace lintrel::cli {
namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A byte's value in the alphabet, or kNotBase64.
constexpr uint8_t kNotBase64 = 0xFF;
constexpr std::array<uint8_t, 256> kBase64Values = [] {
  std::array<uint8_t, 256> values{};
  values.fill(kNotBase64);
  for (size_t i = 0; i < kBase64Alphabet.size(); ++i) {
    values[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<uint8_t>(i);
  }
  return values;
}();

// A byte's value as a hex digit in either case, or 0xFF.
constexpr std::array<uint8_t, 256> kHexValues = [] {
  std::array<uint8_t, 256> values{};
  values.fill(0xFF);
  for (int c = 0; c < 256; ++c) {
    if (IsHexDigit(static_cast<char>(c)))
      values[c] = static_cast<uint8_t>(HexValue(static_cast<char>(c)));
  }
  return values;
}();

// For the fast path, four tables whose entries for the four letters of a
// group, or-ed together, are the group's three bytes in the low three bytes
// of a little-endian word; a byte outside the alphabet sets kBadGroup.
constexpr uint32_t kBadGroup = 1u << 24;
using GroupTable = std::array<uint32_t, 256>;
constexpr GroupTable MakeGroupTable(int place) {
  GroupTable table{};
  for (size_t c = 0; c < 256; ++c) {
    const uint32_t v = kBase64Values[c];
    if (v == kNotBase64) {
      table[c] = kBadGroup;
    } else if (place == 0) {
      table[c] = v << 2;
    } else if (place == 1) {
      table[c] = (v >> 4) | (v & 0x0F) << 12;
    } else if (place == 2) {
      table[c] = (v >> 2) << 8 | (v & 0x03) << 22;
    } else {
      table[c] = v << 16;
    }
  }
  return table;
}
constexpr GroupTable kGroup0 = MakeGroupTable(0);
constexpr GroupTable kGroup1 = MakeGroupTable(1);
constexpr GroupTable kGroup2 = MakeGroupTable(2);
constexpr GroupTable kGroup3 = MakeGroupTable(3);

// The three bytes of the four letters at `in`, or kBadGroup set.
inline uint32_t Group(const unsigned char* in) {
  return kGroup0[in[0]] | kGroup1[in[1]] | kGroup2[in[2]] | kGroup3[in[3]];
}

// Writes a group's three bytes and one more that the next write covers;
// `out` has room for four.
inline void StoreGroup(uint32_t group, char* out) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &group, 4);
  } else {
    out[0] = static_cast<char>(group);
    out[1] = static_cast<char>(group >> 8);
    out[2] = static_cast<char>(group >> 16);
  }
}

// Decodes whole groups of four alphabet letters from in[i] while they
// last, four groups at a time where it can: the body of a base64 part,
// line after line of 76 letters. Only at the start of a group.
inline void DecodeWholeGroups(const unsigned char* in, size_t n, size_t& i, char* out, size_t& o) {
  while (i + 16 <= n) {
    const uint32_t a = Group(in + i);
    const uint32_t b = Group(in + i + 4);
    const uint32_t c = Group(in + i + 8);
    const uint32_t d = Group(in + i + 12);
    if ((a | b | c | d) & kBadGroup) break;
    StoreGroup(a, out + o);
    StoreGroup(b, out + o + 3);
    StoreGroup(c, out + o + 6);
    StoreGroup(d, out + o + 9);
    i += 16;
    o += 12;
  }
  while (i + 4 <= n) {
    const uint32_t a = Group(in + i);
    if (a & kBadGroup) return;
    StoreGroup(a, out + o);
    i += 4;
    o += 3;
  }
}

}  // namespace

// The letters go through binascii's state machine: `quad` letters of the
// current group seen, `pads` "=" since the last letter. "=" counts only
// after two letters of a group, and the group's padding complete ends the
// input. Python first tries a strict decoding with padding added, then a
// lenient one, then a lenient one with "==" added; all give these bytes
// when they succeed, and all fail exactly when one letter is left over, in
// which case it returns the input without its line breaks.
size_t DecodeBase64(std::string_view in, char* out) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(in.data());
  const size_t n = in.size();
  size_t i = 0;
  size_t o = 0;
  int quad = 0;
  int pads = 0;
  uint32_t left = 0;
  while (i < n) {
    if (quad == 0) {
      DecodeWholeGroups(bytes, n, i, out, o);
      if (i == n) break;
    }
    const unsigned char c = bytes[i++];
    if (c == '=') {
      if (quad >= 2 && quad + ++pads >= 4) return o;
      continue;
    }
    const uint32_t v = kBase64Values[c];
    if (v == kNotBase64) continue;
    pads = 0;
    switch (quad) {
      case 0:
        left = v;
        quad = 1;
        break;
      case 1:
        out[o++] = static_cast<char>(left << 2 | v >> 4);
        left = v & 0x0F;
        quad = 2;
        break;
      case 2:
        out[o++] = static_cast<char>(left << 4 | v >> 2);
        left = v & 0x03;
        quad = 3;
        break;
      default:
        out[o++] = static_cast<char>(left << 6 | v);
        quad = 0;
        break;
    }
  }
  if (quad != 1) return o;
  o = 0;
  for (size_t from = 0; from < n;) {
    const size_t end = FindFirstOf<'\r', '\n'>(in, from);
    std::memcpy(out + o, in.data() + from, end - from);
    o += end - from;
    from = end + 1;
  }
  return o;
}

// Text between escapes is copied in runs: a short run, as between the
// escapes of a text in another script than Latin, a byte at a time; a
// long one found by block search.
size_t DecodeQuotedPrintable(std::string_view in, char* out) {
  constexpr size_t kShortRun = 16;
  const size_t n = in.size();
  size_t i = 0;
  size_t o = 0;
  while (i < n) {
    if (in[i] != '=') {
      const size_t near = std::min(n, i + kShortRun);
      while (i < near && in[i] != '=') out[o++] = in[i++];
      if (i == near && i < n && in[i] != '=') {
        const size_t equals = FindFirstOf<'='>(in, i);
        std::memcpy(out + o, in.data() + i, equals - i);
        o += equals - i;
        i = equals;
      }
      continue;
    }
    if (++i >= n) break;
    const char c = in[i];
    if (i + 1 < n && (kHexValues[static_cast<unsigned char>(c)] |
                      kHexValues[static_cast<unsigned char>(in[i + 1])]) < 16) {
      out[o++] = static_cast<char>(kHexValues[static_cast<unsigned char>(c)] << 4 |
                                   kHexValues[static_cast<unsigned char>(in[i + 1])]);
      i += 2;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r') i = FindFirstOf<'\n'>(in, i);
      if (i < n) ++i;
    } else if (c == '=') {
      out[o++] = '=';
      ++i;
    } else {
      out[o++] = '=';
    }
  }
  return o;
}

size_t DecodeTransferEncoding(TransferEncoding encoding, std::string_view in, char* out) {
  switch (encoding) {
    case TransferEncoding::kBase64:
      return DecodeBase64(in, out);
    case TransferEncoding::kQuotedPrintable:
      return DecodeQuotedPrintable(in, out);
    case TransferEncoding::kNone:
      break;
  }
  if (!in.empty()) std::memcpy(out, in.data(), in.size());
  return in.size();
}

}  // namespace lintrel::cli
