// DecodeQuotedPrintable: never longer than its input, nothing written past
// the room it has, and the same bytes as binascii.a2b_qp's loop run a byte
// at a time, whatever the block search skips.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/body_text/mime_bytes.h"
#include "tools/body_text/transfer_encodings.h"

namespace {

std::string Reference(std::string_view in) {
  std::string out;
  for (size_t i = 0; i < in.size();) {
    if (in[i] != '=') {
      out += in[i++];
      continue;
    }
    if (++i >= in.size()) break;
    if (in[i] == '\n' || in[i] == '\r') {
      while (i < in.size() && in[i] != '\n') ++i;
      if (i < in.size()) ++i;
    } else if (in[i] == '=') {
      out += '=';
      ++i;
    } else if (i + 1 < in.size() && lintrel::cli::IsHexDigit(in[i]) &&
               lintrel::cli::IsHexDigit(in[i + 1])) {
      out +=
          static_cast<char>(lintrel::cli::HexValue(in[i]) * 16 + lintrel::cli::HexValue(in[i + 1]));
      i += 2;
    } else {
      out += '=';
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<char> out(size);
  const size_t n = cli::DecodeQuotedPrintable(in, out.data());
  fuzz::Check(n <= size, "output longer than input");
  fuzz::Check(std::string_view(out.data(), n) == Reference(in), "differs from a2b_qp", in);
  return 0;
}
