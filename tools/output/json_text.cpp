#include "tools/output/json_text.h"

#include <cstddef>
#include <cstdint>

namespace lintrel::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence of two or more bytes at `p`, or 0
// when the byte at `p` starts none.
size_t ValidSequenceAt(const unsigned char* p, size_t left) {
  const unsigned char lead = p[0];
  size_t length = 0;
  unsigned char low = 0x80;  // the bounds of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (left < length || p[1] < low || p[1] > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (!IsContinuation(p[i])) return 0;
  }
  return length;
}

// The escape of a byte that is written as itself in no JSON string, or
// nullptr for one that is.
const char* ShortEscape(unsigned char b) {
  switch (b) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\b':
      return "\\b";
    case '\t':
      return "\\t";
    case '\n':
      return "\\n";
    case '\f':
      return "\\f";
    case '\r':
      return "\\r";
    default:
      return nullptr;
  }
}

void AppendUnicodeEscape(Text& out, uint32_t unit) {
  const char escape[] = {
      '\\',           'u', kHex[(unit >> 12) & 15], kHex[(unit >> 8) & 15], kHex[(unit >> 4) & 15],
      kHex[unit & 15]};
  out.append(escape, sizeof escape);
}

}  // namespace

void AppendJsonString(Text& out, std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  out.reserve(out.size() + size + 2);
  out += '"';
  size_t copied = 0;  // bytes before this are written
  size_t i = 0;
  while (i < size) {
    const unsigned char b = data[i];
    if (b >= 0x20 && b < 0x80 && b != '"' && b != '\\') {
      ++i;
      continue;
    }
    if (b >= 0x80) {
      if (const size_t length = ValidSequenceAt(data + i, size - i)) {
        i += length;
        continue;
      }
    }
    out.append(bytes, copied, i - copied);
    if (b >= 0x80) {
      AppendUnicodeEscape(out, 0xDC00u + b);
    } else if (const char* escape = ShortEscape(b)) {
      out += escape;
    } else {
      AppendUnicodeEscape(out, b);
    }
    copied = ++i;
  }
  out.append(bytes, copied, size - copied);
  out += '"';
}

}  // namespace lintrel::cli
