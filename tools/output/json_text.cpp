#include "tools/output/json_text.h"

#include <cstddef>
#include <cstdint>

#include "tools/base/utf8.h"

namespace lintrel::cli {
namespace {

constexpr char kHex[] = "0123456789abcdef";

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
      if (const size_t length = Utf8SequenceAt(bytes, i)) {
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
