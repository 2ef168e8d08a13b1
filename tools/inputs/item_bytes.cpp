#include "tools/inputs/item_bytes.h"

#include <cstring>

namespace lintrel::cli {

void ItemBytes::CopyAt(size_t from, char* buffer, size_t n) const {
  if (n == 0) return;
  if (file_ != nullptr) {
    file_->ReadAt(offset_ + from, buffer, n);
  } else {
    std::memcpy(buffer, memory_.data() + from, n);
  }
}

}  // namespace lintrel::cli
