// The benchmark program's entry point. Every call of an operation builds its
// result, and often a fetched copy of its input, in fresh memory. By default
// the C library maps blocks of more than 32 MB anew for every allocation and
// returns freed memory to the kernel, so each call would pay a page fault for
// every 4 KB it writes: a measure of the allocator's policy, not of the
// operations. Keeping freed memory in the heap measures the operations.
// Run with --fresh-pages to keep the library's default policy instead.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>

int main(int argc, char** argv) {
  bool fresh_pages = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--fresh-pages") == 0) {
      fresh_pages = true;
      argv[i--] = argv[--argc];
    }
  }
  if (!fresh_pages) {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
