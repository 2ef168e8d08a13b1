// The escapings of the records, undone: a JSON string gives back every byte
// (each \udcXX the byte XX), a tsv field and a file name give back theirs,
// and what they write holds no byte that would break its line.
#include <string>

#include "fuzz_support.h"
#include "tools/output/escaping.h"
#include "tools/output/json_text.h"

namespace {

using lintrel::fuzz::Check;
using lintrel::fuzz::Fail;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

unsigned Hex(std::string_view digits) {
  unsigned value = 0;
  for (const char c : digits) {
    const int digit = HexValue(c);
    Check(digit >= 0, "not a hex digit", digits);
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The bytes of a JSON string, "\udcXX" read back as the byte XX.
std::string FromJson(std::string_view json) {
  Check(json.size() >= 2 && json.front() == '"' && json.back() == '"', "not a JSON string", json);
  json = json.substr(1, json.size() - 2);
  std::string bytes;
  for (size_t i = 0; i < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    Check(c >= 0x20 && c != '"', "raw control byte or quote in JSON", json);
    if (c != '\\') {
      bytes += json[i];
      continue;
    }
    Check(i + 1 < json.size(), "escape at the end", json);
    const char kind = json[++i];
    switch (kind) {
      case '"':
        bytes += '"';
        break;
      case '\\':
        bytes += '\\';
        break;
      case '/':
        bytes += '/';
        break;
      case 'b':
        bytes += '\b';
        break;
      case 'f':
        bytes += '\f';
        break;
      case 'n':
        bytes += '\n';
        break;
      case 'r':
        bytes += '\r';
        break;
      case 't':
        bytes += '\t';
        break;
      case 'u': {
        Check(i + 4 < json.size(), "short \\u escape", json);
        const unsigned code = Hex(json.substr(i + 1, 4));
        i += 4;
        if (code >= 0xDC80 && code <= 0xDCFF) {
          bytes += static_cast<char>(code - 0xDC00);
        } else {
          Check(code < 0xD800 || code > 0xDFFF, "surrogate other than \\udcXX", json);
          AppendUtf8(bytes, code);
        }
        break;
      }
      default:
        Fail("unknown JSON escape", json);
    }
  }
  return bytes;
}

// The bytes of a tsv field or a name: \\, \t, \r, \n and \xXX undone.
std::string FromEscaped(std::string_view text, bool hex) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    Check(c != '\t' && c != '\r' && c != '\n', "a line-breaking byte written", text);
    Check(!hex || (c >= 0x20 && c != 0x7F), "a control byte in a name", text);
    if (c != '\\') {
      bytes += text[i];
      continue;
    }
    Check(i + 1 < text.size(), "escape at the end", text);
    const char kind = text[++i];
    if (kind == 'x' && hex) {
      Check(i + 2 < text.size(), "short \\x escape", text);
      bytes += static_cast<char>(Hex(text.substr(i + 1, 2)));
      i += 2;
      continue;
    }
    const std::string_view from = "\\trn";
    const std::string_view to = "\\\t\r\n";
    const size_t which = from.find(kind);
    Check(which != std::string_view::npos, "unknown escape", text);
    bytes += to[which];
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Text json;
  cli::AppendJsonString(json, bytes);
  Check(FromJson(json) == bytes, "JSON string does not give the bytes back", json);
  Text field;
  cli::AppendEscaped(field, bytes);
  Check(FromEscaped(field, false) == bytes, "tsv field does not give the bytes back", field);
  Text name;
  cli::AppendEscapedName(name, bytes);
  Check(FromEscaped(name, true) == bytes, "name does not give the bytes back", name);
  return 0;
}
