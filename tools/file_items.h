// Provider items made from input files, read no further than they are
// needed: the bytes of a regular file stay in the file until a fetch reads
// them straight into the plug-in's text.
#ifndef LINTREL_TOOLS_FILE_ITEMS_H_
#define LINTREL_TOOLS_FILE_ITEMS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/byte_buffer.h"
#include "tools/input_file.h"
#include "tools/item_bytes.h"
#include "tools/macro_runner.h"
#include "tools/message_split.h"

namespace lintrel::cli {

// A whole file as one item (the header block, the body or a parameter).
// More than `limit` bytes raise InputError "NAME: larger than LIMIT bytes".
class WholeFile {
 public:
  explicit WholeFile(const std::string& path, size_t limit = kMaxInputBytes);

  ItemBytes item() const;

 private:
  InputFile file_;
  ByteBuffer stream_;  // what a stream held; a regular file is read by the fetches
};

// One message of an input file, split into its header block and body.
// Only the bytes up to the end of the header block are read at first;
// standard input and other streams are read whole.
class MessageFile {
 public:
  // `file` is open and must stay so while the message is used; `front`
  // holds the bytes already read from it when it is a stream. A message of
  // more than `limit` bytes raises InputError "NAME: larger than LIMIT bytes".
  MessageFile(InputFile& file, ByteBuffer front, size_t limit = kMaxInputBytes);

  MessageItems items() const;

  // The header block, which is always in memory.
  std::string_view headers() const { return front_.view().substr(0, split_.headers_end); }

  // The whole message, read into memory now if it is not yet.
  std::string_view Whole();

  // The number of bytes of the message.
  uint64_t size() const { return size_; }

 private:
  // Reads the file on into `front_` until it holds the first `size` bytes.
  void ReadFrontTo(size_t size);

  InputFile& file_;
  ByteBuffer front_;  // the first bytes of the message, or all of them
  uint64_t size_ = 0;
  SplitPoint split_{};
};

}  // namespace lintrel::cli

#endif  // LINTREL_TOOLS_FILE_ITEMS_H_
