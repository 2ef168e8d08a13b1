// The command's global operator new. Large blocks (the texts of big
// messages, which the plug-in and the command make several of) are advised
// onto huge pages as they come from the C library; everything else is the
// library's default. Only the `lintrel` program links this file: the DLL,
// the tests and sanitized builds keep the standard allocation.
#include <cstdlib>
#include <new>

#include "tools/posix/huge_pages.h"

void* operator new(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size > 0 ? size : 1)) {
      if (size >= lintrel::cli::kHugePageWorthy) lintrel::cli::AdviseHugePages(block, size);
      return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
