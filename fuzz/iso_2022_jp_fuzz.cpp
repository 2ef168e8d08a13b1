// Iso2022JpToEucJp: at most twice as long as its input, and EUC-JP in
// shape: every byte above 127 in a pair, 0x8E before a half-width
// katakana, two bytes from 0xA1 to 0xFE otherwise.
#include <string>

#include "fuzz_support.h"
#include "tools/body_text/iso_2022_jp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lintrel;
  const std::string out =
      cli::Iso2022JpToEucJp(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::Check(out.size() <= 2 * size, "output more than twice the input");
  for (size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b < 0x80) continue;
    fuzz::Check(i + 1 < out.size(), "a lone high byte at the end", out);
    const auto next = static_cast<unsigned char>(out[++i]);
    if (b == 0x8E) {
      fuzz::Check(next >= 0xA1 && next <= 0xDF, "katakana out of range", out);
    } else {
      fuzz::Check(b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE, "pair out of range", out);
    }
  }
  return 0;
}
