// A growable byte buffer for the command's inputs.
//
// Its storage comes from malloc so that growing a large buffer lets the C
// library remap the pages instead of copying them, and the bytes it makes room
// for are not zero-filled before a read overwrites them; a large one is
// advised onto the system's large pages.
#ifndef LINTREL_TOOLS_BASE_BYTE_BUFFER_H_
#define LINTREL_TOOLS_BASE_BYTE_BUFFER_H_

#include <cstddef>
#include <string_view>

namespace lintrel::cli {

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  std::string_view view() const { return std::string_view(data_, size_); }

  // Grows the storage to hold at least `capacity` bytes, keeping the
  // contents. Raises std::bad_alloc when the memory cannot be had.
  void Reserve(size_t capacity);

  // Sets the size; `size` must not exceed the capacity. New bytes are the
  // ones a caller has just written past the old end.
  void Resize(size_t size);

  // Drops the first `n` bytes and moves the rest to the front.
  void Consume(size_t n);

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_BASE_BYTE_BUFFER_H_
