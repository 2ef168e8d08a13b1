// Throughput of the transfer decoders on bodies of 76-character lines, as
// mail programs write them, ended by LF or by CR LF, and of the search for
// the text part past such a body. Each case reports input bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/body_text/mime_walk.h"
#include "tools/body_text/transfer_encodings.h"

namespace lintrel::cli {
namespace {

constexpr int64_t kMiB = 1 << 20;

// `size` bytes of `line` after `line`, each ended by `line_break`.
std::string Lines(std::string_view line, std::string_view line_break, int64_t size) {
  std::string body;
  body.reserve(static_cast<size_t>(size) + line.size() + 2);
  while (static_cast<int64_t>(body.size()) < size) {
    body.append(line);
    body.append(line_break);
  }
  body.resize(static_cast<size_t>(size));
  return body;
}

// Base64 lines of bytes that vary, 76 letters each.
std::string Base64Body(std::string_view line_break, int64_t size) {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string body;
  body.reserve(static_cast<size_t>(size) + 80);
  uint32_t state = 1;
  while (static_cast<int64_t>(body.size()) < size) {
    for (int i = 0; i < 76; ++i) {
      state = state * 1103515245 + 12345;
      body += kAlphabet[(state >> 16) & 63];
    }
    body.append(line_break);
  }
  body.resize(static_cast<size_t>(size));
  return body;
}

// Quoted-printable prose with a few escapes on each line, ended by a soft
// break: 75 characters and "=".
constexpr std::string_view kQuotedLine =
    "Le caf=C3=A9 est pr=C3=AAt: voir https://example.org/?a=3D1&b=3D2 et la sui=";

// The worst case: text whose every byte is escaped, as Cyrillic UTF-8 is.
constexpr std::string_view kEscapedLine =
    "=D0=BF=D1=80=D0=B8=D0=B2=D0=B5=D1=82 =D0=BC=D0=B8=D1=80 =D0=BF=D1=80=D0=B8=";

void Measure(benchmark::State& state, const std::string& input,
             size_t (*decode)(std::string_view, char*)) {
  std::vector<char> out(input.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(decode(input, out.data()));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.size()));
}

void BM_DecodeBase64Lf(benchmark::State& state) {
  Measure(state, Base64Body("\n", state.range(0)), DecodeBase64);
}

void BM_DecodeBase64CrLf(benchmark::State& state) {
  Measure(state, Base64Body("\r\n", state.range(0)), DecodeBase64);
}

void BM_DecodeQuotedPrintableLf(benchmark::State& state) {
  Measure(state, Lines(kQuotedLine, "\n", state.range(0)), DecodeQuotedPrintable);
}

void BM_DecodeQuotedPrintableCrLf(benchmark::State& state) {
  Measure(state, Lines(kQuotedLine, "\r\n", state.range(0)), DecodeQuotedPrintable);
}

void BM_DecodeQuotedPrintableEscapes(benchmark::State& state) {
  Measure(state, Lines(kEscapedLine, "\r\n", state.range(0)), DecodeQuotedPrintable);
}

// The walk over a multipart body whose text part comes after a base64
// attachment of the given size: every line of the attachment is passed over
// in search of a boundary line.
void BM_FindTextPartAfterAttachment(benchmark::State& state) {
  const std::string headers = "Content-Type: multipart/mixed; boundary=\"=_b\"\r\n";
  const std::string body =
      "--=_b\r\nContent-Type: application/pdf\r\n"
      "Content-Transfer-Encoding: base64\r\n\r\n" +
      Base64Body("\r\n", state.range(0)) +
      "\r\n--=_b\r\nContent-Type: text/plain\r\n\r\ntext\r\n--=_b--\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(FindTextPart(headers, body, true));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(body.size()));
}

#define LINTREL_DECODE_SIZES ->Arg(1 * kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_DecodeBase64Lf) LINTREL_DECODE_SIZES;
BENCHMARK(BM_DecodeBase64CrLf) LINTREL_DECODE_SIZES;
BENCHMARK(BM_DecodeQuotedPrintableLf) LINTREL_DECODE_SIZES;
BENCHMARK(BM_DecodeQuotedPrintableCrLf) LINTREL_DECODE_SIZES;
BENCHMARK(BM_DecodeQuotedPrintableEscapes) LINTREL_DECODE_SIZES;
BENCHMARK(BM_FindTextPartAfterAttachment) LINTREL_DECODE_SIZES;

}  // namespace
}  // namespace lintrel::cli
