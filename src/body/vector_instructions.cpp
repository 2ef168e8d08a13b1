#include "body/byte_search.h"

#if LINTREL_SSE2_SEARCH

#include <cpuid.h>

namespace lintrel::byte_search {
namespace {

// The feature bits of CPUID leaf 1. A processor without CPUID, or without
// that leaf, has neither instruction set. The SSSE3 escaping works on SSE2
// blocks, so it needs both, also where a virtual machine hides SSE2 alone.
VectorInstructions ReadVectorInstructions() {
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return {};
  const bool sse2 = (edx & bit_SSE2) != 0;
#if LINTREL_AVX2_SEARCH
  // The run-time library also asks whether the system saves the 256-bit
  // registers.
  const bool avx2 = __builtin_cpu_supports("avx2");
#else
  const bool avx2 = false;
#endif
  return {.sse2 = sse2, .ssse3 = sse2 && (ecx & bit_SSSE3) != 0, .avx2 = avx2};
}

}  // namespace

const VectorInstructions kProcessorInstructions = ReadVectorInstructions();

}  // namespace lintrel::byte_search

#endif
