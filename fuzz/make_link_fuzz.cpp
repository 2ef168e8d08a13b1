// MakeLink over fuzzed bytes: letters and digits stay, every other byte
// becomes "%" and two upper-case hexadecimal digits, so the length is three
// times the escaped bytes plus the rest, and decoding gives the input back;
// escaping in storage with room for the link gives the same.
#include <string>
#include <utility>

#include "body/links.h"
#include "fuzz_support.h"
#include "text/text.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Text link = MakeLink(text);
  // Escaped where it stands, in storage with room for the link, the same.
  Text roomy;
  roomy.reserve(size * (1 + kLinkGrowthPerByte));
  roomy = text;
  fuzz::Check(MakeLink(std::move(roomy)) == link, "escaped in place differs");
  size_t escaped = 0;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (!IsAsciiLetter(b) && !IsAsciiDigit(b)) ++escaped;
  }
  fuzz::Check(link.size() == 3 * escaped + (text.size() - escaped), "length");
  std::string decoded;
  for (size_t i = 0; i < link.size();) {
    const auto b = static_cast<unsigned char>(link[i]);
    if (IsAsciiLetter(b) || IsAsciiDigit(b)) {
      decoded += link[i++];
      continue;
    }
    fuzz::Check(link[i] == '%' && i + 2 < link.size() && HexValue(link[i + 1]) >= 0 &&
                    HexValue(link[i + 2]) >= 0,
                "not an escape", link.substr(i, 3));
    const int value = HexValue(link[i + 1]) * 16 + HexValue(link[i + 2]);
    fuzz::Check(!IsAsciiLetter(value) && !IsAsciiDigit(value), "letter or digit escaped");
    decoded += static_cast<char>(value);
    i += 3;
  }
  fuzz::Check(decoded == text, "decoding differs from the input");
  return 0;
}
