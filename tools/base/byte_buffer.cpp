#include "tools/base/byte_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "tools/base/system.h"

namespace lintrel::cli {

ByteBuffer::~ByteBuffer() {
  std::free(data_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void ByteBuffer::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  void* grown = std::realloc(data_, capacity);
  if (grown == nullptr) throw std::bad_alloc();
  AdviseLargeBlock(static_cast<char*>(grown) + size_, capacity - size_);
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
}

void ByteBuffer::Resize(size_t size) {
  size_ = size <= capacity_ ? size : capacity_;
}

void ByteBuffer::Consume(size_t n) {
  if (n >= size_) {
    size_ = 0;
    return;
  }
  std::memmove(data_, data_ + n, size_ - n);
  size_ -= n;
}

}  // namespace lintrel::cli
