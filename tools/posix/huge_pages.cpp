#include "tools/posix/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace lintrel::cli {
namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;

}  // namespace

void AdviseHugePages(void* block, size_t size) {
  const auto start = (reinterpret_cast<uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kHugePage - 1);
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace lintrel::cli
