// DecodeBase64: never longer than its input, nothing written past the room
// it has, and the same bytes as binascii's state machine run a byte at a
// time, whatever the fast path decodes in whole groups.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/body_text/transfer_encodings.h"

namespace {

// Python's decode_b on the input without its line breaks, a byte at a time.
std::string Reference(std::string_view in) {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  int quad = 0;
  int pads = 0;
  unsigned left = 0;
  for (const char c : in) {
    if (c == '=') {
      if (quad >= 2 && quad + ++pads >= 4) return out;
      continue;
    }
    const size_t v = kAlphabet.find(c);
    if (v == std::string_view::npos) continue;
    pads = 0;
    if (quad == 0) {
      left = static_cast<unsigned>(v);
    } else if (quad == 1) {
      out += static_cast<char>(left << 2 | v >> 4);
      left = v & 0x0F;
    } else if (quad == 2) {
      out += static_cast<char>(left << 4 | v >> 2);
      left = v & 0x03;
    } else {
      out += static_cast<char>(left << 6 | v);
    }
    quad = (quad + 1) % 4;
  }
  if (quad != 1) return out;
  std::string stripped;
  for (const char c : in) {
    if (c != '\r' && c != '\n') stripped += c;
  }
  return stripped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<char> out(size);
  const size_t n = cli::DecodeBase64(in, out.data());
  fuzz::Check(n <= size, "output longer than input");
  fuzz::Check(std::string_view(out.data(), n) == Reference(in), "differs from binascii", in);
  return 0;
}
