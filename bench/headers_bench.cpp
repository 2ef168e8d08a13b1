// Throughput of the header lookups and the header macros on large blocks:
// thousands of folded Received: lines, the other fields below them, and one
// long folded field.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

#include "headers/field_lookup.h"
#include "plugin/dispatcher.h"
#include "tools/run/provider_base.h"

namespace lintrel {
namespace {

// Received: lines, folded with tabs, down to about `size` bytes, then the
// fields that the macros read, so every lookup walks the whole block.
Text RoutedBlock(size_t size) {
  Text block;
  block.reserve(size + 256);
  for (int hop = 0; block.size() < size; ++hop) {
    block += "Received: from relay" + std::to_string(hop) + ".example.net (relay)\r\n";
    block += "\tby mx.example.org with ESMTP id 4F2A;\r\n";
    block += "\tTue, 01 Jan 2002 10:00:00 +0300\r\n";
  }
  block +=
      "Date: Tue, 01 Jan 2002 09:58:30 +0300\r\n"
      "Content-Type: text/plain; charset=\"UTF-8\"; format=flowed\r\n"
      "X-Mailer: Example Mail 2.0\r\n"
      "Subject: Hello\r\n";
  return block;
}

// One field folded over the whole block, with its date on the last line.
Text FoldedBlock(size_t size) {
  Text block = "Received: from a";
  block.reserve(size + 64);
  while (block.size() < size) block += "\r\n\tby relay.example.net with ESMTP id 4F2A, 7 of 1";
  block += ";\r\n\tTue, 01 Jan 2002 10:00:00 +0300\r\n";
  return block;
}

// Answers every item from a map and keeps the last result stored.
class BenchProvider final : public ProviderBase {
 public:
  std::map<int32_t, Text> items;
  Text result;

  int32_t LINTREL_STDCALL QueryInterface(const InterfaceId&, void**) override { return -1; }
  uint32_t LINTREL_STDCALL AddRef() override { return 1; }
  uint32_t LINTREL_STDCALL Release() override { return 1; }
  int32_t LINTREL_STDCALL FetchItem(int32_t item, char* buffer, int32_t length) override {
    const Text& value = items[item];
    if (buffer == nullptr) return static_cast<int32_t>(value.size());
    const size_t n = std::min<size_t>(value.size(), static_cast<size_t>(length));
    std::memcpy(buffer, value.data(), n);
    return static_cast<int32_t>(n);
  }
  int32_t LINTREL_STDCALL StoreItem(int32_t, const char* bytes, int32_t length) override {
    result.assign(bytes, static_cast<size_t>(length));
    return 0;
  }
  int32_t LINTREL_STDCALL FetchInteger(int32_t) override { return 0; }
};

void CountBytes(benchmark::State& state, const Text& block) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(block.size()));
}

void BM_FindFirstField(benchmark::State& state) {
  const Text block = RoutedBlock(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindFirstField(block, "X-Mailer:"));
  CountBytes(state, block);
}

void BM_FindLastField(benchmark::State& state) {
  const Text block = RoutedBlock(static_cast<size_t>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(FieldTextAt(block, LastFieldStart(block, "Received:")));
  CountBytes(state, block);
}

void BM_FindFirstFieldFolded(benchmark::State& state) {
  const Text block = FoldedBlock(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindFirstField(block, "Received:"));
  CountBytes(state, block);
}

void RunMacroOn(benchmark::State& state, std::string_view macro, const Text& block,
                std::string_view parameter) {
  BenchProvider message, parameters;
  message.items[kItemHeaders] = block;
  parameters.items[0] = parameter;
  const MacroEnvironment environment{[] { return DateTimeParts{2002, 1, 1, 7, 0, 0, 0}; }};
  for (auto _ : state) {
    ExecMacro(macro, &message, &parameters, environment);
    benchmark::DoNotOptimize(message.result);
  }
  CountBytes(state, block);
}

void BM_DeliveryTime(benchmark::State& state) {
  RunMacroOn(state, "KORDELIVERYTIME", RoutedBlock(static_cast<size_t>(state.range(0))), "");
}
void BM_DeliveryTimeFolded(benchmark::State& state) {
  RunMacroOn(state, "KORDELIVERYTIME", FoldedBlock(static_cast<size_t>(state.range(0))), "");
}
void BM_ReplyTime(benchmark::State& state) {
  RunMacroOn(state, "KORREPLYTIME", RoutedBlock(static_cast<size_t>(state.range(0))), "");
}
void BM_Charset(benchmark::State& state) {
  RunMacroOn(state, "KORCHARSET", RoutedBlock(static_cast<size_t>(state.range(0))), "");
}
void BM_Mailer(benchmark::State& state) {
  RunMacroOn(state, "KORMAILER", RoutedBlock(static_cast<size_t>(state.range(0))), "");
}
void BM_GetHeader(benchmark::State& state) {
  RunMacroOn(state, "KORGETHEADER", RoutedBlock(static_cast<size_t>(state.range(0))), "Subject");
}
void BM_GetHeaderFolded(benchmark::State& state) {
  RunMacroOn(state, "KORGETHEADER", FoldedBlock(static_cast<size_t>(state.range(0))), "Received");
}

// The three sizes, and 8 MB for one doubling where the caches no longer hold
// the block.
void BlockSizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t size : {64 << 10, 1 << 20, 8 << 20, 16 << 20}) benchmark->Arg(size);
  benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_FindFirstField)->Apply(BlockSizes);
BENCHMARK(BM_FindLastField)->Apply(BlockSizes);
BENCHMARK(BM_FindFirstFieldFolded)->Apply(BlockSizes);
BENCHMARK(BM_DeliveryTime)->Apply(BlockSizes);
BENCHMARK(BM_DeliveryTimeFolded)->Apply(BlockSizes);
BENCHMARK(BM_ReplyTime)->Apply(BlockSizes);
BENCHMARK(BM_Charset)->Apply(BlockSizes);
BENCHMARK(BM_Mailer)->Apply(BlockSizes);
BENCHMARK(BM_GetHeader)->Apply(BlockSizes);
BENCHMARK(BM_GetHeaderFolded)->Apply(BlockSizes);

}  // namespace
}  // namespace lintrel
