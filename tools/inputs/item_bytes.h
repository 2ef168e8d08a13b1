// The bytes that one item of the command's data provider answers with.
#ifndef LINTREL_TOOLS_INPUTS_ITEM_BYTES_H_
#define LINTREL_TOOLS_INPUTS_ITEM_BYTES_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/inputs/input_file.h"

namespace lintrel::cli {

// Either a view of bytes in memory or a range of an open regular file. A
// file range is read afresh by every fetch, straight into the plug-in's own
// buffer, so that a large input is never held by the command as well.
class ItemBytes {
 public:
  ItemBytes() = default;
  // Bytes in memory, which must outlive the item's use.
  ItemBytes(std::string_view bytes) : memory_(bytes), size_(bytes.size()) {}  // NOLINT
  // `size` bytes of `file` from `offset`; the file must stay open.
  ItemBytes(const InputFile& file, uint64_t offset, size_t size)
      : file_(&file), offset_(offset), size_(size) {}

  size_t size() const { return size_; }

  // Whether the bytes are a range of a file, not in memory.
  bool in_file() const { return file_ != nullptr; }

  // The bytes when they are in memory; empty for a file range.
  std::string_view memory() const { return memory_; }

  // Copies the first `n` (at most size()) bytes into `buffer`. A file that
  // cannot be read raises InputError.
  void CopyFront(char* buffer, size_t n) const { CopyAt(0, buffer, n); }

  // Copies the `n` bytes from `from` on (from + n at most size()) into
  // `buffer`. A file that cannot be read raises InputError.
  void CopyAt(size_t from, char* buffer, size_t n) const;

 private:
  std::string_view memory_;
  const InputFile* file_ = nullptr;
  uint64_t offset_ = 0;
  size_t size_ = 0;
};

// The macro's parameters P0 to P3.
using Parameters = std::array<ItemBytes, 4>;

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_ITEM_BYTES_H_
