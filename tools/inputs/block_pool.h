// Blocks of bytes that come back for reuse once their last holder lets go.
#ifndef LINTREL_TOOLS_INPUTS_BLOCK_POOL_H_
#define LINTREL_TOOLS_INPUTS_BLOCK_POOL_H_

#include <memory>
#include <vector>

#include "tools/base/byte_buffer.h"
#include "tools/base/threads.h"

namespace lintrel::cli {

// Messages handed on to other threads hold the blocks they were read into;
// when the last of them lets go, on whatever thread, the block returns here
// (under the pool's lock, which also orders its last reads before the next
// writes), so that a long run reuses a few blocks instead of mapping fresh
// pages for every one.
class BlockPool : public std::enable_shared_from_this<BlockPool> {
 public:
  // An empty block, reused or new; it returns to the pool, which it keeps
  // alive, when its last holder lets go.
  std::shared_ptr<ByteBuffer> Take();

 private:
  void Return(ByteBuffer* block);

  Mutex mutex_;
  std::vector<std::unique_ptr<ByteBuffer>> free_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_INPUTS_BLOCK_POOL_H_
