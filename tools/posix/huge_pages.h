// Asking the system to back large buffers with huge pages.
#ifndef LINTREL_TOOLS_POSIX_HUGE_PAGES_H_
#define LINTREL_TOOLS_POSIX_HUGE_PAGES_H_

#include <cstddef>

namespace lintrel::cli {

// The size from which a buffer is worth the advice: it then holds at least
// one whole huge page wherever it starts.
inline constexpr size_t kHugePageWorthy = size_t{4} << 20;

// Advises that the whole 2 MiB pages inside the `size` bytes at `block`,
// which no one has written yet, be backed by transparent huge pages: one
// page fault and one page cleared per 2 MiB instead of 512. A hint only; a
// system that offers no huge pages ignores it.
void AdviseHugePages(void* block, size_t size);

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_POSIX_HUGE_PAGES_H_
