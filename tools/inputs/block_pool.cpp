#include "tools/inputs/block_pool.h"

namespace lintrel::cli {
namespace {

// Blocks kept for reuse at most: as many as the messages read ahead can
// hold, and a few more.
constexpr size_t kKeptBlocks = 16;

}  // namespace

std::shared_ptr<ByteBuffer> BlockPool::Take() {
  std::unique_ptr<ByteBuffer> block;
  {
    MutexLock lock(mutex_);
    if (!free_.empty()) {
      block = std::move(free_.back());
      free_.pop_back();
    }
  }
  if (!block) block = std::make_unique<ByteBuffer>();
  block->Resize(0);
  return std::shared_ptr<ByteBuffer>(
      block.release(), [pool = shared_from_this()](ByteBuffer* b) { pool->Return(b); });
}

void BlockPool::Return(ByteBuffer* block) {
  std::unique_ptr<ByteBuffer> returned(block);
  MutexLock lock(mutex_);
  if (free_.size() < kKeptBlocks) free_.push_back(std::move(returned));
}

}  // namespace lintrel::cli
