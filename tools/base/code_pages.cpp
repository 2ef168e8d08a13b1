#include "tools/base/code_pages.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "body/byte_search.h"
#include "tools/base/code_page_system.h"
#include "tools/base/utf8.h"

namespace lintrel::cli {
namespace {

// A text is converted a piece at a time through a UTF-16 buffer of about
// this many units, so that the buffer stays small whatever the text's size.
constexpr size_t kPieceSize = 64 * 1024;

bool IsSource(uint32_t code_page) {
  switch (code_page) {
    case kUtf8CodePage:
    case kUtf16LeCodePage:
    case kUtf16BeCodePage:
    case 866:
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 10000:
    case 20866:
    case 21866:
    case 20932:
    case 28600:
    case 38598:
    case 54936:
      return true;
    default:
      return (code_page >= 1250 && code_page <= 1258) ||
             (code_page >= 28592 && code_page <= 28598) ||
             (code_page >= 28603 && code_page <= 28606);
  }
}

bool IsTarget(uint32_t code_page) {
  switch (code_page) {
    case kUtf8CodePage:
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
      return true;
    default:
      return code_page >= 1250 && code_page <= 1258;
  }
}

// The first ASCII byte of `t` at or after `from`, or t.size().
size_t FindAscii(std::string_view t, size_t from) {
  while (from < t.size() && static_cast<unsigned char>(t[from]) >= 0x80) ++from;
  return from;
}

bool IsUtf16(uint32_t code_page) {
  return code_page == kUtf16LeCodePage || code_page == kUtf16BeCodePage;
}

// A character read from UTF-16: its code point, or "?" for bytes that are
// none, and the count of bytes it takes.
struct Character {
  char32_t code_point;
  size_t length;
};

// The character at `at` (< t.size()) of UTF-16 `t`. An unpaired surrogate
// is "?" for its two bytes; an odd last byte, or a high surrogate that the
// end cuts off, "?" for the rest.
Character ReadUtf16(std::string_view t, size_t at, bool big_endian) {
  const auto unit = [&](size_t p) -> char32_t {
    const auto a = static_cast<unsigned char>(t[p]);
    const auto b = static_cast<unsigned char>(t[p + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  const size_t left = t.size() - at;
  if (left < 2) return {U'?', left};
  const char32_t first = unit(at);
  if (first < 0xD800 || first > 0xDFFF) return {first, 2};
  if (first >= 0xDC00) return {U'?', 2};
  if (left < 4) return {U'?', left};
  const char32_t second = unit(at + 2);
  if (second < 0xDC00 || second > 0xDFFF) return {U'?', 2};
  return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 4};
}

// Whether text[i] begins a pair of surrogates.
bool PairAt(std::u16string_view text, size_t i) {
  return text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
         text[i + 1] <= 0xDFFF;
}

void AppendUtf16(char32_t code_point, std::u16string& text) {
  if (code_point < 0x10000) {
    text += static_cast<char16_t>(code_point);
  } else {
    text += static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
    text += static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
  }
}

// Reads a piece of `bytes`, text in `from`, into `text`; answers the count
// of bytes read, more than 0.
size_t ReadPiece(std::string_view bytes, uint32_t from, std::u16string& text) {
  if (from != kUtf8CodePage && !IsUtf16(from)) {
    const std::string_view piece = bytes.substr(0, kPieceSize);
    return DecodeWithSystem(from, piece, piece.size() == bytes.size(), text);
  }
  size_t at = 0;
  while (at < bytes.size() && text.size() < kPieceSize) {
    if (from == kUtf8CodePage) {
      // An ill-formed sequence is "?" for as many bytes as could begin a
      // character.
      const Utf8Character c = ReadUtf8(bytes, at);
      AppendUtf16(c.valid ? c.code_point : U'?', text);
      at += c.length;
    } else {
      const Character c = ReadUtf16(bytes, at, from == kUtf16BeCodePage);
      AppendUtf16(c.code_point, text);
      at += c.length;
    }
  }
  return at;
}

// Writes `text`, a piece of UTF-16 that ReadPiece made, in `to`.
void WritePiece(std::u16string& text, uint32_t to, std::string& out) {
  if (to == kUtf8CodePage) {
    for (size_t i = 0; i < text.size(); ++i) {
      char32_t code_point = text[i];
      if (PairAt(text, i)) {
        code_point = 0x10000 + ((code_point - 0xD800) << 10) + (text[++i] - 0xDC00);
      } else if (code_point >= 0xD800 && code_point <= 0xDFFF) {
        // The readers pair every surrogate; this guards the buffer's end.
        code_point = U'?';
      }
      AppendUtf8(out, code_point);
    }
    return;
  }
  // No ANSI code page has a character beyond the Basic Multilingual Plane:
  // each is one "?", not the two that the system would make of its pair.
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0xD800 || text[i] > 0xDFFF) {
      text[kept++] = text[i];
    } else {
      if (PairAt(text, i)) ++i;
      text[kept++] = u'?';
    }
  }
  text.resize(kept);
  EncodeWithSystem(to, text, out);
}

}  // namespace

bool IsSingleByteCodePage(uint32_t code_page) {
  switch (code_page) {
    case kUtf8CodePage:
    case kUtf16LeCodePage:
    case kUtf16BeCodePage:
    case 932:
    case 936:
    case 949:
    case 950:
    case 20932:
    case 54936:
      return false;
    default:
      return true;
  }
}

bool ConvertCodePage(std::string_view bytes, uint32_t from, uint32_t to, std::string& out) {
  if (!IsSource(from) || !IsTarget(to)) return false;
  const bool unicode_from = from == kUtf8CodePage || IsUtf16(from);
  if ((!unicode_from && !SystemConverts(from)) || (to != kUtf8CodePage && !SystemConverts(to))) {
    return false;
  }
  size_t at = 0;
  if (!IsUtf16(from)) {
    at = FindNonAscii(bytes, 0);
    out.append(bytes.substr(0, at));
  }
  std::u16string text;
  // In UTF-8 and the single-byte code pages no ASCII byte is part of
  // another character: the text is converted a run of other bytes at a
  // time, and the ASCII between, the bulk of most texts, copied.
  const bool ascii_apart = from == kUtf8CodePage || IsSingleByteCodePage(from);
  while (at < bytes.size()) {
    const size_t end = ascii_apart ? FindAscii(bytes, at) : bytes.size();
    while (at < end) {
      text.clear();
      at += ReadPiece(bytes.substr(at, end - at), from, text);
      WritePiece(text, to, out);
    }
    if (ascii_apart) {
      at = FindNonAscii(bytes, end);
      out.append(bytes.substr(end, at - end));
    }
  }
  return true;
}

}  // namespace lintrel::cli
