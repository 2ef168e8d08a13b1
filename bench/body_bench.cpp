// Throughput of the quote and link tools on large bodies. Each case reports
// input bytes per second; the sizes double and quadruple so that the time
// per byte shows whether an operation stays linear.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "body/cite.h"
#include "body/links.h"
#include "text/text.h"

namespace lintrel {
namespace {

constexpr int64_t kMiB = 1 << 20;

// Repeats `unit` until the text is `size` bytes long.
Text Repeat(std::string_view unit, int64_t size) {
  Text t;
  t.reserve(static_cast<size_t>(size));
  while (static_cast<int64_t>(t.size()) < size) t.append(unit);
  t.resize(static_cast<size_t>(size));
  return t;
}

// A link every 60 bytes: 59 bytes of line and link, then a line break.
Text LinkDense(int64_t size) {
  return Repeat("see http://example.org/a/b/c.html?q=1 and more text here\r\n", size);
}

// Running text in mixed case without a single scheme word.
Text NoLinks(int64_t size) {
  return Repeat("The quick brown fox, hyped, thought: ftp, http; HTTP/1.1 files.\r\n", size);
}

// Short quoted lines of 16 bytes at four depths: 16 MiB holds 1,048,576 of
// them.
constexpr int64_t kQuotedLine = 16;
Text Quoted(int64_t size) {
  return Repeat("> quoted line.\r\n>> quoted line\r\n> > quoted lin\r\n>>> quoted li.\r\n", size);
}

template <typename Run>
void Measure(benchmark::State& state, const Text& input, Run run) {
  for (auto _ : state) benchmark::DoNotOptimize(run(input));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.size()));
}

// The floor for any operation that returns a text as long as its input: one
// copy into fresh memory. Past the allocator's mapping threshold (32 MiB
// with glibc) every result is new pages that the kernel must clear.
void BM_CopyInput(benchmark::State& state) {
  const Text input = LinkDense(state.range(0));
  Measure(state, input, [](const Text& t) { return Text(t); });
}

// KillCite gathers the kept lines in its text's own storage: each call gets
// a copy, as the macro fetches its text.
void BM_KillCiteQuoted(benchmark::State& state) {
  const Text input = Quoted(state.range(0));
  Measure(state, input, [](const Text& t) { return KillCite(Text(t), 2); });
}

void BM_KillCiteLinkDense(benchmark::State& state) {
  const Text input = LinkDense(state.range(0));
  Measure(state, input, [](const Text& t) { return KillCite(Text(t), 2); });
}

// A usual count: a few lines from each end of a long quote.
void BM_CiteTextShortCount(benchmark::State& state) {
  const Text input = Quoted(state.range(0));
  Measure(state, input, [](const Text& t) { return CiteText(t, "[...]", 20); });
}

// The worst count: every line but one is kept and copied.
void BM_CiteTextKeepAllButOne(benchmark::State& state) {
  const Text input = Quoted(state.range(0));
  const auto count = static_cast<int32_t>(state.range(0) / kQuotedLine - 1);
  Measure(state, input, [count](const Text& t) { return CiteText(t, "[...]", count); });
}

// A count above the line count: the text comes back unchanged.
void BM_CiteTextUnchanged(benchmark::State& state) {
  const Text input = Quoted(state.range(0));
  Measure(state, input, [](const Text& t) { return CiteText(t, "[...]", INT32_MAX); });
}

void BM_GetLinksLinkDense(benchmark::State& state) {
  const Text input = LinkDense(state.range(0));
  Measure(state, input, [](const Text& t) { return GetLinks(t); });
}

void BM_GetLinksNoLinks(benchmark::State& state) {
  const Text input = NoLinks(state.range(0));
  Measure(state, input, [](const Text& t) { return GetLinks(t); });
}

// MakeLink escapes in its text's own storage: each call gets a copy with
// room for the link, as the macro fetches its text.
Text WithLinkRoom(const Text& t) {
  Text copy;
  copy.reserve(t.size() * (1 + kLinkGrowthPerByte));
  copy = t;
  return copy;
}

void BM_MakeLinkLinkDense(benchmark::State& state) {
  const Text input = LinkDense(state.range(0));
  Measure(state, input, [](const Text& t) { return MakeLink(WithLinkRoom(t)); });
}

void BM_MakeLinkQuoted(benchmark::State& state) {
  const Text input = Quoted(state.range(0));
  Measure(state, input, [](const Text& t) { return MakeLink(WithLinkRoom(t)); });
}

#define LINTREL_BODY_SIZES \
  ->Arg(1 * kMiB)->Arg(16 * kMiB)->Arg(32 * kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_CopyInput) LINTREL_BODY_SIZES;
BENCHMARK(BM_KillCiteQuoted) LINTREL_BODY_SIZES;
BENCHMARK(BM_KillCiteLinkDense) LINTREL_BODY_SIZES;
BENCHMARK(BM_CiteTextShortCount) LINTREL_BODY_SIZES;
BENCHMARK(BM_CiteTextKeepAllButOne) LINTREL_BODY_SIZES;
BENCHMARK(BM_CiteTextUnchanged) LINTREL_BODY_SIZES;
BENCHMARK(BM_GetLinksLinkDense) LINTREL_BODY_SIZES;
BENCHMARK(BM_GetLinksNoLinks) LINTREL_BODY_SIZES;
BENCHMARK(BM_MakeLinkLinkDense) LINTREL_BODY_SIZES;
BENCHMARK(BM_MakeLinkQuoted) LINTREL_BODY_SIZES;

}  // namespace
}  // namespace lintrel
