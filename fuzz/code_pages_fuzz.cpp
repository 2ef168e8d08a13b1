// The conversion between code pages, on any bytes in any pair of code pages
// it takes: it converts them, keeps what `out` held, writes at most two
// bytes for each byte read into an ANSI code page (three into UTF-8), and
// writes only bytes that the target reads back as they are.
#include <cstdint>
#include <iterator>
#include <string>

#include "fuzz_support.h"
#include "tools/base/code_pages.h"

namespace {

using lintrel::fuzz::Check;

constexpr uint32_t kSources[] = {65001, 1200,  1201,  866,   874,   932,   936,   949,   950,
                                 1250,  1251,  1252,  1253,  1254,  1255,  1256,  1257,  1258,
                                 10000, 20866, 21866, 20932, 28592, 28593, 28594, 28595, 28596,
                                 28597, 28598, 28600, 28603, 28604, 28605, 28606, 38598, 54936};
constexpr uint32_t kTargets[] = {65001, 874,  932,  936,  949,  950,  1250, 1251,
                                 1252,  1253, 1254, 1255, 1256, 1257, 1258};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using lintrel::cli::ConvertCodePage;
  lintrel::fuzz::FuzzReader reader(data, size);
  const uint32_t from = kSources[reader.Byte() % std::size(kSources)];
  const uint32_t to = kTargets[reader.Byte() % std::size(kTargets)];
  const std::string bytes(reader.Rest());
  std::string out = "kept";
  Check(ConvertCodePage(bytes, from, to, out), "a listed code page not converted", bytes);
  Check(out.starts_with("kept"), "what out held is lost", out);
  out.erase(0, 4);
  const size_t most = (to == lintrel::cli::kUtf8CodePage ? 3 : 2) * bytes.size();
  Check(out.size() <= most, "more than the bound written", out);
  Check(out.empty() == bytes.empty(), "text lost or made up", out);
  std::string again;
  Check(ConvertCodePage(out, to, to, again) && again == out, "written bytes read otherwise", out);
  return 0;
}
